#include "historydatabase.h"

#include "historyschema.h"

#include "base/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

constexpr int PostgresLockTimeoutMs = 5000;
constexpr int PostgresStatementTimeoutMs = 15000;

bool execute(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    return query.exec(statement);
}

bool hasHistoryTable(const QSqlDatabase &db)
{
    // PostgreSQL folds the unquoted table name to lower case.
    const QStringList tables = db.tables(QSql::Tables);
    return tables.contains(u"History"_s, Qt::CaseInsensitive);
}

} // namespace

HistoryDatabase::HistoryDatabase()
    : m_name(QString::asprintf("wifiticketer-history-%p", static_cast<void *>(this)))
{
}

HistoryDatabase::~HistoryDatabase()
{
    close();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

bool HistoryDatabase::open(const HistoryLocation &location)
{
    close();
    m_lastError.clear();
    m_engine = location.engine;
    const bool sqlite = location.engine == HistoryLocation::Engine::SQLite;
    const QString driver = sqlite ? u"QSQLITE"_s : u"QPSQL"_s;
    bool created = false;
    {
        // The connection is kept between uses; another engine needs another one.
        if (QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).driverName() != driver)
            QSqlDatabase::removeDatabase(m_name);
        QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                         : QSqlDatabase::addDatabase(driver, m_name);
        if (sqlite) {
            created = !QFile::exists(location.file);
            if (!ensureFolder(QFileInfo(location.file).absolutePath())) {
                m_lastError = u"no folder for %1"_s.arg(location.file);
                return false;
            }
            db.setDatabaseName(location.file);
            // Another counter program or the command line may be writing.
            db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
        } else {
            db.setHostName(location.host);
            db.setPort(location.port);
            db.setUserName(location.user);
            db.setPassword(location.password);
            db.setDatabaseName(location.database);
            // An unreachable server must not hold the counter for long, and
            // neither must a table another connection has locked: a statement
            // that waits longer for a lock, or runs longer, fails (the rows
            // then wait in the pending file).
            db.setConnectOptions(u"connect_timeout=5;options='-c lock_timeout=%1 -c statement_timeout=%2'"_s
                                     .arg(PostgresLockTimeoutMs)
                                     .arg(PostgresStatementTimeoutMs));
        }
        if (!db.open()) {
            m_lastError = db.lastError().text();
            close();
            return false;
        }
        if (created)
            QFile::setPermissions(location.file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    const QSqlDatabase db = connection();
    // A database without the History table is new: an SQLite file just made,
    // an empty file, or an empty PostgreSQL database.
    if (created || !hasHistoryTable(db)) {
        for (const QString &statement : historyCreationStatements(location.engine)) {
            if (!execute(db, statement)) {
                m_lastError = db.lastError().text();
                close();
                return false;
            }
        }
    } else {
        for (const QString &statement : historyUpgradeStatements(readHistoryVersion(db)))
            execute(db, statement);
    }
    // Looking vouchers up by serial (settling a run's journal, the next serial)
    // must not scan a history of a million rows; a database that refuses the
    // index still works without it.
    execute(db, u"CREATE INDEX IF NOT EXISTS HistorySerialIndex ON History (Serial)"_s);
    return isOpen();
}

void HistoryDatabase::close()
{
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::database(m_name, false).close();
}

bool HistoryDatabase::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase HistoryDatabase::connection() const
{
    return QSqlDatabase::database(m_name, false);
}

int readHistoryVersion(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(u"SELECT Version FROM Version"_s) || !query.next())
        return 0;
    return query.value(0).toInt();
}
