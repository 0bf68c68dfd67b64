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
    app.refreshPosition = position;
    const unsigned period = RefreshPeriodMilliseconds(position);
    // Without a main window a timer would go to the thread with an identifier of the system's
    // choosing, which nothing could kill by name.
    if (period != 0 && app.mainWindow != nullptr)
        app.refreshTimer = SetTimer(app.mainWindow, kRefreshTimerId, period, nullptr);
    SetDlgItemTextA(page, IDC_OPTIONS_RATE_GROUP, RefreshCaption(position).c_str());
}

// The page's check boxes and the stored numbers they show and write: checked is stored as 1,
// clear as 0. A missing number is the default; a stored number other than 0 and 1 shows checked
// when onUnlessZero is set (alerts are on until the user turns them off), else clear.
struct CheckBoxSetting {
    int id;
    const char* valueName;
    DWORD defaultValue;
    bool onUnlessZero;
};

constexpr CheckBoxSetting kCheckBoxes[] = {
    {IDC_OPTIONS_MINIMIZE_TO_TRAY, kValueMinimizeToTaskbar, 0, false},
    {IDC_OPTIONS_GRAND_TOTAL, kValueShowGrandTotal, 0, false},
    {IDC_OPTIONS_ALERT, kValueAlertOnStatusChange, 1, true},
};

void CheckFromSettings(HWND page)
{
    SettingsStore store;
    const bool open = store.Open();
    for (const CheckBoxSetting& box : kCheckBoxes) {
        DWORD value = box.defaultValue;
        if (open)
            store.ReadNumber(box.valueName, value);
        const bool checked = box.onUnlessZero ? value != 0 : value == 1;
        CheckDlgButton(page, box.id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
}

// Stores a check box's new state; false for a control that is not one of them.
bool WriteCheckState(HWND page, int id)
{
    for (const CheckBoxSetting& box : kCheckBoxes) {
        if (box.id != id)
            continue;
        const DWORD checked = IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
        SettingsStore store;
        if (store.Open())
            store.WriteNumber(box.valueName, checked);
        return true;
    }
    return false;
}

BOOL OnInitDialog(HWND page, LPARAM)
{
    const HWND trackbar = Trackbar(page);
    SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(1, kRefreshPositionNever));
    SendMessageA(trackbar, TBM_SETTICFREQ, 5, 0);
    SendDlgItemMessageA(page, IDC_OPTIONS_COMMAND, EM_LIMITTEXT, kCommandMaxLength, 0);

    int rate = kDefaultRefreshRate;
    CheckFromSettings(page);
    SettingsStore store;
    if (store.Open()) {
        std::string command;
        store.ReadString(kValueRunBeforeRefresh, command, kCommandTextCapacity);
        SetDlgItemTextA(page, IDC_OPTIONS_COMMAND, command.c_str());
        store.ReadNumber(kValueRefreshRate, rate);
    }
    SendMessageA(trackbar, TBM_SETPOS, TRUE, rate);
    ApplyRate(page);
    WindowState<OptionsState>(page).ready = true;
    return TRUE;
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
    if (WriteCheckState(page, id))
        return;
    switch (id) {
    case IDC_OPTIONS_LOCATIONS:
        OnSetiLocations(page);
        break;
    case IDC_OPTIONS_ABOUT:
        OnAbout(page);
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
    // Without its trackbar the program runs at the default period again.
    App().refreshPosition = kDefaultRefreshRate;
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
