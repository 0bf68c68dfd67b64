// The location dialog: enters or changes one row of the SETI Locations list, with the folder browser and colour picker.
#include "dialogs/location_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <array>
#include <string>

#include "core/common/program_texts.h"
#include "core/analysis/analysis.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "kit/page_frame.h"
#include "core/settings/location_edit.h"
#include "dialogs/locations_list.h"
#include "kit/app_state.h"

namespace
{

constexpr char kAddingTitle[] = "Adding a SETI location";
constexpr char kEditingTitle[] = "Editing a SETI location";
constexpr char kBrowseTitle[] = "Find the location of SETI...";
// The owner list's colour text is read with this much room when a row is edited.
constexpr int kEditColourCapacity = 500;

struct LocationDialogState {
    HWND list = nullptr;
    LocationDialogMode mode = LocationDialogMode::Adding;
    int row = -1; // the edited row
    COLORREF colour = kDefaultCircleColour;
    UniqueGdiObject brush;
};

// The colour picker's custom colours: all black at start, kept for the program's run so that
// colours mixed once can be picked again in a later opening.
std::array<COLORREF, 16>& CustomColours()
{
    static std::array<COLORREF, 16> colours{};
    return colours;
}

LocationDialogState* StateOf(HWND dialog)
{
    return reinterpret_cast<LocationDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string FieldText(HWND dialog, int id)
{
    char text[kLocationFieldMaxLength + 1] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void SetBrush(LocationDialogState& state, COLORREF colour)
{
    state.colour = colour;
    state.brush.reset(CreateSolidBrush(colour));
}

void UpdateOkButton(HWND dialog)
{
    const bool ready = GetWindowTextLengthA(GetDlgItem(dialog, IDC_LOCATION_SHORT_NAME)) > 0 &&
                       GetWindowTextLengthA(GetDlgItem(dialog, IDC_LOCATION_PATH)) > 0;
    EnableWindow(GetDlgItem(dialog, IDOK), ready);
}

void ShowEntry(HWND dialog, const LocationEntry& entry)
{
    SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, entry.shortName.c_str());
    SetDlgItemTextA(dialog, IDC_LOCATION_PATH, entry.path.c_str());
    CheckDlgButton(dialog, IDC_LOCATION_ANALYSIS, entry.analysis ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_LOCATION_DATA_INFO, entry.datainfo ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_LOCATION_USER_INFO, entry.userinfo ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_LOCATION_COMPLETED, entry.completed ? BST_CHECKED : BST_UNCHECKED);
}

LocationEntry EnteredEntry(HWND dialog, COLORREF colour)
{
    LocationEntry entry;
    entry.shortName = FieldText(dialog, IDC_LOCATION_SHORT_NAME);
    entry.path = FieldText(dialog, IDC_LOCATION_PATH);
    entry.colour = static_cast<int32_t>(colour);
    entry.analysis = IsDlgButtonChecked(dialog, IDC_LOCATION_ANALYSIS) == BST_CHECKED;
    entry.datainfo = IsDlgButtonChecked(dialog, IDC_LOCATION_DATA_INFO) == BST_CHECKED;
    entry.userinfo = IsDlgButtonChecked(dialog, IDC_LOCATION_USER_INFO) == BST_CHECKED;
    entry.completed = IsDlgButtonChecked(dialog, IDC_LOCATION_COMPLETED) == BST_CHECKED;
    return entry;
}

BOOL OnInitDialog(HWND dialog, LPARAM param)
{
    auto* state = reinterpret_cast<LocationDialogState*>(param);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    // What is typed is what is stored: the fields are read back with this limit.
    SendDlgItemMessageA(dialog, IDC_LOCATION_SHORT_NAME, EM_LIMITTEXT, kLocationFieldMaxLength, 0);
    SendDlgItemMessageA(dialog, IDC_LOCATION_PATH, EM_LIMITTEXT, kLocationFieldMaxLength, 0);

    LocationEntry entry = NewLocationEntry();
    if (state->mode == LocationDialogMode::Editing) {
        SetWindowTextA(dialog, kEditingTitle);
        state->row = ListView_GetNextItem(state->list, -1, LVNI_SELECTED);
        if (state->row >= 0)
            entry = EntryFromCells(LocationRowCells(state->list, state->row),
                                   LocationColourText(state->list, state->row, kEditColourCapacity));
    } else {
        SetWindowTextA(dialog, kAddingTitle);
    }
    ShowEntry(dialog, entry);
    SetBrush(*state, static_cast<COLORREF>(entry.colour));
    UpdateOkButton(dialog);
    return TRUE;
}

INT_PTR OnCtlColorStatic(HWND dialog, HWND control)
{
    const LocationDialogState* state = StateOf(dialog);
    if (!state || control != GetDlgItem(dialog, IDC_LOCATION_COLOR_SWATCH) || !state->brush)
        return FALSE;
    return reinterpret_cast<INT_PTR>(state->brush.get());
}

void OnBrowse(HWND dialog)
{
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = dialog;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = kBrowseTitle;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item)
        return;
    char path[MAX_PATH] = {};
    // The field's change notification decides about OK, as typing does.
    if (SHGetPathFromIDListA(item, path))
        SetDlgItemTextA(dialog, IDC_LOCATION_PATH, path);
    // The shell allocated the item list; its own allocator frees it (no ole32 needed for that).
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(item);
        allocator->Release();
    }
}

void OnChooseColour(HWND dialog)
{
    LocationDialogState* state = StateOf(dialog);
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = dialog;
    choose.rgbResult = state->colour;
    choose.lpCustColors = CustomColours().data();
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choose))
        return;
    SetBrush(*state, choose.rgbResult);
    InvalidateRect(GetDlgItem(dialog, IDC_LOCATION_COLOR_SWATCH), nullptr, TRUE);
}

void OnOk(HWND dialog)
{
    LocationDialogState* state = StateOf(dialog);
    const LocationEntry entry = EnteredEntry(dialog, state->colour);
    if (const char* problem = ShortNameProblem(entry.shortName)) {
        MessageBoxA(dialog, problem, kProgramTitle, MB_OK);
        return;
    }
    if (state->mode == LocationDialogMode::Adding)
        InsertLocationRow(state->list, LocationCells(entry), entry.colour);
    else if (state->row >= 0)
        ReplaceLocationRow(state->list, state->row, LocationCells(entry), entry.colour);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
}

void OnCommand(HWND dialog, int id, int notification, HWND)
{
    switch (id) {
    case IDC_LOCATION_SHORT_NAME:
    case IDC_LOCATION_PATH:
        if (notification == EN_CHANGE)
            UpdateOkButton(dialog);
        break;
    case IDC_LOCATION_BROWSE:
        OnBrowse(dialog);
        break;
    case IDC_LOCATION_CHOOSE_COLOR:
        OnChooseColour(dialog);
        break;
    case IDOK:
        OnOk(dialog);
        break;
    case IDCANCEL:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    }
}

void OnClose(HWND dialog)
{
    if (LocationDialogState* state = StateOf(dialog))
        state->brush.reset();
    EndDialog(dialog, 1);
}

// The colour swatch's background, and the close box, which cancels.
INT_PTR OnOtherMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(dialog, reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        OnClose(dialog);
        return TRUE;
    }
    return FALSE;
}

constexpr PageHandlers kHandlers{OnInitDialog, nullptr, nullptr, nullptr, nullptr,
                                 OnCommand,    nullptr, nullptr, nullptr, OnOtherMessage};

} // namespace

INT_PTR ShowLocationDialog(HWND owner, LocationDialogMode mode)
{
    LocationDialogState state;
    state.list = GetDlgItem(owner, IDC_LOCATIONS_LIST);
    state.mode = mode;
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_LOCATION), owner, PageProc<kHandlers>,
                           reinterpret_cast<LPARAM>(&state));
}
