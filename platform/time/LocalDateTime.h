// A local calendar date and time, and the two texts the program prints from
// it: "HH:MM:SS" for log lines and the C library's asctime layout for report
// headers. Kept apart from the clock so both back ends format alike.
#pragma once

#include <string>

namespace Platform {

struct LocalDateTime {
    int year = 2000;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 6; // 0 = Sunday
};

// "HH:MM:SS", two digits each.
std::string FormatTimeOfDay(const LocalDateTime& time);
// "Www Mmm dd hh:mm:ss yyyy\n", as asctime gives it (day padded with a blank).
std::string FormatAsctime(const LocalDateTime& time);
// The system's local time now, without the C library's shared static buffer.
LocalDateTime ReadSystemLocalTime();

} // namespace Platform
