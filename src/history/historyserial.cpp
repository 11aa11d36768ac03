#include "historyserial.h"

#include "generation/credentials.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

std::optional<quint32> highestHistorySerial(const QSqlDatabase &db)
{
    if (!db.isOpen())
        return std::nullopt;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // Rows of older versions have no serial; a number outside the range could
    // only come from elsewhere and would hold the counter at its end.
    if (!query.prepare(u"SELECT MAX(Serial) FROM History WHERE Serial BETWEEN 1 AND ?"_s))
        return std::nullopt;
    query.bindValue(0, qint32(MaxSerial));
    if (!query.exec() || !query.next())
        return std::nullopt;
    const QVariant highest = query.value(0);
    return highest.isNull() ? 0 : quint32(highest.toLongLong());
}
