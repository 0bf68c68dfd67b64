// The User Info tab page: each location's user statistics, the grand total and the two buttons.
#include "ui/user_info_page.h"

#include <ctime>
#include <iterator>
#include <memory>
#include <vector>

#include "calendar/future_calendar.h"
#include "client/client_file.h"
#include "client/user_stats.h"
#include "resources/resource.h"
#include "settings/settings_store.h"
#include "ui/app_state.h"
#include "ui/header_tips.h"
#include "ui/list_view.h"
#include "ui/override_dialog.h"

namespace {

struct ColumnSpec {
    const char* title;
    int alignment;
};

constexpr ColumnSpec kColumns[kUserInfoCellCount] = {
    {"Location", kAlignLeft},           {"Name", kAlignLeft},
    {"WU Completed", kAlignRight},      {"Total CPU Time", kAlignRight},
    {"Average CPU Time", kAlignRight},  {"Work Units Per Day", kAlignRight},
    {"Register Time", kAlignRight},
};

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_USER_INFO_LIST);
}

const ListRow* SelectedRow(HWND list)
{
    const int index = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (index < 0)
        return nullptr;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(list, &item) ? reinterpret_cast<const ListRow*>(item.lParam) : nullptr;
}

// Appends in list order; the list owns the row from here on and frees it on LVN_DELETEITEM.
void AppendRow(HWND list, const UserStats& stats)
{
    auto row = std::make_unique<ListRow>(kUserInfoCellCount);
    FillUserInfoRow(stats, *row);
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.lParam = reinterpret_cast<LPARAM>(row.get());
    if (ListView_InsertItem(list, &item) >= 0)
        row.release();
}

// The rows of one refresh in list order: each location's row goes on top of the previous ones,
// and the grand total, when it is shown, on top of them all.
std::vector<UserStats> CollectRows(const SettingsStore& store)
{
    std::vector<UserStats> listOrder;
    double sumOfRates = 0;
    DiskClientFiles files;
    StatusLine status;
    const OverrideReader readOverride = [&store](const std::string& valueName) -> std::optional<std::string> {
        std::string text;
        if (!store.ReadString(valueName.c_str(), text))
            return std::nullopt;
        return text;
    };
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                       [&](const Location& location) {
                           if (!IsSwitchOn(location.userinfo))
                               return;
                           UserStats stats = ComputeUserStats(location, files, readOverride, now, status);
                           if (stats.rate)
                               sumOfRates += *stats.rate;
                           listOrder.insert(listOrder.begin(), std::move(stats));
                       });
    DWORD showGrandTotal = 0;
    if (store.ReadNumber(kValueShowGrandTotal, showGrandTotal) && showGrandTotal == 1) {
        UserStats total = GrandTotal(listOrder, sumOfRates);
        listOrder.insert(listOrder.begin(), std::move(total));
    }
    return listOrder;
}

void UpdateButtons(HWND page)
{
    const UserInfoButtons buttons = ButtonsForSelection(SelectedRow(List(page)));
    EnableWindow(GetDlgItem(page, IDC_USER_INFO_FUTURE), buttons.future);
    EnableWindow(GetDlgItem(page, IDC_USER_INFO_OVERRIDE), buttons.override);
}

void OnFutureCalendarRequest(HWND page)
{
    const ListRow* row = SelectedRow(List(page));
    if (!row)
        return;
    const FutureStart start = FutureStartOfRow(*row);
    OpenFutureCalendar(static_cast<int32_t>(start.completed), start.rate);
}

void OnOverride(HWND page)
{
    const ListRow* row = SelectedRow(List(page));
    if (!row || row->Text(kUserName).empty())
        return;
    const std::string name(row->Text(kUserName));  // the refresh frees the row
    if (ShowOverrideDialog(page, name) == 1)
        RefreshUserInfo();
}

BOOL OnInitDialog(HWND page)
{
    const HWND list = List(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < kUserInfoCellCount; ++i)
        MakeColumn(list, i, kColumns[i].title, kColumns[i].alignment);
    InstallHeaderPainter(list);
    InstallHeaderTips(list, kUserInfoTips);
    return TRUE;
}

void OnSize(HWND page)
{
    RECT area{};
    GetClientRect(page, &area);
    if (App().tabControl)
        TabCtrl_AdjustRect(App().tabControl, FALSE, &area);
    const HWND future = GetDlgItem(page, IDC_USER_INFO_FUTURE);
    const HWND overrideButton = GetDlgItem(page, IDC_USER_INFO_OVERRIDE);
    RECT futureRect{};
    GetWindowRect(future, &futureRect);
    RECT overrideRect{};
    GetWindowRect(overrideButton, &overrideRect);
    const int futureWidth = futureRect.right - futureRect.left;
    const int futureHeight = futureRect.bottom - futureRect.top;
    const int overrideHeight = overrideRect.bottom - overrideRect.top;
    MoveWindow(List(page), 0, 0, area.right, area.bottom - futureHeight, TRUE);
    SetWindowPos(future, nullptr, 0, area.bottom - futureHeight + 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(overrideButton, nullptr, futureWidth + 10, area.bottom - overrideHeight + 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
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
    if (header->idFrom != IDC_USER_INFO_LIST)
        return FALSE;
    const auto* notify = reinterpret_cast<const NMLISTVIEW*>(header);
    switch (header->code) {
    case LVN_COLUMNCLICK:
        SortOnColumnClick(List(page), notify->iSubItem);
        return TRUE;
    case LVN_DELETEITEM:
        delete reinterpret_cast<ListRow*>(notify->lParam);
        return TRUE;
    case LVN_ITEMCHANGED:
        UpdateButtons(page);
        return TRUE;
    }
    return FALSE;
}

BOOL OnCommand(HWND page, int id)
{
    switch (id) {
    case IDC_USER_INFO_FUTURE:
        PostMessageA(page, kMessageFutureCalendar, 0, 0);
        return TRUE;
    case IDC_USER_INFO_OVERRIDE:
        OnOverride(page);
        return TRUE;
    }
    return FALSE;
}

void OnDestroy(HWND page)
{
    CloseList(List(page), kValueUserInfoColumnWidths);
}

INT_PTR CALLBACK UserInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
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
            return OnCommand(page, LOWORD(wParam));
        case kMessageFutureCalendar:
            OnFutureCalendarRequest(page);
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

HWND CreateUserInfoPage(HWND parent)
{
    return CreateDialogParamA(App().instance ? App().instance : GetModuleHandleA(nullptr),
                              MAKEINTRESOURCEA(IDD_USER_INFO), parent, UserInfoPageProc, 0);
}

void RefreshUserInfo()
{
    const HWND list = PageList(kTabUserInfo);
    if (!list)
        return;
    const HWND page = GetParent(list);
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    SetStatusText("");
    ListView_DeleteAllItems(list);
    {
        SettingsStore store;
        if (store.Open())
            for (const UserStats& stats : CollectRows(store))
                AppendRow(list, stats);
    }
    SizePendingColumns(list);
    PlaceHeaderTips(list);
    RequestResort(list);
    if (selected >= 0 && selected < ListView_GetItemCount(list))
        ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    UpdateButtons(page);
    // After a refresh any selected row may be projected, a blanked duplicate's too, until the
    // selection changes.
    EnableWindow(GetDlgItem(page, IDC_USER_INFO_FUTURE), SelectedRow(list) != nullptr);
}
