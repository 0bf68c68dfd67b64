// The Analysis tab: per location status, progress and speed.
#pragma once

#include <windows.h>

HWND CreateAnalysisPage(HWND parent);
