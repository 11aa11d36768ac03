#include "pendinghistory.h"

#include "historystore.h"

#include <QDir>
#include <QJsonValue>

using namespace Qt::StringLiterals;

namespace {

// Every text column, with its name in the file.
struct TextColumn
{
    const char16_t *name;
    QString HistoryRow::*field;
};

const TextColumn TextColumns[] = {
    {u"UserName", &HistoryRow::UserName},   {u"Password", &HistoryRow::Password},
    {u"Profile", &HistoryRow::Profile},     {u"Router", &HistoryRow::Router},
    {u"Generator", &HistoryRow::Generator}, {u"Validity", &HistoryRow::Validity},
    {u"FirstName", &HistoryRow::FirstName}, {u"LastName", &HistoryRow::LastName},
    {u"Phone", &HistoryRow::Phone},         {u"Location", &HistoryRow::Location},
    {u"Comment", &HistoryRow::Comment},     {u"Email", &HistoryRow::Email},
};

} // namespace

QString pendingHistoryPath(const QString &dataFolder)
{
    return dataFolder.isEmpty() ? QString() : QDir(dataFolder).filePath(u"HistoryPending.jsonl"_s);
}

QJsonObject historyRowObject(const HistoryRow &row)
{
    QJsonObject object;
    for (const TextColumn &column : TextColumns)
        object.insert(QStringView(column.name), row.*column.field);
    object.insert(u"Created"_s, historyTimeText(row.Created));
    object.insert(u"Price"_s, row.Price);
    object.insert(u"Serial"_s, row.Serial ? QJsonValue(qint64(*row.Serial)) : QJsonValue());
    return object;
}

std::optional<HistoryRow> historyRowFromObject(const QJsonObject &object)
{
    HistoryRow row;
    for (const TextColumn &column : TextColumns) {
        const QJsonValue value = object.value(QStringView(column.name));
        if (!value.isString() && !value.isUndefined())
            return std::nullopt;
        row.*column.field = value.toString();
    }
    row.Created = QDateTime::fromString(object.value(u"Created"_s).toString(), u"yyyy-MM-dd HH:mm:ss"_s);
    const QJsonValue price = object.value(u"Price"_s);
    const QJsonValue serial = object.value(u"Serial"_s);
    if (!row.Created.isValid() || !price.isDouble() || !(serial.isDouble() || serial.isNull()))
        return std::nullopt;
    const double priceValue = price.toDouble();
    if (priceValue < -2147483648.0 || priceValue > 2147483647.0 || priceValue != qint32(priceValue))
        return std::nullopt;
    row.Price = qint32(priceValue);
    if (serial.isDouble()) {
        const double serialValue = serial.toDouble();
        if (serialValue < 0 || serialValue > 4294967295.0 || serialValue != double(quint32(serialValue)))
            return std::nullopt;
        row.Serial = quint32(serialValue);
    }
    return row;
}
