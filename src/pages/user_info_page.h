// The User Info tab: each location's user statistics.
#pragma once

#include <windows.h>

HWND CreateUserInfoPage(HWND parent);
// Rebuilds the list from every location's files (on tab switch and F5).
void RefreshUserInfo();
