// Click-to-sort direction rules, cell comparison and the visible-column range of a row painter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <strings.h>

#include "core/lists/list_sort.h"

namespace
{

const TextCompare kCaseless = [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str());
};

struct Columns {
    explicit Columns(int count, int dateLoggedColumn = -1)
    {
        for (int i = 0; i < count; ++i) {
            owned.push_back(std::make_unique<ListColumn>(i == dateLoggedColumn ? 0 : 1));
            records.push_back(owned.back().get());
        }
    }
    std::string Flags() const
    {
        std::string flags;
        for (const ListColumn* c : records)
            flags += c->ascending ? 'A' : 'D';
        return flags;
    }
    std::vector<std::unique_ptr<ListColumn>> owned;
    std::vector<ListColumn*> records;
};

TEST(ApplyColumnClick, DirectionRulesOverSeveralClicks)
{
    Columns list(4);
    const struct {
        int click;
        int sortBy;
        const char* flags;
    } steps[] = {
        {-1, 0, "AAAA"},                 // a re-sort changes nothing
        {3, 3, "ADDA"},                  // the first click on another column sorts it ascending
        {3, 3, "DDDD"},                  // a second click reverses; every other column is reset
        {3, 3, "DDDA"},  {1, 1, "DADA"}, // the last sorted column keeps its flag when another is clicked
        {-1, 1, "DADA"}, {0, 0, "AADD"}, {0, 0, "DDDD"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.click);
        EXPECT_EQ(ApplyColumnClick(list.records, step.click), step.sortBy);
        EXPECT_EQ(list.Flags(), step.flags);
    }
}

TEST(ApplyColumnClick, FirstClickOnColumnZeroInvertsItsInitialFlag)
{
    Columns list(3);
    EXPECT_EQ(ApplyColumnClick(list.records, 0), 0);
    EXPECT_EQ(list.Flags(), "DDD");
    Columns completed(3, 0); // made descending, like "Date Logged"
    ApplyColumnClick(completed.records, 0);
    EXPECT_EQ(completed.Flags(), "ADD");
}

TEST(CompareCells, TextsNumbersAndSecondTexts)
{
    const struct {
        int32_t kind;
        bool ascending;
        const char *textA, *secondA, *textB, *secondB;
        int expected;
    } cases[] = {
        {kTextCell, true, "home", "", "HOME", "", 0}, // case only: equal
        {kTextCell, true, "Attic", "", "home", "", -1},
        {kTextCell, false, "Attic", "", "home", "", 1},
        {kNumberCell, true, "9:59:59", "35999", "10:00:00", "36000", -1}, // by the second texts
        {kNumberCell, true, "5", "100", "7", "", -1},                     // only one has a key: display texts
        {kNumberCell, true, "25.000", "", "25.0", "", 0},                 // equal values
        {kNumberCell, false, "2.5", "", "10", "", 1},
        {kNumberCell, true, "abc", "", "-1", "", 1}, // no number reads as 0
        {kNumberCell, true, " ", "", "0.5", "", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.textA) + " vs " + c.textB);
        EXPECT_EQ(CompareCells(c.kind, c.ascending, c.textA, c.secondA, c.textB, c.secondB, kCaseless), c.expected);
    }
}

TEST(CompareCells, OnlyTheFirst255CharactersCount)
{
    const std::string a = std::string(255, 'x') + "a";
    const std::string b = std::string(255, 'x') + "b";
    EXPECT_EQ(CompareCells(kTextCell, true, a, "", b, "", kCaseless), 0);
}

// The key sort must give what a stable sort through CompareCells gives, in both directions, for
// columns of texts, numbers, second texts and a mix of kinds (a cell never set counts as text).
TEST(SortedOrder, MatchesAStableSortThroughCompareCells)
{
    const auto lowerKey = [](std::string_view text) {
        std::string key(text);
        for (char& c : key)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return key;
    };
    const struct {
        int32_t kind; // -1: the cell is never set
        const char* text;
        const char* second;
    } cells[] = {
        {kTextCell, "home", ""},
        {kTextCell, "Attic", ""},
        {kTextCell, "HOME", ""},
        {kNumberCell, "10:00:00", "36000"},
        {kNumberCell, "9:59:59", "35999"},
        {kNumberCell, "7", ""},
        {kNumberCell, "abc", ""},
        {-1, "", ""},
        {kTextCell, "", ""},
        {kTextCell, "b", "a"},
        {kNumberCell, "2.5", ""},
        {kTextCell, "Attic", "z"},
    };
    std::vector<ListRow> owned;
    for (const auto& cell : cells) {
        owned.emplace_back(1);
        if (cell.kind >= 0)
            owned.back().SetCell(0, cell.kind, cell.text,
                                 *cell.second ? std::optional<std::string_view>(cell.second) : std::nullopt);
    }
    // Every run of consecutive rows is a column of its own: uniform, mixed, with and without keys.
    for (size_t first = 0; first < owned.size(); ++first)
        for (size_t last = first; last < owned.size(); ++last)
            for (const bool ascending : {true, false}) {
                std::vector<const ListRow*> rows;
                for (size_t i = first; i <= last; ++i)
                    rows.push_back(&owned[i]);
                std::vector<size_t> expected(rows.size());
                for (size_t i = 0; i < expected.size(); ++i)
                    expected[i] = i;
                std::stable_sort(expected.begin(), expected.end(), [&](size_t a, size_t b) {
                    return CompareCells(rows[a]->Kind(0), ascending, rows[a]->Text(0), rows[a]->Second(0),
                                        rows[b]->Text(0), rows[b]->Second(0), kCaseless) < 0;
                });
                SCOPED_TRACE(testing::Message() << first << ".." << last << (ascending ? " up" : " down"));
                EXPECT_EQ(SortedOrder(rows, 0, ascending, lowerKey), expected);
            }
}

TEST(BestSignalSortValue, SignalColumns)
{
    BestSignals best;
    best.spikePower = 3;
    best.tripletScore = 4;
    best.pulseScore = 5;
    best.gaussianPower = 6;
    best.gaussianChiSquare = 2;
    EXPECT_EQ(BestSignalSortValue(best, 1), 3);
    EXPECT_EQ(BestSignalSortValue(best, 2), 4);
    EXPECT_EQ(BestSignalSortValue(best, 3), 5);
    EXPECT_EQ(BestSignalSortValue(best, 4), 3);
    best.gaussianChiSquare = 0;
    EXPECT_EQ(BestSignalSortValue(best, 4), 0);
}

TEST(VisibleColumns, FromTheClipBox)
{
    const std::vector<int> widths = {50, 60, 70, 80}; // right edges 50, 110, 180, 260
    const struct {
        int clipLeft, clipRight, first, last;
    } cases[] = {
        {0, 260, 0, 3},   {0, 1000, 0, 3},  {49, 51, 0, 1},   {50, 110, 1, 1},
        {111, 179, 2, 2}, {200, 300, 3, 3}, {300, 400, 4, 3}, // nothing to draw
    };
    for (const auto& c : cases) {
        const ColumnRange range = VisibleColumns(widths, 0, c.clipLeft, c.clipRight);
        EXPECT_EQ(range.first, c.first) << c.clipLeft << "-" << c.clipRight;
        EXPECT_EQ(range.last, c.last) << c.clipLeft << "-" << c.clipRight;
    }
    EXPECT_EQ(VisibleColumns({}, 0, 0, 10).last, -1);
    // A row scrolled left starts at a negative x.
    EXPECT_EQ(VisibleColumns(widths, -100, 0, 50).first, 1);
}

} // namespace
