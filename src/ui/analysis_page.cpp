// The Analysis tab page: owner-drawn rows with status icons and a light grid.
#include "ui/analysis_page.h"

#include <shellapi.h>

#include "client/analysis.h"
#include "common/unique_handle.h"
#include "resources/resource.h"
#include "settings/value_names.h"
#include "ui/app_state.h"
#include "ui/links.h"
#include "ui/list_sort.h"
#include "ui/header_tips.h"
#include "ui/list_view.h"

namespace {

constexpr int kMinimumRowHeight = 17;
constexpr COLORREF kGridColour = RGB(192, 192, 192);

struct ColumnSpec {
    const char* title;
    int alignment;
};

constexpr ColumnSpec kColumns[kAnalysisCellCount] = {
    {"Location", kAlignLeft},   {"Status", kAlignCenter},        {"% Done", kAlignRight},
    {"CPU Time", kAlignRight},  {"Time Left", kAlignRight},      {"Completion", kAlignRight},
    {"% Per CPU Hour", kAlignRight}, {"Mflops", kAlignRight},    {"Angle Range", kAlignRight},
};

int StatusImage(std::string_view status)
{
    if (status == kStatusRun)
        return IMG_STATUS_RUN;
    if (status == kStatusStop)
        return IMG_STATUS_STOP;
    if (status == kStatusDone)
        return IMG_STATUS_DONE;
    if (status == kStatusErr53)
        return IMG_STATUS_FILE_ERROR;
    return IMG_STATUS_UNKNOWN;
}

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_ANALYSIS_LIST);
}

BOOL OnInitDialog(HWND page)
{
    const HWND list = List(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < kAnalysisCellCount; ++i)
        MakeColumn(list, i, kColumns[i].title, kColumns[i].alignment);
    InstallHeaderPainter(list);
    InstallHeaderTips(list, kAnalysisTips);
    return TRUE;
}

void OnSize(HWND page)
{
    RECT area{};
    GetClientRect(page, &area);
    if (App().tabControl)
        TabCtrl_AdjustRect(App().tabControl, FALSE, &area);
    RECT button{};
    GetWindowRect(GetDlgItem(page, IDC_ANALYSIS_REFRESH), &button);
    RECT home{};
    GetWindowRect(GetDlgItem(page, IDC_ANALYSIS_HOME_PAGE), &home);
    const int buttonHeight = button.bottom - button.top;
    const int homeWidth = home.right - home.left;
    MoveWindow(List(page), 0, 0, area.right, area.bottom - buttonHeight, TRUE);
    SetWindowPos(GetDlgItem(page, IDC_ANALYSIS_REFRESH), nullptr, 0, area.bottom - buttonHeight + 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(GetDlgItem(page, IDC_ANALYSIS_HOME_PAGE), nullptr, area.right - homeWidth,
                 area.bottom - buttonHeight + 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

BOOL OnMeasureItem(HWND page, MEASUREITEMSTRUCT* measure)
{
    // Measured once for the program's life; the 16-pixel icons need at least 17.
    static int rowHeight = -1;
    if (measure->CtlType != ODT_LISTVIEW)
        return FALSE;
    if (rowHeight < 0) {
        MeasureListRow(page, measure);
        rowHeight = std::max(static_cast<int>(measure->itemHeight), kMinimumRowHeight);
    }
    measure->itemHeight = static_cast<UINT>(rowHeight);
    return TRUE;
}

void DrawRow(const DRAWITEMSTRUCT& draw)
{
    const HWND list = draw.hwndItem;
    const WorkUnitRow* unit = WorkUnitOf(list, draw.itemData);
    if (!unit)
        return;
    const ListRow& row = unit->cells;
    const HDC hdc = draw.hDC;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const COLORREF background = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const DcColours colours(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT), background);

    RECT clip{};
    GetClipBox(hdc, &clip);
    const std::vector<int> widths = ColumnWidths(list);
    const ColumnRange range = VisibleColumns(widths, draw.rcItem.left, clip.left, clip.right);
    int left = draw.rcItem.left;
    for (int column = 0; column < range.first && column < static_cast<int>(widths.size()); ++column)
        left += widths[column];

    UniqueGdiObject gridPen(CreatePen(PS_SOLID, 1, kGridColour));
    UniqueGdiObject backgroundBrush(CreateSolidBrush(background));
    const UINT oldAlign = GetTextAlign(hdc);
    for (int column = range.first; column <= range.last; ++column) {
        const RECT cell{left, draw.rcItem.top, left + widths[column], draw.rcItem.bottom};
        left = cell.right;
        const std::string_view text = row.Text(column);
        if (!text.empty()) {
            if (column == kCellStatus) {
                FillRect(hdc, &cell, static_cast<HBRUSH>(backgroundBrush.get()));
                int iconWidth = 0;
                int iconHeight = 0;
                ImageList_GetIconSize(App().statusImages, &iconWidth, &iconHeight);
                ImageList_Draw(App().statusImages, StatusImage(text), hdc,
                               cell.left + (cell.right - cell.left - iconWidth) / 2, cell.top,
                               ILD_TRANSPARENT | (selected ? ILD_BLEND50 : 0));
            } else {
                const bool right = kColumns[column].alignment == kAlignRight;
                SetTextAlign(hdc, right ? TA_RIGHT : TA_LEFT);
                ExtTextOutA(hdc, right ? cell.right - 2 : cell.left + 2, cell.top + 1, ETO_OPAQUE | ETO_CLIPPED,
                            &cell, text.data(), static_cast<int>(text.size()), nullptr);
            }
        }
        const SelectedObject pen(hdc, gridPen.get());
        MoveToEx(hdc, cell.left - 1, cell.top, nullptr);
        LineTo(hdc, cell.left - 1, cell.bottom);
        MoveToEx(hdc, cell.right - 1, cell.top, nullptr);
        LineTo(hdc, cell.right - 1, cell.bottom);
    }
    SetTextAlign(hdc, oldAlign);
    const SelectedObject pen(hdc, gridPen.get());
    MoveToEx(hdc, draw.rcItem.left, draw.rcItem.bottom - 1, nullptr);
    LineTo(hdc, draw.rcItem.right, draw.rcItem.bottom - 1);
}

BOOL OnDrawItem(const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    if (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))
        DrawRow(*draw);
    return TRUE;
}

BOOL OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case LVN_COLUMNCLICK:
        SortOnColumnClick(List(page), reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return TRUE;
    case LVN_DELETEITEM:
        // This list owns the rows; the Best Results list only shows them.
        delete reinterpret_cast<WorkUnitRow*>(reinterpret_cast<const NMLISTVIEW*>(header)->lParam);
        return TRUE;
    }
    return FALSE;
}

void OnCommand(int id)
{
    if (id == IDC_ANALYSIS_REFRESH)
        PostMessageA(App().mainWindow, WM_TIMER, kRefreshTimerId, 0);
    else if (id == IDC_ANALYSIS_HOME_PAGE)
        ShellExecuteA(nullptr, nullptr, kHomePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

void OnDestroy(HWND page)
{
    // The Best Results list shows these rows: empty it before they are freed.
    if (const HWND best = PageList(kTabBestResults))
        ListView_DeleteAllItems(best);
    CloseList(List(page), kValueAnalysisColumnWidths);
}

INT_PTR CALLBACK AnalysisPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
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
        return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy(page);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreateAnalysisPage(HWND parent)
{
    return CreateDialogParamA(App().instance ? App().instance : GetModuleHandleA(nullptr),
                              MAKEINTRESOURCEA(IDD_ANALYSIS), parent, AnalysisPageProc, 0);
}
