#include "historyschema.h"

using namespace Qt::StringLiterals;

QStringList historyCreationStatements(HistoryLocation::Engine engine)
{
    // PostgreSQL has no "datetime" type; its "timestamp" holds the same local
    // date and time.
    const QString created =
        engine == HistoryLocation::Engine::PostgreSQL ? u"Created timestamp"_s : u"Created datetime"_s;
    return {
        u"CREATE TABLE History (UserName varchar(50), Password varchar(50), Profile varchar(50), "
        u"Router varchar(50), %1, Generator varchar(50), Validity varchar(50), Price int, Serial int, "
        u"FirstName varchar(50), LastName varchar(50), Phone varchar(50), Location varchar(50), "
        u"Comment varchar(50), Email varchar(50))"_s.arg(created),
        u"CREATE INDEX HistoryIndex ON History (Created)"_s,
        u"CREATE TABLE Version (Version int)"_s,
        u"INSERT INTO Version VALUES (4)"_s,
    };
}

QStringList historyUpgradeStatements(int fromVersion)
{
    QStringList statements;
    // Each version falls through to the next. SQLite adds one column per
    // statement, so the customer columns come one by one.
    switch (fromVersion) {
    case 0:
        statements << u"CREATE TABLE Version (Version int)"_s << u"INSERT INTO Version VALUES (1)"_s
                   << u"ALTER TABLE History ADD Serial int"_s;
        [[fallthrough]];
    case 1:
        statements << u"UPDATE Version SET Version=2 WHERE Version=1"_s
                   << u"ALTER TABLE History ADD Validity varchar(50)"_s;
        [[fallthrough]];
    case 2:
        statements << u"UPDATE Version SET Version=3 WHERE Version=2"_s
                   << u"ALTER TABLE History ADD Router varchar(50)"_s;
        [[fallthrough]];
    case 3:
        statements << u"UPDATE Version SET Version=4 WHERE Version=3"_s;
        for (const char16_t *column :
             {u"FirstName", u"LastName", u"Phone", u"Location", u"Comment", u"Email"})
            statements << u"ALTER TABLE History ADD %1 varchar(50)"_s.arg(QStringView(column));
        break;
    default:
        break;
    }
    return statements;
}
