// The SETI Locations dialog: the stored location list, edited in a list and stored on OK.
#pragma once

#include <windows.h>

// Opens the dialog modally. OK stores the list as shown and returns true; Cancel stores nothing
// and returns false. The caller rebuilds what shows the locations.
bool ShowLocationsDialog(HWND owner);
