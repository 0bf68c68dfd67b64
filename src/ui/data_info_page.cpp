// The Data Info tab page: one row per location describing its current work unit, and the Sky Map button.
#include "ui/data_info_page.h"

#include <iterator>
#include <memory>
#include <utility>

#include "client/client_file.h"
#include "client/work_unit_info.h"
#include "resources/resource.h"
#include "settings/settings_store.h"
#include "skymap/sky_map.h"
#include "ui/app_state.h"
#include "ui/header_tips.h"
#include "ui/list_view.h"

namespace {

// The page reuses the main window's private hide number for its own sky map request.
constexpr UINT kMessageSkyMapRequest = kMessageHide;

struct ColumnSpec {
    const char* title;
    int alignment;
};

// Cells 6 to 8 have no column: they only carry the sky map's numbers.
constexpr ColumnSpec kColumns[] = {
    {"Location", kAlignLeft},      {"From", kAlignLeft},          {"Recorded On", kAlignRight},
    {"Source", kAlignRight},       {"Base Frequency", kAlignRight}, {"Angle Range", kAlignRight},
};

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_DATA_INFO_LIST);
}

const ListRow* RowAt(HWND list, int index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(list, &item) ? reinterpret_cast<const ListRow*>(item.lParam) : nullptr;
}

// The list owns the row from here on; it is freed on LVN_DELETEITEM.
void InsertAtTop(HWND list, std::unique_ptr<ListRow> row)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = 0;
    item.lParam = reinterpret_cast<LPARAM>(row.get());
    if (ListView_InsertItem(list, &item) >= 0)
        row.release();
}

// The Sky Map takes the set over: it replaces the shown one, or opens the window with it.
void HandPointsToSkyMap(SkyPointSet points)
{
    ShowSkyMap(std::move(points));
}

BOOL OnInitDialog(HWND page)
{
    const HWND list = List(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        MakeColumn(list, i, kColumns[i].title, kColumns[i].alignment);
    InstallHeaderPainter(list);
    InstallHeaderTips(list, kDataInfoTips);
    return TRUE;
}

void OnSize(HWND page)
{
    RECT area{};
    GetClientRect(page, &area);
    if (App().tabControl)
        TabCtrl_AdjustRect(App().tabControl, FALSE, &area);
    const HWND button = GetDlgItem(page, IDC_DATA_INFO_SKY_MAP);
    RECT buttonRect{};
    GetWindowRect(button, &buttonRect);
    const int buttonHeight = buttonRect.bottom - buttonRect.top;
    MoveWindow(List(page), 0, 0, area.right, area.bottom - buttonHeight, TRUE);
    SetWindowPos(button, nullptr, 0, area.bottom - buttonHeight + 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    InvalidateRect(button, nullptr, TRUE);
}

BOOL OnDrawItem(const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    if (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))
        PaintPlainRow(*draw);
    return TRUE;
}

BOOL OnNotify(HWND page, const NMHDR* header)
{
    if (header->idFrom != IDC_DATA_INFO_LIST)
        return FALSE;
    const auto* notify = reinterpret_cast<const NMLISTVIEW*>(header);
    switch (header->code) {
    case LVN_COLUMNCLICK:
        SortOnColumnClick(List(page), notify->iSubItem);
        return TRUE;
    case LVN_DELETEITEM:
        delete reinterpret_cast<ListRow*>(notify->lParam);
        return TRUE;
    }
    return FALSE;
}

void OnDestroy(HWND page)
{
    CloseList(List(page), kValueDataInfoColumnWidths);
}

INT_PTR CALLBACK DataInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page);
        case WM_SIZE:
            OnSize(page);
            return TRUE;
        case WM_MEASUREITEM:
            return MeasureListRow(page, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        case WM_DRAWITEM:
            return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_NOTIFY:
            return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_DATA_INFO_SKY_MAP)
                return FALSE;
            PostMessageA(page, kMessageSkyMapRequest, 0, 0);
            return TRUE;
        case kMessageSkyMapRequest:
            HandPointsToSkyMap(DataInfoSkyPoints());
            return TRUE;
        case WM_DESTROY:
            OnDestroy(page);
            return TRUE;
        }
    } catch (...) {
        // Nothing may unwind into the system's dialog code (a failed allocation ends the handler).
        return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreateDataInfoPage(HWND parent)
{
    return CreateDialogParamA(App().instance ? App().instance : GetModuleHandleA(nullptr),
                              MAKEINTRESOURCEA(IDD_DATA_INFO), parent, DataInfoPageProc, 0);
}

void RefreshDataInfo()
{
    const HWND list = PageList(kTabDataInfo);
    if (!list)
        return;
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    SetStatusText("");
    ListView_DeleteAllItems(list);
    {
        SettingsStore store;
        if (store.Open()) {
            DiskClientFiles files;
            StatusLine status;
            EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                               [&](const Location& location) {
                                   if (!IsSwitchOn(location.datainfo))
                                       return;
                                   auto row = std::make_unique<ListRow>(kDataInfoCellCount);
                                   FillDataInfoRow(DescribeWorkUnit(location, files, status), *row);
                                   InsertAtTop(list, std::move(row));
                               });
        }
    }
    SizePendingColumns(list);
    PlaceHeaderTips(list);
    RequestResort(list);
    if (selected >= 0 && selected < ListView_GetItemCount(list))
        ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

SkyPointSet DataInfoSkyPoints()
{
    SkyPointSet points;
    const HWND list = PageList(kTabDataInfo);
    if (!list)
        return points;
    const int count = ListView_GetItemCount(list);
    points.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (const ListRow* row = RowAt(list, i))
            points.push_back(SkyPointOfDataInfoRow(*row));
    return points;
}
