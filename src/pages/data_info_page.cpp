// The Data Info tab page: one row per location describing its current work unit, and the Sky Map button.
#include "pages/data_info_page.h"

#include <iterator>
#include <memory>
#include <utility>

#include "platform/client_file.h"
#include "core/analysis/work_unit_info.h"
#include "core/pages/page_layout.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "dialogs/sky_map.h"
#include "kit/app_state.h"
#include "kit/header_tips.h"
#include "kit/list_view.h"
#include "kit/page_frame.h"

namespace
{

// The page's own message: hand the listed work units to the Sky Map.
constexpr UINT kMessageSkyMapRequest = WM_APP + 1000;

constexpr ListTraits kTraits{.tips = kDataInfoTips, .widthsValue = kValueDataInfoColumnWidths};

HWND thePage = nullptr;

// Cells 6 to 8 have no column: they only carry the sky map's numbers.
constexpr ColumnSpec kColumns[] = {
    {"Location", kAlignLeft},        {"From", kAlignLeft},
    {"Recorded On", kAlignRight},    {"Source", kAlignRight},
    {"Base Frequency", kAlignRight}, {"Angle Range", kAlignRight},
};

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_DATA_INFO_LIST);
}

// The Sky Map takes the set over: it replaces the shown one, or opens the window with it.
void HandPointsToSkyMap(SkyPointSet points)
{
    ShowSkyMap(std::move(points));
}

BOOL OnInitDialog(HWND page, LPARAM)
{
    SetUpReportList(page, IDC_DATA_INFO_LIST, LVS_EX_GRIDLINES, kColumns, kTraits);
    return TRUE;
}

void OnSize(HWND page)
{
    ApplyLayout(page, LayoutOneButtonPage(PageSize(page), SizeOf(page, IDC_DATA_INFO_SKY_MAP)), IDC_DATA_INFO_LIST,
                {IDC_DATA_INFO_SKY_MAP});
    InvalidateRect(GetDlgItem(page, IDC_DATA_INFO_SKY_MAP), nullptr, TRUE);
}

BOOL OnNotify(HWND, const NMHDR* header)
{
    return OnPlainListNotify(IDC_DATA_INFO_LIST, header);
}

void OnDestroy(HWND page)
{
    CloseList(List(page));
}

void OnSkyMapButton(HWND page, int id, int, HWND)
{
    if (id == IDC_DATA_INFO_SKY_MAP)
        PostMessageA(page, kMessageSkyMapRequest, 0, 0);
}

INT_PTR OnSkyMapRequest(HWND, UINT message, WPARAM, LPARAM)
{
    if (message != kMessageSkyMapRequest)
        return FALSE;
    HandPointsToSkyMap(DataInfoSkyPoints());
    return TRUE;
}

constexpr PageHandlers kHandlers{OnInitDialog, OnSize,    MeasureListRow, DrawPlainListItem, OnNotify, OnSkyMapButton,
                                 nullptr,      OnDestroy, nullptr,        OnSkyMapRequest,   &thePage};

} // namespace

HWND CreateDataInfoPage(HWND parent)
{
    return CreatePage(parent, IDD_DATA_INFO, PageProc<kHandlers>);
}

void RefreshDataInfo()
{
    const HWND list = thePage ? List(thePage) : nullptr;
    if (!list)
        return;
    const int selected = BeginListRefill(list);
    {
        SettingsStore store;
        if (store.Open()) {
            const std::unique_ptr<AnalysisFiles> files = OpenClientFiles();
            StatusLine status;
            EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                               [&](const Location& location) {
                                   if (!IsSwitchOn(location.datainfo))
                                       return;
                                   auto row = std::make_unique<ListRow>(kDataInfoCellCount);
                                   FillDataInfoRow(DescribeWorkUnit(location, *files, status), *row);
                                   InsertOwnedRow(list, 0, std::move(row));
                               });
        }
    }
    FinishListRefill(list, selected);
}

SkyPointSet DataInfoSkyPoints()
{
    SkyPointSet points;
    const HWND list = thePage ? List(thePage) : nullptr;
    if (!list)
        return points;
    const int count = ListView_GetItemCount(list);
    points.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (const ListRow* row = ListRowAt(list, i))
            points.push_back(SkyPointOfDataInfoRow(*row));
    return points;
}
