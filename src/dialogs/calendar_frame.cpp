// The calendar windows' shared class registration, owner handling, scroll bar and month sheet painting.
#include "dialogs/calendar_frame.h"

#include "core/common/status_sink.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "platform/window_layout.h"
#include "kit/app_state.h"
#include "kit/page_frame.h"

namespace
{

static_assert(kScrollLineUp == SB_LINEUP && kScrollLineDown == SB_LINEDOWN && kScrollPageUp == SB_PAGEUP &&
              kScrollPageDown == SB_PAGEDOWN && kScrollThumbPosition == SB_THUMBPOSITION &&
              kScrollThumbTrack == SB_THUMBTRACK && kScrollTop == SB_TOP && kScrollBottom == SB_BOTTOM &&
              kScrollEnd == SB_ENDSCROLL);

constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 480;
constexpr COLORREF kGridColour = RGB(128, 128, 128);
constexpr COLORREF kHeadingColour = RGB(255, 255, 0);
constexpr COLORREF kDayNumberColour = RGB(255, 255, 255);
constexpr COLORREF kCountedCellColour = RGB(128, 0, 0);
constexpr int kGridColumns = 7;
constexpr int kGridRows = 6;

void WriteText(HDC hdc, int x, int y, COLORREF colour, UINT align, const std::string& text)
{
    SetTextColor(hdc, colour);
    SetTextAlign(hdc, align);
    TextOutA(hdc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void DrawGrid(HDC hdc, const SheetGeometry& geometry, PixelPoint origin)
{
    const int gridTop = origin.y + geometry.headingHeight;
    const int gridBottom = gridTop + kGridRows * geometry.cellHeight;
    for (int k = 0; k <= kGridColumns; ++k) {
        const int x = origin.x + k * geometry.cellWidth;
        MoveToEx(hdc, x, gridTop, nullptr);
        LineTo(hdc, x, gridBottom);
    }
    for (int k = 0; k <= kGridRows; ++k) {
        const int y = gridTop + k * geometry.cellHeight;
        MoveToEx(hdc, origin.x, y, nullptr);
        LineTo(hdc, origin.x + kGridColumns * geometry.cellWidth, y);
    }
}

void DrawSheet(HDC hdc, const CalendarLook& look, HBRUSH countedBrush, const DayTable& table, const MonthSheet& sheet,
               PixelPoint origin, const std::string& heading)
{
    const SheetGeometry& geometry = look.geometry;
    WriteText(hdc, origin.x, origin.y, kHeadingColour, TA_LEFT | TA_TOP, heading);
    DrawGrid(hdc, geometry, origin);
    const std::vector<DayPlace> places = DayPlaces(table, sheet);
    for (size_t offset = 0; offset < places.size(); ++offset) {
        const DayEntry& entry = table[sheet.first + offset];
        const PixelPoint corner = CellCorner(geometry, origin, places[offset]);
        if (entry.count > 0) {
            if (look.fillCounted) {
                const PixelRect fill = CountFill(geometry, origin, places[offset]);
                const RECT area{fill.left, fill.top, fill.right, fill.bottom};
                FillRect(hdc, &area, countedBrush);
            }
            WriteText(hdc, corner.x + geometry.cellWidth - look.countRightInset, corner.y + geometry.headingHeight,
                      look.countColour, TA_RIGHT | TA_TOP, Format("%d", entry.count));
        }
        WriteText(hdc, corner.x + 1, corner.y, kDayNumberColour, TA_LEFT | TA_TOP, Format("%d", entry.monthDay));
    }
}

} // namespace

namespace
{

const CalendarKind& KindOf(HWND hwnd)
{
    return *reinterpret_cast<const CalendarKind*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void OnCreate(CalendarFrame& frame, HWND hwnd)
{
    frame.window = hwnd;
    RestorePlacement(hwnd, frame.placementValue, false, SW_SHOWNORMAL);
}

void OnDestroy(CalendarFrame& frame, HWND hwnd)
{
    if (const HWND main = App().mainWindow) {
        EnableWindow(main, TRUE);
        SetActiveWindow(main);
    }
    SavePlacement(hwnd, frame.placementValue);
    if (frame.window == hwnd)
        frame.window = nullptr;
}

// Showing or hiding the scroll bar resizes the client area and sends WM_SIZE from inside
// SetScrollInfo; the flag keeps that nested call from setting the range again.
void OnSize(CalendarFrame& frame, HWND hwnd)
{
    if (!frame.settingRange) {
        frame.settingRange = true;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_POS;
        info.nMin = 1;
        info.nMax = ScrollRangeEnd(frame.lastPosition, frame.perRow);
        info.nPos = frame.position;
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
        frame.settingRange = false;
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void OnVerticalScroll(CalendarFrame& frame, HWND hwnd, WPARAM wParam)
{
    const int target = ScrollTarget(LOWORD(wParam), frame.position, HIWORD(wParam), frame.lastPosition);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = target;
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    if (target != frame.position) {
        frame.position = target;
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

LRESULT Dispatch(const CalendarKind& kind, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(*kind.frame, hwnd);
        return 0;
    case WM_DESTROY:
        OnDestroy(*kind.frame, hwnd);
        return 0;
    case WM_SIZE:
        OnSize(*kind.frame, hwnd);
        return 0;
    case WM_PAINT: {
        const PaintScope paint(hwnd);
        if (paint.Dc())
            kind.paint(hwnd, paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT: // the same picture into a caller's device context
        kind.paint(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_VSCROLL:
        OnVerticalScroll(*kind.frame, hwnd, wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CalendarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (GetWindowLongPtrA(hwnd, GWLP_USERDATA) == 0)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return Dispatch(KindOf(hwnd), hwnd, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system (a failed allocation ends the handler).
        return 0;
    }
}

} // namespace

HWND CreateCalendarWindow(const char* className, const CalendarKind& kind, const std::string& title)
{
    const HINSTANCE instance = AppInstance();
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = CalendarProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VANTOREL));
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
    }
    const HWND hwnd = CreateWindowExA(WS_EX_OVERLAPPEDWINDOW, className, title.c_str(), WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, 0, kWindowWidth, kWindowHeight, App().mainWindow, nullptr,
                                      instance, const_cast<CalendarKind*>(&kind));
    // Without a calendar nothing would ever enable the main window again.
    if (!hwnd && App().mainWindow)
        EnableWindow(App().mainWindow, TRUE);
    return hwnd;
}

CalendarFontScope::CalendarFontScope(HDC hdc) : font_(hdc, GetStockObject(ANSI_VAR_FONT))
{
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(hdc, &metrics))
        metrics_ = {metrics.tmHeight, metrics.tmMaxCharWidth};
}

void PaintCalendarSheets(HDC hdc, const CalendarLook& look, const DayTable& table,
                         const std::vector<MonthSheet>& sheets, int perRow, int position)
{
    const UniqueGdiObject pen(CreatePen(PS_SOLID, 1, kGridColour));
    const UniqueGdiObject countedBrush(CreateSolidBrush(kCountedCellColour));
    const SavedDc saved(hdc);
    SetWindowOrgEx(hdc, 0, ScrollOriginY(look.geometry, position), nullptr);
    SelectObject(hdc, pen.get());
    SetBkMode(hdc, TRANSPARENT);
    RECT clipBox{};
    if (GetClipBox(hdc, &clipBox) == ERROR)
        return;
    const PixelRect clip{clipBox.left, clipBox.top, clipBox.right, clipBox.bottom};
    for (size_t index = 0; index < sheets.size(); ++index) {
        const PixelPoint origin = SheetOrigin(look.geometry, static_cast<int>(index), perRow);
        // Headings only ever reach to the right, so a sheet that starts right of the clip box or
        // lies outside its band is skipped before anything is measured.
        if (origin.x >= clip.right || origin.y >= clip.bottom || origin.y + look.geometry.pitchY <= clip.top)
            continue;
        const std::string heading = MonthHeading(table[sheets[index].first]);
        SIZE extent{};
        GetTextExtentPoint32A(hdc, heading.c_str(), static_cast<int>(heading.size()), &extent);
        if (!Intersects(SheetArea(look.geometry, origin, extent.cx), clip))
            continue;
        DrawSheet(hdc, look, static_cast<HBRUSH>(countedBrush.get()), table, sheets[index], origin, heading);
    }
}

int ClientWidth(HWND hwnd)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    return client.right - client.left;
}
