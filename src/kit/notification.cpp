// The notification icon, its tip and balloon, and the flashing taskbar button.
#include "kit/notification.h"

#include <algorithm>
#include <cstring>

#include "core/analysis/analysis.h"
#include "core/analysis/status_alert.h"
#include "core/common/program_texts.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"

namespace
{

// Copies text into a fixed field, cut to leave room for the terminator.
template <size_t N> void CopyField(char (&field)[N], std::string_view text)
{
    const size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// The first layout of the record (a 64-byte tip) is accepted by every version of the shell.
NOTIFYICONDATAA IconData(UINT flags, std::string_view tip)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = App().mainWindow;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    CopyField(data.szTip, tip.substr(0, kTrayTipCapacity));
    return data;
}

bool Notify(DWORD message, NOTIFYICONDATAA& data)
{
    return App().mainWindow && Shell().notifyIcon(message, &data) != FALSE;
}

void ShowBalloon(const std::string& text, bool warning)
{
    // Balloons need the second layout of the record, which every shell since it knows.
    NOTIFYICONDATAA data = IconData(NIF_INFO, {});
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    CopyField(data.szInfo, text);
    CopyField(data.szInfoTitle, kProgramTitle);
    data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    data.uTimeout = 10000;
    Notify(NIM_MODIFY, data);
}

void FlashTaskbarButton()
{
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = App().mainWindow;
    flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    Shell().flashWindow(&flash);
}

} // namespace

ShellCalls& Shell()
{
    static ShellCalls calls;
    return calls;
}

bool AddTrayIcon(std::string_view tip)
{
    App().trayTip.assign(tip.substr(0, kTrayTipCapacity));
    NOTIFYICONDATAA data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP, tip);
    data.uCallbackMessage = kMessageTrayIcon;
    // A shared icon: the system frees it with the module, so nothing has to destroy it.
    data.hIcon =
        static_cast<HICON>(LoadImageA(App().instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return Notify(NIM_ADD, data);
}

bool SetTrayTip(std::string_view tip)
{
    App().trayTip.assign(tip.substr(0, kTrayTipCapacity));
    NOTIFYICONDATAA data = IconData(NIF_TIP, tip);
    return Notify(NIM_MODIFY, data);
}

void RemoveTrayIcon()
{
    NOTIFYICONDATAA data = IconData(0, {});
    Notify(NIM_DELETE, data);
}

bool RestoreTrayIcon()
{
    const std::string tip = App().trayTip;
    return AddTrayIcon(tip);
}

bool AlertsWanted()
{
    SettingsStore store;
    DWORD wanted = 1;
    if (store.Open())
        store.ReadNumber(kValueAlertOnStatusChange, wanted);
    return wanted != 0;
}

void AlertStatusChanges(const std::vector<std::string>& lines, bool warning)
{
    const HWND main = App().mainWindow;
    if (lines.empty() || !main || !AlertsWanted())
        return;
    if (App().inTray)
        ShowBalloon(BalloonText(lines), warning);
    else if (IsIconic(main))
        FlashTaskbarButton();
}
