// The Show Work Units dialog: picks which points of the Sky Map's set are drawn while it is open.
#pragma once

#include <windows.h>

#include <vector>

#include "core/skymap/sky_point.h"

// Opens the dialog modal to the Sky Map and returns when it is closed.
void ShowWorkUnitsDialog(HWND skyMap);

// Opens the same dialog without a message loop of its own and returns it; Close destroys it.
HWND CreateWorkUnitsDialog(HWND skyMap);

// The points of the checked entries, in list order; false when the dialog is not open.
bool PickedSkyPoints(std::vector<const SkyPoint*>& picked);

// Fills the open dialog's list again from the Sky Map's current set (all checked), so no entry
// refers to a set that is about to be freed.
void RefillWorkUnitPicks();
