// The Options tab: refresh rate, tray and grand total switches, the pre-refresh command.
#pragma once

#include <windows.h>

HWND CreateOptionsPage(HWND parent);

// Shows the SETI Locations dialog; when it stored a new location list, the Analysis and Best
// Results rows and the Completed tree are built anew from it.
void EditLocations(HWND owner);
