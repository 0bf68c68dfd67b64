// The SETI Locations dialog: the stored location list, edited in a list and stored on OK.
#pragma once

#include <windows.h>

#include "kit/header_tips.h"
#include "resources/resource.h"

inline constexpr HeaderTipSource kLocationsTips{IDS_TIP_LOCATIONS, 0, 0, true};

// Opens the dialog modally. OK stores the list as shown and returns true; Cancel stores nothing
// and returns false. The caller rebuilds what shows the locations.
bool ShowLocationsDialog(HWND owner);
