// The main window: status line and tab control with the six pages, the refresh timer's tick,
// hiding in the notification area, the message loop and what start-up and shut-down do around it.
#include "shell/main_window.h"

#include <commctrl.h>

#include <initializer_list>
#include <utility>

#include "core/common/program_texts.h"
#include "dialogs/sky_map.h"
#include "kit/app_state.h"
#include "kit/list_view.h"
#include "kit/notification.h"
#include "pages/analysis_refresh.h"
#include "platform/settings_store.h"
#include "platform/unique_handle.h"
#include "platform/window_layout.h"
#include "resources/resource.h"
#include "shell/keyboard.h"
#include "shell/page_table.h"

namespace
{

// The main window's own message: hide it (it went to the notification area).
constexpr UINT kMessageHide = WM_APP + 1000;

// The tab in front as the tab control has it; the control knows before anyone is told.
int SelectedTab()
{
    const int selected = App().tabControl ? TabCtrl_GetCurSel(App().tabControl) : -1;
    return selected >= 0 && selected < kTabCount ? selected : kTabAnalysis;
}

// The tab control is a tab stop of its own (the arrow keys on it change the page); the pages are
// its siblings, not its children, since dialog navigation only enters a control parent and never
// stops on it. It clips the page that lies over its display area.
HWND CreateTabControl(HWND hwnd)
{
    const HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                                     300, 150, hwnd, nullptr, App().instance, nullptr);
    if (!tab)
        return nullptr;
    SendMessageA(tab, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), FALSE);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPageTable[i].title);
        SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    return tab;
}

// The tab whose page holds the focus, which it notes as that page's focus; -1 for none.
int RememberPageFocus()
{
    TabState& app = Tabs();
    const HWND focus = GetFocus();
    for (int i = 0; focus && i < kTabCount; ++i) {
        if (app.pages[i] && IsChild(app.pages[i], focus)) {
            app.pageFocus[i] = focus;
            return i;
        }
    }
    return -1;
}

// Gives the focus to the control the page had it on last, or else to its first tab stop (its list).
void FocusPage(int tab)
{
    const HWND page = Tabs().pages[tab];
    if (!page)
        return;
    HWND target = Tabs().pageFocus[tab];
    if (!target || !IsChild(page, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(page, nullptr, FALSE);
    // Through the dialog, so that it moves its default button and selects an edit's text as a Tab would.
    if (target)
        SendMessageA(App().mainWindow, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

BOOL OnInitDialog(HWND hwnd)
{
    AppState& app = App();
    // The pages created below reach the main window through App() while they start.
    app.mainWindow = hwnd;
    Tabs().currentTab = kTabAnalysis;
    app.inTray = false;
    app.tickedInTray = false;
    app.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");

    RestorePlacement(hwnd, kValueWindowPosition, true, app.showCommand);
    SendMessageA(hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(app.instance, MAKEINTRESOURCEA(IDI_VANTOREL))));

    app.tabControl = CreateTabControl(hwnd);
    if (app.tabControl) {
        for (int i = 0; i < kTabCount; ++i) {
            const HWND page = Tabs().pages[i] = kPageTable[i].create(hwnd);
            // Above the tab control, so that the page gets the clicks and paints over its area.
            SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }

    ShowCurrentTab();
    RECT client{};
    GetClientRect(hwnd, &client);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    SizeCurrentPage();
    return TRUE;
}

void OnSize(HWND hwnd, WPARAM sizeType)
{
    // A minimised window has no client area to lay out; the layout waits for the restore.
    if (sizeType == SIZE_MINIMIZED)
        return;
    Tabs().currentTab = SelectedTab();
    RECT client{};
    GetClientRect(hwnd, &client);

    const HWND status = GetDlgItem(hwnd, IDC_MAIN_STATUS);
    int statusHeight = 0;
    if (status) {
        RECT rect{};
        GetWindowRect(status, &rect);
        statusHeight = rect.bottom - rect.top;
        MoveWindow(status, 0, client.bottom - statusHeight, client.right, statusHeight, TRUE);
    }
    if (App().tabControl)
        MoveWindow(App().tabControl, 5, 5, client.right - 10, client.bottom - statusHeight - 10, TRUE);
    SizeCurrentPage();
}

void OnNotify(const NMHDR* header)
{
    if (header->hwndFrom == App().tabControl && header->code == TCN_SELCHANGE)
        ShowCurrentTab();
}

void OnTimer(HWND hwnd)
{
    AppState& app = App();
    app.tickedInTray = true;
    const int tab = Tabs().currentTab = SelectedTab();
    if (app.inTray || kPageTable[tab].refreshedByTimer || IsIconic(hwnd))
        RefreshAnalysis(false);
}

void OnMinimize(HWND hwnd)
{
    DWORD toTray = 0;
    bool known = false;
    {
        SettingsStore store;
        known = store.Open() && store.ReadNumber(kValueMinimizeToTaskbar, toTray);
    }
    if (!known) {
        // The minimised title shows the progress at once rather than at the next tick.
        PostMessageA(hwnd, WM_TIMER, kRefreshTimerId, 0);
        return;
    }
    if (toTray != 1)
        return;
    // Without an icon nothing could bring a hidden window back (no notification area, or the
    // taskbar not made yet): the window goes to the taskbar instead, and the next minimise tries
    // the icon again.
    if (!AddTrayIcon(kProgramTitle)) {
        PostMessageA(hwnd, WM_TIMER, kRefreshTimerId, 0);
        return;
    }
    App().inTray = true;
    App().tickedInTray = false;
    PostMessageA(hwnd, kMessageHide, 0, 0);
}

// The shell made its taskbar anew (it had not started yet, or it restarted): the icon it had is
// gone. It is added again with its tip; where that fails the hidden window comes back minimised.
void OnTaskbarCreated(HWND hwnd)
{
    if (!App().inTray || RestoreTrayIcon())
        return;
    App().inTray = false;
    ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
}

// False lets the dialog's default processing minimise or restore the window after us.
BOOL OnSysCommand(HWND hwnd, WPARAM command)
{
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        OnMinimize(hwnd);
        break;
    case SC_RESTORE:
        SetWindowTextA(hwnd, kProgramTitle);
        ShowCurrentTab();
        break;
    }
    return FALSE;
}

void RestoreFromTray(HWND hwnd)
{
    ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    if (App().tickedInTray)
        RefreshAnalysis(false);
    RemoveTrayIcon();
    App().inTray = false;
}

void ShowTrayMenu(HWND hwnd)
{
    UniqueMenu menu(LoadMenuA(App().instance, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    if (!menu)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    const UINT command =
        static_cast<UINT>(TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_RIGHTBUTTON,
                                         cursor.x, cursor.y, 0, hwnd, nullptr));
    if (command == ID_TRAY_EXIT) {
        RemoveTrayIcon();
        App().inTray = false;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    // A message after the menu makes it close properly when it was left by a click elsewhere.
    PostMessageA(hwnd, WM_NULL, 0, 0);
}

void OnTrayIcon(HWND hwnd, LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
        RestoreFromTray(hwnd);
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu(hwnd);
        break;
    }
}

void OnClose(HWND hwnd)
{
    // Each page stores what it keeps (column widths, the refresh rate) as it goes.
    for (HWND& page : Tabs().pages) {
        if (page)
            DestroyWindow(page);
        page = nullptr;
    }
    DestroyWindow(hwnd);
}

void OnDestroy(HWND hwnd)
{
    // A pre-refresh command still running is left to finish on its own; its refresh is dropped.
    StopWaitingForCommand();
    SavePlacement(hwnd, kValueWindowPosition);
    // The icon is removed while the window that owns it still exists; afterwards the shell
    // would keep showing it until the mouse passes over it.
    if (App().inTray)
        RemoveTrayIcon();
    PostQuitMessage(0);
}

void OnEndSession(HWND hwnd, WPARAM ending)
{
    if (!ending)
        return;
    StopWaitingForCommand();
    SavePlacement(hwnd, kValueWindowPosition);
}

// Sent after every child is gone: nothing may reach the destroyed windows through App() now.
void OnNcDestroy()
{
    AppState& app = App();
    app.mainWindow = nullptr;
    app.tabControl = nullptr;
    for (HWND& page : Tabs().pages)
        page = nullptr;
    for (HWND& focus : Tabs().pageFocus)
        focus = nullptr;
    app.inTray = false;
    app.tickedInTray = false;
}

// Stored column widths (or widths fitted to the rows) and header tooltips of every page's list
// whose traits say its widths are stored.
void RestoreListLayouts()
{
    for (int tab = 0; tab < kTabCount; ++tab) {
        if (const HWND list = PageList(tab))
            RestoreListLayout(list);
    }
}

INT_PTR OnMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == App().taskbarCreated && message != 0) {
        OnTaskbarCreated(hwnd);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(hwnd);
    case WM_SIZE:
        OnSize(hwnd, wParam);
        return TRUE;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_TIMER:
        OnTimer(hwnd);
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(hwnd, wParam);
    case kMessageTrayIcon:
        OnTrayIcon(hwnd, lParam);
        return TRUE;
    case kMessageHide:
        ShowWindow(hwnd, SW_HIDE);
        return TRUE;
    case WM_CLOSE:
        OnClose(hwnd);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(hwnd);
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(hwnd, wParam);
        return TRUE;
    case WM_NCDESTROY:
        OnNcDestroy();
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Nothing may unwind into the system's dialog code: a message that threw counts as handled (a
    // refresh from the timer that ran out of memory says so, and the next tick tries again).
    INT_PTR result = TRUE;
    RunGuarded([&] { result = OnMainMessage(hwnd, message, wParam, lParam); });
    return result;
}

} // namespace

bool LoadImageLists(HINSTANCE instance)
{
    AppState& app = App();
    app.statusImages = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_STATUS), 30, 1, RGB(255, 255, 0),
                                            IMAGE_BITMAP, LR_CREATEDIBSECTION);
    app.smallImages = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_TREE), 16, 1, RGB(0, 0, 255), IMAGE_BITMAP,
                                           LR_CREATEDIBSECTION);
    return app.statusImages && app.smallImages;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand)
{
    App().instance = instance;
    App().showCommand = showCommand;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
}

void ShowCurrentTab()
{
    TabState& tabs = Tabs();
    const int current = tabs.currentTab = SelectedTab();
    SetStatusText({});
    // A page that held the focus keeps where it was for its next turn in front.
    const int left = RememberPageFocus();
    for (HWND page : tabs.pages) {
        if (page)
            ShowWindow(page, SW_HIDE);
    }
    if (tabs.pages[current])
        ShowWindow(tabs.pages[current], SW_SHOW);
    SizeCurrentPage();
    if (left >= 0 && left != current)
        FocusPage(current);

    const PageEntry& entry = kPageTable[current];
    if (entry.toFront)
        entry.toFront();
    else if (entry.hint)
        SetStatusText(entry.hint);
}

void SizeCurrentPage()
{
    const AppState& app = App();
    const HWND page = Tabs().pages[Tabs().currentTab];
    if (!app.tabControl || !page)
        return;
    RECT area{};
    GetClientRect(app.tabControl, &area);
    TabCtrl_AdjustRect(app.tabControl, FALSE, &area);
    // The page stops two pixels short of the area's right edge, inside the control's border.
    const int width = area.right - 2;
    MapWindowPoints(app.tabControl, GetParent(page), reinterpret_cast<POINT*>(&area), 2);
    MoveWindow(page, area.left, area.top, width, area.bottom - area.top, TRUE);
}

void RefreshCurrentTab()
{
    if (const auto refresh = kPageTable[Tabs().currentTab].refresh)
        refresh();
}

void HandleMessage(MSG& msg)
{
    // The keys below refresh and switch tabs outside any window procedure, so the loop's own work
    // needs the guard the procedures have.
    RunGuarded([&msg] {
        // F5 works wherever the focus is, so it is caught before any control can take it.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_F5)
            RefreshCurrentTab();
        if (HandleProgramKey(msg))
            return;
        // The main window and the Sky Map's modeless Show Work Units dialog each take their Tab,
        // Enter and Escape keys.
        for (const HWND dialog : {App().mainWindow, Sky().pick}) {
            if (dialog && IsDialogMessageA(dialog, &msg))
                return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    });
}

int RunMessageLoop()
{
    MSG msg{};
    for (;;) {
        const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
        if (result == -1)
            return -1;
        if (result == 0)
            return 1;
        HandleMessage(msg);
    }
}

void FinishStartup()
{
    // Each step on its own: a first refresh that runs out of memory still leaves the lists laid out.
    // The layouts come first: lists without stored widths are then sized to the first refresh's
    // rows once its reads are in.
    RunGuarded(RestoreListLayouts);
    RunGuarded([] { RefreshAnalysis(false); });
}

void ShutdownApp()
{
    StopWaitingForCommand();
    AppState& app = App();
    // The image lists are the process's; taking them into owners frees them here.
    const UniqueImageList statusImages(std::exchange(app.statusImages, nullptr));
    const UniqueImageList smallImages(std::exchange(app.smallImages, nullptr));
    RemoveTrayIcon();
    app.inTray = false;
    if (app.refreshTimer != 0) {
        if (app.mainWindow)
            KillTimer(app.mainWindow, app.refreshTimer);
        app.refreshTimer = 0;
    }
}
