// Machinery every report list shares: columns, click-to-sort, the header painter, sizing and plain rows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/lists/list_row.h"
#include "core/lists/list_sort.h"

#include "core/lists/column_spec.h"
#include "kit/header_tips.h"

// Inserts a column of width 0 with an owner-drawn header item that carries a new ListColumn.
ListColumn* MakeColumn(HWND list, int index, const char* title, int alignment, int ascending = 1);

// What the items of a list carry: a ListRow, or a WorkUnitRow whose cells are its ListRow.
enum class RowKind { Plain, WorkUnit };

// How a list behaves, handed over with its columns: the kit asks a list's traits, never which
// page the list belongs to. A list without traits is a plain one.
struct ListTraits {
    RowKind rows = RowKind::Plain;
    bool signalSort = false; // columns 1 to 4 hold graphs and sort by the row's signal values
    // Columns fixedFirst to fixedLast are always fixedWidth wide, whatever their contents.
    int fixedFirst = 0;
    int fixedLast = -1;
    int fixedWidth = 0;
    HeaderTipSource tips{};
    const char* widthsValue = nullptr; // the stored column widths; null: not stored
};

// Makes the table's columns in order and gives the list the traits that go with them, its
// header tips included. The traits must outlive the list (a constant of the page).
void MakeColumns(HWND list, const ColumnSpec* columns, size_t count, const ListTraits& traits);
template <size_t N> void MakeColumns(HWND list, const ColumnSpec (&columns)[N], const ListTraits& traits)
{
    MakeColumns(list, columns, N, traits);
}
// Sets up a page's report list: full-row selection (and the given extended styles), the
// table's columns with their traits, the header painter and the header tips.
HWND SetUpReportList(HWND page, int listId, DWORD extendedStyle, const ColumnSpec* columns, size_t count,
                     const ListTraits& traits);
template <size_t N>
HWND SetUpReportList(HWND page, int listId, DWORD extendedStyle, const ColumnSpec (&columns)[N],
                     const ListTraits& traits)
{
    return SetUpReportList(page, listId, extendedStyle, columns, N, traits);
}
// The traits the list was given; a plain list's when it was given none.
const ListTraits& TraitsOf(HWND list);

// A column's title, cut at capacity characters.
std::string ColumnTitle(HWND list, int column, int capacity);
// Deletes every column and frees their ListColumns.
void DeleteAllColumns(HWND list);
// What every page does with its list when it is destroyed: store the column widths where its
// traits say, then delete the rows (their owner frees them) and the columns.
void CloseList(HWND list);
int ColumnCount(HWND list);
ListColumn* ColumnRecord(HWND list, int index);

// The cells behind an item's data, as the list's traits say its items carry them.
const ListRow* RowCells(HWND list, LPARAM itemData);
const WorkUnitRow* WorkUnitOf(HWND list, LPARAM itemData);

// The rows of a list created with LVS_OWNERDATA, in display order: the page keeps them and the
// list holds only their count, so a list of 100,000 work units costs the list itself nothing.
// Sizing, sorting and painting read the rows from here.
using RowStore = std::vector<std::unique_ptr<WorkUnitRow>>;
void AttachRowStore(HWND list, RowStore* rows);
// Frees every row of a store. They go in address order: the system's heap takes back a hundred
// thousand rows twenty times faster that way than in the reverse order a list shows them in.
void FreeRows(RowStore& rows);
RowStore* RowStoreOf(HWND list);

// Sorts the list on a column click (LVN_COLUMNCLICK); column -1 re-sorts without change. A list
// with a row store has its store sorted, and its selected rows stay selected.
void SortOnColumnClick(HWND list, int column);
// Asks the list's parent to re-sort as if column -1 had been clicked.
void RequestResort(HWND list);

// Installs the header painter (sort triangle, divider double clicks swallowed) on a list.
void InstallHeaderPainter(HWND list);

// A list font's character advances, taken on the window thread, so that texts can be measured
// anywhere, beside the window too. The list fonts have no kerning: a text's width is their sum.
struct TextAdvances {
    int advance[256] = {};
    int Of(std::string_view text) const;
};
TextAdvances ListTextAdvances(HWND list);
// The widest cell of each of the first columns of the rows, with the sizing's margin; touches no
// window, so a read beside the window can measure the rows it made.
std::vector<int> WidestCells(const RowStore& rows, int columns, const TextAdvances& advances);
// Sizes every column as SizeAllColumns does, from cell widths measured before (WidestCells).
void SizeAllColumnsFrom(HWND list, const std::vector<int>& widest);

// Sizes every column to its title and widest cell, with redrawing switched off and on again.
void SizeAllColumns(HWND list);
// For lists that are still empty when their stored widths are missing at start-up: sizing them
// then would fit only the titles, so they are sized once their first rows are in.
void SizeWhenFilled(HWND list);
void SizePendingColumns(HWND list);
// Forgets a sizing still waiting for rows (the list is going).
void ForgetPendingSize(HWND list);
// The same without touching the redraw state, for a list that is being filled with redrawing off.
void SizeColumnsToContents(HWND list);

// The row height of an owner-drawn list: the font's text height + 1. False for other requests.
BOOL MeasureListRow(HWND dialog, MEASUREITEMSTRUCT* measure);

// Row heights of the graph lists: at least this, and a stored height above the largest is ignored.
inline constexpr int kSmallestRowHeight = 17;
// A stored height beyond a slider's range is honoured, but not one that no list could show.
inline constexpr int kLargestStoredRowHeight = 2000;

// The row height of a graph list at its first request: the stored value when it is usable, else
// the list font's height, at least kSmallestRowHeight.
int FirstRowHeight(HWND page, int listId, const char* valueName);
// Makes an owner-drawn list of fixed row height ask again for its height: it does so only when
// told its window changed, so it is told that, with its own unchanged size.
void RemeasureRows(HWND list);

// The columns of a row that the clip box of its paint shows, the widths and formats (LVCFMT_*) of
// every column, and the left edge of the first shown.
struct RowColumns {
    std::vector<int> widths;
    std::vector<int> formats;
    ColumnRange range;
    int firstLeft;
};
RowColumns VisibleRowColumns(const DRAWITEMSTRUCT& draw);

// While a list paints, its columns' widths and formats are taken once for all the rows it paints:
// asking the list for them costs tens of microseconds a column under some systems, which every
// row of a screen would pay again. Made by the list's own procedure around its paint.
class ColumnLayoutScope
{
public:
    explicit ColumnLayoutScope(HWND list) noexcept;
    ~ColumnLayoutScope();
    ColumnLayoutScope(const ColumnLayoutScope&) = delete;
    ColumnLayoutScope& operator=(const ColumnLayoutScope&) = delete;

private:
    bool taken_ = false;
};

// What an owner-drawn list's WM_DRAWITEM does: FALSE for other controls; the row painted when
// the whole item, its selection or its focus is to be drawn.
BOOL DrawListItem(const DRAWITEMSTRUCT* draw, void (*paint)(const DRAWITEMSTRUCT& draw));

// Paints a row of a text-only list, touching only the columns the clip box shows.
void PaintPlainRow(const DRAWITEMSTRUCT& draw);

// The handlers of a page whose list holds ListRows it owns (Data Info, User Info): rows painted
// as plain text; column clicks sort, deleted items free their rows. The notify handler answers
// only its own list's notices and returns FALSE for the rest.
BOOL DrawPlainListItem(HWND page, const DRAWITEMSTRUCT* draw);
BOOL OnPlainListNotify(int listId, const NMHDR* header);
// What every report list answers alike: a column click sorts it, a text request gets the text
// its cell paints. FALSE for any other notice.
BOOL SortOrAnswerText(const NMHDR* header);
// Inserts an owned ListRow at the index (the end for -1); the list frees it on LVN_DELETEITEM.
void InsertOwnedRow(HWND list, int index, std::unique_ptr<ListRow> row);
// The row under an item, and the first selected item's row.
const ListRow* ListRowAt(HWND list, int index);
const ListRow* SelectedListRow(HWND list);
// What a refresh that refills the list does first: clears the status line and deletes every row;
// returns the index of the selected item (-1 for none) for FinishListRefill.
int BeginListRefill(HWND list);
// What a refresh that refilled the list does last: sizes columns still waiting for their first
// rows, places the header tips, re-sorts and selects the item at the remembered index again.
void FinishListRefill(HWND list, int selected);

// The widths of all columns, in order.
std::vector<int> ColumnWidths(HWND list);

// The stored column widths (or widths fitted to the rows once there are some) and the header
// tips of a list whose traits name where its widths are stored; nothing for any other list.
void RestoreListLayout(HWND list);
