#include "historystore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

const QString TimeFormat = u"yyyy-MM-dd HH:mm:ss"_s;

const QString Columns = u"UserName, Password, Profile, Router, Created, Generator, Validity, Price, Serial, "
                        u"FirstName, LastName, Phone, Location, Comment, Email"_s;

QVariant serialValue(std::optional<quint32> serial)
{
    // The column is a 32-bit signed int; the serial's bits are kept.
    return serial ? QVariant(qint32(*serial)) : QVariant(QMetaType::fromType<qint32>());
}

bool insertRow(QSqlQuery &insert, const HistoryRow &row)
{
    const QVariantList values = {
        row.UserName,
        row.Password,
        row.Profile,
        row.Router,
        historyTimeText(row.Created),
        row.Generator,
        row.Validity,
        row.Price,
        serialValue(row.Serial),
        row.FirstName,
        row.LastName,
        row.Phone,
        row.Location,
        row.Comment,
        row.Email,
    };
    for (qsizetype i = 0; i < values.size(); ++i)
        insert.bindValue(int(i), values[i]);
    return insert.exec();
}

// Inserts rows [0, count) in a transaction; the index of the first row that
// failed, or count.
qsizetype insertRows(const QSqlDatabase &db, const QList<HistoryRow> &rows, qsizetype count, bool &committed)
{
    committed = false;
    QSqlDatabase connection = db;
    if (!connection.transaction())
        return 0;
    QSqlQuery insert(db);
    if (!insert.prepare(
            u"INSERT INTO History (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s.arg(
                Columns))) {
        connection.rollback();
        return 0;
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (!insertRow(insert, rows[i])) {
            insert.finish();
            connection.rollback();
            return i;
        }
    }
    insert.finish();
    committed = connection.commit();
    if (!committed)
        connection.rollback();
    return count;
}

QDateTime readTime(const QVariant &value)
{
    // PostgreSQL gives a timestamp, SQLite the stored text.
    if (value.metaType() == QMetaType::fromType<QDateTime>())
        return value.toDateTime();
    const QString text = value.toString();
    QDateTime time = QDateTime::fromString(text, TimeFormat);
    return time.isValid() ? time : QDateTime::fromString(text, Qt::ISODate);
}

HistoryRow readRow(const QSqlQuery &query)
{
    HistoryRow row;
    row.UserName = query.value(0).toString();
    row.Password = query.value(1).toString();
    row.Profile = query.value(2).toString();
    row.Router = query.value(3).toString();
    row.Created = readTime(query.value(4));
    row.Generator = query.value(5).toString();
    row.Validity = query.value(6).toString();
    row.Price = query.value(7).toInt();
    if (!query.isNull(8))
        row.Serial = quint32(query.value(8).toLongLong());
    row.FirstName = query.value(9).toString();
    row.LastName = query.value(10).toString();
    row.Phone = query.value(11).toString();
    row.Location = query.value(12).toString();
    row.Comment = query.value(13).toString();
    row.Email = query.value(14).toString();
    return row;
}

} // namespace

QString historyTimeText(const QDateTime &time)
{
    return time.toLocalTime().toString(TimeFormat);
}

qsizetype storeHistoryRows(const QSqlDatabase &db, const QList<HistoryRow> &rows)
{
    if (rows.isEmpty())
        return 0;
    bool committed = false;
    const qsizetype stored = insertRows(db, rows, rows.size(), committed);
    if (stored == rows.size())
        return committed ? stored : 0;
    // A failed statement spoils the whole transaction on some engines: store
    // the rows before the failure again on their own.
    if (stored == 0 || insertRows(db, rows, stored, committed) != stored || !committed)
        return 0;
    return stored;
}

std::optional<QList<HistoryRow>> findHistoryRows(const QSqlDatabase &db, const HistoryFilter &filter)
{
    QString condition;
    QVariantList values;
    if (filter.generator) {
        condition += u"Generator = ? AND "_s;
        values << *filter.generator;
    }
    if (filter.router) {
        condition += u"Router = ? AND "_s;
        values << *filter.router;
    }
    condition += u"Created >= ? AND Created <= ?"_s;
    values << historyTimeText(QDateTime(filter.from, QTime(0, 0, 0)))
           << historyTimeText(QDateTime(filter.to, QTime(23, 59, 59)));

    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(u"SELECT %1 FROM History WHERE %2 ORDER BY Created, Serial"_s.arg(Columns, condition)))
        return std::nullopt;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    if (!query.exec())
        return std::nullopt;
    QList<HistoryRow> rows;
    while (query.next())
        rows.append(readRow(query));
    if (query.lastError().isValid())
        return std::nullopt;
    return rows;
}

bool markHistoryRowRemoved(const QSqlDatabase &db, const QString &userName, std::optional<quint32> serial)
{
    QSqlQuery query(db);
    const QString serialCondition = serial ? u"Serial = ?"_s : u"Serial IS NULL"_s;
    if (!query.prepare(u"UPDATE History SET UserName = ? WHERE UserName = ? AND %1"_s.arg(serialCondition)))
        return false;
    query.bindValue(0, u"|"_s + userName);
    query.bindValue(1, userName);
    if (serial)
        query.bindValue(2, serialValue(serial));
    return query.exec() && query.numRowsAffected() > 0;
}

std::optional<bool> historyHoldsVoucher(const QSqlDatabase &db, const QString &userName, quint32 serial,
                                        const QString &routerName)
{
    QSqlQuery query(db);
    if (!query.prepare(
            u"SELECT COUNT(*) FROM History WHERE (UserName = ? OR UserName = ?) AND Serial = ? AND Router = ?"_s))
        return std::nullopt;
    query.bindValue(0, userName);
    query.bindValue(1, u"|"_s + userName);
    query.bindValue(2, serialValue(serial));
    query.bindValue(3, routerName);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toInt() > 0;
}

std::optional<QSet<quint32>> heldVoucherSerials(const QSqlDatabase &db, const QList<HistoryRow> &rows)
{
    // Looked up by serial in chunks, then matched here: a row is held when a
    // stored row of the same serial has its user name and router.
    constexpr qsizetype Chunk = 200;
    QSet<quint32> held;
    for (qsizetype at = 0; at < rows.size(); at += Chunk) {
        const QList<HistoryRow> chunk = rows.mid(at, Chunk);
        QStringList marks;
        for (const HistoryRow &row : chunk) {
            if (row.Serial)
                marks << u"?"_s;
        }
        if (marks.isEmpty())
            continue;
        QSqlQuery query(db);
        if (!query.prepare(u"SELECT UserName, Router, Serial FROM History WHERE Serial IN (%1)"_s.arg(
                marks.join(u", "_s))))
            return std::nullopt;
        int position = 0;
        for (const HistoryRow &row : chunk) {
            if (row.Serial)
                query.bindValue(position++, serialValue(*row.Serial));
        }
        if (!query.exec())
            return std::nullopt;
        const auto key = [](const HistoryRow &row) {
            return QStringList{shownUserName(row), row.Router, QString::number(row.Serial.value_or(0))}.join(
                u'\x1f');
        };
        QSet<QString> stored;
        while (query.next()) {
            HistoryRow found;
            found.UserName = query.value(0).toString();
            found.Router = query.value(1).toString();
            found.Serial = quint32(query.value(2).toInt());
            stored.insert(key(found));
        }
        for (const HistoryRow &row : chunk) {
            if (row.Serial && stored.contains(key(row)))
                held.insert(*row.Serial);
        }
    }
    return held;
}

std::optional<int> markRouterUserRemoved(const QSqlDatabase &db, const QString &userName,
                                         const QString &routerName)
{
    QSqlQuery query(db);
    if (!query.prepare(u"UPDATE History SET UserName = ? WHERE UserName = ? AND Router = ?"_s))
        return std::nullopt;
    query.bindValue(0, u"|"_s + userName);
    query.bindValue(1, userName);
    query.bindValue(2, routerName);
    if (!query.exec())
        return std::nullopt;
    return query.numRowsAffected();
}
