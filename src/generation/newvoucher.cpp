#include "newvoucher.h"

#include "credentials.h"
#include "userdataprompt.h"
#include "voucherrecord.h"

#include "session/appstate.h"

UserDataPrompt::~UserDataPrompt() = default;

VoucherRecord *startVoucher(AppState &state, UserDataPrompt &prompt,
                            std::shared_ptr<const VoucherProfile> profile,
                            const std::optional<QString> &givenName, bool hotSpotUser)
{
    VoucherRecord &record = newVoucherRecord(state.batch, std::move(profile));
    record.HotSpotUser = hotSpotUser;
    makeUserName(record, givenName, state.settings);
    if (passwordIsGenerated(state.settings))
        makePassword(record, state.settings);
    if (userDataPromptNeeded(record, state.settings) && !prompt.askUserData(record)) {
        removeVoucherRecord(state.batch, record);
        return nullptr;
    }
    return &record;
}

void finishVoucher(AppState &state, VoucherRecord &record)
{
    record.Serial = nextSerial(state.settings);
    record.Generator = currentUserName(state);
}
