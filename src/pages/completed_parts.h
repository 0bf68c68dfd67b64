// The parts of the Completed Work Units page that its files share: the page's state, its
// controls, the loads beside the window, and the commands of its menus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/common/background_reads.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "kit/app_state.h"
#include "kit/graph_rows.h"
#include "kit/list_view.h"
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
    LogReader reader;             // the one line buffer and column table of SETILog.csv
    RowStore rows;                // the list's rows in display order; the list holds only their count

    // The load reading beside the window, while there is one.
    std::shared_ptr<LoadProgress> loading;
    int loadNumber = 0; // counts the loads: what an earlier one hands back is dropped
    HTREEITEM loadingItem = nullptr;
    std::vector<std::string> loadingNames; // the short names of its logs, for the progress
    DWORD loadStarted = 0;
    ProgressPace pace;
    std::string progressText; // what the status line was last given of the progress
    int afterLoad = 0;        // a menu command for the item being loaded, run once its rows are in
};

PageState& State(HWND page);
HWND Tree(HWND page);
HWND List(HWND page);
LocationNode* NodeOf(HWND tree, HTREEITEM item);
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
// The page's own messages of a load: its result, its progress timer and the cursor over the page.
bool OnLoadMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Empties the list and fills the location tree again.
void Reload(HWND page);

// Starts the reader on the log of every location under the root, in tree order, and hands each
// to use(item, node) until it answers false; a log that cannot be opened is reported on the
// status line and left out.
template <typename Use> void ForEachLocationLog(HWND page, HTREEITEM root, Use use)
{
    const HWND tree = Tree(page);
    for (HTREEITEM child = TreeView_GetChild(tree, root); child; child = TreeView_GetNextSibling(tree, child)) {
        const LocationNode* node = NodeOf(tree, child);
        if (!node)
            continue;
        std::string failure;
        const std::unique_ptr<LogByteSource> log = OpenLogFile(node->path, failure);
        if (!log) {
            SetStatusText(failure);
            continue;
        }
        State(page).reader.Start(*log);
        if (!use(child, *node))
            return;
    }
}

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
