// The Analysis tab page: owner-drawn rows with status icons and a light grid.
#include "pages/analysis_page.h"

#include <shellapi.h>

#include "core/analysis/analysis.h"
#include "core/pages/page_layout.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "core/settings/value_names.h"
#include "kit/app_state.h"
#include "pages/analysis_refresh.h"
#include "pages/best_results_page.h"
#include "kit/links.h"
#include "core/lists/list_sort.h"
#include "kit/header_tips.h"
#include "kit/list_text.h"
#include "kit/list_view.h"
#include "kit/page_frame.h"

namespace
{

constexpr int kMinimumRowHeight = 17;
constexpr COLORREF kGridColour = RGB(192, 192, 192);

constexpr ListTraits kTraits{
    .rows = RowKind::WorkUnit, .tips = kAnalysisTips, .widthsValue = kValueAnalysisColumnWidths};

HWND thePage = nullptr;

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

BOOL OnInitDialog(HWND page, LPARAM)
{
    SetUpReportList(page, IDC_ANALYSIS_LIST, 0, kAnalysisListColumns.data(), kAnalysisListColumns.size(), kTraits);
    return TRUE;
}

void OnSize(HWND page)
{
    ApplyLayout(
        page,
        LayoutAnalysisPage(PageSize(page), SizeOf(page, IDC_ANALYSIS_REFRESH), SizeOf(page, IDC_ANALYSIS_HOME_PAGE)),
        IDC_ANALYSIS_LIST, {IDC_ANALYSIS_REFRESH, IDC_ANALYSIS_HOME_PAGE});
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
    const WorkUnitRow* unit = WorkUnitOf(draw.hwndItem, draw.itemData);
    if (!unit)
        return;
    const ListRow& row = unit->cells;
    const HDC hdc = draw.hDC;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const COLORREF background = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const DcColours colours(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT), background);

    const RowColumns visible = VisibleRowColumns(draw);
    const std::vector<int>& widths = visible.widths;
    const ColumnRange range = visible.range;
    int left = visible.firstLeft;

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
                const bool right = kAnalysisColumns[column].column.alignment == kAlignRight;
                SetTextAlign(hdc, right ? TA_RIGHT : TA_LEFT);
                ExtTextOutA(hdc, right ? cell.right - 2 : cell.left + 2, cell.top + 1, ETO_OPAQUE | ETO_CLIPPED, &cell,
                            text.data(), static_cast<int>(text.size()), nullptr);
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

BOOL OnDrawItem(HWND, const DRAWITEMSTRUCT* draw)
{
    return DrawListItem(draw, DrawRow);
}

BOOL OnNotify(HWND, const NMHDR* header)
{
    if (header->code == LVN_DELETEITEM) {
        // This list owns the rows; the Best Results list only shows them.
        delete reinterpret_cast<WorkUnitRow*>(reinterpret_cast<const NMLISTVIEW*>(header)->lParam);
        return TRUE;
    }
    return SortOrAnswerText(header);
}

void OnAnalysisButton(HWND, int id, int, HWND)
{
    if (id == IDC_ANALYSIS_REFRESH)
        PostMessageA(App().mainWindow, WM_TIMER, kRefreshTimerId, 0);
    else if (id == IDC_ANALYSIS_HOME_PAGE)
        ShellExecuteA(nullptr, nullptr, kHomePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

void OnDestroy(HWND page)
{
    // The Best Results list shows these rows: empty it before they are freed.
    if (const HWND best = BestResultsList())
        ListView_DeleteAllItems(best);
    ForgetAnalysisLooks();
    CloseList(List(page));
}

constexpr PageHandlers kHandlers{OnInitDialog, OnSize,    OnMeasureItem, OnDrawItem, OnNotify, OnAnalysisButton,
                                 nullptr,      OnDestroy, nullptr,       nullptr,    &thePage};

} // namespace

HWND CreateAnalysisPage(HWND parent)
{
    return CreatePage(parent, IDD_ANALYSIS, PageProc<kHandlers>);
}

HWND AnalysisList()
{
    return thePage ? List(thePage) : nullptr;
}
