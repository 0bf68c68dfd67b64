// The User Info tab: each location's user statistics.
#pragma once

#include <windows.h>

#include "kit/header_tips.h"
#include "resources/resource.h"

inline constexpr HeaderTipSource kUserInfoTips{IDS_TIP_USER_INFO, 0, 0, true};
// The page's own message: open the Future Calendar for the selected row.
inline constexpr UINT kMessageFutureCalendar = WM_APP + 1001;

HWND CreateUserInfoPage(HWND parent);
// Rebuilds the list from every location's files (on tab switch and F5), read beside the window.
void RefreshUserInfo();
// True while that read is out.
bool UserInfoReading();
