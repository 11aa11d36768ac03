#include "focusoutrewriter.h"

#include "generation/duration.h"

#include <QFocusEvent>
#include <QLineEdit>

FocusOutRewriter::FocusOutRewriter(QLineEdit *edit, std::function<QString(const QString &)> rewrite)
    : QObject(edit), m_rewrite(std::move(rewrite))
{
    edit->installEventFilter(this);
}

bool FocusOutRewriter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        auto *edit = static_cast<QLineEdit *>(watched);
        const QString rewritten = m_rewrite(edit->text());
        if (rewritten != edit->text())
            edit->setText(rewritten);
    }
    return QObject::eventFilter(watched, event);
}

QString shownDuration(qint64 seconds)
{
    return seconds > 0 ? formatDuration(seconds, false).trimmed() : QString();
}

QString durationText(const QString &text)
{
    return shownDuration(parseDuration(text));
}

QString checkedDurationText(const QString &text)
{
    const std::optional<qint64> seconds = readTypedDuration(text);
    return seconds ? shownDuration(*seconds) : text;
}
