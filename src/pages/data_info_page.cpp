// The Data Info tab page: one row per location describing its current work unit, and the Sky Map button.
#include "pages/data_info_page.h"

#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "platform/client_file.h"
#include "core/analysis/work_unit_info.h"
#include "core/pages/page_layout.h"
#include "pages/info_read.h"
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

// What a location's read found: the description of its work unit.
struct DataInfoPiece final : InfoPiece {
    WorkUnitInfo info;
};

// Each location's row goes on top of the previous ones.
std::vector<std::unique_ptr<ListRow>> ComposeRows(const std::vector<const InfoPiece*>& pieces)
{
    std::vector<std::unique_ptr<ListRow>> rows;
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        if (const auto* described = dynamic_cast<const DataInfoPiece*>(*piece)) {
            auto row = std::make_unique<ListRow>(kDataInfoCellCount);
            FillDataInfoRow(described->info, *row);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

InfoRead theRead(IDC_DATA_INFO_LIST, ComposeRows, nullptr, RefreshDataInfo);

// The read of a location's work unit description, beside the window.
InfoLocation ReadOf(const Location& location)
{
    return {location.path + '\n' + location.shortName, location.shortName, [location] {
                auto piece = std::make_unique<DataInfoPiece>();
                const std::unique_ptr<AnalysisFiles> files = OpenClientFiles();
                piece->info = DescribeWorkUnit(location, *files, piece->status);
                return std::unique_ptr<InfoPiece>(std::move(piece));
            }};
}

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
    ForgetInfoRead(page, theRead);
    CloseList(List(page));
}

void OnSkyMapButton(HWND page, int id, int, HWND)
{
    if (id == IDC_DATA_INFO_SKY_MAP)
        PostMessageA(page, kMessageSkyMapRequest, 0, 0);
}

INT_PTR OnPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnInfoReadMessage(page, theRead, message, wParam, lParam))
        return TRUE;
    if (message != kMessageSkyMapRequest)
        return FALSE;
    HandPointsToSkyMap(DataInfoSkyPoints());
    return TRUE;
}

constexpr PageHandlers kHandlers{OnInitDialog, OnSize,    MeasureListRow, DrawPlainListItem, OnNotify, OnSkyMapButton,
                                 nullptr,      OnDestroy, nullptr,        OnPageMessage,     &thePage};

} // namespace

HWND CreateDataInfoPage(HWND parent)
{
    return CreatePage(parent, IDD_DATA_INFO, PageProc<kHandlers>);
}

void RefreshDataInfo()
{
    if (!thePage)
        return;
    // The locations are taken from the settings here; their files are read beside the window.
    std::vector<InfoLocation> locations;
    {
        SettingsStore store;
        if (store.Open())
            EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                               [&](const Location& location) {
                                   if (IsSwitchOn(location.datainfo))
                                       locations.push_back(ReadOf(location));
                               });
    }
    StartInfoRead(thePage, theRead, std::move(locations));
}

bool DataInfoReading()
{
    return InfoReadOut(theRead);
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
