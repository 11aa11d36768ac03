#include "newvoucher.h"

#include "credentials.h"
#include "userdataprompt.h"

#include "config/appsettings.h"

UserDataPrompt::~UserDataPrompt() = default;

VoucherRecord *startVoucher(BatchList &batch, const AppSettings &settings, UserDataPrompt &prompt,
                            std::shared_ptr<const VoucherProfile> profile,
                            const std::optional<QString> &givenName, bool hotSpotUser)
{
    VoucherRecord &record = newVoucherRecord(batch, std::move(profile));
    record.HotSpotUser = hotSpotUser;
    makeUserName(record, givenName, settings);
    if (passwordIsGenerated(settings))
        makePassword(record, settings);
    if (userDataPromptNeeded(record, settings) && !prompt.askUserData(record)) {
        removeVoucherRecord(batch, record);
        return nullptr;
    }
    return &record;
}
