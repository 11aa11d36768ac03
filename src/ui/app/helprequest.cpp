#include "helprequest.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>

QUrl HelpRequest::helpUrl()
{
    const QString given = qEnvironmentVariable("WIFITICKETER_HELP_URL");
    if (!given.isEmpty())
        return QUrl::fromUserInput(given);
    // Installed: share/wifiticketer/help beside bin; in the build tree: bin/help.
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString &folder : {QStringLiteral("help"), QStringLiteral("../share/wifiticketer/help")}) {
        const QString page = bin.filePath(folder + QStringLiteral("/index.html"));
        if (QFile::exists(page))
            return QUrl::fromLocalFile(QDir::cleanPath(page));
    }
    return QUrl::fromLocalFile(bin.filePath(QStringLiteral("help/index.html")));
}

bool HelpRequest::eventFilter(QObject *watched, QEvent *event)
{
    // Taken before any widget, so no dialog keeps F1 for itself.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        QDesktopServices::openUrl(helpUrl());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
