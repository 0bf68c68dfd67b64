// The client date parse under several time zones, set through TZ as the C library reads it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "core/client/client_date.h"

namespace
{

// Sets TZ for one test and puts the previous zone back afterwards.
class ZoneScope
{
public:
    explicit ZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope()
    {
        if (old_)
            setenv("TZ", old_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    std::optional<std::string> old_;
};

struct DateCase {
    const char* text;
    int64_t utc; // the instant when read as UTC, -1 for a refused text
};

// Seconds from the same local wall time in UTC to the zone's standard time: west of Greenwich
// the zone's times come later in UTC.
struct Zone {
    const char* tz;
    int32_t standardOffset;
};

constexpr DateCase kDates[] = {
    {"Sat Jul 15 22:31:54 2000", 963700314},
    {"Mon Jan 10 08:00:00 2000", 947491200},
    {"Tue Feb 29 12:00:00 2000", 951825600}, // leap day
    {"Fri Dec 31 23:59:59 1999", 946684799},
    {"Sat Jul  1 00:00:00 2000", 962409600}, // two blanks before a one-digit day
    {"Xyz Jul 15 22:31:54 2000", 963700314}, // the weekday is skipped unread
    {"Sat July 15 22:31:54 2000", -1},       // read as "July", which is no month name
    {"Sat jul 15 22:31:54 2000", -1},        // month names are case-sensitive
    {"Sat Ju 15 22:31:54 2000", -1},
    {"Sat Sept 15 22:31:54 2000", -1},
    {"Sat Jul 15 2000", -1},       // no time part: only three values read
    {"Sat Jul 15 22:31 2000", -1}, // a missing seconds part
    {"Sat Jul 15 223154 2000", -1},
    {"Sat Jul 15 22:31:54", -1},      // no year
    {"Wed Jul 16 12:00:00 1969", -1}, // before 1970
    {"Thu Jan  1 00:00:00 1970", 0},
    {"", -1},
    {"Sat", -1},
    {"Tue Jan 19 03:14:07 2038", 2147483647},   // the last second a 32-bit count holds
    {"Tue Jan 19 03:14:08 2038", 2147483648LL}, // beyond 32 bits in UTC, not east of it
};

} // namespace

TEST(ClientDateTest, ParsesAsLocalStandardTimeInEveryZone)
{
    // A zone with daylight saving must still read July dates as standard time.
    const Zone zones[] = {{"UTC0", 0}, {"EST5EDT,M4.1.0,M10.5.0", 5 * 3600}, {"XST-3XDT,M3.5.0,M10.5.0/3", -3 * 3600}};
    for (const Zone& zone : zones) {
        const ZoneScope scope(zone.tz);
        for (const DateCase& date : kDates) {
            int32_t expected = -1;
            if (date.utc != -1) {
                const int64_t shifted = date.utc + zone.standardOffset;
                expected = shifted < 0 || shifted > INT32_MAX ? -1 : static_cast<int32_t>(shifted);
            }
            EXPECT_EQ(ParseClientDate(date.text), expected) << zone.tz << ": " << date.text;
        }
    }
}
