// The Best Results tab: the best signals of every location.
#pragma once

#include <windows.h>

#include "kit/header_tips.h"
#include "resources/resource.h"

inline constexpr HeaderTipSource kBestResultsTips{IDS_TIP_BEST_RESULTS, 0, 0, true};

HWND CreateBestResultsPage(HWND parent);
// The Best Results list, which shows the Analysis list's rows; null while the page does not exist.
HWND BestResultsList();
