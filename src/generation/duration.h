#pragma once

#include <QString>

// Duration texts, in which validities and uptime limits travel: units w, d, h,
// m, s (for example 1w2d or 30m) with an optional trailing HH:MM:SS clock.

// Seconds; texts of 100 characters or more, and numbers without a unit, count 0.
qint64 parseDuration(const QString &text);
// "%id" days, then a blank and a HH:MM:SS clock when there is time of day or
// alwaysTime is set.
QString formatDuration(qint64 seconds, bool alwaysTime);
// The validity as operators read it: "1 dia 02:00:00", "30 dias ".
QString formatValidityDisplay(const QString &text);
