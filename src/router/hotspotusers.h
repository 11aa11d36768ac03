#pragma once

#include <QString>
#include <memory>
#include <optional>

struct RouterConfig;
struct RouterInfo;
struct VoucherContext;
struct VoucherProfile;
class OperatorInteraction;

// The comment a hotspot voucher carries: its expiry in local time, twelve
// digits from year to minute. The router's expiration script compares it with
// its clock.
QString expiryStamp(qint64 expires);

// Creates one hotspot user for a voucher of the profile (which has a hotspot
// profile) on the open session. True: one complete record is in the batch.
// False: none was added; the operator cancelled, or has been told why.
bool createHotSpotVoucher(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                          const std::optional<QString> &givenName);

// Removes a hotspot user (hotSpot true) or a User Manager user from the router,
// in a session of its own. A User Manager removal first reads the router's
// version into `info` (the version the program keeps) and uses its command set.
// True when the user was found and removed.
bool removeRouterUser(const RouterConfig &router, const QString &name, bool hotSpot, RouterInfo &info,
                      OperatorInteraction &interaction);
