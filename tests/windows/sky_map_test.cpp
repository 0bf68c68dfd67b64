// Tests of the Sky Map window and the Show Work Units dialog: circles, labels, picks, tips, scrolling, ownership.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "dib_canvas.h"
#include "page_fixture.h"
#include "core/settings/value_names.h"
#include "dialogs/show_work_units.h"
#include "dialogs/sky_map.h"
#include "dialogs/sky_picture.h"
#include "core/skymap/sky_projection.h"

namespace
{

// Colours that the chart's 16-colour palette does not hold.
constexpr COLORREF kOrange = RGB(255, 128, 0);
constexpr COLORREF kPink = RGB(255, 64, 160);
constexpr COLORREF kGreen = RGB(64, 255, 64);

SkyPoint Point(const char* name, const char* recordedOn, double ra, double dec, COLORREF colour)
{
    SkyPoint point{};
    SetSkyText(point.name, name);
    SetSkyText(point.recordedOn, recordedOn);
    point.rightAscension = ra;
    point.declination = dec;
    point.colour = static_cast<int32_t>(colour);
    return point;
}

SkyPointSet Set(std::initializer_list<SkyPoint> points)
{
    return SkyPointSet(points.begin(), points.end());
}

// The smallest rectangle (right and bottom exclusive) holding every pixel of the colour.
RECT Extent(const Canvas& canvas, COLORREF colour)
{
    RECT extent{kChartWidth, kChartHeight, -1, -1};
    for (int y = 0; y < kChartHeight; ++y)
        for (int x = 0; x < kChartWidth; ++x)
            if (canvas.At(x, y) == colour) {
                extent.left = std::min<LONG>(extent.left, x);
                extent.top = std::min<LONG>(extent.top, y);
                extent.right = std::max<LONG>(extent.right, x + 1);
                extent.bottom = std::max<LONG>(extent.bottom, y + 1);
            }
    return extent;
}

int CountOf(const Canvas& canvas, COLORREF colour)
{
    return canvas.Count(RECT{0, 0, kChartWidth, kChartHeight}, colour);
}

class SkyMapTest : public PageFixture
{
protected:
    void TearDown() override
    {
        if (Sky().pick)
            DestroyWindow(Sky().pick);
        if (Sky().map)
            DestroyWindow(Sky().map);
        EXPECT_EQ(SkyPointBlocksAlive(), blocksBefore_) << "a point set was not freed";
        PageFixture::TearDown();
    }

    // Paints the client area into a chart-sized canvas, as WM_PAINT would.
    static void Paint(Canvas& canvas)
    {
        ASSERT_NE(Sky().map, nullptr);
        SendMessageA(Sky().map, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    }

    static std::string TipAt(int x, int y)
    {
        SendMessageA(Sky().map, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        HWND tip = nullptr;
        while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr)
            if (GetWindow(tip, GW_OWNER) == Sky().map)
                break;
        if (!tip)
            return "(no tooltip)";
        char text[1100] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = Sky().map;
        tool.uId = 0;
        tool.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return text;
    }

    static HWND PickList() { return GetDlgItem(Sky().pick, IDC_SHOW_WU_LIST); }

    static std::vector<std::pair<std::string, const SkyPoint*>> Entries()
    {
        std::vector<std::pair<std::string, const SkyPoint*>> entries;
        const HWND list = PickList();
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            char text[300] = {};
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ListView_GetItem(list, &item);
            entries.emplace_back(text, reinterpret_cast<const SkyPoint*>(item.lParam));
        }
        return entries;
    }

    long blocksBefore_ = SkyPointBlocksAlive();
};

TEST_F(SkyMapTest, CirclesFillTheirExactBoxesInBothSizes)
{
    const struct {
        DWORD size;
        RECT extent; // around the point at (362, 121)
    } cases[] = {
        {1, {359, 117, 369, 127}},
        {2, {361, 119, 366, 124}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "circle size " << c.size);
        StoreNumber(kValueSkyShowText, 0);
        StoreNumber(kValueSkyCircleSize, c.size);
        ShowSkyMap(Set({Point("wu", "Mon Mar 13 10:20:30 2000", 3, 45, kOrange)}));
        Canvas canvas(kChartWidth, kChartHeight);
        Paint(canvas);
        const RECT extent = Extent(canvas, kOrange);
        EXPECT_EQ(extent.left, c.extent.left);
        EXPECT_EQ(extent.top, c.extent.top);
        EXPECT_EQ(extent.right, c.extent.right);
        EXPECT_EQ(extent.bottom, c.extent.bottom);
        // Outlines only: the centre keeps the chart.
        EXPECT_NE(canvas.At(363, 121), kOrange);
        if (c.size == 2) {
            EXPECT_EQ(canvas.At(363, 120), kOrange) << "the inner ellipse's top";
        }
        // The chart itself is under the circles.
        EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
        DestroyWindow(Sky().map);
    }
}

// Points that reach every edge of the picture, overlap in other colours, hold every character of
// the code page and fill their fields to the last byte, and a crowd of random ones.
SkyPointSet HardPoints()
{
    std::string characters;
    for (int code = 1; code < 256; ++code)
        characters += static_cast<char>(code);
    SkyPointSet points;
    for (size_t at = 0; at < characters.size(); at += 40)
        points.push_back(Point(characters.substr(at, 40).c_str(), characters.substr(at / 2, 30).c_str(),
                               1 + static_cast<double>(at) / 20, -50 + static_cast<double>(at) / 3, kOrange));
    const struct {
        double ra;
        double dec;
        COLORREF colour;
    } edges[] = {
        {11.99, 0, kOrange}, {12, 10, kPink},    {12.01, 10, kGreen},  {6, 90, kPink},
        {6, -90, kGreen},    {18, -89.9, kPink}, {0, 0, kOrange},      {-1e300, 1e300, kGreen},
        {3, 45, kOrange},    {3, 45, kPink},     {3.02, 45.1, kGreen},
    };
    for (const auto& edge : edges)
        points.push_back(
            Point("13mr00aa.28772.1234.45.123", "Mon Mar 13 10:20:30 2000", edge.ra, edge.dec, edge.colour));
    SkyPoint full = Point("", "", 20, -20, kGreen);
    std::fill(std::begin(full.name), std::end(full.name), 'W');
    std::fill(std::begin(full.recordedOn), std::end(full.recordedOn), 'g');
    points.push_back(full);
    points.push_back(Point("no position", "", 0, 0, kPink));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> ra(0, 24);
    std::uniform_real_distribution<double> dec(-90, 90);
    const COLORREF colours[] = {kOrange, kPink, kGreen, RGB(255, 255, 255), RGB(1, 2, 3)};
    for (int i = 0; i < 2000; ++i)
        points.push_back(Point(("wu." + std::to_string(i)).c_str(), "Tue Mar 14 11:00:00 2000", ra(random), dec(random),
                               colours[i % 5]));
    return points;
}

// The picture stamps the points from ink captured off the system's drawing; it must be the very
// picture the system's own calls draw, pixel for pixel, wherever the marks fall.
TEST_F(SkyMapTest, StampedPictureIsTheSystemsDrawingPixelForPixel)
{
    const UniqueGdiObject chart(
        LoadImageA(GetModuleHandleA(nullptr), "SKYMAP", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(chart);
    const SkyPointSet points = HardPoints();
    const std::vector<const SkyPoint*> picked = {&points[3], &points[1], &points.back()};
    constexpr int kWidth = 1100; // beyond the chart, where labels reach into the black
    constexpr int kHeight = 560;
    const struct {
        int circleSize;
        bool showText;
        bool picks;
    } cases[] = {
        {kCircleLarge, true, false},  {kCircleSmall, true, false}, {kCircleLarge, false, false},
        {kCircleSmall, false, false}, {kCircleLarge, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.circleSize << ", text " << c.showText << ", picks " << c.picks);
        const SkyScene scene{&points, c.picks ? &picked : nullptr, c.circleSize, c.showText};
        SkyPicture stamped;
        SkyPicture drawn(SkyDrawing::System);
        ASSERT_TRUE(stamped.Compose(static_cast<HBITMAP>(chart.get()), scene, kWidth, kHeight));
        ASSERT_TRUE(drawn.Compose(static_cast<HBITMAP>(chart.get()), scene, kWidth, kHeight));
        EXPECT_TRUE(stamped.Stamped()) << "this system's drawing can be stamped, so the test compares two ways";
        EXPECT_FALSE(drawn.Stamped());
        Canvas fromInk(kWidth, kHeight);
        Canvas fromSystem(kWidth, kHeight);
        const RECT all{0, 0, kWidth, kHeight};
        ASSERT_TRUE(stamped.CopyTo(fromInk.Dc(), all, 0, 0));
        ASSERT_TRUE(drawn.CopyTo(fromSystem.Dc(), all, 0, 0));
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (fromInk.At(x, y) != fromSystem.At(x, y) && differing++ < 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(fromInk.Count(RECT{0, 0, kWidth, kHeight}, kUntouched), 0) << "the whole picture is drawn";
    }
}

TEST_F(SkyMapTest, EmptyPointAtTheOriginIsSkippedButOneWithADateIsDrawnWithLabels)
{
    ShowSkyMap(Set({Point("nothing", "", 0, 0, kPink), Point("dated", "Mon Mar 13 10:20:30 2000", 0, -0.0, kOrange)}));
    ASSERT_EQ(Sky().showText, 1);
    Canvas canvas(kChartWidth, kChartHeight);
    Paint(canvas);
    EXPECT_EQ(CountOf(canvas, kPink), 0);
    // The circle at (482, 241) and the two label lines centred above it.
    EXPECT_GT(canvas.Count(RECT{479, 237, 489, 247}, kOrange), 8);
    const RECT extent = Extent(canvas, kOrange);
    EXPECT_LT(extent.top, 237 - 10) << "labels stand above the circle";
    EXPECT_EQ(extent.bottom, 247);
    const int centre = (extent.left + extent.right) / 2;
    EXPECT_NEAR(centre, 479 + 5, 3);
    EXPECT_GT(extent.right - extent.left, 60) << "the recorded-on line is wider than the circle";
}

TEST_F(SkyMapTest, TipListsBothPointsAtOnePlaceAndSkipsThePositionless)
{
    ShowSkyMap(Set({Point("first", "Mon Mar 13 10:20:30 2000", 6, 0, kOrange), Point("nowhere", "", 0, 0, kOrange),
                    Point("second", "Tue Mar 14 11:00:00 2000", 6, 0, kPink)}));
    EXPECT_EQ(TipAt(243, 242), "first\r\nMon Mar 13 10:20:30 2000\r\n\r\nsecond\r\nTue Mar 14 11:00:00 2000");
    // Elsewhere the tip keeps its last text; nowhere near the empty record is a tip for it.
    EXPECT_EQ(TipAt(482, 241), "first\r\nMon Mar 13 10:20:30 2000\r\n\r\nsecond\r\nTue Mar 14 11:00:00 2000");
}

TEST_F(SkyMapTest, DialogListsSortedNamesAndTheMapDrawsOnlyCheckedOnes)
{
    ShowSkyMap(Set({Point("zeta", "d1", 3, 45, kOrange), Point("alpha", "d2", 6, -30, kPink),
                    Point("alpha", "d3", 9, 10, kGreen)}));
    const SkyPointSet& points = *SkyMapPoints();
    ASSERT_NE(CreateWorkUnitsDialog(Sky().map), nullptr);
    ASSERT_NE(Sky().pick, nullptr);
    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], std::make_pair(std::string("alpha"), &points[1]));
    EXPECT_EQ(entries[1], std::make_pair(std::string("alpha"), &points[2]));
    EXPECT_EQ(entries[2], std::make_pair(std::string("zeta"), &points[0]));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(ListView_GetCheckState(PickList(), i)) << "entry " << i;

    SendMessageA(Sky().pick, WM_COMMAND, MAKEWPARAM(IDC_SHOW_WU_NONE, BN_CLICKED), 0);
    {
        Canvas canvas(kChartWidth, kChartHeight);
        Paint(canvas);
        EXPECT_EQ(CountOf(canvas, kOrange) + CountOf(canvas, kPink) + CountOf(canvas, kGreen), 0);
    }
    // Tips list every point, checked or not.
    EXPECT_EQ(TipAt(363, 121), "zeta\r\nd1");

    ListView_SetCheckState(PickList(), 1, TRUE); // the second "alpha", the green point
    {
        Canvas canvas(kChartWidth, kChartHeight);
        Paint(canvas);
        EXPECT_EQ(CountOf(canvas, kOrange) + CountOf(canvas, kPink), 0);
        EXPECT_GT(CountOf(canvas, kGreen), 0);
    }

    SendMessageA(Sky().pick, WM_COMMAND, MAKEWPARAM(IDC_SHOW_WU_ALL, BN_CLICKED), 0);
    SendMessageA(Sky().pick, WM_COMMAND, MAKEWPARAM(IDC_SHOW_WU_NONE, BN_CLICKED), 0);
    // Without a mouse: Tab goes from the list through the buttons, Enter on Close closes.
    SetFocus(PickList());
    for (const int id : {IDC_SHOW_WU_ALL, IDC_SHOW_WU_NONE, IDOK}) {
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(Sky().pick, id));
    }
    PressKey(GetFocus(), VK_RETURN);
    EXPECT_EQ(Sky().pick, nullptr);
    Canvas canvas(kChartWidth, kChartHeight);
    Paint(canvas);
    EXPECT_GT(CountOf(canvas, kOrange), 0) << "closing the dialog brings every circle back";
    EXPECT_GT(CountOf(canvas, kPink), 0);

    // The placement was stored when the dialog closed.
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    std::string placement;
    EXPECT_TRUE(store.ReadString(kValueSkyPickPosition, placement));
}

TEST_F(SkyMapTest, DialogLayoutStretchesTheListAndKeepsButtonsAtTheBottom)
{
    ShowSkyMap(SkyPointSet());
    const HWND dialog = CreateWorkUnitsDialog(Sky().map);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListView_GetItemCount(PickList()), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SHOW_WU_NONE, BN_CLICKED), 0); // nothing to do
    SetWindowPos(dialog, nullptr, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(dialog, &client);
    RECT close{};
    GetWindowRect(GetDlgItem(dialog, IDOK), &close);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&close), 2);
    EXPECT_EQ(close.right, client.right);
    EXPECT_EQ(close.bottom, client.bottom);
    RECT list{};
    GetWindowRect(PickList(), &list);
    EXPECT_EQ(list.right - list.left, client.right);
    EXPECT_EQ(list.bottom - list.top, client.bottom - (close.bottom - close.top) - 3);
    EXPECT_EQ(ListView_GetColumnWidth(PickList(), 0), client.right - 4);
}

TEST_F(SkyMapTest, NewSetWhileTheDialogIsOpenRefillsItAndFreesTheOldSet)
{
    ShowSkyMap(Set({Point("old one", "d", 3, 45, kOrange), Point("old two", "d", 4, 45, kOrange)}));
    const HWND map = Sky().map;
    ASSERT_NE(CreateWorkUnitsDialog(map), nullptr);
    SendMessageA(Sky().pick, WM_COMMAND, MAKEWPARAM(IDC_SHOW_WU_NONE, BN_CLICKED), 0);
    EXPECT_EQ(SkyPointBlocksAlive(), blocksBefore_ + 1);

    ShowSkyMap(Set({Point("new", "Tue", 6, -30, kPink)}));
    EXPECT_EQ(Sky().map, map) << "one window at a time";
    EXPECT_EQ(SkyPointBlocksAlive(), blocksBefore_ + 1) << "the old set is freed";
    const SkyPointSet& points = *SkyMapPoints();
    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], std::make_pair(std::string("new"), &points[0])) << "no entry refers to the freed set";
    EXPECT_TRUE(ListView_GetCheckState(PickList(), 0));
    Canvas canvas(kChartWidth, kChartHeight);
    Paint(canvas);
    EXPECT_EQ(CountOf(canvas, kOrange), 0);
    EXPECT_GT(CountOf(canvas, kPink), 0);

    DestroyWindow(Sky().pick);
    DestroyWindow(map);
    EXPECT_EQ(Sky().map, nullptr);
    EXPECT_EQ(SkyPointBlocksAlive(), blocksBefore_) << "closing frees the set";
}

TEST_F(SkyMapTest, ScrollingMovesTheOriginBy5And50AndStopsShortOfTheLastColumn)
{
    StoreNumber(kValueSkyShowText, 0);
    ShowSkyMap(Set({Point("wu", "d", 3, 45, kOrange)}));
    const HWND map = Sky().map;
    SetWindowPos(map, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(map, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(map, SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 964);
    EXPECT_EQ(static_cast<LONG>(info.nPage), client.right);

    const struct {
        int bar;
        int request;
        int thumb;
        int expected;
    } steps[] = {
        {WM_HSCROLL, SB_LINERIGHT, 0, 5},
        {WM_HSCROLL, SB_PAGERIGHT, 0, 55},
        {WM_HSCROLL, SB_LINELEFT, 0, 50},
        {WM_HSCROLL, SB_PAGELEFT, 0, 0},
        {WM_HSCROLL, SB_LINELEFT, 0, 0},
        {WM_HSCROLL, SB_THUMBTRACK, 900, static_cast<int>(964 - client.right)}, // the largest position
        {WM_HSCROLL, SB_THUMBTRACK, 100, 100},
    };
    for (const auto& step : steps) {
        SendMessageA(map, step.bar, MAKEWPARAM(step.request, step.thumb), 0);
        EXPECT_EQ(GetScrollPos(map, SB_HORZ), step.expected) << "request " << step.request;
    }
    SendMessageA(map, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(GetScrollPos(map, SB_VERT), 50);

    // Painted with the origin at the scroll position: the circle moves up and left by (100, 50).
    Canvas canvas(kChartWidth, kChartHeight);
    Paint(canvas);
    const RECT extent = Extent(canvas, kOrange);
    EXPECT_EQ(extent.left, 359 - 100);
    EXPECT_EQ(extent.top, 117 - 50);
    EXPECT_EQ(extent.right, 369 - 100);
    EXPECT_EQ(extent.bottom, 127 - 50);
    EXPECT_EQ(TipAt(362 - 100, 121 - 50), "wu\r\nd");

    // Grown past the chart, the window shows black beyond it and the circle back in its place.
    SetWindowPos(map, nullptr, 0, 0, 1200, 700, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(map, &client);
    ASSERT_GT(client.right, kChartWidth);
    ASSERT_GT(client.bottom, kChartHeight);
    Canvas grown(client.right, client.bottom);
    Paint(grown);
    EXPECT_EQ(grown.At(359, 121), kOrange);
    EXPECT_EQ(grown.Count(RECT{kChartWidth, 0, client.right, client.bottom}, RGB(0, 0, 0)),
              (client.right - kChartWidth) * client.bottom);
    EXPECT_EQ(grown.Count(RECT{0, kChartHeight, kChartWidth, client.bottom}, RGB(0, 0, 0)),
              kChartWidth * (client.bottom - kChartHeight));
}

TEST_F(SkyMapTest, MenuCommandsAreStoredAndReadAtTheNextOpening)
{
    ShowSkyMap(Set({Point("wu", "d", 3, 45, kOrange)}));
    {
        // Shift+F10 opens the right-click menu at the window's top left corner.
        const MenuWatch watch;
        PressKey(Sky().map, VK_F10, {VK_SHIFT}, true);
        ASSERT_EQ(MenuWatch::Menus().size(), 1u);
        EXPECT_EQ(MenuWatch::Menus()[0].firstItem, "&Show Work Units...");
        POINT corner{0, 0};
        ClientToScreen(Sky().map, &corner);
        EXPECT_EQ(MenuWatch::Menus()[0].at.x, corner.x);
        EXPECT_EQ(MenuWatch::Menus()[0].at.y, corner.y);
    }
    // Each command shows at once: the picture kept between paints is drawn anew.
    const auto paintedExtent = [] {
        Canvas canvas(kChartWidth, kChartHeight);
        Paint(canvas);
        const RECT extent = Extent(canvas, kOrange);
        return std::make_tuple(extent.left, extent.top, extent.right, extent.bottom);
    };
    EXPECT_LT(std::get<1>(paintedExtent()), 117) << "labels above the circle";
    SendMessageA(Sky().map, WM_COMMAND, ID_SHOW_TEXT, 0);
    EXPECT_EQ(paintedExtent(), std::make_tuple(359L, 117L, 369L, 127L));
    SendMessageA(Sky().map, WM_COMMAND, ID_CIRCLE_SMALL, 0);
    EXPECT_EQ(paintedExtent(), std::make_tuple(361L, 119L, 366L, 124L));
    SetWindowPos(Sky().map, nullptr, 40, 30, 500, 400, SWP_NOZORDER);
    RECT before{};
    GetWindowRect(Sky().map, &before);
    DestroyWindow(Sky().map);
    EXPECT_EQ(SkyPointBlocksAlive(), blocksBefore_) << "closing frees the set";

    SettingsStore store;
    ASSERT_TRUE(store.Open());
    DWORD showText = 9;
    DWORD circleSize = 9;
    std::string placement;
    EXPECT_TRUE(store.ReadNumber(kValueSkyShowText, showText));
    EXPECT_TRUE(store.ReadNumber(kValueSkyCircleSize, circleSize));
    EXPECT_TRUE(store.ReadString(kValueSkyWindowPosition, placement));
    EXPECT_EQ(showText, 0u);
    EXPECT_EQ(circleSize, 2u);
    store.Close();

    Sky().showText = 1;
    Sky().circleSize = 1;
    ShowSkyMap(Set({Point("wu", "d", 3, 45, kOrange)}));
    EXPECT_EQ(Sky().showText, 0);
    EXPECT_EQ(Sky().circleSize, 2);
    RECT after{};
    GetWindowRect(Sky().map, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);

    // Closed minimised, it opens where it was and on screen; closed maximised, maximised again.
    for (const int state : {SW_MINIMIZE, SW_MAXIMIZE}) {
        SCOPED_TRACE(state);
        ShowWindow(Sky().map, state);
        DestroyWindow(Sky().map);
        ShowSkyMap(Set({Point("wu", "d", 3, 45, kOrange)}));
        ASSERT_NE(Sky().map, nullptr);
        EXPECT_TRUE(IsWindowVisible(Sky().map));
        EXPECT_FALSE(IsIconic(Sky().map));
        EXPECT_EQ(IsZoomed(Sky().map) != FALSE, state == SW_MAXIMIZE);
    }
}

} // namespace
