// The status line's account of reads beside the window: who is still waited for, and progress.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/common/background_reads.h"

TEST(ReadsOut, OneReadPerLocationAndTheFirstStillOutNamesTheWait)
{
    ReadsOut reads;
    EXPECT_EQ(reads.WaitingText(), "");
    EXPECT_TRUE(reads.Start("C:\\a", "Home"));
    EXPECT_EQ(reads.WaitingText(), "Waiting for Home");
    EXPECT_FALSE(reads.Start("C:\\a", "Home")) << "a second read of a location still out must not start";
    EXPECT_TRUE(reads.Start("C:\\b", "Office"));
    EXPECT_TRUE(reads.Start("C:\\c", "Attic"));
    EXPECT_EQ(reads.WaitingText(), "Waiting for Home and 2 more");
    reads.Finish("C:\\a");
    EXPECT_FALSE(reads.IsOut("C:\\a"));
    EXPECT_EQ(reads.WaitingText(), "Waiting for Office and 1 more");
    reads.Finish("C:\\nowhere"); // a read that was never out changes nothing
    reads.Finish("C:\\c");
    EXPECT_EQ(reads.WaitingText(), "Waiting for Office");
    EXPECT_TRUE(reads.Start("C:\\a", "Home")) << "a location that came back may be read again";
    reads.Finish("C:\\b");
    reads.Finish("C:\\a");
    EXPECT_TRUE(reads.Empty());
    EXPECT_EQ(reads.WaitingText(), "");
}

TEST(LoadProgress, TextByBytesReadHeldBetweenNoneAndAll)
{
    const struct {
        uint64_t read;
        uint64_t total;
        const char* text;
    } cases[] = {
        {0, 0, "Reading SETILog.csv of Home: 0%"},
        {45, 100, "Reading SETILog.csv of Home: 45%"},
        {999, 1000, "Reading SETILog.csv of Home: 99%"}, // whole percents, never rounded up to done
        {150, 100, "Reading SETILog.csv of Home: 100%"}, // a log that grew while it was read
        {UINT64_MAX / 2, UINT64_MAX, "Reading SETILog.csv of Home: 50%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadProgressText("Home", c.read, c.total), c.text) << c.read << " of " << c.total;
}

TEST(LoadProgress, ShownWhenThePercentChangesAtMostFourTimesASecond)
{
    ProgressPace pace(250);
    const struct {
        int percent;
        int64_t now;
        bool due;
    } steps[] = {
        {0, 1000, true}, {1, 1100, false}, {1, 1250, true},   {1, 1600, false},
        {2, 1610, true}, {3, 1700, false}, {40, 1859, false}, {40, 1860, true},
    };
    for (const auto& step : steps)
        EXPECT_EQ(pace.Due(step.percent, step.now), step.due) << step.percent << "% at " << step.now;
}

TEST(ReadProgress, CountsTheBytesOfEachLogAnewAndHandsNoneOnceStopped)
{
    ReadProgress progress;
    MemoryByteSource first("0123456789");
    char buffer[4];
    CountedSource one(first, progress, 0);
    EXPECT_EQ(one.Read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(one.Read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(progress.bytesRead, 8u);

    MemoryByteSource second("abcdef");
    CountedSource two(second, progress, 1);
    EXPECT_EQ(progress.source, 1);
    EXPECT_EQ(progress.bytesRead, 0u) << "the next log is counted from its own first byte";
    EXPECT_EQ(two.Read(buffer, sizeof buffer), 4u);
    progress.stop = true;
    EXPECT_EQ(two.Read(buffer, sizeof buffer), 0u) << "a stopped read ends at its next block";
    EXPECT_EQ(progress.bytesRead, 4u);
}
