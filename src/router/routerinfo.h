#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the program knows of the current router, kept for the whole process and
// overwritten as answers arrive.
struct RouterInfo
{
    qint32 Major = 0; // RouterOS version; 0 until a router reported one
    qint32 Minor = 0;
    QString Customer; // User Manager customer (owner) of the users created
};

// RouterOS 7 moved User Manager to "/user-manager". Later major versions are
// taken to keep that menu.
bool isRouterOs7(const RouterInfo &info);

class ApiTransport;
class OperatorInteraction;
struct AppState;
struct RouterConfig;

// Reads "=version=" from "/system/resource/print": 6.48.6 (stable) gives 6
// and 48. A router that reports none leaves the values as they were.
void readRouterVersion(ApiTransport &transport, RouterInfo &info);

// A User Manager price in hundredths. From RouterOS 6.18 the router writes it
// as a decimal number ("10.5"); before, as an integer in hundredths.
qint32 parseUserManagerPrice(const QString &text, const RouterInfo &info);

// At the start of a session on the current router: rebuilds the profile list
// from the hotspot profiles and the router's User Manager profiles, reads the
// version and the customer, and offers the expiration script when hotspot
// profiles are sold. False only when the session could not be opened (the
// operator has been told).
bool readRouterInformation(AppState &state, OperatorInteraction &interaction);

// The hotspot user profile names and hotspot server names of the first router
// of the list that sells hotspot profiles, for the profile editor.
struct HotSpotNames
{
    QStringList profiles;
    QStringList servers;
};
std::optional<HotSpotNames> listHotSpotNames(const QList<RouterConfig> &routers,
                                             OperatorInteraction &interaction);
