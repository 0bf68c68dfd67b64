// The Sky Map window: a star chart with one circle per work unit of the point set it is given.
#pragma once

#include <windows.h>

#include "core/skymap/sky_point.h"

// The open Sky Map (one at a time), its Show Work Units dialog and its view switches.
struct SkyWindows {
    HWND map = nullptr;
    HWND pick = nullptr; // the open Show Work Units dialog, whose checks the Sky Map draws
    int showText = 1;    // labels on; kept for the run when the settings key cannot be opened
    int circleSize = 1;  // 1 large circles, 2 small
};
SkyWindows& Sky();

// Takes the point set over. The first call creates the window; while it is open each call frees
// the shown set, shows the new one and brings the window to the foreground.
void ShowSkyMap(SkyPointSet points);

// Which of the points are drawn changed (the Show Work Units dialog's checks): the open Sky Map
// draws its picture again at its next paint.
void RedrawSkyMapPoints();

// The set the open Sky Map shows, or null when no Sky Map is open.
const SkyPointSet* SkyMapPoints();
