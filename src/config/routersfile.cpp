#include "routersfile.h"

#include "base/atomicfile.h"
#include "base/binaryfields.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"
#include "base/recordfile.h"

#include <QCoreApplication>

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

} // namespace

bool readRouters(QIODevice &device, QList<RouterConfig> &routers)
{
    return readRecords(device, SizeLimit, [&](quint32 type, const QByteArray &record) {
        if (type != RecordType)
            return true;
        if (record.size() != RecordSize)
            return false;
        routers.append(routerFromRecord(record));
        return true;
    });
}

QByteArray serializeRouters(const QList<RouterConfig> &routers)
{
    QByteArray bytes;
    for (const RouterConfig &router : routers)
        bytes += routerRecord(router);
    return bytes;
}

ListFileState loadRouters(const QString &dataFolder, QList<RouterConfig> &routers)
{
    if (dataFolder.isEmpty())
        return ListFileState::Absent;
    return readListFile(routersFile(dataFolder), [&](QIODevice &file) { return readRouters(file, routers); });
}

bool saveRouters(const QString &dataFolder, const QList<RouterConfig> &routers,
                 OperatorInteraction &interaction)
{
    const QString path = routersFile(dataFolder);
    if (ensureFolder(dataFolder) &&
        writeFileAtomically(path, serializeRouters(routers), FileAccess::OwnerOnly))
        return true;
    interaction.showMessage(
        writeFailureText(QCoreApplication::translate(
                             "DataFiles", "Ocorreu um erro inesperado salvar as definições do router."),
                         path),
        MessageIcon::Information);
    return false;
}
