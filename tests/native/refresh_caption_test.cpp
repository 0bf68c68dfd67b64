// Refresh rate captions and timer periods for every kind of trackbar position.
#include <gtest/gtest.h>

#include "core/settings/refresh_caption.h"

namespace
{

TEST(RefreshCaption, NamesSecondsMinutesAndNever)
{
    const struct {
        int position;
        const char* caption;
        unsigned period;
    } cases[] = {
        {1, "Refresh Rate: 1 second", 1000},
        {2, "Refresh Rate: 2 seconds", 2000},
        {59, "Refresh Rate: 59 seconds", 59000},
        {60, "Refresh Rate: 1 minute", 60000},
        {61, "Refresh Rate: 1 minute  1 second", 61000},
        {62, "Refresh Rate: 1 minute  2 seconds", 62000},
        {119, "Refresh Rate: 1 minute  59 seconds", 119000},
        {120, "Refresh Rate: 2 minutes", 120000},
        {121, "Refresh Rate: 2 minutes 1 second", 121000},
        {150, "Refresh Rate: 2 minutes 30 seconds", 150000},
        {300, "Refresh Rate: 5 minutes", 300000},
        {301, "Refresh Rate: Never", 0},
        // Out of range: held at the ends, as the trackbar holds them.
        {0, "Refresh Rate: 1 second", 1000},
        {-5, "Refresh Rate: 1 second", 1000},
        {302, "Refresh Rate: Never", 0},
        {100000, "Refresh Rate: Never", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(RefreshCaption(c.position), c.caption);
        EXPECT_EQ(RefreshPeriodMilliseconds(c.position), c.period);
    }
}

} // namespace
