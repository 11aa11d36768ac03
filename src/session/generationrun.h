#pragma once

#include <QString>
#include <memory>
#include <optional>

struct AppState;
struct VoucherProfile;
class OperatorInteraction;
class UserDataPrompt;

// Creates up to `count` vouchers of the profile on the current router (all with
// the given user name, else random names), records them in the history,
// advances the stored voucher serial and adds the sale to the POS sales
// history. The vouchers are left in the batch for listing and printing.
// False only when the session to the router could not be opened; true also
// when fewer vouchers than asked were made (the first failure ends the run,
// and the operator has been told why).
bool runGeneration(AppState &state, OperatorInteraction &interaction, UserDataPrompt &prompt,
                   std::shared_ptr<const VoucherProfile> profile, quint32 count,
                   const std::optional<QString> &givenName);
