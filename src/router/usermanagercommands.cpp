#include "usermanagercommands.h"

#include "routerinfo.h"

using namespace Qt::StringLiterals;

UserManagerCommands userManagerCommands(const RouterInfo &info)
{
    const bool v7 = isRouterOs7(info);
    const bool usernameForm = info.Major == 6 && info.Minor >= 30;
    const QString menu = v7 ? u"/user-manager/user/"_s : u"/tool/user-manager/user/"_s;
    UserManagerCommands c;
    c.list = menu + u"print"_s;
    c.add = menu + u"add"_s;
    c.rename = menu + u"set"_s;
    c.remove = menu + u"remove"_s;
    c.nameQuery = !v7 && usernameForm ? u"?username="_s : u"?name="_s;
    c.nameAttribute = !v7 && usernameForm ? u"=username="_s : u"=name="_s;
    if (!v7)
        c.ownerQuery = info.Major == 4 ? u"?subscriber="_s : u"?customer="_s;
    return c;
}

bool activatesByUserName(const RouterInfo &info)
{
    return info.Major == 5 || (info.Major == 6 && info.Minor <= 1);
}
