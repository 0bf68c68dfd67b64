// The Sky Map window: the star chart, the work units' circles and labels, scrolling, tips and menu.
#include "dialogs/sky_map.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "core/common/program_texts.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "core/settings/value_names.h"
#include "platform/window_layout.h"
#include "dialogs/show_work_units.h"
#include "dialogs/sky_picture.h"
#include "core/skymap/sky_projection.h"
#include "kit/app_state.h"
#include "kit/menu_keys.h"
#include "kit/page_frame.h"

namespace
{

constexpr char kClassName[] = "VantorelSkyMap";
constexpr char kTitle[] = "Vantorel Sky Map  (right click for menu)";
constexpr char kChartName[] = "SKYMAP";
constexpr int kTipWidth = 400;

struct SkyMapState {
    SkyPointSet points;
    UniqueGdiObject chart;
    int scrollX = 0;
    int scrollY = 0;
    int largestX = 0;
    int largestY = 0;
    int contentWidth = 0;
    int contentHeight = 0;
    bool computingScrollBars = false;
    HWND tip = nullptr;  // owned by the window, destroyed with it
    std::string tipText; // the tooltip's text, kept while the tooltip shows it
    SkyPicture picture;  // the chart with the points drawn, composed when they change
};

SkyMapState* StateOf(HWND hwnd)
{
    return reinterpret_cast<SkyMapState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Paints the client area part `area` from the picture, composing it first when the points, the
// picks, Show Text, the circle size or a larger window call for it. Without memory for the
// picture the area is drawn straight into the DC.
void PaintArea(HWND hwnd, SkyMapState& state, HDC hdc, const RECT& area)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    // The client's far corner at this scroll position: the picture reaches at least that far.
    const int width = client.right + state.scrollX;
    const int height = client.bottom + state.scrollY;
    const auto chart = static_cast<HBITMAP>(state.chart.get());
    SkyScene scene{&state.points, nullptr, Sky().circleSize, Sky().showText != 0};
    std::vector<const SkyPoint*> picked;
    const bool current = state.picture.Shows(scene.circleSize, scene.showText, width, height);
    if (!current && PickedSkyPoints(picked))
        scene.picked = &picked;
    if ((current || state.picture.Compose(chart, scene, width, height)) &&
        state.picture.CopyTo(hdc, area, area.left + state.scrollX, area.top + state.scrollY))
        return;
    if (!scene.picked && PickedSkyPoints(picked))
        scene.picked = &picked;
    WindowOrigin origin(hdc, state.scrollX, state.scrollY);
    RECT chartArea = area;
    OffsetRect(&chartArea, state.scrollX, state.scrollY);
    DrawSkyScene(hdc, chart, scene, chartArea);
}

void SetScrollBar(HWND hwnd, int bar, int contentSize, int page, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = contentSize > 0 ? contentSize - 1 : 0;
    info.nPage = page > 0 ? static_cast<UINT>(page) : 0;
    info.nPos = position;
    SetScrollInfo(hwnd, bar, &info, TRUE);
}

void FitScrollBars(HWND hwnd, SkyMapState& state, int clientWidth, int clientHeight)
{
    state.largestX = LargestScrollPosition(state.contentWidth, clientWidth);
    state.largestY = LargestScrollPosition(state.contentHeight, clientHeight);
    if (state.scrollX > state.largestX)
        state.scrollX = state.largestX;
    if (state.scrollY > state.largestY)
        state.scrollY = state.largestY;
    SetScrollBar(hwnd, SB_HORZ, state.contentWidth, clientWidth, state.scrollX);
    SetScrollBar(hwnd, SB_VERT, state.contentHeight, clientHeight, state.scrollY);
}

// Showing or hiding one bar changes the client size and so the other bar's need: the bars are
// fitted to the size without bars, then once more to the client that results.
void ComputeScrollBars(HWND hwnd, SkyMapState& state)
{
    if (state.computingScrollBars)
        return;
    state.computingScrollBars = true;
    RECT client{};
    GetClientRect(hwnd, &client);
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    int width = client.right;
    int height = client.bottom;
    if (style & WS_HSCROLL)
        height += GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL)
        width += GetSystemMetrics(SM_CXVSCROLL);
    FitScrollBars(hwnd, state, width, height);
    GetClientRect(hwnd, &client);
    FitScrollBars(hwnd, state, client.right, client.bottom);
    state.computingScrollBars = false;
}

void OnScroll(HWND hwnd, SkyMapState& state, bool horizontal, WPARAM wParam)
{
    const int request = LOWORD(wParam);
    const int thumb = HIWORD(wParam);
    int& position = horizontal ? state.scrollX : state.scrollY;
    const int moved = ScrolledPosition(position, ScrollAmount(request, thumb, position),
                                       horizontal ? state.largestX : state.largestY);
    if (moved == position)
        return;
    position = moved;
    // Only the bar that moved is set: the other keeps its position, and every bar set is drawn anew.
    SetScrollPos(hwnd, horizontal ? SB_HORZ : SB_VERT, position, TRUE);
    InvalidateRect(hwnd, nullptr, FALSE);
}

TTTOOLINFOA TipTool(HWND hwnd)
{
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = hwnd;
    tool.uId = 0;
    return tool;
}

void CreateTip(HWND hwnd, SkyMapState& state)
{
    state.tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, hwnd, nullptr, AppInstance(), nullptr);
    if (!state.tip)
        return;
    state.tipText.clear();
    TTTOOLINFOA tool = TipTool(hwnd);
    tool.lpszText = const_cast<char*>(state.tipText.c_str());
    SendMessageA(state.tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(state.tip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
}

void OnMouseMove(HWND hwnd, SkyMapState& state, WPARAM wParam, LPARAM lParam)
{
    const int mx = static_cast<short>(LOWORD(lParam));
    const int my = static_cast<short>(HIWORD(lParam));
    SkyTip tip = BuildSkyTip(state.points.data(), state.points.size(), mx, my, state.scrollX, state.scrollY);
    if (state.tip && tip.hit) {
        state.tipText = std::move(tip.text);
        TTTOOLINFOA tool = TipTool(hwnd);
        tool.rect = RECT{mx - 2, my - 3, mx + 4, my + 3};
        SendMessageA(state.tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
        tool.lpszText = const_cast<char*>(state.tipText.c_str());
        SendMessageA(state.tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (state.tip) {
        MSG message{};
        message.hwnd = hwnd;
        message.message = WM_MOUSEMOVE;
        message.wParam = wParam;
        message.lParam = lParam;
        message.time = static_cast<DWORD>(GetMessageTime());
        GetCursorPos(&message.pt);
        SendMessageA(state.tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    }
}

// A changed setting is stored when the key opens; on screen it takes effect either way.
void StoreNumber(const char* name, int value)
{
    SettingsStore store;
    if (store.Open())
        store.WriteNumber(name, static_cast<DWORD>(value));
}

void CarryOutCommand(HWND hwnd, int command)
{
    switch (command) {
    case ID_SHOW_WORK_UNITS:
        ShowWorkUnitsDialog(hwnd);
        break;
    case ID_SHOW_TEXT:
        Sky().showText = Sky().showText ? 0 : 1;
        StoreNumber(kValueSkyShowText, Sky().showText);
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case ID_CIRCLE_LARGE:
    case ID_CIRCLE_SMALL:
        Sky().circleSize = command == ID_CIRCLE_LARGE ? kCircleLarge : kCircleSmall;
        StoreNumber(kValueSkyCircleSize, Sky().circleSize);
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    }
}

void OnRightButtonDown(HWND hwnd, POINT at)
{
    const UniqueMenu menu(LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_SKY_MAP_MENU)));
    const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    const auto check = [popup](UINT id, bool on) {
        CheckMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    check(ID_SHOW_TEXT, Sky().showText != 0);
    check(ID_CIRCLE_LARGE, Sky().circleSize == kCircleLarge);
    check(ID_CIRCLE_SMALL, Sky().circleSize == kCircleSmall);
    SetForegroundWindow(hwnd);
    const int command = static_cast<int>(
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, hwnd, nullptr));
    CarryOutCommand(hwnd, command);
}

// Centred in the work area, unless a stored placement puts the window elsewhere.
void OnCreate(HWND hwnd)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(hwnd, nullptr, CentredStart(work.left, work.right - work.left, width),
                 CentredStart(work.top, work.bottom - work.top, height), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RestorePlacement(hwnd, kValueSkyWindowPosition, false, SW_SHOWNORMAL);
}

void OnDestroy(HWND hwnd, SkyMapState& state)
{
    state.chart.reset();
    SavePlacement(hwnd, kValueSkyWindowPosition);
    SkyPointSet().swap(state.points);
    if (Sky().map == hwnd)
        Sky().map = nullptr;
}

LRESULT HandleMessage(HWND hwnd, SkyMapState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case WM_DESTROY:
        OnDestroy(hwnd, state);
        return 0;
    case WM_SIZE:
        ComputeScrollBars(hwnd, state);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return 0;
    case WM_ERASEBKGND:
        // The paint sets every pixel of the client (chart, or black beside and below it): erasing
        // first would only cost a fill and show black for a moment.
        return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        PaintArea(hwnd, state, paint.Dc(), paint.Area());
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(hwnd, &client);
        PaintArea(hwnd, state, reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        OnScroll(hwnd, state, message == WM_HSCROLL, wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(hwnd, state, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN: {
        POINT cursor{};
        GetCursorPos(&cursor);
        OnRightButtonDown(hwnd, cursor);
        return 0;
    }
    case WM_CONTEXTMENU:
        // Shift+F10 or the Menu key: the right-click menu at the window's top left corner.
        if (!IsKeyboardContextMenu(lParam))
            break;
        OnRightButtonDown(hwnd, MenuPointBelow(hwnd, {0, 0, 0, 0}));
        return 0;
    case WM_COMMAND:
        CarryOutCommand(hwnd, LOWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SkyMapProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        // The window takes its state over here and frees it with itself; a window that is never
        // made leaves the state with the creator, which frees it.
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* holder = static_cast<std::unique_ptr<SkyMapState>*>(create->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(holder->release()));
        Sky().map = hwnd;
    }
    SkyMapState* state = StateOf(hwnd);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (Sky().map == hwnd)
            Sky().map = nullptr;
        delete state;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (!state)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return HandleMessage(hwnd, *state, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        // The message is dropped (a paint shows again at the next one); the window goes on.
        SetStatusText(kOutOfMemory);
    } catch (...) {
        // Nothing may unwind into the system.
    }
    return 0;
}

bool RegisterSkyMapClass()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SkyMapProc;
    windowClass.hInstance = AppInstance();
    windowClass.hIcon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_VANTOREL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void ReadSettings()
{
    SettingsStore store;
    if (!store.Open())
        return;
    int showText = 1;
    int circleSize = 1;
    store.ReadNumber(kValueSkyShowText, showText);
    store.ReadNumber(kValueSkyCircleSize, circleSize);
    Sky().showText = showText;
    Sky().circleSize = circleSize;
}

void CreateSkyMap(SkyPointSet points)
{
    ReadSettings();
    auto state = std::make_unique<SkyMapState>();
    state->points = std::move(points);
    state->chart.reset(LoadImageA(AppInstance(), kChartName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!RegisterSkyMapClass())
        return;

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const WindowSize size = SkyWindowSize(work.right, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
                                          GetSystemMetrics(SM_CYCAPTION));
    SkyMapState* owned = state.get();
    const HWND hwnd =
        CreateWindowExA(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                        size.width, size.height, nullptr, nullptr, AppInstance(), &state);
    if (!hwnd)
        return;
    owned->contentWidth = kChartWidth;
    owned->contentHeight = kChartHeight;
    ComputeScrollBars(hwnd, *owned);
    // A stored placement has shown the window already, perhaps maximised; that is kept.
    if (!IsWindowVisible(hwnd))
        ShowWindow(hwnd, SW_SHOWNORMAL);
    CreateTip(hwnd, *owned);
}

} // namespace

SkyWindows& Sky()
{
    static SkyWindows windows;
    return windows;
}

void ShowSkyMap(SkyPointSet points)
{
    const HWND hwnd = Sky().map;
    SkyMapState* state = hwnd ? StateOf(hwnd) : nullptr;
    if (!state) {
        CreateSkyMap(std::move(points));
        return;
    }
    // The new set goes in first and the open pick list is refilled from it; only then is the old
    // set, which the list referred to, freed (when `points` goes out of scope).
    state->points.swap(points);
    state->picture.Invalidate();
    RefillWorkUnitPicks();
    InvalidateRect(hwnd, nullptr, FALSE);
    SetForegroundWindow(hwnd);
}

void RedrawSkyMapPoints()
{
    SkyMapState* state = Sky().map ? StateOf(Sky().map) : nullptr;
    if (!state)
        return;
    state->picture.Invalidate();
    InvalidateRect(Sky().map, nullptr, FALSE);
}

const SkyPointSet* SkyMapPoints()
{
    const SkyMapState* state = Sky().map ? StateOf(Sky().map) : nullptr;
    return state ? &state->points : nullptr;
}
