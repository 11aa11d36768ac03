#pragma once

#include "base/formatprice.h"
#include "config/hotspotprofile.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

struct VoucherDesign;

// One sellable profile of the generator and POS windows: a User Manager profile
// of the router, or a local hotspot profile.
struct VoucherProfile
{
    QString Name;  // as the router knows it
    QString Title; // as the operator sees it
    QString PriceText;
    QString ValidityDisplay;
    QString Validity;                      // duration text
    std::optional<HotSpotProfile> HotSpot; // set for a hotspot profile
    qint32 Price = 0;                      // hundredths
    const VoucherDesign *Design = nullptr; // none until a design is assigned
};

// Sorted by validity. Records keep the profile they were made from alive, so a
// rebuilt list never leaves a voucher without its profile.
using ProfileList = QList<std::shared_ptr<VoucherProfile>>;

// How prices are written: the "UseCurrency" pattern and the locale's separators.
struct PriceFormat
{
    QString pattern;
    NumberSeparators separators;
};

std::shared_ptr<VoucherProfile> makeVoucherProfile(const QString &name, qint32 price, const QString &validity,
                                                   const PriceFormat &format);
std::shared_ptr<VoucherProfile> makeVoucherProfile(const HotSpotProfile &hotSpot, const PriceFormat &format);

// Inserts before the first entry of strictly longer validity, so entries of
// equal validity keep the order in which they arrived.
void insertProfile(ProfileList &profiles, std::shared_ptr<VoucherProfile> profile);
void removeProfile(ProfileList &profiles, const VoucherProfile *profile);
