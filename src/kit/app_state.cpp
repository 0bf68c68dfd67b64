// The program context and the status line.
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

void SetStatusText(std::string_view text)
{
    if (!App().mainWindow)
        return;
    const std::string line(text);
    SetDlgItemTextA(App().mainWindow, IDC_MAIN_STATUS, line.c_str());
}

std::string CurrentStatusText()
{
    char text[512] = {};
    if (App().mainWindow)
        GetDlgItemTextA(App().mainWindow, IDC_MAIN_STATUS, text, sizeof text);
    return text;
}

int RefreshPosition()
{
    return std::clamp(App().refreshPosition, 1, kRefreshPositionNever);
}
