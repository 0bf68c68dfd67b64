// The two calendar windows: painted sheets, the disabled main window, stored placements and the scroll range.
#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <optional>
#include <string>

#include "core/calendar/day_table.h"
#include "dialogs/future_calendar.h"
#include "dialogs/work_unit_calendar.h"
#include "dib_canvas.h"
#include "page_fixture.h"
#include "core/settings/layout_text.h"
#include "platform/settings_store.h"
#include "core/settings/value_names.h"
#include "temp_dir.h"
#include "pages/user_info_page.h"

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDarkRed = RGB(128, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kCyan = RGB(0, 230, 230);

constexpr char kLogHeader[] = "date,name,cpu,time_recorded\n";

std::string LogLine(const char* date)
{
    return std::string("\"Mon Oct 5 1998\",04oc98aa,1000,\"") + date + "\"\n";
}

class CalendarTest : public PageFixture
{
protected:
    void TearDown() override
    {
        if (const HWND calendar = WorkUnitCalendarWindow())
            DestroyWindow(calendar);
        if (const HWND future = FutureCalendarWindow())
            DestroyWindow(future);
        PageFixture::TearDown();
    }

    // The client area painted into a black canvas, from the first row of sheets.
    static void PaintFromTop(HWND calendar, Canvas& canvas)
    {
        SendMessageA(calendar, WM_VSCROLL, SB_TOP, 0);
        SendMessageA(calendar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    }

    static RECT Client(HWND hwnd)
    {
        RECT client{};
        GetClientRect(hwnd, &client);
        return client;
    }

    // The calendar font's metrics as the canvas sees them.
    static TEXTMETRICA FontMetrics(HDC hdc)
    {
        const HGDIOBJ previous = SelectObject(hdc, GetStockObject(ANSI_VAR_FONT));
        TEXTMETRICA metrics{};
        GetTextMetricsA(hdc, &metrics);
        SelectObject(hdc, previous);
        return metrics;
    }

    static std::optional<Placement> StoredPlacement(const char* name)
    {
        SettingsStore store;
        std::string text;
        if (!store.Open() || !store.ReadString(name, text, kPlacementTextCapacity))
            return std::nullopt;
        return ParsePlacement(text);
    }

    static std::string Title(HWND hwnd)
    {
        char text[200] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        return text;
    }
};

// The device rectangle of a day's filled cell on the first row of sheets.
RECT DayFill(const SheetGeometry& geometry, const DayTable& table, int year, int month, int monthDay, int perRow)
{
    const std::vector<MonthSheet> sheets = MonthSheets(table, 100);
    for (size_t sheet = 0; sheet < sheets.size(); ++sheet) {
        const std::vector<DayPlace> places = DayPlaces(table, sheets[sheet]);
        for (size_t offset = 0; offset < places.size(); ++offset) {
            const DayEntry& entry = table[sheets[sheet].first + offset];
            if (entry.year != year || entry.month != month || entry.monthDay != monthDay)
                continue;
            const PixelPoint origin = SheetOrigin(geometry, static_cast<int>(sheet), perRow);
            const PixelRect fill = CountFill(geometry, origin, places[offset]);
            const int shift = ScrollOriginY(geometry, 1);
            return {fill.left, fill.top - shift, fill.right, fill.bottom - shift};
        }
    }
    ADD_FAILURE() << "no such day";
    return {};
}

int Area(const RECT& r)
{
    return (r.right - r.left) * (r.bottom - r.top);
}

TEST_F(CalendarTest, CountedDaysAreDarkRedCellsWithYellowCounts)
{
    TempDir one;
    TempDir two;
    one.Write("SETILog.csv", std::string(kLogHeader) + LogLine("2451091.0 (Sun Oct  4 10:00:00 1998)") +
                                 LogLine("2451091.9 (Sun Oct  4 23:00:00 1998)") +
                                 LogLine("2451102.0 (Thu Oct 15 10:00:00 1998)") + ",,\n");
    two.Write("SETILog.csv", std::string(kLogHeader) + LogLine("2451125.0 (Sat Nov  7 10:00:00 1998)"));
    StoreString("Location1", one.Path() + ";One;255;Y;Y;Y;Y");
    StoreString("Location2", two.Path() + ";Two;255;N;N;N;N"); // counted whatever its switches

    OpenWorkUnitCalendarForAllLocations();
    WaitForLongReads();
    const HWND calendar = WorkUnitCalendarWindow();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(Title(calendar), "Work Unit Calendar (Shows the number of your work units that were recorded for that "
                               "calendar day by Arecibo)");
    EXPECT_TRUE(IsWindowVisible(calendar));
    EXPECT_EQ(GetWindow(calendar, GW_OWNER), App().mainWindow);

    const RECT client = Client(calendar);
    Canvas canvas(client.right, client.bottom, kBlack);
    ASSERT_TRUE(canvas.Valid());
    PaintFromTop(calendar, canvas);

    const TEXTMETRICA metrics = FontMetrics(canvas.Dc());
    const SheetGeometry geometry = WorkUnitGeometry(metrics.tmHeight, metrics.tmMaxCharWidth);
    const int perRow = WorkUnitSheetsPerRow(client.right, metrics.tmMaxCharWidth);
    const DayTable table = BuildWorkUnitTable();
    for (const auto& [month, monthDay] : {std::pair{9, 4}, std::pair{9, 15}, std::pair{10, 7}}) {
        SCOPED_TRACE(monthDay);
        const RECT fill = DayFill(geometry, table, 1998, month, monthDay, perRow);
        ASSERT_LE(fill.bottom, client.bottom);
        const int red = canvas.Count(fill, kDarkRed);
        EXPECT_GT(red, Area(fill) / 2);            // the cell is filled...
        EXPECT_GT(canvas.Count(fill, kYellow), 0); // ...and carries its count
        EXPECT_EQ(canvas.Count(fill, kGrey), 0);   // the grid stays outside the fill
        // The grid line left of the cell and the one above it are grey.
        EXPECT_EQ(canvas.At(fill.left - 1, fill.top + 2), kGrey);
        EXPECT_EQ(canvas.At(fill.left + 2, fill.top - 1), kGrey);
    }
    // Days without work units keep the black background.
    for (int monthDay : {3, 5, 31}) {
        const RECT fill = DayFill(geometry, table, 1998, 9, monthDay, perRow);
        EXPECT_EQ(canvas.Count(fill, kDarkRed), 0) << monthDay;
    }
    // The heading of the first sheet is yellow text above the grid.
    const RECT heading{0, 0, 14 * metrics.tmMaxCharWidth, metrics.tmHeight - 1};
    EXPECT_GT(canvas.Count(heading, kYellow), 0);
}

TEST_F(CalendarTest, MainWindowIsDisabledWhileOpenAndPlacementsAreStored)
{
    TempDir empty; // no SETILog.csv: reported, and the calendar opens without counts
    OpenWorkUnitCalendar(empty.Path(), "Empty");
    WaitForLongReads();
    const HWND calendar = WorkUnitCalendarWindow();
    ASSERT_NE(calendar, nullptr);
    EXPECT_NE(StatusText().find(empty.File("SETILog.csv")), std::string::npos) << StatusText();
    EXPECT_FALSE(IsWindowEnabled(App().mainWindow));
    MoveWindow(calendar, 30, 40, 500, 400, TRUE);
    DestroyWindow(calendar);
    EXPECT_EQ(WorkUnitCalendarWindow(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(App().mainWindow));
    std::optional<Placement> stored = StoredPlacement(kValueCalendarWindowPosition);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->left, 30);
    EXPECT_EQ(stored->top, 40);
    EXPECT_EQ(stored->right, 530);
    EXPECT_EQ(stored->bottom, 440);

    // The next opening comes back where the last one was left.
    OpenWorkUnitCalendar(empty.Path(), "Empty");
    WaitForLongReads();
    RECT again{};
    GetWindowRect(WorkUnitCalendarWindow(), &again);
    EXPECT_EQ(again.left, 30);
    EXPECT_EQ(again.bottom, 440);
    DestroyWindow(WorkUnitCalendarWindow());

    OpenFutureCalendar(5, 0);
    const HWND future = FutureCalendarWindow();
    ASSERT_NE(future, nullptr);
    EXPECT_EQ(Title(future), "Future Work Units Calendar   (Based on completing 0.00 work units per day)");
    EXPECT_FALSE(IsWindowEnabled(App().mainWindow));
    MoveWindow(future, 50, 60, 450, 350, TRUE);
    DestroyWindow(future);
    EXPECT_EQ(FutureCalendarWindow(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(App().mainWindow));
    stored = StoredPlacement(kValueFwuCalendarWindowPosition);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->left, 50);
    EXPECT_EQ(stored->bottom, 410);
}

TEST_F(CalendarTest, FutureCountsAreCyanFromTomorrowWithoutFill)
{
    OpenFutureCalendar(100, 2.5);
    const HWND future = FutureCalendarWindow();
    ASSERT_NE(future, nullptr);
    EXPECT_EQ(Title(future), "Future Work Units Calendar   (Based on completing 2.50 work units per day)");

    const RECT client = Client(future);
    Canvas canvas(client.right, client.bottom, kBlack);
    PaintFromTop(future, canvas);
    EXPECT_EQ(canvas.Count(client, kDarkRed), 0);

    const DayTable table = BuildFutureTable(std::time(nullptr), 100, 2.5);
    const TEXTMETRICA metrics = FontMetrics(canvas.Dc());
    const std::string widest = FutureCellWidthText(table);
    SIZE extent{};
    {
        const HGDIOBJ previous = SelectObject(canvas.Dc(), GetStockObject(ANSI_VAR_FONT));
        GetTextExtentPoint32A(canvas.Dc(), widest.c_str(), static_cast<int>(widest.size()), &extent);
        SelectObject(canvas.Dc(), previous);
    }
    const int cellWidth = extent.cx + 2;
    const SheetGeometry geometry = FutureGeometry(metrics.tmHeight, cellWidth);
    const int perRow = FutureSheetsPerRow(client.right, cellWidth);

    size_t tomorrow = 0;
    while (tomorrow < table.size() && table[tomorrow].count == 0)
        ++tomorrow;
    ASSERT_LT(tomorrow, table.size());
    EXPECT_EQ(table[tomorrow].count, 102);
    // The count's lower half of the cell: cyan text on black, nothing filled.
    const DayEntry& first = table[tomorrow];
    const RECT cell = DayFill(geometry, table, first.year, first.month, first.monthDay, perRow);
    EXPECT_GT(canvas.Count(cell, kCyan), 0);
    EXPECT_GT(canvas.Count(cell, kBlack), Area(cell) / 2);
    if (tomorrow > 0) {
        const DayEntry& today = table[tomorrow - 1];
        const RECT before = DayFill(geometry, table, today.year, today.month, today.monthDay, perRow);
        EXPECT_EQ(canvas.Count(before, kCyan), 0);
    }
}

TEST_F(CalendarTest, ScrollRangeFollowsTheSheetsPerRowOfTheLastPaint)
{
    TempDir empty;
    OpenWorkUnitCalendar(empty.Path(), "Empty");
    WaitForLongReads();
    const HWND calendar = WorkUnitCalendarWindow();
    ASSERT_NE(calendar, nullptr);
    Canvas probe(1, 1);
    const TEXTMETRICA metrics = FontMetrics(probe.Dc());
    struct Case {
        int clientWidth;
        int rangeEnd;
    };
    const int pitch = 15 * metrics.tmMaxCharWidth;
    for (const Case& c : {Case{pitch - 1, 50}, Case{2 * pitch + 3, 25}, Case{3 * pitch, 16}}) {
        RECT frame{0, 0, c.clientWidth, 300};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_OVERLAPPEDWINDOW);
        // The scroll bar takes its width from the client area as well.
        SetWindowPos(calendar, nullptr, 0, 0, frame.right - frame.left + GetSystemMetrics(SM_CXVSCROLL),
                     frame.bottom - frame.top, SWP_NOZORDER | SWP_NOMOVE);
        UpdateWindow(calendar);
        SendMessageA(calendar, WM_SIZE, SIZE_RESTORED, 0); // the range from the paint just made
        int low = 0;
        int high = 0;
        GetScrollRange(calendar, SB_VERT, &low, &high);
        EXPECT_EQ(low, 1) << c.clientWidth;
        EXPECT_EQ(high, c.rangeEnd) << c.clientWidth;
    }
    // Thumb and arrows move the position within 1 to 50, past the range end.
    SendMessageA(calendar, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 16), 0);
    EXPECT_EQ(GetScrollPos(calendar, SB_VERT), 16);
    SendMessageA(calendar, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(GetScrollPos(calendar, SB_VERT), 15);
    SendMessageA(calendar, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(GetScrollPos(calendar, SB_VERT), 1);
}

TEST_F(CalendarTest, UserInfoButtonOpensTheFutureCalendarForTheSelectedRow)
{
    TempDir folder;
    folder.Write("user_info.sah", "name=bob\nnresults=120\ntotal_cpu=7200.5\n"
                                  "register_time=2451545.0 (Sat Jan  1 12:00:00 2000)\n");
    StoreString("Location1", folder.Path() + ";Home;255;Y;Y;Y;Y");
    StoreString("bob work units per day", "3.25");
    const HWND page = AddPage(kTabUserInfo, CreateUserInfoPage);
    ASSERT_NE(page, nullptr);
    RefreshUserInfo();
    WaitForInfoReads();
    const HWND list = GetDlgItem(page, IDC_USER_INFO_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(page, kMessageFutureCalendar, 0, 0);

    const HWND future = FutureCalendarWindow();
    ASSERT_NE(future, nullptr);
    EXPECT_EQ(Title(future), "Future Work Units Calendar   (Based on completing 3.25 work units per day)");
    EXPECT_FALSE(IsWindowEnabled(App().mainWindow));
    DestroyWindow(future);
    EXPECT_TRUE(IsWindowEnabled(App().mainWindow));
}

} // namespace
