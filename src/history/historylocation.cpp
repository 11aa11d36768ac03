#include "historylocation.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

QString historyFilePath(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(u"History.db"_s);
}

std::optional<HistoryLocation> parseHistoryLocation(const QString &setting, const QString &dataFolder)
{
    HistoryLocation location;
    const QString text = setting.trimmed();
    if (text.isEmpty()) {
        if (dataFolder.isEmpty())
            return std::nullopt;
        location.file = historyFilePath(dataFolder);
        return location;
    }

    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"postgresql" && scheme != u"postgres") || url.host().isEmpty())
        return std::nullopt;
    QString database = url.path(QUrl::FullyDecoded);
    if (database.startsWith(u'/'))
        database.remove(0, 1);
    if (database.isEmpty() || database.contains(u'/'))
        return std::nullopt;
    location.engine = HistoryLocation::Engine::PostgreSQL;
    location.host = url.host();
    location.port = url.port(5432);
    location.user = url.userName(QUrl::FullyDecoded);
    location.password = url.password(QUrl::FullyDecoded);
    location.database = database;
    return location;
}
