#pragma once

#include <QString>
#include <memory>
#include <optional>

struct AppState;
struct VoucherProfile;
struct VoucherRecord;
class UserDataPrompt;

// The first steps of creating any voucher: a new record in the batch, its user
// name, then the password or the user-data prompt as the generation rules say.
// Nothing when the operator cancelled the prompt (the record is gone again).
VoucherRecord *startVoucher(AppState &state, UserDataPrompt &prompt,
                            std::shared_ptr<const VoucherProfile> profile,
                            const std::optional<QString> &givenName, bool hotSpotUser);

// The last step: serial number and creating program user.
void finishVoucher(AppState &state, VoucherRecord &record);
