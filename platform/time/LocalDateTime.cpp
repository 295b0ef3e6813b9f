#include "platform/time/LocalDateTime.h"

#include <cstdio>
#include <ctime>

namespace Platform {

std::string FormatTimeOfDay(const LocalDateTime& time)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour % 100, time.minute % 100, time.second % 100);
    return text;
}

std::string FormatAsctime(const LocalDateTime& time)
{
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = (time.weekday >= 0 && time.weekday < 7) ? kDays[time.weekday] : "???";
    const char* month = (time.month >= 1 && time.month <= 12) ? kMonths[time.month - 1] : "???";
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", day, month, time.day, time.hour,
                  time.minute, time.second, time.year);
    return text;
}

LocalDateTime ReadSystemLocalTime()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    LocalDateTime result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    result.weekday = parts.tm_wday;
    return result;
}

} // namespace Platform
