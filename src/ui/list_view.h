// Machinery every report list shares: columns, click-to-sort, the header painter, sizing and plain rows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "ui/list_row.h"

// Alignment codes of a column.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignCenter = 6;

// Inserts a column of width 0 with an owner-drawn header item that carries a new ListColumn.
ListColumn* MakeColumn(HWND list, int index, const char* title, int alignment, int ascending = 1);
// Deletes every column and frees their ListColumns.
void DeleteAllColumns(HWND list);
// What every page does with its list when it is destroyed: store the column widths under the
// value name, then delete the rows (their owner frees them) and the columns.
void CloseList(HWND list, const char* widthsValueName);
int ColumnCount(HWND list);
ListColumn* ColumnRecord(HWND list, int index);

// The cells behind an item's data: the Analysis, Best Results and Completed lists carry
// WorkUnitRows, every other list a ListRow.
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

void SizeColumn(HWND list, int column);
// Sizes every column to its title and widest cell, with redrawing switched off and on again.
void SizeAllColumns(HWND list);
// For lists that are still empty when their stored widths are missing at start-up: sizing them
// then would fit only the titles, so they are sized once their first rows are in.
void SizeWhenFilled(HWND list);
void SizePendingColumns(HWND list);
// The same without touching the redraw state, for a list that is being filled with redrawing off.
void SizeColumnsToContents(HWND list);

// The row height of an owner-drawn list: the font's text height + 1. False for other requests.
bool MeasureListRow(HWND dialog, MEASUREITEMSTRUCT* measure);

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

// Paints a row of a text-only list, touching only the columns the clip box shows.
void PaintPlainRow(const DRAWITEMSTRUCT& draw);

// The widths of all columns, in order.
std::vector<int> ColumnWidths(HWND list);
