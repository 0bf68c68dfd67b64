// The SETI Locations dialog: the stored location list, edited in a list and stored on OK.
#pragma once

#include <windows.h>

// Opens the dialog modally. OK stores the list as shown and rebuilds the Analysis, Best Results
// and Completed Work Units views; Cancel stores nothing.
void ShowLocationsDialog(HWND owner);
