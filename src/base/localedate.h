#pragma once

#include <QString>

// Seconds since 1970 as local time through a C library strftime pattern, in
// the user's locale (the program sets the C locale from the environment at
// start-up, so "%x" gives the user's date format).
QString formatLocalTime(qint64 seconds, const char *pattern);
