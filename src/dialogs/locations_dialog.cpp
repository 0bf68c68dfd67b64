// The SETI Locations dialog: lists the stored locations, adds, edits and deletes rows, and stores them on OK.
#include "dialogs/locations_dialog.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "core/common/program_texts.h"
#include "core/analysis/analysis.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "dialogs/location_dialog.h"
#include "dialogs/locations_list.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"
#include "kit/header_tips.h"
#include "kit/list_view.h"
#include "kit/page_frame.h"

namespace
{

constexpr char kRegistryFailed[] = "Could not open registry";
constexpr char kDeleteQuestion[] = "OK to delete current location?";

constexpr ColumnSpec kColumns[kLocationColumnCount] = {
    {"Short Name", kAlignLeft},  {"SETI Location", kAlignLeft}, {"SkyMap Circle Color", kAlignRight},
    {"Analysis", kAlignCenter},  {"DataInfo", kAlignCenter},    {"UserInfo", kAlignCenter},
    {"Completed", kAlignCenter},
};

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_LOCATIONS_LIST);
}

std::string LocationValueName(int index)
{
    char name[32];
    wsprintfA(name, kValueLocationFormat, index);
    return name;
}

void ShowRegistryFailure(HWND dialog)
{
    MessageBoxA(dialog, kRegistryFailed, kProgramTitle, MB_OK);
}

// Sizes the columns to their contents and moves the header tips with them.
void FitColumns(HWND list)
{
    SizeAllColumns(list);
    PlaceHeaderTips(list);
}

void EnableRowButtons(HWND dialog, bool enable)
{
    EnableWindow(GetDlgItem(dialog, IDC_LOCATIONS_EDIT), enable);
    EnableWindow(GetDlgItem(dialog, IDC_LOCATIONS_DELETE), enable);
}

void LoadStoredLocations(HWND dialog, HWND list)
{
    SettingsStore store;
    if (!store.Open()) {
        ShowRegistryFailure(dialog);
        return;
    }
    EnumerateLocations(
        LocationWalk::StoredOnly, StoredLocationReader(store), CurrentDirectory(), [list](const Location& location) {
            // The switches are shown as stored, so storing the list again keeps them.
            const LocationCellTexts cells{location.shortName, location.path,     std::string(),     location.analysis,
                                          location.datainfo,  location.userinfo, location.completed};
            InsertLocationRow(list, cells, location.colour);
        });
}

BOOL OnInitDialog(HWND dialog, LPARAM)
{
    static constexpr ListTraits kTraits{.tips = kLocationsTips};
    const HWND list = SetUpReportList(dialog, IDC_LOCATIONS_LIST, LVS_EX_GRIDLINES, kColumns, kTraits);
    LoadStoredLocations(dialog, list);
    FitColumns(list);
    // Fresh columns sort by the short name, ascending.
    RequestResort(list);
    return TRUE;
}

// The swatch fills column 2 of the row over its full height, in the colour the row's own text names.
void PaintSwatch(const DRAWITEMSTRUCT& draw)
{
    const HWND list = draw.hwndItem;
    const int item = static_cast<int>(draw.itemID);
    RECT swatch = draw.rcItem;
    swatch.left +=
        ListView_GetColumnWidth(list, kLocationColumnShortName) + ListView_GetColumnWidth(list, kLocationColumnPath);
    swatch.right = swatch.left + ListView_GetColumnWidth(list, kLocationColumnColour);
    const COLORREF colour = static_cast<COLORREF>(ColourFromText(LocationColourText(list, item)));
    UniqueGdiObject brush(CreateSolidBrush(colour));
    FillRect(draw.hDC, &swatch, static_cast<HBRUSH>(brush.get()));
}

BOOL OnDrawItem(HWND, const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    if (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS)) {
        PaintPlainRow(*draw);
        PaintSwatch(*draw);
    }
    return TRUE;
}

BOOL OnNotify(HWND dialog, const NMHDR* header)
{
    if (header->idFrom != IDC_LOCATIONS_LIST)
        return FALSE;
    const auto* notify = reinterpret_cast<const NMLISTVIEW*>(header);
    switch (header->code) {
    case LVN_COLUMNCLICK:
        SortOnColumnClick(List(dialog), notify->iSubItem);
        return TRUE;
    case LVN_DELETEITEM:
        delete reinterpret_cast<ListRow*>(notify->lParam);
        return TRUE;
    case LVN_ITEMCHANGED:
        EnableRowButtons(dialog, ListView_GetNextItem(List(dialog), -1, LVNI_SELECTED) >= 0);
        return TRUE;
    }
    return AnswerCellText(header);
}

void OnEditRow(HWND dialog, LocationDialogMode mode)
{
    ShowLocationDialog(dialog, mode);
    const HWND list = List(dialog);
    InvalidateRect(list, nullptr, TRUE);
    FitColumns(list);
}

void OnDelete(HWND dialog)
{
    const HWND list = List(dialog);
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (selected < 0)
        return;
    if (MessageBoxA(dialog, kDeleteQuestion, kProgramTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    ListView_DeleteItem(list, selected);
    EnableRowButtons(dialog, false);
    FitColumns(list);
}

// Replaces the stored list: the old values go while they can be read, then the rows are written
// in the order shown.
void StoreRows(HWND dialog)
{
    SettingsStore store;
    if (!store.Open()) {
        ShowRegistryFailure(dialog);
        return;
    }
    std::string text;
    for (int index = 1; store.ReadString(LocationValueName(index).c_str(), text); ++index)
        store.DeleteValue(LocationValueName(index).c_str());
    const HWND list = List(dialog);
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row)
        store.WriteString(LocationValueName(row + 1).c_str(),
                          StoredLocationText(LocationRowCells(list, row), LocationColourText(list, row)));
}

// The dialog ends with kStored when OK was pressed; the caller rebuilds what shows locations.
constexpr INT_PTR kStored = 2;

void OnOk(HWND dialog)
{
    StoreRows(dialog);
    EndDialog(dialog, kStored);
}

void OnCommand(HWND dialog, int id, int, HWND)
{
    switch (id) {
    case IDC_LOCATIONS_ADD:
        OnEditRow(dialog, LocationDialogMode::Adding);
        break;
    case IDC_LOCATIONS_EDIT:
        OnEditRow(dialog, LocationDialogMode::Editing);
        break;
    case IDC_LOCATIONS_DELETE:
        OnDelete(dialog);
        break;
    case IDC_LOCATIONS_OK:
        OnOk(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, 1);
        break;
    }
}

// The rows and column records are freed while the dialog still hears the list's deletion notices.
void OnDestroy(HWND dialog)
{
    const HWND list = List(dialog);
    ListView_DeleteAllItems(list);
    DeleteAllColumns(list);
}

constexpr PageHandlers kHandlers{OnInitDialog, nullptr,   MeasureListRow, OnDrawItem,
                                 OnNotify,     OnCommand, nullptr,        OnDestroy};

} // namespace

bool ShowLocationsDialog(HWND owner)
{
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_LOCATIONS), owner, PageProc<kHandlers>, 0) == kStored;
}
