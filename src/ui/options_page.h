// The Options tab: refresh rate, tray and grand total switches, the pre-refresh command.
#pragma once

#include <windows.h>

HWND CreateOptionsPage(HWND parent);
