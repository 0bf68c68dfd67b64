// The Best Results tab: the best signals of every location.
#pragma once

#include <windows.h>

HWND CreateBestResultsPage(HWND parent);
