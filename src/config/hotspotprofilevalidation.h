#pragma once

#include "hotspotprofile.h"

#include <QString>
#include <optional>

// The fields of a hotspot profile the operator types or picks, in the profile
// editor's order.
enum class HotSpotProfileField
{
    Name,
    Price,
    Server,
    RouterProfile,
    Validity,
    LimitUptime,
    LimitBytesIn,
    LimitBytesOut,
    LimitBytesTotal
};

// What is wrong with a profile, as the operator is told: the message (a text of
// the profile editor) and the field to mend.
struct HotSpotProfileProblem
{
    HotSpotProfileField field;
    QString message;
};

// The longest text a profile field keeps: HotSpotProfiles.bin holds 99
// characters of each.
constexpr qsizetype HotSpotProfileTextLength = 99;

// The longest validity or connection time the operator may give: ten years
// (of 365.25 days). Longer ones are typing mistakes, and the router would get
// an expiry thousands of years ahead.
constexpr qint64 HotSpotProfileMaxDuration = 3653LL * 86400;

// A duration as the operator typed it, read by the caller (the duration texts
// are read in the generation layer, see readTypedDuration).
struct TypedDuration
{
    std::optional<qint64> seconds; // nothing: the text is no duration
};

// What the operator gave for a profile, in the profile editor or on the command
// line; a field left out keeps the profile's value. The price comes as typed.
struct HotSpotProfileInput
{
    std::optional<QString> name;
    std::optional<QString> price; // either "," or "." before the decimals
    std::optional<QString> server;
    std::optional<QString> routerProfile;
    std::optional<TypedDuration> validity;
    std::optional<TypedDuration> limitUptime; // 0: no limit
    std::optional<QString> limitBytesIn;
    std::optional<QString> limitBytesOut;
    std::optional<QString> limitBytesTotal;
};

// Stores the input in the profile with the profile editor's rules, shared by
// the editor and the command line: a validity of more than nothing, a
// connection time that reads as one, both of at most HotSpotProfileMaxDuration
// when typed, a price that reads as one (readPriceText: whole, not negative),
// no text longer than the file keeps nor holding a control character (tab,
// line break). On a problem the profile is left as it was and the first problem
// in the editor's order of checks (validity, connection time, price, then the
// texts) is returned.
std::optional<HotSpotProfileProblem> applyHotSpotProfileInput(HotSpotProfile &profile,
                                                              const HotSpotProfileInput &input);
