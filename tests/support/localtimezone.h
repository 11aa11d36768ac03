#pragma once

#include <QByteArray>

// Sets the zone of the C library's local time (the TZ variable, e.g. "UTC0",
// "BRT3").
void setLocalTimeZone(const char *zone);

// Sets the local time zone while it lives; then the TZ value it found is put
// back (or TZ is unset again).
class LocalTimeZone
{
public:
    explicit LocalTimeZone(const char *zone);
    ~LocalTimeZone();
    LocalTimeZone(const LocalTimeZone &) = delete;
    LocalTimeZone &operator=(const LocalTimeZone &) = delete;

private:
    QByteArray m_oldZone;
    bool m_hadZone;
};
