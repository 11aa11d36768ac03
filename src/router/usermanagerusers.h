#pragma once

#include <QString>
#include <memory>
#include <optional>

struct VoucherContext;
struct VoucherProfile;

// What is appended to the name of an existing User Manager user kept as a
// backup: the local time as "_yyMMddHHmmss".
QString backupSuffix(qint64 now);

// Creates one User Manager user for a voucher of the profile on the open
// session, with the command set of the router's RouterOS version. True: one
// complete record is in the batch. False: none was added; the operator
// cancelled, or has been told why.
bool createUserManagerVoucher(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                              const std::optional<QString> &givenName);
