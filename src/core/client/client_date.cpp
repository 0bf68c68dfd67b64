// The client date parse: sscanf of the fields, the month table, and mktime as local standard time.
#include "core/client/client_date.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace
{

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int MonthIndex(const char* name)
{
    for (int month = 0; month < 12; ++month)
        if (std::strcmp(name, kMonths[month]) == 0)
            return month;
    return -1;
}

// Splits "h:m:s" into its three decimal parts; false when a part is missing.
bool SplitTime(const std::string& text, int& hours, int& minutes, int& seconds)
{
    const size_t first = text.find(':');
    if (first == std::string::npos)
        return false;
    const size_t second = text.find(':', first + 1);
    if (second == std::string::npos)
        return false;
    hours = std::atoi(text.c_str());
    minutes = std::atoi(text.c_str() + first + 1);
    seconds = std::atoi(text.c_str() + second + 1);
    return true;
}

} // namespace

int32_t ParseClientDate(std::string_view text)
{
    const std::string copy(text);
    char monthName[5] = {};
    char timeText[10] = {};
    int day = 0;
    int year = 0;
    if (std::sscanf(copy.c_str(), "%*s %4s %d %9s %d", monthName, &day, timeText, &year) < 4)
        return -1;
    const int month = MonthIndex(monthName);
    if (month < 0)
        return -1;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    if (!SplitTime(timeText, hours, minutes, seconds))
        return -1;
    // Years far outside the calendar would overflow tm_year; the C library would refuse them anyway.
    if (year < 1 || year > 9999)
        return -1;

    std::tm broken{};
    broken.tm_sec = seconds;
    broken.tm_min = minutes;
    broken.tm_hour = hours;
    broken.tm_mday = day;
    broken.tm_mon = month;
    broken.tm_year = year - 1900;
    broken.tm_isdst = 0; // the client writes standard time: no daylight-saving hour
    const time_t standard = std::mktime(&broken);
    if (standard == static_cast<time_t>(-1))
        return -1;
    // Through local broken-down time and back, so the result is what the local zone calls that instant.
    const std::tm* local = std::localtime(&standard);
    if (!local)
        return -1;
    std::tm again = *local;
    const time_t result = std::mktime(&again);
    if (result < 0 || result > INT32_MAX)
        return -1;
    return static_cast<int32_t>(result);
}
