// Handles, GDI objects and window objects stay flat over a thousand refreshes and tab switches of the real main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "command_wait.h"
#include "page_fixture.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "temp_dir.h"
#include "dialogs/future_calendar.h"
#include "dialogs/work_unit_calendar.h"
#include "dialogs/sky_map.h"
#include "pages/analysis_refresh.h"
#include "kit/app_state.h"
#include "shell/page_table.h"
#include "shell/main_window.h"

namespace
{

constexpr ULONGLONG kSecond = 10000000;
constexpr ULONGLONG kStart = 130000000000000000ull;

// Wine answers GetGuiResources with 0 for every process, so GDI objects are counted by a census
// instead: GetObjectType accepts a GDI handle's table index alone (no generation in the high
// word), and each live object answers with its kind.
int GdiCensus()
{
    int count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}

// Wine answers GetProcessHandleCount with 0 too: its kernel handles are small multiples of 4, so
// they are counted by asking each value for its flags.
int HandleCensus()
{
    int count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x8000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(hwnd, CountChild, count);
    return TRUE;
}

// The windows of this thread, top-level and children (a window object census that works everywhere).
int WindowCensus()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

struct Counters {
    DWORD gdi = 0; // GetGuiResources, where the system keeps it
    DWORD user = 0;
    DWORD handles = 0;
    int gdiCensus = 0;
    int handleCensus = 0;
    int windows = 0;
};

Counters Count()
{
    Counters counters;
    counters.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counters.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &counters.handles);
    counters.gdiCensus = GdiCensus();
    counters.handleCensus = HandleCensus();
    counters.windows = WindowCensus();
    return counters;
}

void Print(const char* when, const Counters& c)
{
    std::printf("%s: GetGuiResources gdi %lu user %lu, GetProcessHandleCount %lu; census: GDI %d, handles %d, "
                "windows %d\n",
                when, static_cast<unsigned long>(c.gdi), static_cast<unsigned long>(c.user),
                static_cast<unsigned long>(c.handles), c.gdiCensus, c.handleCensus, c.windows);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void SelectTab(int tab)
{
    TabCtrl_SetCurSel(App().tabControl, tab);
    NMHDR header{App().tabControl, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(App().mainWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

class LeakTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved_ = App();
        ResetSettingsKeys();
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
        Pump();
        App() = saved_;
        Sky() = SkyWindows();
        Tabs() = TabState();
        ResetSettingsKeys();
    }

    // One location with every file, one whose folder is missing (the error paths), as start-up shows them.
    void Start()
    {
        SetLastWriteTime(dir.Write("state.sah", "prog=0.25\ncpu=3600\nbs_power=12.5\nbg_chisq=1.5\nbp_pot=0a0b\n"
                                                "bt_pot=01020304\nbg_pot 0=1.5\n"),
                         kStart);
        dir.Write("work_unit.sah", "start_ra=1.5\nstart_dec=2.5\ntime_recorded=2451617.1 (Mon Mar 13 10:20:30 2000)\n"
                                   "subband_base=1420000000\nangle_range=0.4\n");
        dir.Write("user_info.sah", "name=Ann\nnresults=10\ntotal_cpu=36000\n"
                                   "register_time=2451545.0 (Sat Jan  1 12:00:00 2000)\n");
        dir.Write("SETILog.csv", "date,name,cpu,bs_power,bg_power,bg_chisq,bg_pot,start_ra,start_dec,time_recorded,"
                                 "subband_base,angle_range\n2000-03-14,13mr00aa.1,3600,10.5,3.5,1.75,1.5 2.25,14.5,"
                                 "12.25,2451617.1 (Mon Mar 13 10:20:30 2000),1420000000,0.395\n");
        {
            SettingsStore store;
            ASSERT_TRUE(store.Open());
            store.WriteString("Location1", dir.Path() + ";Home;255;Y;Y;Y;Y");
            store.WriteString("Location2", dir.Path() + "\\gone;Gone;65535;Y;Y;Y;Y");
        }
        LoadImageLists(App().instance);
        // Hidden: the same messages and objects, without Xvfb painting every tab a thousand times.
        ASSERT_NE(CreateMainWindow(App().instance, SW_HIDE), nullptr);
        FinishStartup();
        Pump();
    }

    // One round: the state rewritten and a refresh; every third round the next tab comes to the
    // front (refreshed as F5 does every ninth), so a thousand rounds bring each tab to the front
    // about 55 times. Under Wine a Data Info or User Info switch costs some 170 ms, which is why
    // not every round switches.
    void Round(int round)
    {
        SetLastWriteTime(dir.File("state.sah"), kStart + (round % 7) * 40 * kSecond);
        RefreshAndWait(round % 50 == 0);
        if (round % 3 != 0) {
            Pump();
            return;
        }
        const int tab = round / 3 % kTabCount;
        const DWORD start = GetTickCount();
        SelectTab(tab);
        if (round % 9 == 0)
            RefreshCurrentTab();
        Pump();
        tabMilliseconds[tab] += GetTickCount() - start;
    }

    TempDir dir;
    DWORD tabMilliseconds[kTabCount] = {};

private:
    AppState saved_;
};

TEST_F(LeakTest, ThousandRefreshesAndTabSwitchesStayFlat)
{
    Start();
    // Warm up: first-time allocations (fonts, brushes, tooltips, list caches) are made here.
    for (int round = 0; round < 30; ++round)
        Round(round);
    const Counters before = Count();
    Print("before", before);
    ASSERT_GT(before.gdiCensus, 0); // the census sees the window's own fonts and bitmaps
    ASSERT_GT(before.handleCensus, 0);
    ASSERT_GT(before.windows, 5);

    // The count a fifth of the way in as well: caches settle early, a leak keeps climbing to the end.
    int settled = 0;
    for (int round = 0; round < 1000; ++round) {
        Round(round);
        if (round == 199)
            settled = GdiCensus();
    }
    const Counters after = Count();
    Print("after", after);
    for (int tab = 0; tab < kTabCount; ++tab)
        std::printf("tab %d in front: %lu ms in all\n", tab, static_cast<unsigned long>(tabMilliseconds[tab]));

    // A leak of one object a round would add a thousand; a few may come and go with caches.
    constexpr int kSlack = 8;
    EXPECT_LE(after.gdiCensus, before.gdiCensus + kSlack);
    EXPECT_LE(after.gdiCensus, settled + 2);
    EXPECT_LE(after.handleCensus, before.handleCensus + kSlack);
    EXPECT_LE(after.windows, before.windows);
    EXPECT_LE(static_cast<int>(after.handles), static_cast<int>(before.handles) + kSlack);
    EXPECT_LE(static_cast<int>(after.gdi), static_cast<int>(before.gdi) + kSlack);
    EXPECT_LE(static_cast<int>(after.user), static_cast<int>(before.user) + kSlack);
}

// Opens and closes a window the way a user does: shown, painted, then closed from its system menu.
void OpenAndClose(HWND window)
{
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    Pump();
    SendMessageA(window, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_FALSE(IsWindow(window));
}

// Every kind of secondary window opened and closed again and again: the Sky Map with the location's
// points and its label texts, the Work Unit Calendar for one location and for all, and the Future
// Work Units Calendar. Each opening makes its own bitmaps, fonts, pens and file handles.
TEST_F(LeakTest, SkyMapAndCalendarOpeningsStayFlat)
{
    Start();
    SkyPointSet points(50);
    for (size_t i = 0; i < points.size(); ++i) {
        points[i].rightAscension = static_cast<double>(i % 24);
        points[i].declination = static_cast<double>(i % 90) - 45;
        points[i].colour = static_cast<int32_t>(0x10203 * i);
        SetSkyText(points[i].name, "13mr00aa." + std::to_string(i));
        SetSkyText(points[i].recordedOn, "Mon Mar 13 10:20:30 2000");
    }
    const auto round = [&] {
        ShowSkyMap(points);
        OpenAndClose(Sky().map);
        OpenWorkUnitCalendar(dir.Path(), "Dir");
        WaitForLongReads();
        OpenAndClose(WorkUnitCalendarWindow());
        OpenWorkUnitCalendarForAllLocations();
        WaitForLongReads();
        OpenAndClose(WorkUnitCalendarWindow());
        OpenFutureCalendar(1000, 2.5);
        OpenAndClose(FutureCalendarWindow());
        // Closing a calendar gives the main window back.
        ASSERT_TRUE(IsWindowEnabled(App().mainWindow));
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp)
        round();
    const Counters before = Count();
    Print("before openings", before);
    const DWORD start = GetTickCount();
    constexpr int kRounds = 250; // a thousand openings in all
    for (int i = 0; i < kRounds && !HasFatalFailure(); ++i)
        round();
    const Counters after = Count();
    Print("after openings", after);
    std::printf("%d openings in %lu ms\n", 4 * kRounds, static_cast<unsigned long>(GetTickCount() - start));

    constexpr int kSlack = 8;
    EXPECT_LE(after.gdiCensus, before.gdiCensus + kSlack);
    EXPECT_LE(after.handleCensus, before.handleCensus + kSlack);
    EXPECT_LE(after.windows, before.windows);
    EXPECT_LE(static_cast<int>(after.gdi), static_cast<int>(before.gdi) + kSlack);
    EXPECT_LE(static_cast<int>(after.user), static_cast<int>(before.user) + kSlack);
}

// The censuses themselves: they see objects made and no longer see them once deleted.
TEST(LeakCensus, CensusesCountLiveObjects)
{
    const int before = GdiCensus();
    HBRUSH brushes[20];
    for (HBRUSH& brush : brushes)
        brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GdiCensus(), before + 20);
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    EXPECT_EQ(GdiCensus(), before);

    // Pool threads of earlier tests may end meanwhile and close their own handles: a round that
    // sees such a change is taken again.
    int made = 0;
    int closed = 0;
    for (int round = 0; round < 5; ++round) {
        const int handles = HandleCensus();
        HANDLE events[10];
        for (HANDLE& event : events)
            event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        made = HandleCensus() - handles;
        for (HANDLE event : events)
            CloseHandle(event);
        closed = HandleCensus() - handles;
        if (made == 10 && closed == 0)
            break;
        Sleep(100);
    }
    EXPECT_EQ(made, 10);
    EXPECT_EQ(closed, 0);
}

} // namespace
