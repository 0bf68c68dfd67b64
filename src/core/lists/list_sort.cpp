// Column-click rules and row comparison shared by every list.
#include "core/lists/list_sort.h"

#include <algorithm>
#include <string>

#include "core/client/find_value.h"

namespace
{

constexpr size_t kLongestComparedText = 255;

// The text a comparison sees: cut to 255 characters, and at a zero byte as the system's
// comparison of C strings would.
std::string_view ComparedText(std::string_view text)
{
    text = text.substr(0, kLongestComparedText);
    return text.substr(0, text.find('\0'));
}

// A cell's comparison keys, worked out once per row instead of once per comparison: the
// system's sort key of a text cell's text (byte order equals lstrcmpi's order) or a number cell's
// leading value, for the display text and for the second text.
struct CellKey {
    bool hasSecond = false;
    std::string text;
    std::string second;
    double textValue = 0;
    double secondValue = 0;
};

// The keys of one cell; text keys when some row of the column compares as text, values when some
// compares as numbers (a column can hold both: a cell never set counts as text), and keys of the
// display text only when some row has no second text.
CellKey KeyOf(const ListRow& cells, int column, bool textKeys, bool valueKeys, bool displayTexts,
              const SortKeyMaker& makeKey)
{
    CellKey key;
    const std::string_view second = cells.Second(column);
    key.hasSecond = !second.empty();
    if (textKeys) {
        if (displayTexts)
            key.text = makeKey(ComparedText(cells.Text(column)));
        if (key.hasSecond)
            key.second = makeKey(ComparedText(second));
    }
    if (valueKeys) {
        if (displayTexts)
            key.textValue = LeadingNumber(cells.Text(column).substr(0, kLongestComparedText));
        if (key.hasSecond)
            key.secondValue = LeadingNumber(second.substr(0, kLongestComparedText));
    }
    return key;
}

// The order CompareCells gives, from the keys: second texts when both rows have one.
int CompareKeys(bool textCell, const CellKey& a, const CellKey& b)
{
    const bool bySecond = a.hasSecond && b.hasSecond;
    if (textCell) {
        const int result = (bySecond ? a.second : a.text).compare(bySecond ? b.second : b.text);
        return result < 0 ? -1 : result > 0 ? 1 : 0;
    }
    const double valueA = bySecond ? a.secondValue : a.textValue;
    const double valueB = bySecond ? b.secondValue : b.textValue;
    return valueA < valueB ? -1 : valueA > valueB ? 1 : 0;
}

} // namespace

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

int CompareCells(int32_t kind, bool ascending, std::string_view textA, std::string_view secondA, std::string_view textB,
                 std::string_view secondB, const TextCompare& compareText)
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
        first = count; // the clip box lies right of every column: nothing to draw
    return {first, last};
}

std::vector<size_t> SortedOrder(const std::vector<const ListRow*>& rows, int column, bool ascending,
                                const SortKeyMaker& makeKey)
{
    std::vector<bool> textCells;
    textCells.reserve(rows.size());
    for (const ListRow* row : rows)
        textCells.push_back(row->Kind(column) == kTextCell);
    const bool anyText = std::find(textCells.begin(), textCells.end(), true) != textCells.end();
    const bool anyNumber = std::find(textCells.begin(), textCells.end(), false) != textCells.end();
    // Display texts are compared only in pairs where a row has no second text.
    const bool displayTexts =
        std::any_of(rows.begin(), rows.end(), [column](const ListRow* row) { return row->Second(column).empty(); });
    std::vector<CellKey> keys;
    keys.reserve(rows.size());
    for (const ListRow* row : rows)
        keys.push_back(KeyOf(*row, column, anyText, anyNumber, displayTexts, makeKey));
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        // The first row's kind decides, as it does in a comparison of two rows.
        const int result = CompareKeys(textCells[a], keys[a], keys[b]);
        return (ascending ? result : -result) < 0;
    });
    return order;
}
