// The parts of the Completed Work Units page that its files share: the page's state, its
// controls, the loads beside the window, and the commands of its menus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "kit/app_state.h"
#include "kit/graph_rows.h"
#include "kit/list_view.h"
#include "kit/long_read.h"
#include "pages/completed_read.h"
#include "platform/log_file.h"

namespace completed
{

struct PageState {
    GraphRowState graph;
    bool filling = false;         // the tree is being refilled: its selection changes are not loads
    bool treeTakingFocus = false; // the tree handles WM_SETFOCUS: a selection it makes is its own
    HTREEITEM unloaded = nullptr; // selected by the tree itself on taking the focus, and not loaded
    bool workUnitForm = false;    // the list shows one location's work units, not the totals
    RowStore rows;                // the list's rows in display order; the list holds only their count

    LongRead load;                   // the read of the list's rows
    HTREEITEM loadingItem = nullptr; // the item it reads for
    LongRead skyRead;                // the read of every location's Sky Map points
    int afterLoad = 0;               // a menu command for the item being loaded, run once its rows are in
};

PageState& State(HWND page);
HWND Tree(HWND page);
HWND List(HWND page);
LocationNode* NodeOf(HWND tree, HTREEITEM item);
// The item's text: a location's short name, or "All Locations".
std::string ItemText(HWND tree, HTREEITEM item);
// The row the list shows at a position, or null past its end.
const WorkUnitRow* RowAt(HWND page, size_t index);
// Loads the item's form and rows into the list: the form at once, the rows when their read beside
// the window is done; a load under way is stopped first.
void LoadSelection(HWND page, HTREEITEM item);
// Starts the read of the item's rows beside the window (the form is made).
void StartLoad(HWND page, HTREEITEM item, LoadRequest request);
// Shows what a load read (its messages, then its rows or why there are none).
void FinishLoad(HWND page, HTREEITEM item, LoadResult& result);
// A load that ran out of memory: no rows, the list drawn again, "Out of memory" on the status line.
void ShowNoRowsForLackOfMemory(HWND page);
// Stops the load under way: the list stays without rows, and a command waiting for them is dropped.
void CancelLoad(HWND page);
// True while a read of the page's logs runs: its rows, every location's Sky Map points or the
// Work Unit Calendar's counts.
bool ReadingLogs(HWND page);
// The cursor over the page while it reads its logs.
bool OnLoadMessage(HWND page, UINT message);
// Empties the list and fills the location tree again.
void Reload(HWND page);

// What a load of the item reads: "All Locations" (root) every location's log, a location its own.
LoadRequest GatherRequest(HWND page, HTREEITEM item, bool root);

// The selected item as a command needs it: loaded, also when the tree selected it by itself.
void LoadIfNotLoaded(HWND page, HTREEITEM item);
// The item under the cursor; null unless the cursor is on an item's icon or label.
HTREEITEM TreeItemAtCursor(HWND tree);
// The right-click menus of the tree and the list, and the keyboard's (Shift+F10, the Menu key).
void OnTreeRightClick(HWND page);
void OnListRightClick(HWND page);
void OnKeyboardMenu(HWND page, HWND control);
// A command of those menus, for the tree's selected item or the list's selected rows.
void OnMenuCommand(HWND page, int command, HWND control);
// A command of the tree's menu for the item, now.
void CarryOutTreeCommand(HWND page, HTREEITEM item, int command);

} // namespace completed
