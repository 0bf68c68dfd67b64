// The Show Work Units dialog: a checked list of the Sky Map's work units that decides which are drawn.
#include "dialogs/show_work_units.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/resource.h"
#include "core/settings/value_names.h"
#include "platform/window_layout.h"
#include "dialogs/sky_map.h"
#include "core/skymap/sky_projection.h"
#include "kit/app_state.h"
#include "kit/page_frame.h"

namespace
{

constexpr char kColumnTitle[] = "Work Units to Show";
constexpr int kColumnWidth = 200;
constexpr int kUnchecked = 1;
constexpr int kChecked = 2;

// DWLP_USER holds whether the dialog runs its own loop (ended with EndDialog) or not (destroyed).
constexpr LONG_PTR kModal = 1;
constexpr LONG_PTR kModeless = 2;

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_SHOW_WU_LIST);
}

void SetEveryCheck(HWND list, int image)
{
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i)
        ListView_SetItemState(list, i, INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK);
}

// One entry per point, each tied to its point; the entries own nothing. The points are put in
// name order first and appended with the list's own sorting switched off, so a large set is not
// inserted item by item into a sorted list (which costs a search per item); equal names keep
// their set order.
void FillList(HWND list)
{
    ListView_DeleteAllItems(list);
    const SkyPointSet* points = SkyMapPoints();
    if (!points)
        return;
    std::vector<std::string> names;
    std::vector<size_t> order;
    names.reserve(points->size());
    for (const SkyPoint& point : *points)
        names.emplace_back(point.name, strnlen(point.name, sizeof point.name));
    for (size_t i = 0; i < points->size(); ++i)
        order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [&names](size_t a, size_t b) { return lstrcmpA(names[a].c_str(), names[b].c_str()) < 0; });

    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, style & ~static_cast<LONG_PTR>(LVS_SORTASCENDING | LVS_SORTDESCENDING));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemCount(list, static_cast<int>(order.size()));
    int row = 0;
    for (const size_t index : order) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<char*>(names[index].c_str());
        item.lParam = reinterpret_cast<LPARAM>(&(*points)[index]);
        const int inserted = ListView_InsertItem(list, &item);
        if (inserted < 0)
            continue;
        // The list gives a new entry an unchecked box; the dialog starts with every one checked.
        ListView_SetItemState(list, inserted, INDEXTOSTATEIMAGEMASK(kChecked), LVIS_STATEIMAGEMASK);
        ++row;
    }
    SetWindowLongPtrA(list, GWL_STYLE, style);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void MoveTo(HWND control, const PixelBox& box, bool repaint)
{
    MoveWindow(control, box.left, box.top, box.right - box.left, box.bottom - box.top, repaint);
}

void LayOut(HWND dialog)
{
    RECT client{};
    GetClientRect(dialog, &client);
    const HWND close = GetDlgItem(dialog, IDOK);
    RECT closeRect{};
    GetWindowRect(close, &closeRect);
    const WorkUnitPickLayout layout = LayOutWorkUnitPick(client.right, client.bottom, closeRect.right - closeRect.left,
                                                         closeRect.bottom - closeRect.top);
    const HWND list = List(dialog);
    MoveTo(list, layout.list, TRUE);
    MoveTo(GetDlgItem(dialog, IDC_SHOW_WU_ALL), layout.showAll, TRUE);
    MoveTo(GetDlgItem(dialog, IDC_SHOW_WU_NONE), layout.showNone, TRUE);
    MoveTo(close, layout.close, TRUE);
    ListView_SetColumnWidth(list, 0, layout.columnWidth);
}

BOOL OnInitDialog(HWND dialog, LPARAM mode)
{
    SetWindowLongPtrA(dialog, DWLP_USER, mode);
    Sky().pick = dialog;
    RestorePlacement(dialog, kValueSkyPickPosition, false, SW_SHOWNORMAL);
    const HWND list = List(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumnWidth;
    column.pszText = const_cast<char*>(kColumnTitle);
    ListView_InsertColumn(list, 0, &column);
    FillList(list);
    RedrawSkyMapPoints(); // from now on the map draws the checked entries
    LayOut(dialog);
    return TRUE;
}

void OnItemChanged(HWND dialog, const NMLISTVIEW& change)
{
    if (!(change.uChanged & LVIF_STATE))
        return;
    if ((change.uOldState & LVIS_STATEIMAGEMASK) == 0 && change.iItem >= 0)
        ListView_SetItemState(List(dialog), change.iItem, INDEXTOSTATEIMAGEMASK(kChecked), LVIS_STATEIMAGEMASK);
    // Only a check decides what the map draws; selecting or focusing an entry leaves the picture.
    if ((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK)
        RedrawSkyMapPoints();
}

void Close(HWND dialog)
{
    if (GetWindowLongPtrA(dialog, DWLP_USER) == kModal)
        EndDialog(dialog, 1);
    else
        DestroyWindow(dialog);
}

void OnCommand(HWND dialog, int id, int, HWND)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        Close(dialog);
        break;
    case IDC_SHOW_WU_ALL:
        SetEveryCheck(List(dialog), kChecked);
        break;
    case IDC_SHOW_WU_NONE:
        SetEveryCheck(List(dialog), kUnchecked);
        break;
    }
}

void OnDestroy(HWND dialog)
{
    SavePlacement(dialog, kValueSkyPickPosition);
    if (Sky().pick == dialog)
        Sky().pick = nullptr;
    RedrawSkyMapPoints(); // every point is drawn again
}

BOOL OnNotify(HWND dialog, const NMHDR* header)
{
    if (header->idFrom == IDC_SHOW_WU_LIST && header->code == LVN_ITEMCHANGED)
        OnItemChanged(dialog, *reinterpret_cast<const NMLISTVIEW*>(header));
    return FALSE;
}

constexpr PageHandlers kHandlers{OnInitDialog, LayOut, nullptr, nullptr, OnNotify, OnCommand, nullptr, OnDestroy};

} // namespace

void ShowWorkUnitsDialog(HWND skyMap)
{
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SHOW_WORK_UNITS), skyMap, PageProc<kHandlers>, kModal);
}

HWND CreateWorkUnitsDialog(HWND skyMap)
{
    return CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SHOW_WORK_UNITS), skyMap, PageProc<kHandlers>,
                              kModeless);
}

bool PickedSkyPoints(std::vector<const SkyPoint*>& picked)
{
    picked.clear();
    if (!Sky().pick)
        return false;
    const HWND list = List(Sky().pick);
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        const UINT image = ListView_GetItemState(list, i, LVIS_STATEIMAGEMASK) >> 12;
        if (image == kUnchecked)
            continue;
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        if (ListView_GetItem(list, &item) && item.lParam)
            picked.push_back(reinterpret_cast<const SkyPoint*>(item.lParam));
    }
    return true;
}

void RefillWorkUnitPicks()
{
    if (Sky().pick)
        FillList(List(Sky().pick));
}
