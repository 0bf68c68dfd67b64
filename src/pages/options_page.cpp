// The Options tab page: refresh rate and its timer, tray and grand total switches, the pre-refresh command.
#include "pages/options_page.h"

#include <commctrl.h>

#include <string>

#include "pages/completed_page.h"
#include "resources/resource.h"
#include "dialogs/locations_dialog.h"
#include "platform/settings_store.h"
#include "dialogs/about_dialog.h"
#include "pages/analysis_refresh.h"
#include "kit/app_state.h"
#include "kit/notification.h"
#include "kit/page_frame.h"
#include "core/settings/refresh_caption.h"

namespace
{

// The edit holds at most what is stored from it, so the command shown is the command run.
constexpr int kCommandMaxLength = 259;

// The edit's change notifications during set-up are not the user's typing and must not be
// written back: the page is ready once its controls show what is stored.
struct OptionsState {
    bool ready = false;
};

bool IsReady(HWND page)
{
    return WindowState<OptionsState>(page).ready;
}

HWND Trackbar(HWND page)
{
    return GetDlgItem(page, IDC_OPTIONS_REFRESH_RATE);
}

int TrackbarPosition(HWND page)
{
    return static_cast<int>(SendMessageA(Trackbar(page), TBM_GETPOS, 0, 0));
}

// Restarts the refresh timer on the main window at the trackbar's period and names the period
// in the group box.
void ApplyRate(HWND page)
{
    AppState& app = App();
    if (app.refreshTimer != 0) {
        KillTimer(app.mainWindow, app.refreshTimer);
        app.refreshTimer = 0;
    }
    const int position = TrackbarPosition(page);
    const unsigned period = RefreshPeriodMilliseconds(position);
    // Without a main window a timer would go to the thread with an identifier of the system's
    // choosing, which nothing could kill by name.
    if (period != 0 && app.mainWindow != nullptr)
        app.refreshTimer = SetTimer(app.mainWindow, kRefreshTimerId, period, nullptr);
    SetDlgItemTextA(page, IDC_OPTIONS_RATE_GROUP, RefreshCaption(position).c_str());
}

void CheckFromSetting(HWND page, int id, const SettingsStore& store, const char* valueName)
{
    DWORD value = 0;
    store.ReadNumber(valueName, value);
    CheckDlgButton(page, id, value == 1 ? BST_CHECKED : BST_UNCHECKED);
}

BOOL OnInitDialog(HWND page, LPARAM)
{
    const HWND trackbar = Trackbar(page);
    SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(1, kRefreshPositionNever));
    SendMessageA(trackbar, TBM_SETTICFREQ, 5, 0);
    SendDlgItemMessageA(page, IDC_OPTIONS_COMMAND, EM_LIMITTEXT, kCommandMaxLength, 0);

    int rate = kDefaultRefreshRate;
    SettingsStore store;
    if (store.Open()) {
        CheckFromSetting(page, IDC_OPTIONS_MINIMIZE_TO_TRAY, store, kValueMinimizeToTaskbar);
        CheckFromSetting(page, IDC_OPTIONS_GRAND_TOTAL, store, kValueShowGrandTotal);
        std::string command;
        store.ReadString(kValueRunBeforeRefresh, command, kCommandTextCapacity);
        SetDlgItemTextA(page, IDC_OPTIONS_COMMAND, command.c_str());
        store.ReadNumber(kValueRefreshRate, rate);
    }
    // Alerts are on until the user turns them off.
    CheckDlgButton(page, IDC_OPTIONS_ALERT, AlertsWanted() ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, rate);
    ApplyRate(page);
    WindowState<OptionsState>(page).ready = true;
    return TRUE;
}

void WriteCheckState(HWND page, int id, const char* valueName)
{
    const DWORD checked = IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
    SettingsStore store;
    if (store.Open())
        store.WriteNumber(valueName, checked);
}

void OnCommandChanged(HWND page)
{
    if (!IsReady(page))
        return;
    char text[kCommandMaxLength + 1] = {};
    GetDlgItemTextA(page, IDC_OPTIONS_COMMAND, text, sizeof text);
    SettingsStore store;
    if (store.Open())
        store.WriteString(kValueRunBeforeRefresh, text);
}

void OnAbout(HWND page)
{
    ShowAboutDialog(page);
}

void OnSetiLocations(HWND page)
{
    EditLocations(page);
}

void OnCommand(HWND page, int id, int notification, HWND)
{
    switch (id) {
    case IDC_OPTIONS_LOCATIONS:
        OnSetiLocations(page);
        break;
    case IDC_OPTIONS_ABOUT:
        OnAbout(page);
        break;
    case IDC_OPTIONS_MINIMIZE_TO_TRAY:
        WriteCheckState(page, id, kValueMinimizeToTaskbar);
        break;
    case IDC_OPTIONS_GRAND_TOTAL:
        WriteCheckState(page, id, kValueShowGrandTotal);
        break;
    case IDC_OPTIONS_ALERT:
        WriteCheckState(page, id, kValueAlertOnStatusChange);
        break;
    case IDC_OPTIONS_COMMAND:
        if (notification == EN_CHANGE)
            OnCommandChanged(page);
        break;
    }
}

void OnHScroll(HWND page, HWND control)
{
    if (control == Trackbar(page))
        ApplyRate(page);
}

void OnDestroy(HWND page)
{
    SettingsStore store;
    if (store.Open())
        store.WriteNumber(kValueRefreshRate, static_cast<DWORD>(TrackbarPosition(page)));
}

constexpr PageHandlers kHandlers{
    OnInitDialog, nullptr, nullptr, nullptr, nullptr, OnCommand, OnHScroll, OnDestroy, FreeWindowState<OptionsState>};

} // namespace

HWND CreateOptionsPage(HWND parent)
{
    return CreatePage(parent, IDD_OPTIONS, PageProc<kHandlers>);
}

void EditLocations(HWND owner)
{
    if (!ShowLocationsDialog(owner))
        return;
    // Rows and tree items are made only from the location list: both are built anew.
    RefreshAnalysis(true);
    FillCompletedTree();
}
