#include "routeruser.h"

#include "routercommand.h"
#include "usermanagercommands.h"

using namespace Qt::StringLiterals;

std::optional<bool> routerHoldsUser(ApiTransport &transport, const RouterInfo &info, const QString &name,
                                    bool hotSpot)
{
    const QStringList words =
        hotSpot ? QStringList{u"/ip/hotspot/user/print"_s, u"?name="_s + name}
                : QStringList{userManagerCommands(info).list, userManagerCommands(info).nameQuery + name};
    const ApiReply reply = runCommand(transport, words);
    if (!answered(reply))
        return std::nullopt;
    return findId(reply).has_value();
}
