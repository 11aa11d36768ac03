#include "pendinghistory.h"

#include "historystore.h"

#include "base/atomicfile.h"
#include "base/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

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

const QString JournalKey = u"Journal"_s;
const QString Unconfirmed = u"unconfirmed"_s;

QJsonObject rowObject(const HistoryRow &row)
{
    QJsonObject object;
    for (const TextColumn &column : TextColumns)
        object.insert(QStringView(column.name), row.*column.field);
    object.insert(u"Created"_s, historyTimeText(row.Created));
    object.insert(u"Price"_s, row.Price);
    object.insert(u"Serial"_s, row.Serial ? QJsonValue(qint64(*row.Serial)) : QJsonValue());
    return object;
}

QByteArray encodeObject(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<HistoryRow> decodeRow(const QJsonObject &object)
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
    if (priceValue != qint32(priceValue))
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

} // namespace

QString pendingHistoryPath(const QString &dataFolder)
{
    return dataFolder.isEmpty() ? QString() : QDir(dataFolder).filePath(u"HistoryPending.jsonl"_s);
}

QByteArray encodePendingLine(const HistoryRow &row, bool unconfirmed)
{
    QJsonObject object = rowObject(row);
    if (unconfirmed)
        object.insert(JournalKey, Unconfirmed);
    return encodeObject(object);
}

QByteArray encodePendingHistory(const PendingHistory &pending)
{
    QByteArray bytes;
    for (const HistoryRow &row : pending.rows)
        bytes += encodePendingLine(row, false) + '\n';
    for (const HistoryRow &row : pending.unconfirmed)
        bytes += encodePendingLine(row, true) + '\n';
    for (const QByteArray &line : pending.unreadable)
        bytes += line + '\n';
    return bytes;
}

PendingHistory decodePendingHistory(const QByteArray &bytes)
{
    PendingHistory pending;
    for (const QByteArray &line : bytes.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(trimmed, &error);
        const QJsonObject object = document.object();
        const std::optional<HistoryRow> row =
            error.error == QJsonParseError::NoError && document.isObject() ? decodeRow(object) : std::nullopt;
        const QJsonValue journal = object.value(JournalKey);
        if (row && journal.isUndefined())
            pending.rows.append(*row);
        else if (row && journal == Unconfirmed)
            pending.unconfirmed.append(*row);
        else
            pending.unreadable.append(trimmed);
    }
    return pending;
}

PendingHistory readPendingHistory(const QString &path)
{
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodePendingHistory(file.readAll());
}

bool writePendingHistory(const QString &path, const PendingHistory &pending)
{
    return writePendingBytes(path, encodePendingHistory(pending));
}

bool writePendingBytes(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    if (bytes.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    // The rows hold voucher passwords.
    return ensureFolder(QFileInfo(path).absolutePath()) &&
           writeFileAtomically(path, bytes, FileAccess::OwnerOnly);
}
