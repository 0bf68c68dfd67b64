// The Sky Map window: a star chart with one circle per work unit of the point set it is given.
#pragma once

#include "core/skymap/sky_point.h"

// Takes the point set over. The first call creates the window; while it is open each call frees
// the shown set, shows the new one and brings the window to the foreground.
void ShowSkyMap(SkyPointSet points);

// Which of the points are drawn changed (the Show Work Units dialog's checks): the open Sky Map
// draws its picture again at its next paint.
void RedrawSkyMapPoints();

// The set the open Sky Map shows, or null when no Sky Map is open.
const SkyPointSet* SkyMapPoints();
