// The real main window in this process: tabs, pages, status line, layout, the Options page's
// timer and settings, minimising to the notification area, F5, and the stored placement.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "allocation_limit.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"
#include "dialogs/sky_map.h"
#include "shell/page_table.h"
#include "pages/completed_page.h"
#include "shell/main_window.h"
#include "kit/notification.h"
#include "command_wait.h"
#include "page_fixture.h"
#include "temp_dir.h"

namespace
{

void ResetSettings()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

void StoreNumber(const char* name, DWORD value)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.WriteNumber(name, value));
}

void StoreString(const char* name, const std::string& text)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.WriteString(name, text));
}

// -1 when the value is missing.
long long StoredNumber(const char* name)
{
    SettingsStore store;
    DWORD value = 0;
    return store.Open() && store.ReadNumber(name, value) ? static_cast<long long>(value) : -1;
}

bool StoredString(const char* name, std::string& text)
{
    SettingsStore store;
    return store.Open() && store.ReadString(name, text, kLocationTextCapacity);
}

std::string WindowText(HWND hwnd)
{
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string StatusText()
{
    return WindowText(GetDlgItem(App().mainWindow, IDC_MAIN_STATUS));
}

bool HasVisibleStyle(HWND hwnd)
{
    return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Dispatches what the window posts to itself for a while; a quit message from a destroyed
// window is swallowed so that it cannot reach a later test.
void Pump(DWORD milliseconds = 100)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (App().mainWindow && IsDialogMessageA(App().mainWindow, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

// Waits for a refresh timer tick of the main window without dispatching it.
bool TimerTickWithin(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, App().mainWindow, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            if (msg.wParam == kRefreshTimerId)
                return true;
        }
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return false;
}

RECT RectIn(HWND hwnd, HWND parent)
{
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved_ = App();
        ResetSettings();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                           ICC_TREEVIEW_CLASSES | ICC_WIN95_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        App().instance = GetModuleHandleA(nullptr);
    }

    void TearDown() override
    {
        if (App().mainWindow)
            DestroyWindow(App().mainWindow);
        ShutdownApp();
        Pump(0);
        App() = saved_;
        Sky() = SkyWindows();
        Tabs() = TabState();
        Shell() = ShellCalls();
        ResetSettings();
    }

    HWND Create()
    {
        const HWND hwnd = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        EXPECT_NE(hwnd, nullptr);
        EXPECT_EQ(App().mainWindow, hwnd);
        Pump();
        return hwnd;
    }

    static void SelectTab(int tab)
    {
        TabCtrl_SetCurSel(App().tabControl, tab);
        NMHDR header{App().tabControl, 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(App().mainWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        WaitForInfoReads();
    }

    static HWND Options(int id) { return GetDlgItem(Tabs().pages[kTabOptions], id); }

    static void MoveTrackbar(int position)
    {
        const HWND trackbar = Options(IDC_OPTIONS_REFRESH_RATE);
        SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
        SendMessageA(Tabs().pages[kTabOptions], WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                     reinterpret_cast<LPARAM>(trackbar));
    }

private:
    AppState saved_;
};

TEST_F(MainWindowTest, CreatesSixTabsWithTheirPagesInOrder)
{
    const HWND hwnd = Create();
    ASSERT_NE(App().tabControl, nullptr);
    EXPECT_EQ(WindowText(hwnd), "Vantorel");
    EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);

    const struct {
        const char* text;
        int controlOfPage; // a control that only this page's template has
    } tabs[] = {
        {"Analysis", IDC_ANALYSIS_REFRESH},           {"Best Results", IDC_BEST_SHOW_TEXT},
        {"Data Info", IDC_DATA_INFO_SKY_MAP},         {"User Info", IDC_USER_INFO_FUTURE},
        {"Completed Work Units", IDC_COMPLETED_TREE}, {"Options", IDC_OPTIONS_REFRESH_RATE},
    };
    ASSERT_EQ(TabCtrl_GetItemCount(App().tabControl), static_cast<int>(std::size(tabs)));
    for (int i = 0; i < static_cast<int>(std::size(tabs)); ++i) {
        SCOPED_TRACE(tabs[i].text);
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(App().tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)));
        EXPECT_STREQ(text, tabs[i].text);
        ASSERT_NE(Tabs().pages[i], nullptr);
        // Siblings of the tab control, so that dialog navigation stops on it and enters the page.
        EXPECT_EQ(GetParent(Tabs().pages[i]), hwnd);
        EXPECT_NE(GetDlgItem(Tabs().pages[i], tabs[i].controlOfPage), nullptr);
    }
    EXPECT_EQ(Tabs().currentTab, kTabAnalysis);
    EXPECT_TRUE(HasVisibleStyle(Tabs().pages[kTabAnalysis]));
    EXPECT_FALSE(HasVisibleStyle(Tabs().pages[kTabOptions]));
}

TEST_F(MainWindowTest, TabSwitchShowsOnlyThatPageAndSetsTheStatusLine)
{
    Create();
    const struct {
        int tab;
        const char* status; // null: the tab's own refresh decides what the line says
    } steps[] = {
        {kTabCompleted, "Hint: You can right click for more options."},
        {kTabOptions, ""},
        {kTabDataInfo, nullptr},
        {kTabCompleted, "Hint: You can right click for more options."},
        {kTabBestResults, ""},
        {kTabUserInfo, nullptr},
        {kTabAnalysis, ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.tab);
        SetStatusText("a message from before");
        SelectTab(step.tab);
        EXPECT_EQ(Tabs().currentTab, step.tab);
        if (step.status) {
            EXPECT_EQ(StatusText(), step.status);
        }
        for (int page = 0; page < kTabCount; ++page)
            EXPECT_EQ(HasVisibleStyle(Tabs().pages[page]), page == step.tab) << "page " << page;
    }
}

// Without a mouse: Tab and Shift+Tab go round the tab control and the page in front, the arrows
// on the tab control and the Ctrl keys switch tabs as a click does, and a page brought back to
// the front by the keyboard gets the focus where it had it (else on its list).
TEST_F(MainWindowTest, KeysGoRoundTheTabControlAndThePageAndSwitchTabs)
{
    const HWND hwnd = Create();
    SetForegroundWindow(hwnd);
    SetFocus(App().tabControl);
    constexpr int kTabControl = 0;
    constexpr char kBefore[] = "a message from before";
    const std::vector<BYTE> none, shift{VK_SHIFT}, ctrl{VK_CONTROL}, ctrlShift{VK_CONTROL, VK_SHIFT};
    const struct {
        UINT key;
        const std::vector<BYTE>& held;
        int tab;
        int focus;          // a control of the tab's page, or the tab control
        const char* status; // null: the tab's own refresh decides
    } steps[] = {
        {VK_TAB, none, kTabAnalysis, IDC_ANALYSIS_LIST, kBefore},
        {VK_TAB, none, kTabAnalysis, IDC_ANALYSIS_REFRESH, kBefore},
        {VK_TAB, none, kTabAnalysis, IDC_ANALYSIS_HOME_PAGE, kBefore},
        {VK_TAB, none, kTabAnalysis, kTabControl, kBefore},
        {VK_TAB, shift, kTabAnalysis, IDC_ANALYSIS_HOME_PAGE, kBefore},
        {VK_TAB, none, kTabAnalysis, kTabControl, kBefore},
        {VK_RIGHT, none, kTabBestResults, kTabControl, ""},
        {VK_TAB, none, kTabBestResults, IDC_BEST_LIST, kBefore},
        {VK_TAB, none, kTabBestResults, IDC_BEST_REFRESH, kBefore},
        {VK_TAB, ctrl, kTabDataInfo, IDC_DATA_INFO_LIST, nullptr},
        {VK_TAB, ctrlShift, kTabBestResults, IDC_BEST_REFRESH, ""},
        {VK_PRIOR, ctrl, kTabAnalysis, IDC_ANALYSIS_LIST, ""},
        {VK_PRIOR, ctrl, kTabOptions, IDC_OPTIONS_REFRESH_RATE, ""},
        {VK_NEXT, ctrl, kTabAnalysis, IDC_ANALYSIS_LIST, ""},
        {VK_TAB, ctrlShift, kTabOptions, IDC_OPTIONS_REFRESH_RATE, ""},
        {VK_TAB, ctrlShift, kTabCompleted, IDC_COMPLETED_TREE, "Hint: You can right click for more options."},
    };
    int index = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(index++);
        SetStatusText(kBefore);
        PressKey(GetFocus(), step.key, step.held);
        EXPECT_EQ(TabCtrl_GetCurSel(App().tabControl), step.tab);
        EXPECT_EQ(Tabs().currentTab, step.tab);
        EXPECT_TRUE(HasVisibleStyle(Tabs().pages[step.tab]));
        const HWND expected =
            step.focus == kTabControl ? App().tabControl : GetDlgItem(Tabs().pages[step.tab], step.focus);
        EXPECT_EQ(GetFocus(), expected) << "focus on control " << GetDlgCtrlID(GetFocus());
        if (step.status) {
            EXPECT_EQ(StatusText(), step.status);
        }
    }
}

// A keyboard switch onto Completed Work Units gives the tree the focus, and a tree with nothing
// selected selects its first item by itself: that loads nothing, as a click on the tab does not.
// The user's keys load, and so does the program's own selection before the item's menu opens.
TEST_F(MainWindowTest, KeyboardSwitchOntoCompletedLoadsNothingUntilAnItemIsChosen)
{
    TempDir dir;
    dir.Write("SETILog.csv", "date,name,cpu\n2000-03-14 01:02:03,13mr00aa.1.2.3,3600\n");
    StoreString("Location1", dir.Path() + ";Home;255;Y;Y;Y;Y");
    const HWND hwnd = Create();
    SetForegroundWindow(hwnd);
    const HWND tree = GetDlgItem(Tabs().pages[kTabCompleted], IDC_COMPLETED_TREE);
    const HWND list = GetDlgItem(Tabs().pages[kTabCompleted], IDC_COMPLETED_LIST);
    const std::vector<BYTE> none, ctrl{VK_CONTROL}, shift{VK_SHIFT}, ctrlShift{VK_CONTROL, VK_SHIFT};
    const auto ontoCompleted = [&] {
        PressKey(PageList(kTabAnalysis), VK_PRIOR, ctrl); // onto Options
        PressKey(GetFocus(), VK_TAB, ctrlShift);          // and back onto Completed Work Units
    };

    ontoCompleted();
    ASSERT_EQ(GetFocus(), tree);
    EXPECT_NE(TreeView_GetSelection(tree), nullptr) << "the tree chose an item";
    EXPECT_EQ(ListView_GetItemCount(list), 0) << "and nothing was loaded";
    EXPECT_EQ(StatusText(), "Hint: You can right click for more options.");
    PressKey(tree, VK_DOWN, none);
    WaitForCompletedLoad();
    EXPECT_EQ(ListView_GetItemCount(list), 1) << "the location's one work unit";

    // After a refill nothing is selected: the tree's choice on the next switch again loads nothing,
    // and the menu of the chosen item loads it before it opens (the root: one location and the total).
    ReloadCompleted();
    SelectTab(kTabAnalysis);
    ontoCompleted();
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    const MenuWatch watch;
    PressKey(tree, VK_F10, shift, true);
    EXPECT_EQ(MenuWatch::Menus().size(), 1u);
    WaitForCompletedLoad();
    EXPECT_EQ(ListView_GetItemCount(list), 2);
}

// Running out of memory in the loop's own work (F5, the keyboard's tab switch with the refresh it
// starts) or in a step of start-up is a status message, and the window goes on.
TEST_F(MainWindowTest, MemoryRunningOutInTheLoopsOwnWorkIsAStatusMessage)
{
    TempDir dir;
    dir.Write("state.sah", "prog=0.25\ncpu=3600\nbs_power=12.5\nbg_chisq=1.5\n");
    dir.Write("user_info.sah", "name=Ann\nnresults=10\ntotal_cpu=36000\n");
    StoreString("Location1", dir.Path() + ";Home;255;Y;Y;Y;Y");
    const HWND hwnd = Create();
    SetForegroundWindow(hwnd);
    const std::vector<BYTE> none, ctrl{VK_CONTROL};
    const struct {
        const char* what;
        int from; // the tab in front before
        UINT key; // 0: start-up's steps
        const std::vector<BYTE>& held;
    } steps[] = {
        {"start-up", kTabAnalysis, 0, none},
        {"F5 on Analysis", kTabAnalysis, VK_F5, none},
        {"Ctrl+Tab onto Data Info", kTabBestResults, VK_TAB, ctrl},
        {"Ctrl+Tab onto User Info", kTabDataInfo, VK_TAB, ctrl},
        {"F5 on User Info", kTabUserInfo, VK_F5, none},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        SelectTab(step.from);
        SetStatusText("");
        size_t failures = 0;
        {
            const AllocationLimit limit(0);
            if (step.key == 0)
                FinishStartup();
            else
                PressKey(PageList(step.from), step.key, step.held);
            failures = limit.Failures();
        }
        EXPECT_GT(failures, 0u);
        EXPECT_EQ(StatusText(), "Out of memory");
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
    }
    // With memory again, F5 makes the rows a refresh that ran out could not.
    SelectTab(kTabAnalysis);
    PressKey(PageList(kTabAnalysis), VK_F5, none);
    EXPECT_EQ(ListView_GetItemCount(PageList(kTabAnalysis)), 1);
    EXPECT_NE(StatusText(), "Out of memory");
}

TEST_F(MainWindowTest, ResizingLaysOutStatusLineTabControlAndTheCurrentPage)
{
    const HWND hwnd = Create();
    const HWND status = GetDlgItem(hwnd, IDC_MAIN_STATUS);
    const RECT before = RectIn(status, hwnd);
    const int statusHeight = before.bottom - before.top;
    ASSERT_GT(statusHeight, 0);

    const struct {
        int tab;
        int width, height;
    } cases[] = {{kTabAnalysis, 700, 500}, {kTabOptions, 820, 610}, {kTabCompleted, 500, 380}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        SelectTab(c.tab);
        SetWindowPos(hwnd, nullptr, 0, 0, c.width, c.height, SWP_NOZORDER | SWP_NOMOVE);
        RECT client{};
        GetClientRect(hwnd, &client);

        const RECT line = RectIn(status, hwnd);
        EXPECT_EQ(line.left, 0);
        EXPECT_EQ(line.right, client.right);
        EXPECT_EQ(line.bottom, client.bottom);
        EXPECT_EQ(line.bottom - line.top, statusHeight);

        const RECT tab = RectIn(App().tabControl, hwnd);
        EXPECT_EQ(tab.left, 5);
        EXPECT_EQ(tab.top, 5);
        EXPECT_EQ(tab.right, client.right - 5);
        EXPECT_EQ(tab.bottom, client.bottom - statusHeight - 5);

        RECT area{};
        GetClientRect(App().tabControl, &area);
        TabCtrl_AdjustRect(App().tabControl, FALSE, &area);
        const RECT page = RectIn(Tabs().pages[c.tab], App().tabControl);
        EXPECT_EQ(page.left, area.left);
        EXPECT_EQ(page.top, area.top);
        EXPECT_EQ(page.right - page.left, area.right - 2);
        EXPECT_EQ(page.bottom, area.bottom);
    }
}

TEST_F(MainWindowTest, RefreshTimerFollowsTheTrackbarAndTheRateIsStoredOnClose)
{
    StoreNumber(kValueRefreshRate, 61);
    const HWND hwnd = Create();
    const HWND trackbar = Options(IDC_OPTIONS_REFRESH_RATE);
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0), 301);
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 61);
    EXPECT_EQ(WindowText(Options(IDC_OPTIONS_RATE_GROUP)), "Refresh Rate: 1 minute  1 second");
    EXPECT_EQ(App().refreshTimer, kRefreshTimerId);
    EXPECT_EQ(RefreshPosition(), 61);

    MoveTrackbar(1);
    EXPECT_EQ(WindowText(Options(IDC_OPTIONS_RATE_GROUP)), "Refresh Rate: 1 second");
    EXPECT_EQ(App().refreshTimer, kRefreshTimerId);
    EXPECT_TRUE(TimerTickWithin(2500)) << "a one-second timer must tick";

    MoveTrackbar(301);
    EXPECT_EQ(WindowText(Options(IDC_OPTIONS_RATE_GROUP)), "Refresh Rate: Never");
    EXPECT_EQ(App().refreshTimer, 0u);
    TimerTickWithin(0); // a tick that was already due before the change
    EXPECT_FALSE(TimerTickWithin(1500)) << "\"Never\" must leave no timer running";

    MoveTrackbar(150);
    EXPECT_EQ(WindowText(Options(IDC_OPTIONS_RATE_GROUP)), "Refresh Rate: 2 minutes 30 seconds");
    EXPECT_EQ(RefreshPosition(), 150) << "the refresh's stop threshold follows the trackbar";
    EXPECT_EQ(StoredNumber(kValueRefreshRate), 61) << "the rate is written when the page goes, not before";

    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(StoredNumber(kValueRefreshRate), 150);
    EXPECT_EQ(RefreshPosition(), kDefaultRefreshRate) << "without the trackbar the period is the default";
}

TEST_F(MainWindowTest, MissingRefreshRateStartsAtTenSeconds)
{
    Create();
    EXPECT_EQ(SendMessageA(Options(IDC_OPTIONS_REFRESH_RATE), TBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(WindowText(Options(IDC_OPTIONS_RATE_GROUP)), "Refresh Rate: 10 seconds");
    EXPECT_EQ(App().refreshTimer, kRefreshTimerId);
}

TEST_F(MainWindowTest, OptionsSwitchesAndCommandAreWrittenAtOnce)
{
    StoreNumber(kValueShowGrandTotal, 1);
    Create();
    SelectTab(kTabOptions);
    EXPECT_EQ(IsDlgButtonChecked(Tabs().pages[kTabOptions], IDC_OPTIONS_MINIMIZE_TO_TRAY), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(Tabs().pages[kTabOptions], IDC_OPTIONS_GRAND_TOTAL), BST_CHECKED);
    std::string command;
    EXPECT_FALSE(StoredString(kValueRunBeforeRefresh, command)) << "setting up the page is not an edit";

    const struct {
        int id;
        const char* valueName;
        long long afterFirstClick;
    } boxes[] = {
        {IDC_OPTIONS_MINIMIZE_TO_TRAY, kValueMinimizeToTaskbar, 1},
        {IDC_OPTIONS_GRAND_TOTAL, kValueShowGrandTotal, 0},
        {IDC_OPTIONS_ALERT, kValueAlertOnStatusChange, 0}, // on while the value is missing
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.valueName);
        SendMessageA(Options(box.id), BM_CLICK, 0, 0);
        EXPECT_EQ(StoredNumber(box.valueName), box.afterFirstClick);
        SendMessageA(Options(box.id), BM_CLICK, 0, 0);
        EXPECT_EQ(StoredNumber(box.valueName), 1 - box.afterFirstClick);
    }

    SetWindowTextA(Options(IDC_OPTIONS_COMMAND), "cmd /c copy \\\\unix\\seti\\*.sah .");
    ASSERT_TRUE(StoredString(kValueRunBeforeRefresh, command));
    EXPECT_EQ(command, "cmd /c copy \\\\unix\\seti\\*.sah .");
    SetWindowTextA(Options(IDC_OPTIONS_COMMAND), "");
    ASSERT_TRUE(StoredString(kValueRunBeforeRefresh, command));
    EXPECT_EQ(command, "");
}

TEST_F(MainWindowTest, StoredOptionsAreShownWhenThePageIsCreated)
{
    StoreNumber(kValueMinimizeToTaskbar, 1);
    StoreNumber(kValueShowGrandTotal, 2);      // only 1 means on
    StoreNumber(kValueAlertOnStatusChange, 2); // alerts are on unless turned off (0)
    StoreString(kValueRunBeforeRefresh, "update.bat");
    Create();
    EXPECT_EQ(IsDlgButtonChecked(Tabs().pages[kTabOptions], IDC_OPTIONS_MINIMIZE_TO_TRAY), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(Tabs().pages[kTabOptions], IDC_OPTIONS_GRAND_TOTAL), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(Tabs().pages[kTabOptions], IDC_OPTIONS_ALERT), BST_CHECKED);
    EXPECT_EQ(WindowText(Options(IDC_OPTIONS_COMMAND)), "update.bat");
    EXPECT_EQ(StoredNumber(kValueShowGrandTotal), 2) << "showing a value must not rewrite it";
}

TEST_F(MainWindowTest, MinimiseGoesToTheTrayOnlyWhenAskedAndADoubleClickBringsItBack)
{
    const struct {
        long long minimizeToTaskbar; // -1: missing
        bool inTray;
        bool ticked; // the missing value posts a tick so the title shows progress at once
    } cases[] = {{-1, false, true}, {0, false, false}, {1, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minimizeToTaskbar);
        ResetSettings();
        if (c.minimizeToTaskbar >= 0)
            StoreNumber(kValueMinimizeToTaskbar, static_cast<DWORD>(c.minimizeToTaskbar));
        const HWND hwnd = Create();
        MoveTrackbar(301); // no real ticks while the test watches
        App().tickedInTray = false;

        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Pump();
        EXPECT_TRUE(IsIconic(hwnd));
        EXPECT_EQ(App().inTray, c.inTray);
        EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, !c.inTray);
        EXPECT_EQ(App().tickedInTray, c.ticked);

        if (c.inTray) {
            SendMessageA(hwnd, kMessageTrayIcon, kTrayIconId, WM_LBUTTONDBLCLK);
            Pump();
            EXPECT_TRUE(IsWindowVisible(hwnd));
            EXPECT_FALSE(IsIconic(hwnd));
            EXPECT_FALSE(App().inTray);
        } else {
            SetWindowTextA(hwnd, "25.000% 1:00:00");
            SetStatusText("a message from before");
            SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            Pump();
            EXPECT_FALSE(IsIconic(hwnd));
            EXPECT_EQ(WindowText(hwnd), "Vantorel");
            EXPECT_EQ(StatusText(), "") << "restoring runs the tab switch";
        }
        DestroyWindow(hwnd);
        Pump(0);
    }
}

// The shell's answers to the icon, as a notification area that is missing or there would give them.
struct TrayShell {
    bool accepts = false;
    std::vector<std::pair<DWORD, std::string>> calls; // message and tip
};
TrayShell g_tray;

BOOL WINAPI FakeNotify(DWORD message, PNOTIFYICONDATAA data)
{
    g_tray.calls.emplace_back(message, data->szTip);
    return g_tray.accepts;
}

// Without a notification area (none on the display, or the taskbar not made yet) a hidden window
// could never be brought back: it stays on the taskbar, and the next minimise tries the icon again.
// When the shell makes its taskbar anew, the icon comes back with its tip, or the window does.
TEST_F(MainWindowTest, WithoutANotificationAreaTheWindowStaysReachable)
{
    g_tray = TrayShell();
    Shell().notifyIcon = FakeNotify;
    StoreNumber(kValueMinimizeToTaskbar, 1);
    const HWND hwnd = Create();
    MoveTrackbar(301);

    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(IsIconic(hwnd));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(App().inTray);

    SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    g_tray.accepts = true;
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(App().inTray);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    SetTrayTip("Home: 25.000% 1:00:00");
    g_tray.calls.clear();
    SendMessageA(hwnd, App().taskbarCreated, 0, 0);
    ASSERT_EQ(g_tray.calls.size(), 1u);
    EXPECT_EQ(g_tray.calls[0], std::make_pair(static_cast<DWORD>(NIM_ADD), std::string("Home: 25.000% 1:00:00")));
    EXPECT_TRUE(App().inTray);

    g_tray.accepts = false;
    SendMessageA(hwnd, App().taskbarCreated, 0, 0);
    Pump();
    EXPECT_FALSE(App().inTray);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsIconic(hwnd));
}

// Run inside a virtual desktop with a taskbar (a ctest entry of its own starts the tests so): the
// icon is really there and the window hidden. Elsewhere there is no notification area to test.
TEST_F(MainWindowTest, InANotificationAreaTheIconIsThereAndTheWindowHidden)
{
    const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar || !IsWindowVisible(taskbar))
        GTEST_SKIP() << "no taskbar: not inside a virtual desktop";
    StoreNumber(kValueMinimizeToTaskbar, 1);
    const HWND hwnd = Create();
    MoveTrackbar(301);
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(App().inTray);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    // Changing the tip succeeds only for an icon the notification area holds.
    EXPECT_TRUE(SetTrayTip("Home: 25.000% 1:00:00"));
    SendMessageA(hwnd, kMessageTrayIcon, kTrayIconId, WM_LBUTTONDBLCLK);
    Pump();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(SetTrayTip("gone")) << "restoring removes the icon";
}

TEST_F(MainWindowTest, StoredMinimisedPlacementStartsInTheTray)
{
    StoreNumber(kValueMinimizeToTaskbar, 1);
    StoreString(kValueWindowPosition, "0,2,-1,-1,-1,-1,40,50,640,450");
    const HWND hwnd = Create();
    EXPECT_TRUE(App().inTray);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(MainWindowTest, F5OnTheOptionsTabDoesNothing)
{
    const HWND hwnd = Create();
    SelectTab(kTabOptions);
    SetStatusText("a message from before");
    const HWND trackbar = Options(IDC_OPTIONS_REFRESH_RATE);
    const LRESULT position = SendMessageA(trackbar, TBM_GETPOS, 0, 0);
    SetFocus(trackbar);
    PostMessageA(trackbar, WM_KEYDOWN, VK_F5, 0);
    PostMessageA(trackbar, WM_KEYUP, VK_F5, 0xC0000000);
    PostQuitMessage(0);
    EXPECT_EQ(RunMessageLoop(), 1);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(Tabs().currentTab, kTabOptions);
    EXPECT_EQ(StatusText(), "a message from before");
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), position);
}

TEST_F(MainWindowTest, CloseDestroysThePagesAndStoresThePlacementForTheNextStart)
{
    HWND hwnd = Create();
    WINDOWPLACEMENT wanted{};
    wanted.length = sizeof wanted;
    ASSERT_TRUE(GetWindowPlacement(hwnd, &wanted));
    wanted.showCmd = SW_SHOWNORMAL;
    wanted.rcNormalPosition = {40, 50, 640, 450};
    ASSERT_TRUE(SetWindowPlacement(hwnd, &wanted));
    WINDOWPLACEMENT before{};
    before.length = sizeof before;
    ASSERT_TRUE(GetWindowPlacement(hwnd, &before));

    HWND pages[kTabCount];
    std::copy(std::begin(Tabs().pages), std::end(Tabs().pages), pages);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    for (HWND page : pages)
        EXPECT_FALSE(IsWindow(page));
    // The pages forget their windows with them, so a refresh after the close finds no list.
    EXPECT_EQ(AnalysisList(), nullptr);
    EXPECT_EQ(BestResultsList(), nullptr);
    EXPECT_EQ(App().mainWindow, nullptr);
    EXPECT_EQ(App().tabControl, nullptr);
    std::string text;
    ASSERT_TRUE(StoredString(kValueWindowPosition, text));
    EXPECT_EQ(text, "0,1,-1,-1,-1,-1,40,50,640,450");
    Pump(0);

    hwnd = Create();
    WINDOWPLACEMENT after{};
    after.length = sizeof after;
    ASSERT_TRUE(GetWindowPlacement(hwnd, &after));
    EXPECT_EQ(after.flags, before.flags);
    EXPECT_EQ(after.showCmd, before.showCmd);
    EXPECT_TRUE(EqualRect(&after.rcNormalPosition, &before.rcNormalPosition));
    EXPECT_EQ(after.ptMinPosition.x, before.ptMinPosition.x);
    EXPECT_EQ(after.ptMaxPosition.y, before.ptMaxPosition.y);
}

TEST_F(MainWindowTest, ClosingWhileThePreRefreshCommandRunsEndsAtOnceAndLeavesItRunning)
{
    TempDir dir;
    const std::string log = dir.File("runs.log");
    const std::string command = SlowCommandLine(dir.File("go.flag"), log);
    StoreString(kValueRunBeforeRefresh, command);
    Create();
    FinishStartup();
    ASSERT_TRUE(AnalysisRefreshWaiting());
    EXPECT_EQ(StatusText(), "Waiting for " + command);

    PostMessageA(App().mainWindow, WM_CLOSE, 0, 0);
    RunMessageLoop(); // returns once the window is gone, without waiting for the command
    ShutdownApp();
    EXPECT_FALSE(AnalysisRefreshWaiting());
    std::string text;
    EXPECT_TRUE(StoredString(kValueWindowPosition, text)) << "what is saved on close was saved";

    // The command still runs: it ends only when let.
    const std::string startOnly = "start\n";
    char logged[64] = {};
    DWORD read = 0;
    const HANDLE file =
        CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ReadFile(file, logged, sizeof logged - 1, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(logged, read), startOnly);
    dir.Write("go.flag", "");
}

// Without stored widths the lists are sized to their contents at start-up; while a pre-refresh
// command runs they have none yet, so they are sized once the first rows are in.
TEST_F(MainWindowTest, ColumnsAreSizedToTheRowsThatArriveAfterTheCommand)
{
    TempDir dir;
    StoreString("Location1", dir.Path() + ";A location with a long short name;255;Y;Y;Y;Y");
    StoreString(kValueRunBeforeRefresh, SlowCommandLine(dir.File("go.flag"), dir.File("runs.log")));
    Create();
    FinishStartup();
    const HWND analysis = PageList(kTabAnalysis);
    const int titleOnly = ListView_GetColumnWidth(analysis, 0);
    dir.Write("go.flag", "");
    ASSERT_TRUE(PumpWhileCommandRuns());
    EXPECT_GT(ListView_GetColumnWidth(analysis, 0), titleOnly + 50);
}

TEST_F(MainWindowTest, EndingTheSessionStoresThePlacementOnlyWhenTheSessionEnds)
{
    const HWND hwnd = Create();
    std::string text;
    SendMessageA(hwnd, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(StoredString(kValueWindowPosition, text));
    SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(StoredString(kValueWindowPosition, text));
    EXPECT_TRUE(IsWindow(hwnd));
}

} // namespace
