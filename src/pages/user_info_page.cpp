// The User Info tab page: each location's user statistics, the grand total and the two buttons.
#include "pages/user_info_page.h"

#include <ctime>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "dialogs/future_calendar.h"
#include "platform/client_file.h"
#include "core/analysis/user_stats.h"
#include "core/pages/page_layout.h"
#include "pages/info_read.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"
#include "kit/header_tips.h"
#include "kit/list_view.h"
#include "kit/page_frame.h"
#include "dialogs/override_dialog.h"

namespace
{

constexpr ColumnSpec kColumns[kUserInfoCellCount] = {
    {"Location", kAlignLeft},          {"Name", kAlignLeft},
    {"WU Completed", kAlignRight},     {"Total CPU Time", kAlignRight},
    {"Average CPU Time", kAlignRight}, {"Work Units Per Day", kAlignRight},
    {"Register Time", kAlignRight},
};

constexpr ListTraits kTraits{.tips = kUserInfoTips, .widthsValue = kValueUserInfoColumnWidths};

HWND thePage = nullptr;
void AfterRefill(HWND page);

// What a location's read found: its user statistics.
struct UserInfoPiece final : InfoPiece {
    UserStats stats;
};

// The rows of one refresh in list order: each location's row goes on top of the previous ones,
// and the grand total, when it is shown, on top of them all.
std::vector<std::unique_ptr<ListRow>> ComposeRows(const std::vector<const InfoPiece*>& pieces)
{
    std::vector<UserStats> listOrder;
    double sumOfRates = 0;
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        if (const auto* user = dynamic_cast<const UserInfoPiece*>(*piece)) {
            if (user->stats.rate)
                sumOfRates += *user->stats.rate;
            listOrder.push_back(user->stats);
        }
    }
    SettingsStore store;
    DWORD showGrandTotal = 0;
    if (store.Open() && store.ReadNumber(kValueShowGrandTotal, showGrandTotal) && showGrandTotal == 1) {
        UserStats total = GrandTotal(listOrder, sumOfRates);
        listOrder.insert(listOrder.begin(), std::move(total));
    }
    std::vector<std::unique_ptr<ListRow>> rows;
    for (const UserStats& stats : listOrder) {
        auto row = std::make_unique<ListRow>(kUserInfoCellCount);
        FillUserInfoRow(stats, *row);
        rows.push_back(std::move(row));
    }
    return rows;
}

InfoRead theRead(IDC_USER_INFO_LIST, ComposeRows, AfterRefill, RefreshUserInfo);

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_USER_INFO_LIST);
}

// The read of a location's user statistics beside the window, its rate reckoned up to now.
InfoLocation ReadOf(const Location& location, int64_t now)
{
    return {location.path + '\n' + location.shortName, location.shortName, [location, now] {
                auto piece = std::make_unique<UserInfoPiece>();
                SettingsStore store;
                store.Open();
                const OverrideReader readOverride =
                    [&store](const std::string& valueName) -> std::optional<std::string> {
                    std::string text;
                    if (!store.ReadString(valueName.c_str(), text))
                        return std::nullopt;
                    return text;
                };
                const std::unique_ptr<AnalysisFiles> files = OpenClientFiles();
                piece->stats = ComputeUserStats(location, *files, readOverride, now, piece->status);
                return std::unique_ptr<InfoPiece>(std::move(piece));
            }};
}

void UpdateButtons(HWND page)
{
    const UserInfoButtons buttons = ButtonsForSelection(SelectedListRow(List(page)));
    EnableWindow(GetDlgItem(page, IDC_USER_INFO_FUTURE), buttons.future);
    EnableWindow(GetDlgItem(page, IDC_USER_INFO_OVERRIDE), buttons.override);
}

void OnFutureCalendarRequest(HWND page)
{
    const ListRow* row = SelectedListRow(List(page));
    if (!row)
        return;
    const FutureStart start = FutureStartOfRow(*row);
    OpenFutureCalendar(static_cast<int32_t>(start.completed), start.rate);
}

void OnOverride(HWND page)
{
    const ListRow* row = SelectedListRow(List(page));
    if (!row || row->Text(kUserName).empty())
        return;
    const std::string name(row->Text(kUserName)); // the refresh frees the row
    if (ShowOverrideDialog(page, name) == 1)
        RefreshUserInfo();
}

BOOL OnInitDialog(HWND page, LPARAM)
{
    SetUpReportList(page, IDC_USER_INFO_LIST, LVS_EX_GRIDLINES, kColumns, kTraits);
    return TRUE;
}

void OnSize(HWND page)
{
    ApplyLayout(
        page,
        LayoutUserInfoPage(PageSize(page), SizeOf(page, IDC_USER_INFO_FUTURE), SizeOf(page, IDC_USER_INFO_OVERRIDE)),
        IDC_USER_INFO_LIST, {IDC_USER_INFO_FUTURE, IDC_USER_INFO_OVERRIDE});
}

BOOL OnUserInfoNotify(HWND page, const NMHDR* header)
{
    if (header->idFrom == IDC_USER_INFO_LIST && header->code == LVN_ITEMCHANGED) {
        UpdateButtons(page);
        return TRUE;
    }
    return OnPlainListNotify(IDC_USER_INFO_LIST, header);
}

void OnUserInfoButton(HWND page, int id, int, HWND)
{
    if (id == IDC_USER_INFO_FUTURE)
        PostMessageA(page, kMessageFutureCalendar, 0, 0);
    else if (id == IDC_USER_INFO_OVERRIDE)
        OnOverride(page);
}

void OnDestroy(HWND page)
{
    ForgetInfoRead(page, theRead);
    CloseList(List(page));
}

// The buttons follow the selection the refill kept.
void AfterRefill(HWND page)
{
    UpdateButtons(page);
    // After a refresh any selected row may be projected, a blanked duplicate's too, until the
    // selection changes.
    EnableWindow(GetDlgItem(page, IDC_USER_INFO_FUTURE), SelectedListRow(List(page)) != nullptr);
}

INT_PTR OnPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnInfoReadMessage(page, theRead, message, wParam, lParam))
        return TRUE;
    if (message != kMessageFutureCalendar)
        return FALSE;
    OnFutureCalendarRequest(page);
    return TRUE;
}

constexpr PageHandlers kHandlers{OnInitDialog,     OnSize,           MeasureListRow, DrawPlainListItem,
                                 OnUserInfoNotify, OnUserInfoButton, nullptr,        OnDestroy,
                                 nullptr,          OnPageMessage,    &thePage};

} // namespace

HWND CreateUserInfoPage(HWND parent)
{
    return CreatePage(parent, IDD_USER_INFO, PageProc<kHandlers>);
}

void RefreshUserInfo()
{
    if (!thePage)
        return;
    // The locations are taken from the settings here; their files are read beside the window.
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    std::vector<InfoLocation> locations;
    {
        SettingsStore store;
        if (store.Open())
            EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                               [&](const Location& location) {
                                   if (IsSwitchOn(location.userinfo))
                                       locations.push_back(ReadOf(location, now));
                               });
    }
    StartInfoRead(thePage, theRead, std::move(locations));
}

bool UserInfoReading()
{
    return InfoReadOut(theRead);
}
