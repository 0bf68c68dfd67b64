// Cells of list rows: kinds, sort-key filtering and in-place replacement.
#include <gtest/gtest.h>

#include "core/lists/list_row.h"

#include <string>

namespace
{

TEST(ListRow, SetCellFiltersNumberKeysOnly)
{
    const struct {
        int32_t kind;
        const char* second;
        const char* stored;
    } cases[] = {
        {kNumberCell, "3:25:07", "32507"}, {kNumberCell, "ab12", "12"}, {kNumberCell, "1,234 sec", "1234"},
        {kNumberCell, "-12.5", "12.5"},    {kNumberCell, "1/2", "1/2"}, {kTextCell, "3:25:07", "3:25:07"},
    };
    for (const auto& c : cases) {
        ListRow row(1);
        row.SetCell(0, c.kind, "shown", c.second);
        EXPECT_EQ(row.Second(0), c.stored) << c.second;
        EXPECT_EQ(row.Kind(0), c.kind);
    }
}

TEST(ListRow, ReplaceCellNeedsAnEarlierTextAndKeepsTheKind)
{
    ListRow row(3);
    row.ReplaceCell(0, "ignored");
    EXPECT_FALSE(row.HasText(0));
    EXPECT_EQ(row.Text(0), "");
    EXPECT_EQ(row.Second(0), "");

    row.SetCell(1, kNumberCell, "1:00:00", "3600");
    row.ReplaceCell(1, "2:00:00", "7,200");
    EXPECT_EQ(row.Text(1), "2:00:00");
    EXPECT_EQ(row.Second(1), "7200");
    EXPECT_EQ(row.Kind(1), kNumberCell);

    // Passing the cell's own texts back in is safe.
    row.ReplaceCell(1, row.Text(1), row.Second(1));
    EXPECT_EQ(row.Text(1), "2:00:00");
    EXPECT_EQ(row.Second(1), "7200");
    row.ReplaceCell(1, row.Second(1));
    EXPECT_EQ(row.Text(1), "7200");
    EXPECT_EQ(row.Second(1), "");
}

// Cells set again and again (as an analysis row is on every refresh) keep their own texts while
// the shared buffer grows, drops what was left behind and moves.
TEST(ListRow, CellsSetAgainKeepEveryOtherCell)
{
    ListRow row(4);
    row.SetCell(0, kTextCell, "Home");
    row.SetCell(3, kNumberCell, "12.5%", "12.5");
    for (int round = 0; round < 500; ++round) {
        const std::string longText(static_cast<size_t>(round % 97), 'x');
        row.SetCell(1, kNumberCell, std::to_string(round), std::to_string(round * 2) + " s");
        row.SetCell(2, kTextCell, longText, std::nullopt);
        // A view of another cell's text, copied while the buffer may move or be packed.
        row.SetCell(round % 2 ? 2 : 1, kTextCell, row.Text(0), row.Second(3));
        ASSERT_EQ(row.Text(0), "Home") << round;
        ASSERT_EQ(row.Text(3), "12.5%") << round;
        ASSERT_EQ(row.Second(3), "12.5") << round;
        ASSERT_EQ(row.Text(round % 2 ? 2 : 1), "Home") << round;
        ASSERT_EQ(row.Second(round % 2 ? 2 : 1), "12.5") << round;
        ASSERT_EQ(row.Text(round % 2 ? 1 : 2), round % 2 ? std::to_string(round) : longText) << round;
    }
    // A cell set without texts has none again.
    row.SetCell(0, kTextCell, std::nullopt);
    EXPECT_FALSE(row.HasText(0));
    EXPECT_EQ(row.Text(3), "12.5%");
}

TEST(ListRow, OutOfRangeIndexesAreHarmless)
{
    ListRow row(2);
    row.SetCell(5, kTextCell, "x");
    row.ReplaceCell(-1, "x");
    EXPECT_EQ(row.Text(7), "");
    EXPECT_EQ(row.Count(), 2);
}

TEST(WorkUnitRow, StartsUnsetAndLooksAtOnce)
{
    WorkUnitRow row("C:\\Client", 9);
    EXPECT_EQ(row.stateTime, kStateTimeUnset);
    EXPECT_EQ(row.unchangedCount, 9999999);
    EXPECT_EQ(row.cells.Count(), 9);
    EXPECT_EQ(row.best.spikePower, 0);
    EXPECT_TRUE(row.best.pulsePot.empty());
}

} // namespace
