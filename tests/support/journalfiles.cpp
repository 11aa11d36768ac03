#include "journalfiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

using namespace Qt::StringLiterals;

QList<QJsonObject> pendingLines(const QString &dataFolder)
{
    QFile file(dataFolder + u"/HistoryPending.jsonl"_s);
    QList<QJsonObject> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            lines << QJsonDocument::fromJson(line).object();
    }
    return lines;
}

QList<quint32> serialsOfRanges(const QString &text)
{
    QList<quint32> serials;
    for (const QString &range : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList ends = range.split(u'-');
        for (quint32 serial = ends.first().toUInt(); serial <= ends.last().toUInt(); ++serial)
            serials << serial;
    }
    return serials;
}

QStringList unconfirmedNames(const QString &dataFolder)
{
    // The file is a log: a later line of a serial replaces its entry, and a
    // confirmation or a withdrawal ends it.
    QList<std::pair<quint32, QString>> entries;
    const auto remove = [&](quint32 serial) {
        entries.removeIf([serial](const auto &entry) { return entry.first == serial; });
    };
    for (const QJsonObject &line : pendingLines(dataFolder)) {
        const QString kind = line[u"Journal"_s].toString();
        if (kind == u"unconfirmed"_s) {
            const quint32 serial = quint32(line[u"Serial"_s].toInteger());
            const auto same = std::find_if(entries.begin(), entries.end(),
                                           [serial](const auto &entry) { return entry.first == serial; });
            if (same != entries.end())
                same->second = line[u"UserName"_s].toString();
            else
                entries.append({serial, line[u"UserName"_s].toString()});
        } else if (kind == u"confirmed"_s || kind == u"withdrawn"_s) {
            for (const quint32 serial : serialsOfRanges(line[u"Serials"_s].toString()))
                remove(serial);
        }
    }
    QStringList names;
    for (const auto &entry : entries)
        names << entry.second;
    return names;
}

QStringList waitingNames(const QString &dataFolder)
{
    QStringList names;
    for (const QJsonObject &line : pendingLines(dataFolder)) {
        if (!line.contains(u"Journal"_s))
            names << line[u"UserName"_s].toString();
        for (const QJsonValue &row : line[u"Waiting"_s].toArray())
            names << row[u"UserName"_s].toString();
    }
    return names;
}

std::optional<quint32> storedSerial(const QString &settingsFile)
{
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype at = text.indexOf(u"\"VoucherSerial\"=dword:"_s);
    if (at < 0)
        return std::nullopt;
    return text.mid(at + 22, 8).toUInt(nullptr, 16);
}

QStringList hotSpotUserNames(const routersim::RouterState &router)
{
    QStringList names;
    for (const routersim::HotspotUser &user : router.hotspotUsers)
        names << user.name;
    return names;
}
