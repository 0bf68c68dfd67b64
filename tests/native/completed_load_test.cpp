// Completed work units from SETILog.csv: value texts, the detail load's stop points, totals and the grand total.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "allocation_limit.h"
#include "core/calendar/day_table.h"
#include "core/client/find_value.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_sky_points.h"

namespace
{

// Columns in the order of the detail load's steps, so a record cut short stops at each of them.
const std::string kHeader =
    "date,name,cpu,bs_power,bg_power,bg_pot,bt_pot,bt_power,bt_score,bt_tpotind0_0,bt_tpotind1_0,bt_tpotind2_0,"
    "bp_power,bp_score,bp_period,bp_fft_len,bp_pot,bg_chisq,start_ra,start_dec,time_recorded,subband_base,"
    "angle_range\r\n";

std::string FullRecord(const std::string& name, int cpu, double peak = 12.5)
{
    return "2000-03-20 10:00:00," + name + "," + std::to_string(cpu) + "," + std::to_string(peak) +
           ",3.5,1.5 2.25,0a10,7.5,20.25,3,9,12,4.5,1.75,0.5,1024,ff00,1.75,14.5,12.25,"
           "2451617.12345 (Mon Mar 13 10:20:30 2000),1420000000,0.395\r\n";
}

DetailLoad Load(const std::string& bytes, LocationNode& node)
{
    LogReader reader;
    MemoryByteSource source(bytes);
    reader.Start(source);
    return LoadDetail(reader, node);
}

LocationTotals Totals(const std::string& bytes)
{
    LogReader reader;
    MemoryByteSource source(bytes);
    reader.Start(source);
    return LoadTotals(reader);
}

TEST(CompletedLoad, RecordingDateKeys)
{
    const struct {
        const char* name;
        const char* key;
    } cases[] = {
        {"13mr00aa.1234.5678.123.45", "20000313aa.1234.5678.123.45"},
        {"02ja98ab.1", "19980102ab.1"},
        {"28fe99", "19990228"},
        {"05jl01xy", "20000705xy"}, // any year but 98 and 99 is 2000
        {"31de99zz", "19991231zz"}, // an unknown month code is December
        {"31MR99", "19991231"},     // codes compare exactly
        {"07oc", "20001007"},       // short names: absent characters are simply absent
        {"1", "2000121"},
        {"", "200012"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameSortKey(c.name), c.key) << c.name;
    EXPECT_EQ(RecordingDateKey("13mr00aa.1234"), "20000313");
}

TEST(CompletedLoad, ValueTexts)
{
    EXPECT_EQ(CpuTimeText(3725), "1:02:05");
    EXPECT_EQ(Format("%.5f", PercentPerHour(3725)), "96.64430");
    EXPECT_EQ(CpuTimeText(0), "0:00:00");
    EXPECT_EQ(Format("%.5f", PercentPerHour(0)), "0.00000");
    EXPECT_EQ(CpuTimeText(360000LL * 100000), "10000000:00:00"); // sums of many work units
    EXPECT_EQ(CpuTimeText(-65), "-0:01:05");

    EXPECT_EQ(SkyPositionText(14.5, 12.25), "14 hr 30 min 0 sec RA, + 12 deg 15 min 0 sec Dec");
    EXPECT_EQ(SkyPositionText(0, -8.5), "0 hr 0 min 0 sec RA, + -8 deg -30 min 0 sec Dec");
    EXPECT_EQ(SkyPositionText(1e300, -1e300), "2147483647 hr 0 min 0 sec RA, + -2147483648 deg 0 min 0 sec Dec");

    EXPECT_EQ(GaussianScore(3.0, 1.5), 2.0);
    EXPECT_EQ(GaussianScore(3.0, 0.0), 0.0);

    EXPECT_EQ(ReadableRecordingTime("2451617.12345 (Mon Mar 13 10:20:30 2000)"), "Mon Mar 13 10:20:30 2000");
    EXPECT_EQ(ReadableRecordingTime("2451617.12345"), "");
    EXPECT_EQ(ReadableRecordingTime("2451617 "), "");
    EXPECT_EQ(ReadableRecordingTime("2451617 ()"), "");
    EXPECT_EQ(ReadableRecordingTime("2451617 (x)"), "x");

    EXPECT_EQ(DailyRate(0, 0), 0.0);
    EXPECT_EQ(DailyRate(36000, 10), 24.0);
    EXPECT_EQ(DailyRate(36009, 10), 24.0); // the average is taken in whole seconds
    EXPECT_EQ(DailyRate(0, 10), 0.0);
    EXPECT_EQ(DailyRate(9, 10), 0.0); // an average below one second gives no rate

    ASSERT_TRUE(LogFileName("C:\\seti"));
    EXPECT_EQ(*LogFileName("C:\\seti"), "C:\\seti\\SETILog.csv");
    EXPECT_TRUE(LogFileName(std::string(259 - 12, 'p')));
    EXPECT_FALSE(LogFileName(std::string(260 - 12, 'p')));
}

// Regression: a huge power over a tiny chi-square overflowed, and the Gaussian cell and the
// top-gaussian text showed "inf".
TEST(CompletedLoad, OverflowingGaussianScoreIsZero)
{
    EXPECT_EQ(GaussianScore(1e308, 1e-300), 0.0);
    EXPECT_EQ(GaussianScore(-1e308, 1e-300), 0.0);
    EXPECT_EQ(GaussianScore(1e300, 1e-5), 1e305);
    EXPECT_EQ(TopGaussianText(1e-300, 1e-300).find("inf"), std::string::npos);
    EXPECT_EQ(TopGaussianText(1e10, 1e-300), "score 0.0000,  power 10000000000.00,  fit 0.000");
}

TEST(CompletedLoad, GaussianPotForm)
{
    EXPECT_EQ(GaussianPotFromLog("1.5 2.25"), "1.5\x01"
                                              "2.25\x01");
    EXPECT_EQ(GaussianPotFromLog(""), "");
    // Cut after a whole value within the pot's capacity.
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += "1.25 ";
    const std::string pot = GaussianPotFromLog(many);
    EXPECT_LE(pot.size(), kGaussianPotCapacity);
    EXPECT_EQ(pot.size() % 5, 0u);
    EXPECT_EQ(pot.substr(pot.size() - 5), "1.25\x01");
}

TEST(CompletedLoad, DetailRowOfACompleteWorkUnit)
{
    LocationNode node;
    node.colour = 255;
    DetailLoad load = Load(kHeader + FullRecord("13mr00aa.1234.5678.123.45", 3725), node);
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.count, 1);
    EXPECT_EQ(load.cpuSum, 3725);
    const WorkUnitRow& row = *load.rows[0];
    const ListRow& cells = row.cells;
    ASSERT_EQ(cells.Count(), kCompletedCellCount);
    EXPECT_EQ(row.path, "");
    EXPECT_EQ(cells.Text(kCellDateLogged), "2000-03-20 10:00:00");
    EXPECT_EQ(cells.Second(kCellWorkUnitName), "20000313aa.1234.5678.123.45");
    EXPECT_EQ(cells.Text(kCellCpuTime), "1:02:05");
    EXPECT_EQ(cells.Second(kCellCpuTime), "10205");
    EXPECT_EQ(cells.Text(kCellPercentPerHour), "96.64430");
    EXPECT_EQ(cells.Text(kCellPeak), "12.50");
    EXPECT_EQ(cells.Text(kCellFrom), "14 hr 30 min 0 sec RA, + 12 deg 15 min 0 sec Dec");
    EXPECT_EQ(cells.Second(kCellFrom), "14.5");
    EXPECT_EQ(cells.Text(kCellRecordedOn), "Mon Mar 13 10:20:30 2000");
    EXPECT_EQ(cells.Text(kCellBaseFrequency), "1.420000000 GHz");
    EXPECT_EQ(cells.Text(kCellAngleRange), "0.395");
    EXPECT_EQ(cells.Text(kCellTriplet), "20.25");
    EXPECT_EQ(cells.Text(kCellPulses), "1.75");
    EXPECT_EQ(cells.Text(kCellGaussian), "2");
    EXPECT_EQ(cells.Text(kCellStartRa), "14.5");
    EXPECT_EQ(cells.Text(kCellStartDec), "12.25");
    EXPECT_EQ(cells.Text(kCellColour), "255");
    for (int cell = kCellCpuTime; cell < kCompletedCellCount; ++cell)
        EXPECT_EQ(cells.Kind(cell), kNumberCell) << cell;

    const BestSignals& best = row.best;
    EXPECT_EQ(best.spikePower, 0.0); // the peak lives in its cell only
    EXPECT_EQ(best.gaussianPower, 3.5);
    EXPECT_EQ(best.gaussianChiSquare, 1.75);
    EXPECT_EQ(best.gaussianPot, "1.5\x01"
                                "2.25\x01");
    EXPECT_EQ(best.tripletPot, (HexPot{0x0a, 0x10}));
    EXPECT_EQ(best.tripletPower, 7.5);
    EXPECT_EQ(best.tripletScore, 20.25);
    EXPECT_EQ(best.tripletPotIndex[0][0], 3.0);
    EXPECT_EQ(best.tripletPotIndex[1][0], 9.0);
    EXPECT_EQ(best.tripletPotIndex[2][0], 12.0);
    EXPECT_EQ(best.pulsePower, 4.5);
    EXPECT_EQ(best.pulseScore, 1.75);
    EXPECT_EQ(best.pulsePeriod, 0.5);
    EXPECT_EQ(best.pulseFftLength, 1024.0);
    EXPECT_EQ(best.pulsePot, (HexPot{0xff, 0x00}));
    EXPECT_EQ(node.count, 1);
    EXPECT_EQ(node.perDay, 86400.0 / 3725);
}

TEST(CompletedLoad, DetailStopPointsLeaveRowsUncounted)
{
    const std::string full = FullRecord("13mr00aa.1", 100);
    // Cuts the record after n fields (the line end stays), so the columns from n on are missing.
    auto cut = [&](int fields) {
        size_t pos = 0;
        for (int i = 0; i < fields; ++i)
            pos = full.find(',', pos) + 1;
        return full.substr(0, pos - 1) + "\r\n";
    };
    // The cells in the order the load fills them.
    const int fillOrder[] = {kCellDateLogged,    kCellWorkUnitName, kCellCpuTime,  kCellPercentPerHour, kCellPeak,
                             kCellTriplet,       kCellPulses,       kCellGaussian, kCellFrom,           kCellRecordedOn,
                             kCellBaseFrequency, kCellAngleRange,   kCellStartRa,  kCellStartDec,       kCellColour};
    const struct {
        int fields;
        int filled; // how many cells of the fill order have a text
    } cases[] = {
        {4, 5},   // bg_power missing
        {17, 7},  // bg_chisq missing
        {18, 8},  // start_ra missing
        {19, 8},  // start_dec missing
        {20, 9},  // time_recorded missing
        {21, 10}, // subband_base missing
        {22, 11}, // angle_range missing
    };
    for (const auto& c : cases) {
        LocationNode node;
        DetailLoad load = Load(kHeader + cut(c.fields) + full, node);
        ASSERT_EQ(load.rows.size(), 2u) << c.fields;
        EXPECT_EQ(load.count, 1) << c.fields;
        EXPECT_EQ(load.cpuSum, 200) << c.fields; // the stopped record's CPU time is summed all the same
        EXPECT_EQ(node.count, 1);
        EXPECT_EQ(node.perDay, 86400.0 / 200);
        const ListRow& cells = load.rows[0]->cells;
        for (int i = 0; i < kCompletedCellCount; ++i)
            EXPECT_EQ(!cells.Text(fillOrder[i]).empty(), i < c.filled) << c.fields << " cell " << fillOrder[i];
        EXPECT_EQ(load.rows[1]->cells.Text(kCellColour), "0");
    }
}

TEST(CompletedLoad, DetailWithoutOptionalColumns)
{
    // No name, cpu or bs_power column: those cells stay empty and the work units still count.
    const std::string bytes = "date,bg_power,bg_chisq,start_ra,start_dec,time_recorded,subband_base,angle_range\n"
                              "d1,1,0,1,2,2451617.5,1e9,0.5\n"
                              "\n"
                              ",,,,\n"
                              "d2,1,2,1,2,2451617.5 (x),1e9,0.5\n";
    LocationNode node;
    node.count = 77;
    node.perDay = 5;
    DetailLoad load = Load(bytes, node);
    ASSERT_EQ(load.rows.size(), 2u); // blank lines and lines of commas are skipped
    EXPECT_EQ(load.count, 2);
    EXPECT_EQ(node.count, 2);
    EXPECT_EQ(node.perDay, 0.0); // no CPU time at all: no rate
    const ListRow& first = load.rows[0]->cells;
    EXPECT_EQ(first.Text(kCellWorkUnitName), "");
    EXPECT_EQ(first.Text(kCellCpuTime), "");
    EXPECT_EQ(first.Text(kCellPeak), "");
    EXPECT_EQ(first.Text(kCellGaussian), "0");  // a zero chi-square gives a score of 0
    EXPECT_EQ(first.Text(kCellRecordedOn), ""); // no blank in time_recorded, still counted
    EXPECT_EQ(first.Text(kCellTriplet), "0");   // triplet and pulse columns missing: 0
    EXPECT_TRUE(load.rows[0]->best.tripletPot.empty());
    EXPECT_EQ(load.rows[1]->cells.Text(kCellRecordedOn), "x");
    EXPECT_EQ(load.rows[1]->cells.Text(kCellDateLogged), "d2");

    // An empty file and a header alone give no work units.
    EXPECT_TRUE(Load("", node).rows.empty());
    EXPECT_EQ(node.count, 0);
    EXPECT_TRUE(Load(kHeader, node).rows.empty());
    EXPECT_EQ(node.perDay, 0.0);
}

TEST(CompletedLoad, DetailHeaderInCapitals)
{
    std::string upper = kHeader;
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    LocationNode node;
    DetailLoad load = Load(upper + FullRecord("01ja99a", 7200), node);
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.count, 1);
    EXPECT_EQ(load.rows[0]->cells.Text(kCellCpuTime), "2:00:00");
    EXPECT_EQ(node.perDay, 12.0);
}

TEST(CompletedLoad, TotalsAndGrandTotal)
{
    std::string ten = kHeader;
    for (int i = 0; i < 10; ++i)
        ten += FullRecord("13mr00aa." + std::to_string(i), 1000 + i * 100, i == 7 ? 99.5 : 10.0 + i);
    const LocationTotals first = Totals(ten);
    EXPECT_EQ(first.count, 10);
    EXPECT_EQ(first.cpuSum, 14500);
    EXPECT_EQ(first.AverageCpu(), 1450);
    EXPECT_EQ(first.topPeak, 99.5);
    EXPECT_EQ(first.topScore, 2.0);
    EXPECT_EQ(first.dailyRate, 86400.0 / 1450);

    const LocationTotals empty = Totals(kHeader);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.dailyRate, 0.0);

    // Either order: the grand average is the CPU sum of both over the 10 work units.
    for (const bool emptyFirst : {false, true}) {
        LocationTotals grand;
        AddToGrandTotal(grand, emptyFirst ? empty : first);
        AddToGrandTotal(grand, emptyFirst ? first : empty);
        EXPECT_EQ(grand.count, 10);
        EXPECT_EQ(grand.AverageCpu(), 1450);
        EXPECT_EQ(grand.topPeak, 99.5);
        EXPECT_EQ(grand.dailyRate, first.dailyRate);
        const auto row = MakeTotalsRow(kGrandTotalName, grand);
        const ListRow& cells = row->cells;
        ASSERT_EQ(cells.Count(), kTotalsCellCount);
        EXPECT_EQ(cells.Text(kTotalsLocation), "Grand Total");
        EXPECT_EQ(cells.Text(kTotalsWorkUnits), "10");
        EXPECT_EQ(cells.Text(kTotalsCpuTime), "4:01:40");
        EXPECT_EQ(cells.Second(kTotalsCpuTime), "40140");
        EXPECT_EQ(cells.Text(kTotalsAverageCpu), "0:24:10");
        EXPECT_EQ(cells.Text(kTotalsPercentPerHour), Format("%.5f", 100 / (1450 * 0.0002777777777777778)));
        EXPECT_EQ(cells.Text(kTotalsTopPeak), "99.50");
        EXPECT_EQ(cells.Text(kTotalsTopGaussian), "score 2.0000,  power 3.50,  fit 1.750");
    }

    const auto zero = MakeTotalsRow(kGrandTotalName, LocationTotals());
    EXPECT_EQ(zero->cells.Text(kTotalsWorkUnits), "0");
    EXPECT_EQ(zero->cells.Text(kTotalsAverageCpu), "0:00:00");
    EXPECT_EQ(zero->cells.Text(kTotalsPercentPerHour), "0.00000");
    EXPECT_EQ(zero->cells.Text(kTotalsTopGaussian), "score 0.0000,  power 0.00,  fit 0.000");
}

// A damaged log's CPU seconds can be any number: the sums stop at the largest (or smallest) count
// instead of overflowing, in the detail load, a location's totals and the grand total.
TEST(CompletedLoad, CpuSumsSaturate)
{
    const int64_t huge = INT64_MAX / 2 + 1000;
    std::string log = kHeader;
    for (const int64_t cpu : {huge, huge, int64_t{5}})
        log += "2000-03-20 10:00:00,13mr00aa.1," + std::to_string(cpu) + ",1.0\r\n";
    std::string negative = kHeader;
    for (int i = 0; i < 3; ++i)
        negative += "2000-03-20 10:00:00,13mr00aa.1," + std::to_string(-huge) + ",1.0\r\n";

    // Texts beyond the platform's long read as 0 (on 32-bit Windows all of these).
    const int64_t read = ToInteger(std::to_string(huge));
    const int64_t expected = read == 0 ? 5 : INT64_MAX;
    const LocationTotals totals = Totals(log);
    EXPECT_EQ(totals.cpuSum, expected);
    LocationNode node;
    EXPECT_EQ(Load(log, node).cpuSum, expected);
    EXPECT_EQ(Totals(negative).cpuSum, read == 0 ? 0 : INT64_MIN);

    LocationTotals grand;
    for (int i = 0; i < 3; ++i)
        AddToGrandTotal(grand, totals);
    EXPECT_EQ(grand.cpuSum, read == 0 ? 15 : INT64_MAX);
    EXPECT_EQ(grand.count, 9);
    LocationTotals many;
    many.count = INT32_MAX - 1;
    AddToGrandTotal(grand, many);
    EXPECT_EQ(grand.count, INT32_MAX);
    EXPECT_FALSE(MakeTotalsRow(kGrandTotalName, grand)->cells.Text(kTotalsCpuTime).empty());
}

TEST(CompletedLoad, TotalsTopValuesKeepTheEarlierOnTies)
{
    const std::string bytes = "cpu,bs_power,bg_power,bg_chisq\n"
                              "10,5,4,2\n" // score 2
                              "10,5,8,4\n" // the same score later: not taken
                              "10,3,9,0\n" // chi-square 0: score 0
                              "10,,,\n"    // empty values read as 0
                              "10\n";      // missing gaussian columns: no candidate, still counted
    const LocationTotals totals = Totals(bytes);
    EXPECT_EQ(totals.count, 5);
    EXPECT_EQ(totals.cpuSum, 50);
    EXPECT_EQ(totals.topPeak, 5.0);
    EXPECT_EQ(totals.topPower, 4.0);
    EXPECT_EQ(totals.topFit, 2.0);

    LocationTotals grand;
    LocationTotals a;
    a.topPeak = 7;
    a.topScore = 3;
    a.topPower = 6;
    a.topFit = 2;
    LocationTotals b = a;
    b.topPower = 9;
    b.topFit = 3;
    AddToGrandTotal(grand, a);
    AddToGrandTotal(grand, b);
    EXPECT_EQ(grand.topPower, 6.0); // equal scores: the earlier location stays
}

} // namespace

namespace
{

// The Sky Map reads the same place from a detail row and from the log itself.
TEST(CompletedLoad, SkyPointsFromRowsAndFromTheLog)
{
    LocationNode node;
    node.colour = 0x00FF80;
    const std::string log =
        kHeader + FullRecord("one.wu", 100) + "2000-03-21 10:00:00,short.wu,5\r\n" + FullRecord("two.wu", 200);
    const DetailLoad load = Load(log, node);
    ASSERT_EQ(load.rows.size(), 3u);
    const SkyPoint fromRow = SkyPointOfRow(load.rows[0]->cells);
    EXPECT_STREQ(fromRow.name, "one.wu");
    EXPECT_STREQ(fromRow.recordedOn, "Mon Mar 13 10:20:30 2000");
    EXPECT_EQ(fromRow.rightAscension, 14.5);
    EXPECT_EQ(fromRow.declination, 12.25);
    EXPECT_EQ(fromRow.colour, 0x00FF80);
    const SkyPoint stoppedEarly = SkyPointOfRow(load.rows[1]->cells);
    EXPECT_EQ(stoppedEarly.rightAscension, 0);
    EXPECT_EQ(stoppedEarly.colour, 0);

    // From the log, the record cut short gives no point and the one after it gives its own.
    LogReader reader;
    MemoryByteSource source(log);
    reader.Start(source);
    SkyPointSet points;
    EXPECT_TRUE(ReadLogSkyPoints(reader, node, points));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_STREQ(points[0].name, "one.wu");
    EXPECT_STREQ(points[0].recordedOn, fromRow.recordedOn);
    EXPECT_EQ(points[0].rightAscension, 14.5);
    EXPECT_EQ(points[0].declination, 12.25);
    EXPECT_EQ(points[0].colour, 0x00FF80);
    EXPECT_STREQ(points[1].name, "two.wu");
    EXPECT_STREQ(points[1].recordedOn, fromRow.recordedOn);
    EXPECT_EQ(points[1].colour, 0x00FF80);
}

// The points read straight from a log on each road through it: a line too short to reach
// "time_recorded" (cut by a crash while the log was written) gives no point and the work units
// after it still do; a log without that column ends at its first work unit, which keeps only its name.
TEST(CompletedLoad, LogSkyPointsOnEachRoad)
{
    const std::string full = FullRecord("13mr00aa.1", 100);
    // The record up to its time_recorded field and no further.
    const std::string upToTimeRecorded = full.substr(0, full.find(",1420000000")) + "\r\n";
    const struct {
        const char* what;
        std::string log;
        std::vector<const char*> names;
        bool drawn; // the points have their place, colour and recording time
    } cases[] = {
        {"a short line between two work units",
         kHeader + full + "note\r\n" + FullRecord("two.wu", 5),
         {"13mr00aa.1", "two.wu"},
         true},
        {"a record ending at time_recorded", kHeader + upToTimeRecorded + full, {"13mr00aa.1", "13mr00aa.1"}, true},
        {"no time_recorded column", "name,start_ra,start_dec\nfirst.wu\nsecond.wu,5,6\n", {"first.wu"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LocationNode node;
        node.colour = 0x123456;
        LogReader reader;
        MemoryByteSource source(c.log);
        reader.Start(source);
        SkyPointSet points;
        EXPECT_TRUE(ReadLogSkyPoints(reader, node, points));
        ASSERT_EQ(points.size(), c.names.size());
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_STREQ(points[i].name, c.names[i]);
            EXPECT_EQ(points[i].rightAscension, c.drawn ? 14.5 : 0) << i;
            EXPECT_EQ(points[i].colour, c.drawn ? 0x123456 : 0) << i;
            EXPECT_EQ(points[i].recordedOn[0] != '\0', c.drawn) << i;
        }
    }
}

// Memory running out half way through a log: each reader of it stops, says so and keeps nothing
// it would show, and the reader goes on to read the next log whole.
TEST(CompletedLoad, LoadsStopCleanlyWhenMemoryRunsOut)
{
    constexpr int kUnits = 2000;
    std::string log = kHeader;
    for (int i = 0; i < kUnits; ++i)
        log += FullRecord("13mr00aa." + std::to_string(i), 100 + i);
    LocationNode node;
    node.count = 7;
    node.perDay = 1.5;
    DayTable table = BuildWorkUnitTable();
    // What each load read, or nothing when it reported running out of memory and kept nothing
    // (-1 when it reported it but kept something). No check runs under the limit: a failing one
    // needs memory for its message.
    const struct {
        const char* what;
        size_t room; // far less than the load takes
        std::function<std::optional<int>(LogReader&, LogByteSource&)> load;
    } loads[] = {
        {"detail", 200000,
         [&node](LogReader& reader, LogByteSource& source) -> std::optional<int> {
             reader.Start(source);
             const DetailLoad load = LoadDetail(reader, node);
             if (!load.outOfMemory)
                 return static_cast<int>(load.rows.size());
             return load.rows.empty() && load.count == 0 && load.cpuSum == 0 ? std::nullopt : std::optional(-1);
         }},
        {"totals", 0,
         [](LogReader& reader, LogByteSource& source) -> std::optional<int> {
             reader.Start(source);
             const LocationTotals totals = LoadTotals(reader);
             if (!totals.outOfMemory)
                 return totals.count;
             return totals.count == 0 && totals.cpuSum == 0 ? std::nullopt : std::optional(-1);
         }},
        {"sky points", 100000,
         [&node](LogReader& reader, LogByteSource& source) -> std::optional<int> {
             reader.Start(source);
             SkyPointSet points;
             if (!ReadLogSkyPoints(reader, node, points))
                 return std::nullopt;
             return static_cast<int>(points.size());
         }},
        {"calendar", 0,
         [&table](LogReader& reader, LogByteSource& source) -> std::optional<int> {
             for (DayEntry& entry : table)
                 entry.count = 0;
             if (!CountLogRecords(table, reader, source))
                 return std::nullopt;
             int total = 0;
             for (const DayEntry& entry : table)
                 total += entry.count;
             return total;
         }},
    };
    for (const auto& l : loads) {
        SCOPED_TRACE(l.what);
        LogReader reader;
        MemoryByteSource source(log);
        const size_t held = BytesHeld();
        std::optional<int> read;
        size_t failures = 0;
        {
            const AllocationLimit limit(l.room);
            read = l.load(reader, source);
            failures = limit.Failures();
        }
        EXPECT_EQ(read, std::nullopt);
        EXPECT_GT(failures, 0u);
        EXPECT_LT(BytesHeld(), held + 100000) << "what the load had read is freed";
        EXPECT_EQ(node.count, 7) << "the node keeps its values";
        EXPECT_EQ(node.perDay, 1.5);
        MemoryByteSource again(log);
        EXPECT_EQ(l.load(reader, again), kUnits);
        node.count = 7;
        node.perDay = 1.5;
    }
}

} // namespace
