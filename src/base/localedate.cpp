#include "localedate.h"

#include <ctime>
#include <cwchar>

QString formatLocalTime(qint64 seconds, const char *pattern)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    if (qint64(time) != seconds)
        return {};
    std::tm local{};
    if (!localtime_r(&time, &local))
        return {};
    // The wide form gives the locale's text whatever its character set.
    const QString widePattern = QString::fromLatin1(pattern);
    std::wstring wpattern = widePattern.toStdWString();
    wchar_t buffer[256];
    const std::size_t size = std::wcsftime(buffer, sizeof buffer / sizeof *buffer, wpattern.c_str(), &local);
    return QString::fromWCharArray(buffer, qsizetype(size));
}
