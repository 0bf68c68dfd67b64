// Sorting rules of every list: the column-click direction rules and the comparison of two cells.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/lists/list_row.h"

// Applies a column click to the lists' column records and returns the column to sort by.
// Column -1 re-sorts by the last sorted column without changing anything. Any other column:
// every column but the last sorted one is reset to descending, the clicked one is inverted,
// and it becomes the last sorted column. So a second click reverses and a click on another
// column sorts it ascending.
int ApplyColumnClick(const std::vector<ListColumn*>& columns, int clicked);

// Case-insensitive text comparison by the user's locale; the program passes the system's.
using TextCompare = std::function<int(const std::string& a, const std::string& b)>;

// Compares one column's cells of two rows: by second texts when both have one, else by the
// display texts, each cut to 255 characters; text cells by the locale, number cells by their
// leading numeric value. Negated when the column sorts descending.
int CompareCells(int32_t kind, bool ascending, std::string_view textA, std::string_view secondA, std::string_view textB,
                 std::string_view secondB, const TextCompare& compareText);

// A sort key of a text whose byte order is the order the locale's case-insensitive comparison
// gives (the system supplies it); it is handed the text a comparison sees, at most 255
// characters and up to a zero byte.
using SortKeyMaker = std::function<std::string(std::string_view text)>;

// The order (row indexes) that a stable sort on one column gives: the order of CompareCells with
// the comparison that makeKey's keys stand for, through keys made once per row.
std::vector<size_t> SortedOrder(const std::vector<const ListRow*>& rows, int column, bool ascending,
                                const SortKeyMaker& makeKey);

// The leading decimal value of a text, 0 when there is none.
double LeadingNumber(std::string_view text);

// The value the Best Results tab sorts its signal columns 1 to 4 by.
double BestSignalSortValue(const BestSignals& best, int column);

// The columns a row painter draws for a clip box: from the first column whose right edge lies
// right of clipLeft to the first whose right edge reaches clipRight (or the last column).
// Returns {first, last}; {0, -1} when there are no columns.
struct ColumnRange {
    int first;
    int last;
};
ColumnRange VisibleColumns(const std::vector<int>& widths, int rowLeft, int clipLeft, int clipRight);
