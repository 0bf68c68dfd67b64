// The Data Info tab: where and when each current work unit was recorded.
#pragma once

#include <windows.h>

HWND CreateDataInfoPage(HWND parent);
// Rebuilds the list from every location's files (on tab switch and F5).
void RefreshDataInfo();
