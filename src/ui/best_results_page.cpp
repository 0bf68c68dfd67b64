// The Best Results tab page: each location's strongest signals, graphs in rows of adjustable height.
#include "ui/best_results_page.h"

#include <commctrl.h>

#include <algorithm>

#include "common/status_sink.h"
#include "resources/resource.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"
#include "settings/window_layout.h"
#include "ui/analysis_refresh.h"
#include "ui/app_state.h"
#include "ui/list_sort.h"
#include "ui/header_tips.h"
#include "ui/list_view.h"
#include "ui/signal_graph.h"

namespace {

constexpr int kRowHeightUnknown = -1;
constexpr int kLargestSliderHeight = 100;

struct ColumnSpec {
    const char* title;
    int alignment;
};

constexpr ColumnSpec kColumns[] = {
    {"Location", kAlignLeft}, {"Peak", kAlignRight},    {"Triplet", kAlignLeft},
    {"Pulses", kAlignLeft},   {"Gaussian", kAlignLeft},
};

struct PageState {
    int rowHeight = kRowHeightUnknown;
    int showText = 1;
};

// The list asks for its row height while the dialog creates it, before WM_INITDIALOG, so the
// state comes into being at the first message that needs it.
PageState& State(HWND page)
{
    auto* state = reinterpret_cast<PageState*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!state) {
        state = new PageState;
        SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    }
    return *state;
}

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_BEST_LIST);
}

HWND Slider(HWND page)
{
    return GetDlgItem(page, IDC_BEST_ROW_HEIGHT);
}

// Measured at the first request; from then on it changes only through the slider.
int RowHeight(HWND page)
{
    PageState& state = State(page);
    if (state.rowHeight == kRowHeightUnknown)
        state.rowHeight = FirstRowHeight(page, IDC_BEST_LIST, kValueBestRowHeight);
    return state.rowHeight;
}

void ShowRowHeight(HWND page, int height)
{
    SetDlgItemTextA(page, IDC_BEST_ROW_LABEL, Format("Row height %d", height).c_str());
}

BOOL OnInitDialog(HWND page)
{
    const HWND list = List(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        MakeColumn(list, i, kColumns[i].title, kColumns[i].alignment);
    InstallHeaderPainter(list);
    InstallHeaderTips(list, kBestResultsTips);

    const int height = RowHeight(page);
    SendMessageA(Slider(page), TBM_SETRANGE, TRUE, MAKELPARAM(kSmallestRowHeight, kLargestSliderHeight));
    SendMessageA(Slider(page), TBM_SETPOS, TRUE, height);  // the slider holds it at its range's ends
    ShowRowHeight(page, height);

    PageState& state = State(page);
    CheckDlgButton(page, IDC_BEST_SHOW_TEXT, BST_CHECKED);
    state.showText = 1;
    SettingsStore store;
    int stored = 0;
    if (store.Open() && store.ReadNumber(kValueShowGraphText, stored)) {
        // Any other stored number shows the text but leaves the box clear.
        CheckDlgButton(page, IDC_BEST_SHOW_TEXT, stored == 1 ? BST_CHECKED : BST_UNCHECKED);
        state.showText = stored;
    }
    RemeasureRows(list);
    return TRUE;
}

BOOL OnMeasureItem(HWND page, MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_LISTVIEW)
        return FALSE;
    measure->itemHeight = static_cast<UINT>(RowHeight(page));
    return TRUE;
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    const WorkUnitRow* row = WorkUnitOf(draw->hwndItem, draw->itemData);
    if (row && (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS)))
        PaintSignalRow(*draw, *row, BestResultsRowStyle(State(page).showText != 0));
    return TRUE;
}

void OnSliderMoved(HWND page)
{
    PageState& state = State(page);
    const int position = static_cast<int>(SendMessageA(Slider(page), TBM_GETPOS, 0, 0));
    if (position == state.rowHeight)
        return;
    state.rowHeight = position;
    ShowRowHeight(page, position);
    RemeasureRows(List(page));
}

void OnShowTextClicked(HWND page)
{
    const int checked = IsDlgButtonChecked(page, IDC_BEST_SHOW_TEXT) == BST_CHECKED ? 1 : 0;
    SettingsStore store;
    if (!store.Open())
        return;
    store.WriteNumber(kValueShowGraphText, static_cast<DWORD>(checked));
    State(page).showText = checked;
    RefreshAnalysis(true);
    InvalidateRect(List(page), nullptr, FALSE);
}

void OnCommand(HWND page, int id, int code)
{
    if (id == IDC_BEST_REFRESH && code == BN_CLICKED)
        RefreshAnalysis(true);
    else if (id == IDC_BEST_SHOW_TEXT && code == BN_CLICKED)
        OnShowTextClicked(page);
}

BOOL OnNotify(HWND page, const NMHDR* header)
{
    if (header->code == LVN_COLUMNCLICK && header->hwndFrom == List(page)) {
        SortOnColumnClick(List(page), reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return TRUE;
    }
    return FALSE;
}

int WidthOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    return rect.right - rect.left;
}

void OnSize(HWND page)
{
    RECT area{};
    GetClientRect(page, &area);
    if (App().tabControl)
        TabCtrl_AdjustRect(App().tabControl, FALSE, &area);
    const HWND button = GetDlgItem(page, IDC_BEST_REFRESH);
    RECT buttonRect{};
    GetWindowRect(button, &buttonRect);
    const int bw = buttonRect.right - buttonRect.left;
    const int bh = buttonRect.bottom - buttonRect.top;
    const int lw = WidthOf(GetDlgItem(page, IDC_BEST_ROW_LABEL));
    const int tw = WidthOf(Slider(page));
    const int cw = WidthOf(GetDlgItem(page, IDC_BEST_SHOW_TEXT));
    const int top = area.bottom - bh;
    constexpr UINT kKeepSize = SWP_NOSIZE | SWP_NOZORDER;
    MoveWindow(List(page), 0, 0, area.right, top, TRUE);
    SetWindowPos(button, nullptr, 0, top + 3, 0, 0, kKeepSize);
    SetWindowPos(GetDlgItem(page, IDC_BEST_ROW_LABEL), nullptr, bw + 20, top + 7, 0, 0, kKeepSize);
    SetWindowPos(Slider(page), nullptr, bw + lw + 20, top + 3, 0, 0, kKeepSize);
    SetWindowPos(GetDlgItem(page, IDC_BEST_SHOW_TEXT), nullptr, bw + tw + cw + 30, top + 7, 0, 0, kKeepSize);
}

void OnDestroy(HWND page)
{
    const HWND list = List(page);
    SaveColumnWidths(list, kValueBestColumnWidths);
    SettingsStore store;
    if (store.Open())
        store.WriteNumber(kValueBestRowHeight, static_cast<DWORD>(SendMessageA(Slider(page), TBM_GETPOS, 0, 0)));
    // The rows belong to the Analysis list; only the column records are this page's.
    DeleteAllColumns(list);
}

void OnNcDestroy(HWND page)
{
    delete reinterpret_cast<PageState*>(GetWindowLongPtrA(page, DWLP_USER));
    SetWindowLongPtrA(page, DWLP_USER, 0);
}

INT_PTR CALLBACK BestResultsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page);
    case WM_SIZE:
        OnSize(page);
        return TRUE;
    case WM_MEASUREITEM:
        return OnMeasureItem(page, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        return OnDrawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Slider(page))
            OnSliderMoved(page);
        return TRUE;
    case WM_COMMAND:
        OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DESTROY:
        OnDestroy(page);
        return TRUE;
    case WM_NCDESTROY:
        OnNcDestroy(page);
        return FALSE;
    }
    return FALSE;
}

}  // namespace

HWND CreateBestResultsPage(HWND parent)
{
    return CreateDialogParamA(App().instance ? App().instance : GetModuleHandleA(nullptr),
                              MAKEINTRESOURCEA(IDD_BEST_RESULTS), parent, BestResultsPageProc, 0);
}
