// The refresh rate of the Options page: its caption text and its timer period, from a trackbar position.
#pragma once

#include <string>

// Positions 1 to 300 are a period in seconds; this one means the analysis never refreshes by itself.
inline constexpr int kRefreshPositionNever = 301;

// "Refresh Rate: ..." for the group box above the trackbar. Positions outside 1..301 are taken
// as the nearest end of the range, as the trackbar itself would hold them.
std::string RefreshCaption(int position);

// The timer period in milliseconds, or 0 when no timer runs (never).
unsigned RefreshPeriodMilliseconds(int position);
