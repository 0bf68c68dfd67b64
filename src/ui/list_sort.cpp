// Column-click rules and row comparison shared by every list.
#include "ui/list_sort.h"

#include <string>

#include "client/find_value.h"

namespace {

constexpr size_t kLongestComparedText = 255;

}  // namespace

int ApplyColumnClick(const std::vector<ListColumn*>& columns, int clicked)
{
    if (columns.empty())
        return 0;
    ListColumn& first = *columns[0];
    const int last = first.sortedColumn;
    if (clicked < 0 || clicked >= static_cast<int>(columns.size()))
        return last;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        if (i != last)
            columns[i]->ascending = 0;
    columns[clicked]->ascending = columns[clicked]->ascending ? 0 : 1;
    first.sortedColumn = clicked;
    return clicked;
}

double LeadingNumber(std::string_view text)
{
    return ToNumber(text);
}

int CompareCells(int32_t kind, bool ascending, std::string_view textA, std::string_view secondA,
                 std::string_view textB, std::string_view secondB, const TextCompare& compareText)
{
    const bool bySecond = !secondA.empty() && !secondB.empty();
    const std::string a(bySecond ? secondA.substr(0, kLongestComparedText) : textA.substr(0, kLongestComparedText));
    const std::string b(bySecond ? secondB.substr(0, kLongestComparedText) : textB.substr(0, kLongestComparedText));
    int result;
    if (kind == kTextCell) {
        result = compareText(a, b);
        result = result < 0 ? -1 : result > 0 ? 1 : 0;
    } else {
        const double valueA = LeadingNumber(a);
        const double valueB = LeadingNumber(b);
        result = valueA < valueB ? -1 : valueA > valueB ? 1 : 0;
    }
    return ascending ? result : -result;
}

double BestSignalSortValue(const BestSignals& best, int column)
{
    switch (column) {
    case 1:
        return best.spikePower;
    case 2:
        return best.tripletScore;
    case 3:
        return best.pulseScore;
    case 4:
        return best.gaussianChiSquare != 0 ? best.gaussianPower / best.gaussianChiSquare : 0;
    default:
        return 0;
    }
}

ColumnRange VisibleColumns(const std::vector<int>& widths, int rowLeft, int clipLeft, int clipRight)
{
    const int count = static_cast<int>(widths.size());
    if (count == 0)
        return {0, -1};
    int first = -1;
    int last = count - 1;
    int right = rowLeft;
    for (int i = 0; i < count; ++i) {
        right += widths[i];
        if (first < 0 && right > clipLeft)
            first = i;
        if (right >= clipRight) {
            last = i;
            break;
        }
    }
    if (first < 0)
        first = count;  // the clip box lies right of every column: nothing to draw
    return {first, last};
}
