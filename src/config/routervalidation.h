#pragma once

#include "routerconfig.h"

#include <QString>
#include <optional>

// The fields of a router the operator types, in the router dialog's order.
enum class RouterField
{
    Name,
    Address,
    Port,
    ApiUser,
    ApiPassword,
    UserManagerAdmin
};

// What is wrong with a router, as the operator is told: the message (a text of
// the router dialog) and the field to mend.
struct RouterProblem
{
    RouterField field;
    QString message;
};

// The longest text a router field keeps: Routers.bin holds 99 characters of
// each, and a longer one would be cut without the operator noticing.
constexpr qsizetype RouterTextLength = 99;

// The rules a router must meet before it is stored, shared by the router dialog
// and the command line: a name and an address, an API port of digits between 1
// and 65535, no text longer than the file keeps, no control character (tab,
// line break) in the name, address, API user or User Manager admin. The first
// problem in the dialog's field order, or nothing when the router can be
// stored.
std::optional<RouterProblem> routerProblem(const RouterConfig &router);

// Whether the text is an API port: decimal digits only, 1 to 65535.
bool isValidPort(const QString &text);
