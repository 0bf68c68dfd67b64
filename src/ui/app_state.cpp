// The process-wide state and the status line.
#include "ui/app_state.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>

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
    return position < 1 ? 1 : position > kRefreshNever ? kRefreshNever : position;
}

namespace
{

// The first layout of the record (a 64-byte tip) is accepted by every version of the shell.
NOTIFYICONDATAA TrayIconData(UINT flags, std::string_view tip)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = App().mainWindow;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    constexpr size_t kTipCapacity = 64;
    const size_t length = std::min(tip.size(), kTipCapacity - 1);
    std::memcpy(data.szTip, tip.data(), length);
    data.szTip[length] = '\0';
    return data;
}

} // namespace

bool AddTrayIcon(std::string_view tip)
{
    if (!App().mainWindow)
        return false;
    NOTIFYICONDATAA data = TrayIconData(NIF_MESSAGE | NIF_ICON | NIF_TIP, tip);
    data.uCallbackMessage = kMessageTrayIcon;
    // A shared icon: the system frees it with the module, so nothing has to destroy it.
    data.hIcon =
        static_cast<HICON>(LoadImageA(App().instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

bool SetTrayTip(std::string_view tip)
{
    if (!App().mainWindow)
        return false;
    NOTIFYICONDATAA data = TrayIconData(NIF_TIP, tip);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void RemoveTrayIcon()
{
    if (!App().mainWindow)
        return;
    NOTIFYICONDATAA data = TrayIconData(0, {});
    Shell_NotifyIconA(NIM_DELETE, &data);
}
