#pragma once

#include <QList>
#include <QString>

namespace routersim {

// What is on the simulated router. Every record carries its RouterOS id ("*1",
// "*2", ...); the ids of one router never repeat.

struct ApiUser
{
    QString id;
    QString name;
    QString password;
};

struct HotspotUser
{
    QString id;
    QString name;
    QString password;
    QString profile = QStringLiteral("default");
    QString server; // empty: all servers
    QString comment;
    QString limitUptime;
    QString limitBytesIn;
    QString limitBytesOut;
    QString limitBytesTotal;
    bool disabled = false;
};

struct HotspotUserProfile
{
    QString id;
    QString name;
};

struct HotspotServer
{
    QString id;
    QString name;
};

// User Manager profile (RouterOS 5 to 7).
struct UserManagerProfile
{
    QString id;
    QString name;
    QString price;
    QString validity;
    QString owner;
};

// User Manager credit (RouterOS 4, where profiles are credits).
struct UserManagerCredit
{
    QString id;
    QString name;
    QString fullPrice;
    QString time;
    QString subscriber;
};

struct UserManagerCustomer
{
    QString id;
    QString login;
};

struct UserManagerUser
{
    QString id;
    QString name; // "=name=", or "=username=" on RouterOS 6.30 to 6.x
    QString password;
    QString customer; // "=customer=" on 5 and 6, "=subscriber=" on 4, none on 7
    QString firstName;
    QString lastName;
    QString phone;
    QString location;
    QString email;
    QString callerId;
    QString comment;
    QString actualProfile; // set by create-and-activate-profile (RouterOS 5 and 6)
    QString credit;        // given with "=add-credit=" on RouterOS 4
};

// A profile assigned to a user with "/user-manager/user-profile/add" (RouterOS 7).
struct UserProfileAssignment
{
    QString id;
    QString user;
    QString profile;
};

struct Script
{
    QString id;
    QString name;
    QString source;
};

struct SchedulerEntry
{
    QString id;
    QString name;
    QString onEvent;
    QString interval;
};

struct RouterState
{
    QString version; // as "/system/resource/print" gives it, e.g. "6.48.6 (stable)"
    QList<ApiUser> apiUsers;
    QList<HotspotUser> hotspotUsers;
    QList<HotspotUserProfile> hotspotUserProfiles;
    QList<HotspotServer> hotspotServers;
    QList<UserManagerProfile> userManagerProfiles;
    QList<UserManagerCredit> userManagerCredits;
    QList<UserManagerCustomer> customers;
    QList<UserManagerUser> userManagerUsers;
    QList<UserProfileAssignment> userProfiles;
    QList<Script> scripts;
    QList<SchedulerEntry> schedulers;
    int nextId = 1; // the number of the next id handed out
};

// A new id ("*" and the number in upper-case hexadecimal, as RouterOS writes it).
QString takeId(RouterState &state);
// Gives every record without an id a fresh one, and moves nextId past the ids
// already used.
void assignMissingIds(RouterState &state);

// A RouterOS 6.48 router as a freshly set-up hotspot has it: user admin without
// password, hotspot user profiles "default" and "1hora", server "hotspot1", two
// User Manager profiles of customer "admin".
RouterState defaultRouterState();
// The default state at that version, with the User Manager credits "1dia" and
// "7dias" that RouterOS 4 sells in place of profiles.
RouterState routerStateOfVersion(const QString &version);

} // namespace routersim
