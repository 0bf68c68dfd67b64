// Column-title tooltips of the report lists: one tooltip window per list, one tool per column.
#pragma once

#include <windows.h>

#include "resources/resource.h"

// Where a list's tip texts come from: column c shows string base + c.
struct HeaderTipSource {
    int base;
    // When not 0, the base used while the list has exactly totalsColumns columns (the Completed
    // list's totals form); any other column count uses base.
    int totalsBase;
    int totalsColumns;
    // Text where the string table has none: "No Tip", or nothing.
    bool noTipFallback;
};

inline constexpr HeaderTipSource kAnalysisTips{IDS_TIP_ANALYSIS, 0, 0, true};
inline constexpr HeaderTipSource kBestResultsTips{IDS_TIP_BEST_RESULTS, 0, 0, true};
inline constexpr HeaderTipSource kDataInfoTips{IDS_TIP_DATA_INFO, 0, 0, true};
inline constexpr HeaderTipSource kUserInfoTips{IDS_TIP_USER_INFO, 0, 0, true};
inline constexpr HeaderTipSource kCompletedTips{IDS_TIP_COMPLETED_UNITS, IDS_TIP_COMPLETED_TOTALS, 7, false};
inline constexpr HeaderTipSource kLocationsTips{IDS_TIP_LOCATIONS, 0, 0, true};

// Makes the list's tooltip window (owned by the list's top-level window, destroyed with the list),
// puts the tip procedure in front of the header's procedure and adds one tool per current column.
// Does nothing but return the existing tooltip when the list already has one. Null on failure.
HWND InstallHeaderTips(HWND list, const HeaderTipSource& source);

// Brings the tools in line with the current columns (one per column, none left over from an
// earlier set of columns) and gives each the header area of its column. Call it after the columns
// are made or sized. Resizes by dragging a divider are followed without it.
void PlaceHeaderTips(HWND list);

// The list's tooltip window, or null.
HWND HeaderTipWindow(HWND list);
