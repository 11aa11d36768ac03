#pragma once

#include <QString>

struct RouterInfo;

// The User Manager words of a RouterOS version: "/user-manager" on 7,
// "/tool/user-manager" before; users named with "=username=" from 6.30; owners
// are subscribers on 4 and customers on 5 and 6.
struct UserManagerCommands
{
    QString list;
    QString add;
    QString rename;
    QString remove;
    QString nameQuery;     // "?name=" or "?username="
    QString nameAttribute; // "=name=" or "=username=" in the add and the rename
    QString ownerQuery;    // empty on 7
};

UserManagerCommands userManagerCommands(const RouterInfo &info);

// RouterOS 5 and 6.0 to 6.1 activate a profile by user name, later ones by id.
bool activatesByUserName(const RouterInfo &info);
