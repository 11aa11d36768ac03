#pragma once

#include <QString>

class ApiTransport;
struct RouterInfo;

// A voucher written down as sent to the router, as the router has it now.
struct RouterVoucher
{
    enum class State
    {
        Unknown,    // the router did not answer
        Absent,     // the router holds no such user, or one of another password: not ours
        Usable,     // the user is there and logs in: hotspot, or User Manager with its profile
        Incomplete, // a User Manager user without its profile: it logs nobody in
    };
    State state = State::Unknown;
    QString id; // the user's id, when it is there
};

// Asks the router on the open session about the voucher's user: a hotspot
// user, or a User Manager user with the command set of the router's version,
// whose profile (`profileName`; empty: any) must have been assigned (7) or
// activated (5, 6).
RouterVoucher checkRouterVoucher(ApiTransport &transport, const RouterInfo &info, const QString &name,
                                 const QString &password, bool hotSpot, const QString &profileName);

// Makes an incomplete User Manager voucher usable with its missing step;
// true when the router accepted it.
bool completeRouterVoucher(ApiTransport &transport, const RouterInfo &info, const QString &name,
                           const QString &id, const QString &profileName);

// Removes the voucher's user; true when the router confirmed it.
bool removeRouterVoucher(ApiTransport &transport, const RouterInfo &info, const QString &id, bool hotSpot);
