#pragma once

#include <QString>

// One configured router.
struct RouterConfig
{
    QString Name;
    QString Address;                       // IP address or host name
    QString Port = QStringLiteral("8728"); // API port, decimal text
    QString ApiUser;
    QString ApiPassword;
    bool EnableHotSpotProfiles = true;
    bool EnableUserManagerProfiles = true;
    bool MacBinding = false;  // bind User Manager users to their first MAC address
    QString UserManagerAdmin; // User Manager customer; empty: the router's first

    friend bool operator==(const RouterConfig &, const RouterConfig &) = default;
};
