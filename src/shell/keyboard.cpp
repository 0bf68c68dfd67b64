// Tab switching and context-menu keys, caught in the message loop before dialog navigation.
#include "shell/keyboard.h"

#include <commctrl.h>

#include <algorithm>

#include "kit/app_state.h"
#include "kit/long_read.h"
#include "shell/main_window.h"
#include "shell/page_table.h"

namespace
{

bool KeyDown(int key)
{
    return GetKeyState(key) < 0;
}

bool InMainWindow(HWND hwnd)
{
    const HWND main = App().mainWindow;
    return main && hwnd && (hwnd == main || IsChild(main, hwnd));
}

// The step through the tabs that a Ctrl key combination asks for, or 0.
int TabStep(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !KeyDown(VK_CONTROL) || KeyDown(VK_MENU))
        return 0;
    switch (msg.wParam) {
    case VK_TAB:
        return KeyDown(VK_SHIFT) ? -1 : 1;
    case VK_NEXT:
        return 1;
    case VK_PRIOR:
        return -1;
    }
    return 0;
}

bool SwitchTab(const MSG& msg)
{
    const int step = TabStep(msg);
    const HWND tabs = App().tabControl;
    if (step == 0 || !tabs || !InMainWindow(msg.hwnd))
        return false;
    const int selected = std::max(TabCtrl_GetCurSel(tabs), 0);
    TabCtrl_SetCurSel(tabs, (selected + step + kTabCount) % kTabCount);
    // Setting the selection tells nobody; the switch does what TCN_SELCHANGE does after a click.
    ShowCurrentTab();
    return true;
}

bool OpenContextMenu(const MSG& msg)
{
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    const bool menuKey = msg.wParam == VK_APPS;
    const bool shiftF10 = msg.wParam == VK_F10 && KeyDown(VK_SHIFT);
    if (!msg.hwnd || !(down || up) || !(menuKey || shiftF10))
        return false;
    if (down)
        SendMessageA(msg.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), static_cast<LPARAM>(-1));
    // The release is swallowed too: the system's default handling would open a second menu on it
    // (the Menu key) or enter the menu bar (F10).
    return true;
}

// Escape in the main window stops the reads of logs under way: a Completed load, every location's
// Sky Map points, the Work Unit Calendar's counts (and does nothing else then).
bool StopLoad(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || !InMainWindow(msg.hwnd) || !LongReadsRunning())
        return false;
    StopLongReads();
    return true;
}

} // namespace

bool HandleProgramKey(const MSG& msg)
{
    return SwitchTab(msg) || OpenContextMenu(msg) || StopLoad(msg);
}
