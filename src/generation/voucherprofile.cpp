#include "voucherprofile.h"

#include "duration.h"

std::shared_ptr<VoucherProfile> makeVoucherProfile(const QString &name, qint32 price, const QString &validity,
                                                   const PriceFormat &format)
{
    auto profile = std::make_shared<VoucherProfile>();
    profile->Name = name;
    profile->Title = name;
    profile->Validity = validity;
    profile->ValidityDisplay = formatValidityDisplay(validity);
    profile->Price = price;
    profile->PriceText = formatPrice(price, format.pattern, format.separators);
    return profile;
}

std::shared_ptr<VoucherProfile> makeVoucherProfile(const HotSpotProfile &hotSpot, const PriceFormat &format)
{
    auto profile =
        makeVoucherProfile(hotSpot.Name, hotSpot.Price, formatDuration(hotSpot.Validity, false), format);
    profile->HotSpot = hotSpot;
    return profile;
}

void insertProfile(ProfileList &profiles, std::shared_ptr<VoucherProfile> profile)
{
    const qint64 validity = parseDuration(profile->Validity);
    auto at = std::find_if(profiles.begin(), profiles.end(), [&](const std::shared_ptr<VoucherProfile> &p) {
        return parseDuration(p->Validity) > validity;
    });
    profiles.insert(at, std::move(profile));
}

void removeProfile(ProfileList &profiles, const VoucherProfile *profile)
{
    profiles.removeIf([&](const std::shared_ptr<VoucherProfile> &p) { return p.get() == profile; });
}
