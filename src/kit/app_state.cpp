// The process-wide state and the status line.
#include "kit/app_state.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/settings/refresh_caption.h"
#include "resources/resource.h"

AppState& App()
{
    static AppState state;
    return state;
}

HWND PageList(int tab)
{
    const HWND page = App().pages[tab];
    return page ? GetDlgItem(page, IDC_ANALYSIS_LIST) : nullptr;
}

void SetStatusText(std::string_view text)
{
    if (!App().mainWindow)
        return;
    const std::string line(text);
    SetDlgItemTextA(App().mainWindow, IDC_MAIN_STATUS, line.c_str());
}

int RefreshPosition()
{
    const HWND options = App().pages[kTabOptions];
    const HWND trackbar = options ? GetDlgItem(options, IDC_OPTIONS_REFRESH_RATE) : nullptr;
    if (!trackbar)
        return kDefaultRefreshRate;
    const int position = static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    return std::clamp(position, 1, kRefreshPositionNever);
}
