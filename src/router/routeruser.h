#pragma once

#include <QString>
#include <optional>

class ApiTransport;
struct RouterInfo;

// Whether the router holds the user, asked on the open session: a hotspot user
// (hotSpot true) or a User Manager user, with the command set of the router's
// version. Nothing when the router did not answer.
std::optional<bool> routerHoldsUser(ApiTransport &transport, const RouterInfo &info, const QString &name,
                                    bool hotSpot);
