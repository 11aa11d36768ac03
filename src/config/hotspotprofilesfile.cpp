#include "hotspotprofilesfile.h"

#include "base/atomicfile.h"
#include "base/binaryfields.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"
#include "base/recordfile.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 SizeLimit = 2000;
constexpr quint32 Type1Size = 528;
constexpr quint32 Type2Size = 628;
constexpr quint32 Type3Size = 1228;
constexpr qsizetype TextUnits = 100;
constexpr qsizetype LegacyTextBytes = 100;

// Type 1: the oldest layout, 8-bit texts and no server.
HotSpotProfile fromType1(const QByteArray &r)
{
    HotSpotProfile p;
    p.Name = getLegacyText(r, 8, LegacyTextBytes);
    p.Validity = getI64(r, 108);
    p.LimitUptime = getI64(r, 116);
    p.RouterProfile = getLegacyText(r, 124, LegacyTextBytes);
    p.LimitBytesIn = getLegacyText(r, 224, LegacyTextBytes);
    p.LimitBytesOut = getLegacyText(r, 324, LegacyTextBytes);
    p.LimitBytesTotal = getLegacyText(r, 424, LegacyTextBytes);
    p.Price = qint32(getU32(r, 524));
    return p;
}

// Type 2: type 1 with the server.
HotSpotProfile fromType2(const QByteArray &r)
{
    HotSpotProfile p;
    p.Name = getLegacyText(r, 8, LegacyTextBytes);
    p.Validity = getI64(r, 108);
    p.LimitUptime = getI64(r, 116);
    p.RouterProfile = getLegacyText(r, 124, LegacyTextBytes);
    p.Server = getLegacyText(r, 224, LegacyTextBytes);
    p.LimitBytesIn = getLegacyText(r, 324, LegacyTextBytes);
    p.LimitBytesOut = getLegacyText(r, 424, LegacyTextBytes);
    p.LimitBytesTotal = getLegacyText(r, 524, LegacyTextBytes);
    p.Price = qint32(getU32(r, 624));
    return p;
}

HotSpotProfile fromType3(const QByteArray &r)
{
    HotSpotProfile p;
    p.Name = getText(r, 8, TextUnits);
    p.Validity = getI64(r, 208);
    p.LimitUptime = getI64(r, 216);
    p.RouterProfile = getText(r, 224, TextUnits);
    p.Server = getText(r, 424, TextUnits);
    p.LimitBytesIn = getText(r, 624, TextUnits);
    p.LimitBytesOut = getText(r, 824, TextUnits);
    p.LimitBytesTotal = getText(r, 1024, TextUnits);
    p.Price = qint32(getU32(r, 1224));
    return p;
}

QByteArray type3Record(const HotSpotProfile &p)
{
    QByteArray r(Type3Size, '\0');
    putU32(r, 0, Type3Size);
    putU32(r, 4, 3);
    putText(r, 8, p.Name, TextUnits);
    putI64(r, 208, p.Validity);
    putI64(r, 216, p.LimitUptime);
    putText(r, 224, p.RouterProfile, TextUnits);
    putText(r, 424, p.Server, TextUnits);
    putText(r, 624, p.LimitBytesIn, TextUnits);
    putText(r, 824, p.LimitBytesOut, TextUnits);
    putText(r, 1024, p.LimitBytesTotal, TextUnits);
    putU32(r, 1224, quint32(p.Price));
    return r;
}

QString profilesFile(const QString &dataFolder)
{
    return dataFolder + u"/HotSpotProfiles.bin"_s;
}

} // namespace

bool readHotSpotProfiles(QIODevice &device, QList<HotSpotProfile> &profiles)
{
    return readRecords(device, SizeLimit, [&](quint32 type, const QByteArray &record) {
        struct Layout
        {
            quint32 size;
            HotSpotProfile (*read)(const QByteArray &);
        };
        static const Layout layouts[] = {
            {Type1Size, fromType1}, {Type2Size, fromType2}, {Type3Size, fromType3}};
        if (type < 1 || type > 3)
            return true;
        const Layout &layout = layouts[type - 1];
        if (quint32(record.size()) != layout.size)
            return false;
        profiles.append(layout.read(record));
        return true;
    });
}

QByteArray serializeHotSpotProfiles(const QList<HotSpotProfile> &profiles)
{
    QByteArray bytes;
    for (const HotSpotProfile &p : profiles)
        bytes += type3Record(p);
    return bytes;
}

ListFileState loadHotSpotProfiles(const QString &dataFolder, QList<HotSpotProfile> &profiles)
{
    if (dataFolder.isEmpty())
        return ListFileState::Absent;
    return readListFile(profilesFile(dataFolder),
                        [&](QIODevice &file) { return readHotSpotProfiles(file, profiles); });
}

bool saveHotSpotProfiles(const QString &dataFolder, const QList<HotSpotProfile> &profiles,
                         OperatorInteraction &interaction)
{
    const QString path = profilesFile(dataFolder);
    if (ensureFolder(dataFolder) &&
        writeFileAtomically(path, serializeHotSpotProfiles(profiles), FileAccess::OwnerOnly))
        return true;
    interaction.showMessage(
        writeFailureText(
            QCoreApplication::translate(
                "DataFiles",
                "Um erro desconhecido ocorreu enquanto era salvo as definições de perfil do HotSpot."),
            path),
        MessageIcon::Information);
    return false;
}
