#include "historybackend.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

QStringList historyBackends()
{
    return {u"sqlite"_s, u"postgresql"_s};
}

QString historySetting(const QString &backend)
{
    return backend == u"postgresql" ? qEnvironmentVariable("WIFITICKETER_TEST_POSTGRES") : QString();
}

bool executeOn(const HistoryLocation &location, const QStringList &statements)
{
    const QString name = u"history-test-admin"_s;
    bool ok = true;
    {
        QSqlDatabase db;
        if (location.engine == HistoryLocation::Engine::SQLite) {
            db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(location.file);
        } else {
            db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
            db.setHostName(location.host);
            db.setPort(location.port);
            db.setUserName(location.user);
            db.setPassword(location.password);
            db.setDatabaseName(location.database);
        }
        ok = db.open();
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            if (ok && !query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

std::optional<HistoryLocation> freshHistory(const QString &backend, const QString &dataFolder)
{
    const QString setting = historySetting(backend);
    if (backend == u"postgresql" && setting.isEmpty())
        return std::nullopt;
    std::optional<HistoryLocation> location = parseHistoryLocation(setting, dataFolder);
    if (!location)
        return std::nullopt;
    if (location->engine == HistoryLocation::Engine::SQLite) {
        QFile::remove(location->file);
        return location;
    }
    if (!executeOn(*location, {u"DROP TABLE IF EXISTS History"_s, u"DROP TABLE IF EXISTS Version"_s,
                               u"DROP FUNCTION IF EXISTS refuse_bad_rows() CASCADE"_s}))
        return std::nullopt;
    return location;
}
