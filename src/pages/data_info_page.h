// The Data Info tab: where and when each current work unit was recorded.
#pragma once

#include <windows.h>

#include "core/skymap/sky_point.h"
#include "kit/header_tips.h"
#include "resources/resource.h"

inline constexpr HeaderTipSource kDataInfoTips{IDS_TIP_DATA_INFO, 0, 0, true};

HWND CreateDataInfoPage(HWND parent);
// Rebuilds the list from every location's files (on tab switch and F5), read beside the window.
void RefreshDataInfo();
// True while that read is out.
bool DataInfoReading();
// The sky map records of the listed work units, in list order (what the Sky Map button hands over).
SkyPointSet DataInfoSkyPoints();
