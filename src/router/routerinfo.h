#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
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
struct HotSpotProfile;
struct PriceFormat;
struct RouterConfig;
struct VoucherProfile;

// Reads "=version=" from "/system/resource/print": 6.48.6 (stable) gives 6
// and 48. A router that reports none leaves the values as they were.
void readRouterVersion(ApiTransport &transport, RouterInfo &info);

// A User Manager price in hundredths. From RouterOS 6.18 the router writes it
// as a decimal number ("10.5"); before, as an integer in hundredths.
qint32 parseUserManagerPrice(const QString &text, const RouterInfo &info);

// At the start of a session on a router: adds the profiles it sells to
// `profiles` (the local hotspot profiles when the router sells them, before the
// router is asked; then its User Manager profiles), reads its version and
// User Manager customer into `info`, and offers the expiration script, running
// every `scriptInterval` seconds, when hotspot profiles are sold. False only
// when the session could not be opened (the operator has been told).
bool readRouterInformation(const RouterConfig &router, const QList<HotSpotProfile> &hotSpotProfiles,
                           const PriceFormat &priceFormat, qint64 scriptInterval, RouterInfo &info,
                           QList<std::shared_ptr<VoucherProfile>> &profiles,
                           OperatorInteraction &interaction);

// The hotspot user profile names and hotspot server names of the first router
// of the list that sells hotspot profiles, for the profile editor.
struct HotSpotNames
{
    QStringList profiles;
    QStringList servers;
};
std::optional<HotSpotNames> listHotSpotNames(const QList<RouterConfig> &routers,
                                             OperatorInteraction &interaction);
