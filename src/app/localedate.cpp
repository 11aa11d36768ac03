#include "localedate.h"

#include <ctime>

QString formatLocalTime(qint64 seconds, const char *pattern)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&time, &local))
        return {};
    char buffer[256];
    const std::size_t size = std::strftime(buffer, sizeof buffer, pattern, &local);
    // The C library writes in the locale's multibyte encoding.
    return QString::fromLocal8Bit(buffer, qsizetype(size));
}
