// The Completed Work Units page's menus: the Sky Map, the two calendars and Reload Locations, for
// the tree's item or the list's selected rows, from a right click or the keyboard.
#include "pages/completed_parts.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/common/program_texts.h"
#include "core/completed/log_sky_points.h"
#include "kit/long_read.h"
#include "dialogs/future_calendar.h"
#include "dialogs/sky_map.h"
#include "dialogs/work_unit_calendar.h"
#include "kit/menu_keys.h"
#include "kit/page_frame.h"
#include "platform/last_error.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"

namespace completed
{

namespace
{

constexpr char kSkyDataTitle[] = "Loading SkyData";

// One point per row of the list, or per selected row, in list order.
SkyPointSet RowSkyPoints(HWND page, bool selectedOnly)
{
    const HWND list = List(page);
    const RowStore& rows = State(page).rows;
    SkyPointSet points;
    if (!selectedOnly) {
        points.reserve(rows.size());
        for (const auto& row : rows)
            points.push_back(SkyPointOfRow(row->cells));
        return points;
    }
    points.reserve(static_cast<size_t>(ListView_GetSelectedCount(list)));
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(list, i, LVNI_SELECTED))
        if (const WorkUnitRow* row = RowAt(page, static_cast<size_t>(i)))
            points.push_back(SkyPointOfRow(row->cells));
    return points;
}

// Growing the set can run out of memory: then no Sky Map is shown, the part read is freed, and
// the user is told.
void ShowSkyMapOrLackOfMemory(HWND page, std::optional<SkyPointSet> points)
{
    if (!points) {
        SetStatusText(kOutOfMemory);
        MessageBoxA(page, LastErrorText(ERROR_NOT_ENOUGH_MEMORY).c_str(), kSkyDataTitle, MB_OK);
        return;
    }
    ShowSkyMap(std::move(*points));
}

template <typename MakePoints> void ShowSkyMapOf(HWND page, MakePoints makePoints)
{
    std::optional<SkyPointSet> points;
    try {
        points = makePoints();
    } catch (const std::bad_alloc&) {
        points.reset();
    }
    ShowSkyMapOrLackOfMemory(page, std::move(points));
}

struct SkyPointsDone final : WorkResult {
    SkyPointsRead read;
};

// Every location's work units, read from the logs in tree order beside the window; a log that
// cannot be opened is reported on the status line and left out.
void ShowSkyMapOfEveryLog(HWND page, HTREEITEM root)
{
    std::vector<LoadSource> sources = GatherRequest(page, root, true).sources;
    std::vector<std::string> names;
    for (const LoadSource& source : sources)
        names.push_back(source.name);
    auto shared = std::make_shared<const std::vector<LoadSource>>(std::move(sources));
    const LongReadWork work = [shared](ReadProgress& progress) {
        auto done = std::make_unique<SkyPointsDone>();
        LogReader reader;
        done->read = ReadSkyPoints(*shared, reader, &progress);
        return std::unique_ptr<WorkResult>(std::move(done));
    };
    State(page).skyRead.Start(std::move(names), work, [page](std::unique_ptr<WorkResult> result) {
        auto* done = dynamic_cast<SkyPointsDone*>(result.get());
        if (done)
            for (const std::string& message : done->read.messages)
                SetStatusText(message);
        if (!done || done->read.outOfMemory)
            ShowSkyMapOrLackOfMemory(page, std::nullopt);
        else
            ShowSkyMapOrLackOfMemory(page, std::move(done->read.points));
    });
}

// "All Locations" reads every location's log; a location hands over the rows its load just listed.
void ShowSkyMapForTreeItem(HWND page, HTREEITEM item)
{
    if (TreeView_GetParent(Tree(page), item) == nullptr)
        ShowSkyMapOfEveryLog(page, item);
    else
        ShowSkyMapOf(page, [page] { return std::optional(RowSkyPoints(page, false)); });
}

void ShowSkyMapForSelectedRows(HWND page)
{
    ShowSkyMapOf(page, [page] { return std::optional(RowSkyPoints(page, true)); });
}

// "All Locations" counts every stored location's log; a location item only its own.
void OpenWorkUnitCalendarForTreeItem(HWND page, HTREEITEM item)
{
    const HWND tree = Tree(page);
    if (TreeView_GetParent(tree, item) == nullptr) {
        OpenWorkUnitCalendarForAllLocations();
        return;
    }
    if (const LocationNode* node = NodeOf(tree, item))
        OpenWorkUnitCalendar(node->path, ItemText(tree, item));
}

// The count and daily rate are those the right click's load just wrote into the item's node.
void OpenFutureCalendarForTreeItem(HWND page, HTREEITEM item)
{
    if (const LocationNode* node = NodeOf(Tree(page), item))
        OpenFutureCalendar(node->count, node->perDay);
}

int TrackMenu(HWND page, int menuId, POINT screen)
{
    const UniqueMenu menu(LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId)));
    const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return 0;
    return TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, page, nullptr);
}

// The chosen command goes through WM_COMMAND, naming the control it is for, as if a menu had sent
// it: the same road serves every way of choosing it.
void OpenControlMenu(HWND page, HWND control, int menuId, POINT screen)
{
    if (const int command = TrackMenu(page, menuId, screen))
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<LPARAM>(control));
}

// The list's commands are for the selected rows of one location's work units.
bool ListCommandApplies(HWND page)
{
    const HWND tree = Tree(page);
    const HTREEITEM selected = TreeView_GetSelection(tree);
    return selected && TreeView_GetParent(tree, selected) != nullptr && ListView_GetSelectedCount(List(page)) > 0;
}

} // namespace

void CarryOutTreeCommand(HWND page, HTREEITEM item, int command)
{
    switch (command) {
    case ID_SKY_MAP:
        ShowSkyMapForTreeItem(page, item);
        break;
    case ID_CALENDAR:
        OpenWorkUnitCalendarForTreeItem(page, item);
        break;
    case ID_FUTURE_CALENDAR:
        OpenFutureCalendarForTreeItem(page, item);
        break;
    case ID_RELOAD_LOCATIONS:
        Reload(page);
        break;
    }
}

void LoadIfNotLoaded(HWND page, HTREEITEM item)
{
    if (item && item == State(page).unloaded && item == TreeView_GetSelection(Tree(page)))
        LoadSelection(page, item);
}

// The item under the cursor; null unless the cursor is on an item's icon or label.
HTREEITEM TreeItemAtCursor(HWND tree)
{
    TVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(tree, &hit.pt);
    const HTREEITEM item = TreeView_HitTest(tree, &hit);
    return hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON) ? item : nullptr;
}

void OnTreeRightClick(HWND page)
{
    const HWND tree = Tree(page);
    POINT screen{};
    GetCursorPos(&screen);
    const HTREEITEM item = TreeItemAtCursor(tree);
    if (!item)
        return;
    TreeView_SelectItem(tree, item); // loads the item unless it was selected already
    LoadIfNotLoaded(page, item);
    OpenControlMenu(page, tree, IDR_COMPLETED_TREE_MENU, screen);
}

// A command of the tree's or the list's right-click menu, for the tree's selected item or the
// list's selected rows.
void OnMenuCommand(HWND page, int command, HWND control)
{
    if (control == Tree(page)) {
        const HTREEITEM item = TreeView_GetSelection(control);
        if (!item)
            return;
        // A location's Sky Map and the Future Calendar need the rows and figures the item's load
        // reads: while that load runs, the command waits for its end.
        PageState& state = State(page);
        const bool needsRows =
            command == ID_FUTURE_CALENDAR || (command == ID_SKY_MAP && TreeView_GetParent(control, item));
        if (needsRows && state.load.Running() && state.loadingItem == item)
            state.afterLoad = command;
        else
            CarryOutTreeCommand(page, item, command);
    } else if (control == List(page) && command == ID_SKY_MAP && ListCommandApplies(page)) {
        ShowSkyMapForSelectedRows(page);
    }
}

void OnListRightClick(HWND page)
{
    if (!ListCommandApplies(page))
        return;
    POINT screen{};
    GetCursorPos(&screen);
    OpenControlMenu(page, List(page), IDR_COMPLETED_LIST_MENU, screen);
}

// Shift+F10 or the Menu key: the menu the right click would open, at the selected item.
void OnKeyboardMenu(HWND page, HWND control)
{
    RECT item{};
    if (control == Tree(page)) {
        const HTREEITEM selected = TreeView_GetSelection(control);
        if (!selected)
            return;
        LoadIfNotLoaded(page, selected);
        TreeView_EnsureVisible(control, selected);
        TreeView_GetItemRect(control, selected, &item, TRUE);
        OpenControlMenu(page, control, IDR_COMPLETED_TREE_MENU, MenuPointBelow(control, item));
    } else if (control == List(page) && ListCommandApplies(page)) {
        int row = ListView_GetNextItem(control, -1, LVNI_FOCUSED | LVNI_SELECTED);
        if (row < 0)
            row = ListView_GetNextItem(control, -1, LVNI_SELECTED);
        ListView_EnsureVisible(control, row, FALSE);
        ListView_GetItemRect(control, row, &item, LVIR_BOUNDS);
        OpenControlMenu(page, control, IDR_COMPLETED_LIST_MENU, MenuPointBelow(control, item));
    }
}

} // namespace completed
