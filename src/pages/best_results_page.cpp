// The Best Results tab page: each location's strongest signals, graphs in rows of adjustable height.
#include "pages/best_results_page.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "core/common/status_sink.h"
#include "core/pages/page_layout.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "kit/list_text.h"
#include "core/settings/value_names.h"
#include "platform/window_layout.h"
#include "pages/analysis_refresh.h"
#include "kit/app_state.h"
#include "core/lists/list_sort.h"
#include "kit/header_tips.h"
#include "kit/graph_rows.h"
#include "kit/list_view.h"
#include "kit/page_frame.h"
#include "kit/signal_graph.h"

namespace
{

constexpr ColumnSpec kColumns[] = {
    {"Location", kAlignLeft}, {"Peak", kAlignRight},    {"Triplet", kAlignLeft},
    {"Pulses", kAlignLeft},   {"Gaussian", kAlignLeft},
};

// Every column is 80 pixels wide; columns 1 to 4 hold graphs and sort by signal values.
constexpr ListTraits kTraits{.rows = RowKind::WorkUnit,
                             .signalSort = true,
                             .fixedFirst = 0,
                             .fixedLast = INT_MAX,
                             .fixedWidth = 80,
                             .tips = kBestResultsTips,
                             .widthsValue = kValueBestColumnWidths};

HWND thePage = nullptr;

// Location, Peak, Triplet, Pulses and Gaussian with its fitted curve.
SignalRowStyle RowStyle(bool showText)
{
    SignalRowStyle style;
    style.peakColumn = 1;
    style.tripletColumn = 2;
    style.pulseColumn = 3;
    style.gaussianColumn = 4;
    style.showText = showText;
    style.fittedCurve = true;
    style.cellGrid = true;
    return style;
}

constexpr GraphRowControls kGraphRows{IDC_BEST_LIST,      IDC_BEST_ROW_HEIGHT, IDC_BEST_ROW_LABEL,
                                      IDC_BEST_SHOW_TEXT, kValueBestRowHeight, kValueShowGraphText};

GraphRowState& State(HWND page)
{
    return WindowState<GraphRowState>(page);
}

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_BEST_LIST);
}

// The Peak figure and the graphs' captions, whether or not Show Text puts them on the graphs.
std::string CellTextOf(HWND list, int item, int column)
{
    LVITEMA record{};
    record.mask = LVIF_PARAM;
    record.iItem = item;
    const WorkUnitRow* row = ListView_GetItem(list, &record) ? WorkUnitOf(list, record.lParam) : nullptr;
    return row ? SignalCellText(*row, RowStyle(true), column) : std::string();
}

BOOL OnInitDialog(HWND page, LPARAM)
{
    SetCellTextSource(SetUpReportList(page, IDC_BEST_LIST, 0, kColumns, kTraits), CellTextOf);
    InitGraphRowControls(page, kGraphRows, State(page));
    return TRUE;
}

BOOL OnMeasureItem(HWND page, MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_LISTVIEW)
        return FALSE;
    measure->itemHeight = static_cast<UINT>(GraphRowHeight(page, kGraphRows, State(page)));
    return TRUE;
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    const WorkUnitRow* row = WorkUnitOf(draw->hwndItem, draw->itemData);
    if (row && (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS)))
        PaintSignalRow(*draw, *row, RowStyle(State(page).showText != 0));
    return TRUE;
}

void OnHorizontalScroll(HWND page, HWND control)
{
    if (control == GetDlgItem(page, IDC_BEST_ROW_HEIGHT))
        OnGraphSliderMoved(page, kGraphRows, State(page));
}

// The rows are rebuilt so that their figures follow the switch.
void OnShowTextClicked(HWND page)
{
    if (StoreShowText(page, kGraphRows, State(page)))
        RefreshAnalysis(true);
}

void OnBestResultsButton(HWND page, int id, int code, HWND)
{
    if (id == IDC_BEST_REFRESH && code == BN_CLICKED)
        RefreshAnalysis(true);
    else if (id == IDC_BEST_SHOW_TEXT && code == BN_CLICKED)
        OnShowTextClicked(page);
}

BOOL OnNotify(HWND page, const NMHDR* header)
{
    return header->hwndFrom == List(page) ? SortOrAnswerText(header) : FALSE;
}

void OnSize(HWND page)
{
    ApplyLayout(page,
                LayoutBestResultsPage(PageSize(page), SizeOf(page, IDC_BEST_REFRESH), SizeOf(page, IDC_BEST_ROW_LABEL),
                                      SizeOf(page, IDC_BEST_ROW_HEIGHT), SizeOf(page, IDC_BEST_SHOW_TEXT)),
                IDC_BEST_LIST, {IDC_BEST_REFRESH, IDC_BEST_ROW_LABEL, IDC_BEST_ROW_HEIGHT, IDC_BEST_SHOW_TEXT});
}

void OnDestroy(HWND page)
{
    const HWND list = List(page);
    SaveColumnWidths(list, kTraits.widthsValue);
    SaveGraphRowHeight(page, kGraphRows);
    // The rows belong to the Analysis list; only the column records are this page's.
    DeleteAllColumns(list);
}

constexpr PageHandlers kHandlers{OnInitDialog,
                                 OnSize,
                                 OnMeasureItem,
                                 OnDrawItem,
                                 OnNotify,
                                 OnBestResultsButton,
                                 OnHorizontalScroll,
                                 OnDestroy,
                                 FreeWindowState<GraphRowState>,
                                 nullptr,
                                 &thePage};

} // namespace

HWND CreateBestResultsPage(HWND parent)
{
    return CreatePage(parent, IDD_BEST_RESULTS, PageProc<kHandlers>);
}

HWND BestResultsList()
{
    return thePage ? List(thePage) : nullptr;
}
