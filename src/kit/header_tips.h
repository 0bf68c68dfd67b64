// Column-title tooltips of the report lists: one tooltip window per list, one tool per column.
#pragma once

#include <windows.h>

// Where a list's tip texts come from: column c shows string base + c.
struct HeaderTipSource {
    int base = 0;
    // When not 0, the base used while the list has exactly totalsColumns columns (a list that
    // shows one of two forms, told apart by their column counts); any other count uses base.
    int totalsBase = 0;
    int totalsColumns = 0;
    // Text where the string table has none: "No Tip", or nothing.
    bool noTipFallback = false;
};

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
