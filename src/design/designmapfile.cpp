#include "designmapfile.h"

#include "designmapkey.h"
#include "designrecords.h"

#include "base/atomicfile.h"
#include "base/binaryfields.h"
#include "base/paths.h"
#include "base/recordfile.h"
#include "config/routerconfig.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 UserManagerType = 15;
constexpr quint32 HotSpotType = 16;
constexpr quint32 OldUserManagerType = 5;
constexpr quint32 OldHotSpotType = 6;
constexpr quint32 RecordSize = 408;
constexpr quint32 OldRecordSize = 208;
constexpr qsizetype TextUnits = 100;
constexpr qsizetype OldTextBytes = 100;
// No map record comes near this; anything larger is damage.
constexpr quint32 SizeLimit = 2000;

// Like the other text fields, the last byte is always the terminator.
QString utf8Field(const QByteArray &record, qsizetype offset, qsizetype bytes)
{
    QByteArrayView field(record.constData() + offset, bytes - 1);
    const qsizetype end = field.indexOf('\0');
    return QString::fromUtf8(end < 0 ? field : field.first(end));
}

QString commonMapFile(const QString &dataFolder)
{
    return dataFolder + u"/VoucherMap.bin"_s;
}

void assign(const DesignMapEntry &entry, ProfileList &profiles, const DesignList &designs)
{
    // Titles and names are compared as the file holds them, so that long ones
    // find their profile and design again.
    auto profile =
        std::find_if(profiles.begin(), profiles.end(), [&](const std::shared_ptr<VoucherProfile> &p) {
            return p->HotSpot.has_value() == entry.HotSpot &&
                   storedText(p->Title, TextUnits).compare(entry.Title, Qt::CaseInsensitive) == 0;
        });
    // An empty name stands for no design, even when a design has no name.
    if (profile == profiles.end() || entry.DesignName.isEmpty())
        return;
    for (const std::shared_ptr<VoucherDesign> &design : designs) {
        if (storedText(design->Name, TextUnits).compare(entry.DesignName, Qt::CaseInsensitive) == 0) {
            (*profile)->Design = design.get();
            return;
        }
    }
}

} // namespace

void readDesignMap(QIODevice &device, QList<DesignMapEntry> &entries)
{
    readRecords(device, SizeLimit, [&](quint32 type, const QByteArray &record) {
        switch (type) {
        case UserManagerType:
        case HotSpotType:
            if (quint32(record.size()) != RecordSize)
                return false;
            entries.append({type == HotSpotType, readTextField(record, 8, TextUnits),
                            readTextField(record, 208, TextUnits)});
            return true;
        case OldUserManagerType:
        case OldHotSpotType:
            if (quint32(record.size()) != OldRecordSize)
                return false;
            entries.append({type == OldHotSpotType, utf8Field(record, 8, OldTextBytes),
                            utf8Field(record, 108, OldTextBytes)});
            return true;
        default:
            return true;
        }
    });
}

QByteArray serializeDesignMap(const ProfileList &profiles)
{
    QByteArray bytes;
    for (const std::shared_ptr<VoucherProfile> &profile : profiles) {
        QByteArray record(RecordSize, '\0');
        putU32(record, 0, RecordSize);
        putU32(record, 4, profile->HotSpot ? HotSpotType : UserManagerType);
        putText(record, 8, profile->Title, TextUnits);
        if (profile->Design)
            putText(record, 208, profile->Design->Name, TextUnits);
        bytes += record;
    }
    return bytes;
}

void applyDesignMap(const QList<DesignMapEntry> &entries, ProfileList &profiles, const DesignList &designs)
{
    for (const DesignMapEntry &entry : entries)
        assign(entry, profiles, designs);
    if (designs.isEmpty())
        return;
    for (const std::shared_ptr<VoucherProfile> &profile : profiles) {
        if (!profile->Design)
            profile->Design = designs.front().get();
    }
}

QString designMapFile(const QString &dataFolder, const QString &routerName)
{
    return dataFolder + u"/VoucherMap_"_s + designMapKey(routerName) + u".bin"_s;
}

void loadDesignMap(const QString &dataFolder, const RouterConfig *currentRouter, ProfileList &profiles,
                   const DesignList &designs)
{
    QList<DesignMapEntry> entries;
    if (!dataFolder.isEmpty()) {
        QFile file;
        if (currentRouter) {
            file.setFileName(designMapFile(dataFolder, currentRouter->Name));
            file.open(QIODevice::ReadOnly);
        }
        if (!file.isOpen()) {
            file.setFileName(commonMapFile(dataFolder));
            file.open(QIODevice::ReadOnly);
        }
        if (file.isOpen())
            readDesignMap(file, entries);
    }
    applyDesignMap(entries, profiles, designs);
}

bool saveDesignMap(const QString &dataFolder, const RouterConfig *currentRouter, const ProfileList &profiles)
{
    if (!currentRouter || !ensureFolder(dataFolder))
        return false;
    return writeFileAtomically(designMapFile(dataFolder, currentRouter->Name), serializeDesignMap(profiles));
}
