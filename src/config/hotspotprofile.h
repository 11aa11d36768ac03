#pragma once

#include <QString>

// One locally defined hotspot voucher profile.
struct HotSpotProfile
{
    QString Name;
    qint64 Validity = 0;    // seconds from creation until the voucher expires
    qint64 LimitUptime = 0; // seconds of connection; 0 sends no limit
    QString RouterProfile;  // the router's hotspot user profile
    QString Server;         // hotspot server; empty sends none
    QString LimitBytesIn;   // passed to the router as written; empty sends none
    QString LimitBytesOut;
    QString LimitBytesTotal;
    qint32 Price = 0; // hundredths of the currency unit

    friend bool operator==(const HotSpotProfile &, const HotSpotProfile &) = default;
};
