#include "routersfile.h"

#include "base/atomicfile.h"
#include "base/binaryfields.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"
#include "base/recordfile.h"

#include <QCoreApplication>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 RecordSize = 1420;
constexpr quint32 RecordType = 1;
constexpr quint32 SizeLimit = 2000;
constexpr qsizetype TextUnits = 100;

RouterConfig routerFromRecord(const QByteArray &r)
{
    RouterConfig router;
    router.Name = getText(r, 8, TextUnits);
    router.Address = getText(r, 208, TextUnits);
    router.Port = getText(r, 408, TextUnits);
    router.ApiUser = getText(r, 608, TextUnits);
    router.ApiPassword = getText(r, 808, TextUnits);
    router.UserManagerAdmin = getText(r, 1208, TextUnits);
    router.EnableHotSpotProfiles = r[1416] != 0;
    router.EnableUserManagerProfiles = r[1417] != 0;
    router.MacBinding = r[1418] != 0;
    return router;
}

QByteArray routerRecord(const RouterConfig &router)
{
    QByteArray r(RecordSize, '\0');
    putU32(r, 0, RecordSize);
    putU32(r, 4, RecordType);
    putText(r, 8, router.Name, TextUnits);
    putText(r, 208, router.Address, TextUnits);
    putText(r, 408, router.Port, TextUnits);
    putText(r, 608, router.ApiUser, TextUnits);
    putText(r, 808, router.ApiPassword, TextUnits);
    putText(r, 1208, router.UserManagerAdmin, TextUnits);
    r[1416] = router.EnableHotSpotProfiles ? 1 : 0;
    r[1417] = router.EnableUserManagerProfiles ? 1 : 0;
    r[1418] = router.MacBinding ? 1 : 0;
    return r;
}

QString routersFile(const QString &dataFolder)
{
    return dataFolder + u"/Routers.bin"_s;
}

// Appends the valid router records of the stream; returns how many bytes were
// whole records read (of any type), so the caller can tell whether reading
// stopped at damage.
qint64 readRouterRecords(QIODevice &device, QList<RouterConfig> &routers)
{
    qint64 read = 0;
    readRecords(device, SizeLimit, [&](quint32 type, const QByteArray &record) {
        if (type == RecordType) {
            if (record.size() != RecordSize)
                return false;
            routers.append(routerFromRecord(record));
        }
        read += record.size();
        return true;
    });
    return read;
}

} // namespace

void readRouters(QIODevice &device, QList<RouterConfig> &routers)
{
    readRouterRecords(device, routers);
}

QByteArray serializeRouters(const QList<RouterConfig> &routers)
{
    QByteArray bytes;
    for (const RouterConfig &router : routers)
        bytes += routerRecord(router);
    return bytes;
}

RoutersFileState loadRouters(const QString &dataFolder, QList<RouterConfig> &routers)
{
    if (dataFolder.isEmpty())
        return RoutersFileState::Absent;
    QFile file(routersFile(dataFolder));
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? RoutersFileState::Unreadable : RoutersFileState::Absent;
    const qint64 size = file.size();
    if (size == 0)
        return RoutersFileState::Absent;
    const qsizetype before = routers.size();
    const qint64 read = readRouterRecords(file, routers);
    // Routers read are kept even when damage follows them; with none, only a
    // file made entirely of whole records is a list.
    if (routers.size() > before || read == size)
        return RoutersFileState::Read;
    return RoutersFileState::Unreadable;
}

bool saveRouters(const QString &dataFolder, const QList<RouterConfig> &routers,
                 OperatorInteraction &interaction)
{
    if (ensureFolder(dataFolder) &&
        writeFileAtomically(routersFile(dataFolder), serializeRouters(routers), FileAccess::OwnerOnly))
        return true;
    interaction.showMessage(QCoreApplication::translate(
                                "DataFiles", "Ocorreu um erro inesperado salvar as definições do router."),
                            MessageIcon::Information);
    return false;
}
