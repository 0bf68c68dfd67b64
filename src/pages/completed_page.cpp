// The Completed Work Units tab page: location tree, totals or work-unit list, row height and graph text.
#include "pages/completed_page.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/common/program_texts.h"
#include "dialogs/future_calendar.h"
#include "dialogs/work_unit_calendar.h"
#include "core/client/find_value.h"
#include "platform/last_error.h"
#include "core/common/status_sink.h"
#include "platform/unique_handle.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "core/completed/log_sky_points.h"
#include "core/pages/page_layout.h"
#include "resources/resource.h"
#include "core/settings/location.h"
#include "platform/settings_store.h"
#include "core/settings/value_names.h"
#include "dialogs/sky_map.h"
#include "platform/log_file.h"
#include "kit/app_state.h"
#include "kit/links.h"
#include "kit/header_tips.h"
#include "kit/menu_keys.h"
#include "kit/graph_rows.h"
#include "kit/list_text.h"
#include "kit/list_view.h"
#include "kit/page_frame.h"
#include "kit/signal_graph.h"
#include "pages/completed_parts.h"
#include "pages/completed_read.h"

namespace completed
{

constexpr char kAllLocations[] = "All Locations";
constexpr char kMissingLogQuestion[] =
    "The file SETILog.csv was not found.\r\rSETILog.csv is created by the program SETILog.\r\r"
    "Would you like to go to the the SETILog site to install it?";

constexpr int kTreeTextCapacity = 260;

constexpr ColumnSpec kTotalsColumns[kTotalsCellCount] = {
    {"Location", kAlignLeft, 1},          {"Work Units", kAlignRight, 1},         {"Total CPU Time", kAlignRight, 1},
    {"Average CPU Time", kAlignRight, 1}, {"Average % Per Hour", kAlignRight, 1}, {"Top Peak", kAlignRight, 1},
    {"Top Gaussian", kAlignLeft, 1},
};

// "Date Logged" starts descending, so its first click sorts the oldest first.
constexpr ColumnSpec kWorkUnitColumns[] = {
    {"Date Logged", kAlignLeft, 0},  {"Work Unit Name", kAlignLeft, 1},  {"CPU Time", kAlignRight, 1},
    {"% Per Hour", kAlignRight, 1},  {"Peak", kAlignRight, 1},           {"From", kAlignLeft, 1},
    {"Recorded On", kAlignRight, 1}, {"Base Frequency", kAlignRight, 1}, {"Angle Range", kAlignRight, 1},
    {"Triplet", kAlignLeft, 1},      {"Pulses", kAlignLeft, 1},          {"Gaussian", kAlignLeft, 1},
};

// The totals form is text only; the work-unit form draws columns 9 to 11 as 180-pixel graphs.
constexpr ListTraits kTotalsTraits{.rows = RowKind::WorkUnit, .tips = kCompletedTips};
constexpr ListTraits kWorkUnitTraits{
    .rows = RowKind::WorkUnit, .fixedFirst = 9, .fixedLast = 11, .fixedWidth = 180, .tips = kCompletedTips};

SignalRowStyle RowStyle(bool showText, bool workUnitForm)
{
    SignalRowStyle style;
    if (workUnitForm) {
        style.tripletColumn = 9;
        style.pulseColumn = 10;
        style.gaussianColumn = 11;
    }
    style.showText = showText;
    style.skipEmptyGaussian = true;
    return style;
}

HWND thePage = nullptr;

constexpr GraphRowControls kGraphRows{IDC_COMPLETED_LIST,      IDC_COMPLETED_ROW_HEIGHT, IDC_COMPLETED_ROW_LABEL,
                                      IDC_COMPLETED_SHOW_TEXT, kValueCompletedRowHeight, kValueShowGraphTextCompleted};

PageState& State(HWND page)
{
    return WindowState<PageState>(page);
}

// The state of a page whose state exists already, without making one: for the tree's procedure,
// which nothing may throw out of.
PageState* ExistingState(HWND page)
{
    return reinterpret_cast<PageState*>(GetWindowLongPtrA(page, DWLP_USER));
}

HWND Tree(HWND page)
{
    return GetDlgItem(page, IDC_COMPLETED_TREE);
}

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_COMPLETED_LIST);
}

LocationNode* NodeOf(HWND tree, HTREEITEM item)
{
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!item || !TreeView_GetItem(tree, &data))
        return nullptr;
    return reinterpret_cast<LocationNode*>(data.lParam);
}

std::string ItemText(HWND tree, HTREEITEM item)
{
    char text[kTreeTextCapacity] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = kTreeTextCapacity;
    TreeView_GetItem(tree, &data);
    return text;
}

// Inserts an item that owns a new node; the node is freed with the item (TVN_DELETEITEM).
HTREEITEM InsertNode(HWND tree, HTREEITEM parent, const std::string& text, int image,
                     std::unique_ptr<LocationNode> node)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
    const HTREEITEM item = TreeView_InsertItem(tree, &insert);
    if (item)
        node.release();
    return item;
}

void FillTree(HWND page)
{
    PageState& state = State(page);
    const HWND tree = Tree(page);
    state.filling = true;
    TreeView_DeleteAllItems(tree);
    const HTREEITEM root =
        InsertNode(tree, TVI_ROOT, kAllLocations, IMG_TREE_ALL_LOCATIONS, std::make_unique<LocationNode>());
    std::vector<Location> locations;
    {
        SettingsStore store;
        const bool open = store.Open();
        const LocationReader read =
            open ? StoredLocationReader(store) : LocationReader([](int) { return std::nullopt; });
        EnumerateLocations(LocationWalk::DefaultFirst, read, CurrentDirectory(),
                           [&](const Location& location) { locations.push_back(location); });
    }
    for (const Location& location : locations) {
        if (!IsSwitchOn(location.completed))
            continue;
        auto node = std::make_unique<LocationNode>();
        node->path = location.path;
        node->colour = location.colour;
        InsertNode(tree, root, location.shortName, IMG_TREE_LOCATION, std::move(node));
    }
    TreeView_Expand(tree, root, TVE_EXPAND);
    state.unloaded = nullptr;
    state.filling = false;
}

// The list goes to no rows before the rows are freed, so nothing can paint a freed row.
void EmptyList(HWND page)
{
    const HWND list = List(page);
    ListView_DeleteAllItems(list);
    FreeRows(State(page).rows);
    DeleteAllColumns(list);
}

// Shows the store's rows: the list learns only how many there are.
void ShowRows(HWND page)
{
    ListView_SetItemCountEx(List(page), static_cast<int>(State(page).rows.size()), LVSICF_NOSCROLL);
}

const WorkUnitRow* RowAt(HWND page, size_t index)
{
    const RowStore& rows = State(page).rows;
    return index < rows.size() ? rows[index].get() : nullptr;
}

// What the load of the item reads: every location under the root, or the item's own.
LoadRequest GatherRequest(HWND page, HTREEITEM item, bool root)
{
    const HWND tree = Tree(page);
    LoadRequest request;
    request.totals = root;
    const auto add = [&](HTREEITEM source) {
        if (const LocationNode* node = NodeOf(tree, source))
            request.sources.push_back({ItemText(tree, source), *node});
    };
    if (!root)
        add(item);
    for (HTREEITEM child = root ? TreeView_GetChild(tree, item) : nullptr; child;
         child = TreeView_GetNextSibling(tree, child))
        add(child);
    return request;
}

// Offers the home page when a location has no SETILog.csv; the list is shown empty first.
void ReportMissingLog(HWND page, const std::string& failure)
{
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const HWND list = List(page);
    SizeAllColumns(list);
    PlaceHeaderTips(list);
    SetStatusText(failure);
    if (MessageBoxA(page, kMissingLogQuestion, kProgramTitle, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES)
        ShellExecuteA(nullptr, "open", kHomePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

// Shows what a read found: its messages in order, then its rows in place of the list's, and the
// item's count and daily rate for the Future Calendar.
LoadOutcome ShowRead(HWND page, HTREEITEM item, LoadResult& result)
{
    if (result.outcome == LoadOutcome::MissingLog) {
        ReportMissingLog(page, result.messages.back());
        return result.outcome;
    }
    for (const std::string& message : result.messages)
        SetStatusText(message);
    if (result.outcome != LoadOutcome::Shown)
        return result.outcome;
    State(page).rows = std::move(result.rows);
    ShowRows(page);
    if (LocationNode* node = NodeOf(Tree(page), item)) {
        node->count = result.node.count;
        node->perDay = result.node.perDay;
    }
    return LoadOutcome::Shown;
}

// The columns of the item's form.
void MakeForm(HWND page, bool root)
{
    const HWND list = List(page);
    State(page).workUnitForm = !root;
    if (root) {
        MakeColumns(list, kTotalsColumns, kTotalsTraits);
    } else {
        MakeColumns(list, kWorkUnitColumns, kWorkUnitTraits);
        SizeColumnsToContents(list);
    }
}

} // namespace completed

// A load that ran out of memory shows no rows: what it had read is freed at once, the list (with
// its columns) is drawn again and the status line says why.
void completed::ShowNoRowsForLackOfMemory(HWND page)
{
    const HWND list = List(page);
    ListView_DeleteAllItems(list);
    FreeRows(State(page).rows);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetStatusText(kOutOfMemory);
}

void completed::FinishLoad(HWND page, HTREEITEM item, LoadResult& result)
{
    const HWND list = List(page);
    LoadOutcome outcome = LoadOutcome::OutOfMemory;
    try {
        outcome = ShowRead(page, item, result);
        if (outcome == LoadOutcome::Shown) {
            if (result.widest.empty())
                SizeAllColumns(list);
            else
                SizeAllColumnsFrom(list, result.widest);
            PlaceHeaderTips(list);
        }
    } catch (const std::bad_alloc&) {
        outcome = LoadOutcome::OutOfMemory;
    }
    if (outcome == LoadOutcome::OutOfMemory)
        ShowNoRowsForLackOfMemory(page);
    if (outcome != LoadOutcome::MissingLog)
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const int command = std::exchange(State(page).afterLoad, 0);
    if (command != 0 && outcome == LoadOutcome::Shown)
        CarryOutTreeCommand(page, item, command);
}

void completed::LoadSelection(HWND page, HTREEITEM item)
{
    PageState& state = State(page);
    const HWND list = List(page);
    CancelLoad(page);
    state.unloaded = nullptr;
    SetStatusText("");
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    EmptyList(page);
    try {
        const bool root = TreeView_GetParent(Tree(page), item) == nullptr;
        MakeForm(page, root);
        // The form shows while the rows are read.
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        StartLoad(page, item, GatherRequest(page, item, root));
    } catch (const std::bad_alloc&) {
        ShowNoRowsForLackOfMemory(page);
    }
}

namespace completed
{

void Reload(HWND page)
{
    CancelLoad(page);
    const HWND list = List(page);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    EmptyList(page);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    FillTree(page);
}

BOOL OnTreeNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        // The item's lParam sits at the same place in the ANSI and the wide record.
        delete reinterpret_cast<LocationNode*>(reinterpret_cast<const NMTREEVIEWA*>(header)->itemOld.lParam);
        return TRUE;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        // The items sit at the same place in the ANSI and the wide record.
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        const HTREEITEM item = change->itemNew.hItem;
        PageState& state = State(page);
        if (state.filling || !item)
            return TRUE;
        // Taking the focus with nothing selected, the tree selects its first item by itself: a
        // keyboard switch to this page loads nothing, as a click on the tab does not. Its own
        // TVC_UNKNOWN is also what the program's TVM_SELECTITEM reports, hence the focus flag.
        if (state.treeTakingFocus && !change->itemOld.hItem) {
            state.unloaded = item;
            return TRUE;
        }
        LoadSelection(page, item);
        return TRUE;
    }
    case NM_CLICK:
        // A click on the item the tree selected by itself changes no selection: it loads here.
        LoadIfNotLoaded(page, TreeItemAtCursor(Tree(page)));
        return TRUE;
    case NM_RCLICK:
        OnTreeRightClick(page);
        SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE); // no default context handling
        return TRUE;
    }
    return FALSE;
}

// The text of a cell as the row paints it in the list's current form: graphs answer their captions.
std::string CellTextOf(HWND list, int item, int column)
{
    const HWND page = GetParent(list);
    const WorkUnitRow* row = item >= 0 ? RowAt(page, static_cast<size_t>(item)) : nullptr;
    const PageState& state = State(page);
    return row ? SignalCellText(*row, RowStyle(state.graph.showText != 0, state.workUnitForm), column) : std::string();
}

BOOL OnListNotify(HWND page, const NMHDR* header)
{
    if (header->code == NM_RCLICK) {
        OnListRightClick(page);
        return TRUE;
    }
    return SortOrAnswerText(header);
}

BOOL OnNotify(HWND page, const NMHDR* header)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
    // By control id: the list notifies once per inserted and deleted row, and under Wine every
    // GetDlgItem is a server round trip.
    if (header->idFrom == IDC_COMPLETED_TREE)
        return OnTreeNotify(page, header);
    if (header->idFrom == IDC_COMPLETED_LIST)
        return OnListNotify(page, header);
    return FALSE;
}

// Tells the page when the tree is taking the focus, the one time it selects an item by itself.
LRESULT CALLBACK TreeFocusProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR page)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(tree, TreeFocusProc, 0);
    PageState* state = message == WM_SETFOCUS ? ExistingState(reinterpret_cast<HWND>(page)) : nullptr;
    if (!state)
        return DefSubclassProc(tree, message, wParam, lParam);
    state->treeTakingFocus = true;
    const LRESULT result = DefSubclassProc(tree, message, wParam, lParam);
    state->treeTakingFocus = false;
    return result;
}

BOOL OnInitDialog(HWND page, LPARAM)
{
    PageState& state = State(page);
    // Before the tree is filled: filling it may load the first selection into the list.
    AttachRowStore(List(page), &state.rows);
    TreeView_SetImageList(Tree(page), App().smallImages, TVSIL_NORMAL);
    SetWindowSubclass(Tree(page), TreeFocusProc, 0, reinterpret_cast<DWORD_PTR>(page));
    FillTree(page);

    const HWND list = List(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    InstallHeaderPainter(list);
    // The list's columns and their traits come with each load's form.
    SetCellTextSource(list, CellTextOf);

    InitGraphRowControls(page, kGraphRows, state.graph);
    return TRUE;
}

void OnSize(HWND page)
{
    ApplyLayout(page,
                LayoutCompletedPage(PageSize(page), SizeOf(page, IDC_COMPLETED_ROW_LABEL),
                                    SizeOf(page, IDC_COMPLETED_ROW_HEIGHT)),
                IDC_COMPLETED_LIST, {IDC_COMPLETED_ROW_LABEL, IDC_COMPLETED_ROW_HEIGHT, IDC_COMPLETED_SHOW_TEXT},
                IDC_COMPLETED_TREE);
}

BOOL OnMeasureItem(HWND page, MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_LISTVIEW)
        return FALSE;
    measure->itemHeight = static_cast<UINT>(GraphRowHeight(page, kGraphRows, State(page).graph));
    return TRUE;
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    const PageState& state = State(page);
    const WorkUnitRow* row = RowAt(page, draw->itemID);
    if (row && (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS)))
        PaintSignalRow(*draw, *row, RowStyle(state.graph.showText != 0, state.workUnitForm));
    return TRUE;
}

void OnHorizontalScroll(HWND page, HWND control)
{
    if (control == GetDlgItem(page, IDC_COMPLETED_ROW_HEIGHT))
        OnGraphSliderMoved(page, kGraphRows, State(page).graph);
}

void OnCompletedCommand(HWND page, int id, int code, HWND control)
{
    if (id == IDC_COMPLETED_SHOW_TEXT && code == BN_CLICKED)
        StoreShowText(page, kGraphRows, State(page).graph);
    else if (code == 0 && control)
        OnMenuCommand(page, id, control);
}

void OnDestroy(HWND page)
{
    SaveGraphRowHeight(page, kGraphRows);
    CancelLoad(page);
    State(page).skyRead.Stop();
    // The page owns the rows, the column records and the tree's nodes: free them while the
    // notifications that do so still reach this procedure. Redrawing goes off first, as for a load:
    // a list that redraws deletes its rows one layout at a time.
    SendMessageA(List(page), WM_SETREDRAW, FALSE, 0);
    EmptyList(page);
    AttachRowStore(List(page), nullptr);
    State(page).filling = true;
    TreeView_DeleteAllItems(Tree(page));
}

// A right click reaches the menus through NM_RCLICK; the keyboard's request comes as WM_CONTEXTMENU
// without a position, from the tree or the list (wParam). A load's own messages go to the load.
INT_PTR OnOtherMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnLoadMessage(page, message))
        return TRUE;
    if (message != WM_CONTEXTMENU || !IsKeyboardContextMenu(lParam))
        return FALSE;
    OnKeyboardMenu(page, reinterpret_cast<HWND>(wParam));
    return TRUE;
}

constexpr PageHandlers kHandlers{OnInitDialog,       OnSize,    OnMeasureItem,
                                 OnDrawItem,         OnNotify,  OnCompletedCommand,
                                 OnHorizontalScroll, OnDestroy, FreeWindowState<PageState>,
                                 OnOtherMessage,     &thePage};

} // namespace completed

HWND CreateCompletedPage(HWND parent)
{
    return CreatePage(parent, IDD_COMPLETED, PageProc<completed::kHandlers>);
}

void ReloadCompleted()
{
    if (const HWND page = completed::thePage)
        completed::Reload(page);
}

const WorkUnitRow* CompletedListRow(int index)
{
    const HWND page = completed::thePage;
    return page && index >= 0 ? completed::RowAt(page, static_cast<size_t>(index)) : nullptr;
}

void FillCompletedTree()
{
    if (const HWND page = completed::thePage)
        completed::FillTree(page);
}

bool CompletedLoadRunning()
{
    return completed::thePage && completed::State(completed::thePage).load.Running();
}
