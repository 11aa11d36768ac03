#pragma once

#include <QString>
#include <optional>

// Duration texts, in which validities and uptime limits travel: units w, d, h,
// m, s (for example 1w2d or 30m) with an optional trailing HH:MM:SS clock.

// Seconds; texts of 100 characters or more, and numbers without a unit, count 0.
qint64 parseDuration(const QString &text);
// A duration the operator typed, in seconds as parseDuration reads it, when
// the text is one: blanks, numbers of up to 9 digits each followed by a unit,
// then optionally a HH:MM:SS clock ("1w2d", "90m", "1d 02:00:00"), or a bare 0.
// Nothing for any other text, which parseDuration would read as some other
// duration ("-1h" as an hour, "12" or "1H" as none, "1:30:00" as none) or,
// with endless digits, wrap round. An empty text is 0.
std::optional<qint64> readTypedDuration(const QString &text);
// "%id" days, then a blank and a HH:MM:SS clock when there is time of day or
// alwaysTime is set.
QString formatDuration(qint64 seconds, bool alwaysTime);
// The validity as operators read it: "1 dia 02:00:00", "30 dias ".
QString formatValidityDisplay(const QString &text);
