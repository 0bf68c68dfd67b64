// Refresh rate captions and timer periods.
#include "core/settings/refresh_caption.h"

#include <algorithm>
#include <cstdio>

namespace
{

int ClampPosition(int position)
{
    return std::clamp(position, 1, kRefreshPositionNever);
}

const char* PluralS(int count)
{
    return count > 1 ? "s" : "";
}

} // namespace

std::string RefreshCaption(int position)
{
    const int p = ClampPosition(position);
    if (p == kRefreshPositionNever)
        return "Refresh Rate: Never";

    char text[64];
    const int minutes = p / 60;
    const int seconds = p % 60;
    if (seconds == 0)
        std::snprintf(text, sizeof text, "Refresh Rate: %d minute%s", minutes, PluralS(minutes));
    else if (minutes == 0)
        std::snprintf(text, sizeof text, "Refresh Rate: %d second%s", seconds, PluralS(seconds));
    else
        // One minute keeps a blank where "s" would stand: "1 minute  1 second" has two blanks,
        // so the seconds stay in place as the minutes go from one to more.
        std::snprintf(text, sizeof text, "Refresh Rate: %d minute%c %d second%s", minutes, minutes > 1 ? 's' : ' ',
                      seconds, PluralS(seconds));
    return text;
}

unsigned RefreshPeriodMilliseconds(int position)
{
    const int p = ClampPosition(position);
    return p == kRefreshPositionNever ? 0u : static_cast<unsigned>(p) * 1000u;
}
