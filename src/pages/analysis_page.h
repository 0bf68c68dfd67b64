// The Analysis tab: per location status, progress and speed.
#pragma once

#include <windows.h>

#include "kit/header_tips.h"
#include "resources/resource.h"

inline constexpr HeaderTipSource kAnalysisTips{IDS_TIP_ANALYSIS, 0, 0, true};

HWND CreateAnalysisPage(HWND parent);
// The Analysis list, which owns every location's row; null while the page does not exist.
HWND AnalysisList();
