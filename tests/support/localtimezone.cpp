#include "localtimezone.h"

#include <QtGlobal>
#include <ctime>

void setLocalTimeZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

LocalTimeZone::LocalTimeZone(const char *zone)
    : m_oldZone(qgetenv("TZ")), m_hadZone(qEnvironmentVariableIsSet("TZ"))
{
    setLocalTimeZone(zone);
}

LocalTimeZone::~LocalTimeZone()
{
    if (m_hadZone)
        qputenv("TZ", m_oldZone);
    else
        qunsetenv("TZ");
    tzset();
}
