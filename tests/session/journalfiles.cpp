#include "journalfiles.h"

#include <QFile>
#include <QJsonDocument>

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

QStringList unconfirmedNames(const QString &dataFolder)
{
    QStringList names;
    for (const QJsonObject &line : pendingLines(dataFolder)) {
        if (line[u"Journal"_s] == u"unconfirmed"_s)
            names << line[u"UserName"_s].toString();
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
