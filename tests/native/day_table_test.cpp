// The calendars' day tables, the counting of recording days, and the sheet and scroll arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>

#include "core/calendar/day_table.h"

namespace
{

// Sets TZ for one scope and puts the previous zone back afterwards.
class ZoneScope
{
public:
    explicit ZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope()
    {
        if (old_)
            setenv("TZ", old_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    std::optional<std::string> old_;
};

// Zones with their standard offset east of UTC in seconds; most of them keep daylight saving.
struct Zone {
    const char* tz;
    int32_t eastOfUtc;
};
constexpr Zone kZones[] = {
    {"UTC", 0},
    {"America/New_York", -5 * 3600},
    {"Europe/Berlin", 3600},
    {"Australia/Sydney", 10 * 3600},
    {"America/Los_Angeles", -8 * 3600},
    {"Asia/Tokyo", 9 * 3600},
};

int Count(const DayTable& table, int year, int month, int monthDay)
{
    for (const DayEntry& entry : table)
        if (entry.year == year && entry.month == month && entry.monthDay == monthDay)
            return entry.count;
    ADD_FAILURE() << "no entry for " << year << "-" << month + 1 << "-" << monthDay;
    return -1;
}

int Total(const DayTable& table)
{
    int total = 0;
    for (const DayEntry& entry : table)
        total += entry.count;
    return total;
}

DayTable CountCsv(const std::string& csv)
{
    DayTable table = BuildWorkUnitTable();
    LogReader reader;
    MemoryByteSource source(csv);
    CountLogRecords(table, reader, source);
    return table;
}

TEST(DayTable, SpansOctober1998ToNewYear2003AtStandardNoonInEveryZone)
{
    for (const Zone& zone : kZones) {
        SCOPED_TRACE(zone.tz);
        const ZoneScope scope(zone.tz);
        const DayTable table = BuildWorkUnitTable();
        ASSERT_EQ(table.size(), 1554u);
        EXPECT_EQ(table.front().day, 907243200 - zone.eastOfUtc); // 1 October 1998 12:00 standard time
        EXPECT_EQ(table.back().day, 1041422400 - zone.eastOfUtc); // 1 January 2003 12:00 standard time
        EXPECT_EQ(table.front().weekday, 4);                      // a Thursday
        EXPECT_EQ(table.back().year, 2003);
        // Standard noon to standard noon is a whole day, across every daylight-saving change.
        for (size_t index = 1; index < table.size(); ++index)
            ASSERT_EQ(table[index].day - table[index - 1].day, 86400) << index;
    }
}

TEST(DayTable, CountsTheRecordingDayWrittenInTheDateTextInEveryZone)
{
    const std::string csv =
        "name,time_recorded,cpu\n"
        "13mr00aa,2451617.12345 (Mon Mar 13 10:20:30 2000),100\n"
        "13mr00ab,2451617.9 (Mon Mar 13 23:59:59 2000),100\n"
        "01jl00aa,2451727.1 (Sat Jul  1 00:00:01 2000),100\n"; // one-digit day after a blank, summer time
    for (const Zone& zone : kZones) {
        SCOPED_TRACE(zone.tz);
        const ZoneScope scope(zone.tz);
        const DayTable table = CountCsv(csv);
        EXPECT_EQ(Count(table, 2000, 2, 13), 2);
        EXPECT_EQ(Count(table, 2000, 6, 1), 1);
        EXPECT_EQ(Total(table), 3);
    }
}

TEST(DayTable, ReadsTheDateAtItsFixedPlacesAndCountsOnlyDaysInTheTable)
{
    const ZoneScope scope("Europe/Berlin");
    struct Case {
        const char* timeRecorded;
        int year; // 0: nothing is counted
        int month;
        int monthDay;
    };
    const Case cases[] = {
        {"2451617.1 (Mon Mar 13 10:20:30 2000)", 2000, 2, 13},
        {"(Mon Mar 13 10:20:30 2000)", 2000, 2, 13},            // no Julian date needed
        {"2451617.1  (Mon Mar 13 10:20:30 2000)", 2000, 2, 13}, // places count from the parenthesis
        {"2451617.1 (Mon Mrz 13 10:20:30 2000)", 2000, 11, 13}, // a misspelt month is December
        {"2451617.1 (Mon mar 13 10:20:30 2000)", 2000, 11, 13}, // so is one in the wrong case
        {"2451617.1 (Mon Nov 30 10:20:30 2002)", 2002, 10, 30},
        {"2451617.1 (Thu Oct  1 10:20:30 1998)", 1998, 9, 1},   // the first day
        {"2451617.1 (Tue Dec 31 10:20:30 2002)", 2002, 11, 31}, // the last day shown
        {"2451617.1 (Wed Jan  1 10:20:30 2003)", 2003, 0, 1},   // the entry that ends the table
        {"2451617.1 (Thu Jan  2 10:20:30 2003)", 0, 0, 0},      // past the table
        {"2451617.1 (Wed Sep 30 10:20:30 1998)", 0, 0, 0},      // before it
        {"2451617.1 (Mon Mar 13 10:20:30 2200)", 0, 0, 0},      // far beyond 32 bits of seconds
        {"2451617.1 Mon Mar 13 10:20:30 2000", 0, 0, 0},        // no parenthesis
        {"2451617.1 (Mon Mar 13", 0, 0, 0},                     // no year
        {"", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeRecorded);
        const DayTable table = CountCsv(std::string("time_recorded\n\"") + c.timeRecorded + "\"\n");
        if (c.year == 0) {
            EXPECT_EQ(Total(table), 0);
        } else {
            EXPECT_EQ(Count(table, c.year, c.month, c.monthDay), 1);
            EXPECT_EQ(Total(table), 1);
        }
    }
}

TEST(DayTable, SkipsRecordsThatAreNoWorkUnitsOrLackTheColumn)
{
    const ZoneScope scope("UTC");
    EXPECT_EQ(Total(CountCsv("name,cpu\n13mr00aa,100\n")), 0); // no time_recorded column
    EXPECT_EQ(Total(CountCsv("")), 0);
    // A line of commas and quotes is no work unit, a short line lacks the field.
    EXPECT_EQ(Total(CountCsv("name,TIME_RECORDED\n,\"\"\nx\n13mr00aa,2451617.1 (Mon Mar 13 10:20:30 2000)\r\n")), 1);
}

TEST(DayTable, AllLocationsWalksOnlyStoredLocationsWhateverTheirSwitches)
{
    const ZoneScope scope("UTC");
    const std::map<std::string, std::string> files = {
        {"C:\\one", "time_recorded\n2451617.1 (Mon Mar 13 10:20:30 2000)\n"},
        {"C:\\two", "time_recorded\n2451617.1 (Mon Mar 13 11:20:30 2000)\n2451618.1 (Tue Mar 14 10:20:30 2000)\n"},
    };
    const std::map<int, std::string> stored = {
        {1, "C:\\one;One;255;N;N;N;N"},
        {2, "C:\\missing;Missing;255;Y;Y;Y;Y"},
        {3, "C:\\two;Two;255;Y;Y;Y;N"},
    };
    std::vector<std::string> opened;
    std::vector<std::unique_ptr<MemoryByteSource>> keep;
    const LogOpener open = [&](const std::string& folder) -> std::unique_ptr<LogByteSource> {
        opened.push_back(folder);
        const auto file = files.find(folder);
        if (file == files.end())
            return nullptr;
        return std::make_unique<MemoryByteSource>(file->second);
    };
    const LocationReader read = [&](int index) -> std::optional<std::string> {
        const auto value = stored.find(index);
        return value == stored.end() ? std::nullopt : std::optional<std::string>(value->second);
    };
    DayTable table = BuildWorkUnitTable();
    LogReader reader;
    EXPECT_EQ(CountAllLocations(table, reader, read, "C:\\current", open), 3);
    EXPECT_EQ((std::vector<std::string>{"C:\\one", "C:\\missing", "C:\\two"}), opened);
    EXPECT_EQ(Count(table, 2000, 2, 13), 2);
    EXPECT_EQ(Count(table, 2000, 2, 14), 1);

    // No stored locations: no default location stands in.
    opened.clear();
    DayTable empty = BuildWorkUnitTable();
    const LocationReader none = [](int) -> std::optional<std::string> { return std::nullopt; };
    EXPECT_EQ(CountAllLocations(empty, reader, none, "C:\\one", open), 0);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(Total(empty), 0);
}

TEST(DayTable, MonthSheetsAndDayPlaces)
{
    const ZoneScope scope("America/New_York");
    const DayTable table = BuildWorkUnitTable();
    const std::vector<MonthSheet> sheets = MonthSheets(table, kWorkUnitSheetCount);
    ASSERT_EQ(sheets.size(), 51u);
    EXPECT_EQ(sheets.front().first, 0u);
    EXPECT_EQ(sheets.front().end, 31u);
    EXPECT_EQ(sheets.back().end, 1553u); // 1 January 2003 is never shown
    EXPECT_EQ(MonthHeading(table[sheets.front().first]), "October, 1998");
    EXPECT_EQ(MonthHeading(table[sheets.back().first]), "December, 2002");

    // October 1998 begins on a Thursday; November 1998 on a Sunday; January 2000 on a Saturday.
    const std::vector<DayPlace> october = DayPlaces(table, sheets[0]);
    EXPECT_EQ(october.front().column, 4);
    EXPECT_EQ(october.front().row, 0);
    EXPECT_EQ(october[3].column, 0); // Sunday the 4th starts the second row
    EXPECT_EQ(october[3].row, 1);
    const std::vector<DayPlace> november = DayPlaces(table, sheets[1]);
    EXPECT_EQ(november.front().column, 0);
    EXPECT_EQ(november.front().row, 0);
    EXPECT_EQ(november.back().row, 4);
    const std::vector<DayPlace> january = DayPlaces(table, sheets[15]);
    ASSERT_EQ(january.size(), 31u);
    EXPECT_EQ(january.front().column, 6);
    EXPECT_EQ(january.back().column, 1);
    EXPECT_EQ(january.back().row, 5); // all six rows
}

std::time_t Utc(int year, int month, int monthDay, int hour)
{
    std::tm broken{};
    broken.tm_year = year - 1900;
    broken.tm_mon = month;
    broken.tm_mday = monthDay;
    broken.tm_hour = hour;
    return timegm(&broken);
}

TEST(FutureTable, ProjectsFromTomorrowOn)
{
    const ZoneScope scope("UTC");
    struct Case {
        std::time_t now;
        int32_t completed;
        double rate;
        int firstYear;
        int firstMonth;
        int uncounted; // days before tomorrow
        int32_t expected[3];
    };
    const Case cases[] = {
        {Utc(2001, 11, 10, 15), 100, 2.5, 2001, 11, 10, {102, 105, 107}},
        {Utc(2002, 0, 31, 9), 100, 2.5, 2002, 1, 0, {102, 105, 107}}, // 31 January: February first
        {Utc(2001, 11, 31, 23), 7, 1.0, 2002, 0, 0, {8, 9, 10}},      // New Year's Eve
        {Utc(2001, 4, 5, 12), 10, 0.4, 2001, 4, 5, {10, 10, 11}},
        {Utc(2001, 4, 5, 12), 10, 0.0, 2001, 4, 5, {10, 10, 10}},
        {Utc(2001, 4, 5, 12), 10, -1.5, 2001, 4, 5, {9, 7, 6}}, // truncated toward zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        const DayTable table = BuildFutureTable(c.now, c.completed, c.rate);
        ASSERT_EQ(table.size(), 731u);
        EXPECT_EQ(table.front().year, c.firstYear);
        EXPECT_EQ(table.front().month, c.firstMonth);
        EXPECT_EQ(table.front().monthDay, 1);
        for (int index = 0; index < c.uncounted; ++index)
            EXPECT_EQ(table[index].count, 0) << index;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(table[c.uncounted + k].count, c.expected[k]) << k;
        const DayEntry& last = table.back();
        EXPECT_EQ(last.count, static_cast<int32_t>(c.completed + std::trunc((731 - c.uncounted) * c.rate)));
    }
}

TEST(FutureTable, TomorrowIsTheLocalDateAndCountsAreHeldIn32Bits)
{
    {
        // 20:00 UTC on 10 December is already 11 December in Tokyo.
        const ZoneScope scope("Asia/Tokyo");
        EXPECT_EQ(TomorrowOf(Utc(2001, 11, 10, 20)), (CalendarDate{2001, 11, 12}));
        const DayTable table = BuildFutureTable(Utc(2001, 11, 10, 20), 100, 1);
        EXPECT_EQ(table[10].count, 0);
        EXPECT_EQ(table[11].count, 101);
    }
    {
        const ZoneScope scope("America/Los_Angeles");
        EXPECT_EQ(TomorrowOf(Utc(2001, 11, 11, 5)), (CalendarDate{2001, 11, 11}));
    }
    const ZoneScope scope("UTC");
    EXPECT_EQ(BuildFutureTable(Utc(2001, 11, 10, 15), 100, 1e12).back().count, INT32_MAX);
    EXPECT_EQ(BuildFutureTable(Utc(2001, 11, 10, 15), INT32_MAX, 1).back().count, INT32_MAX);
    EXPECT_EQ(BuildFutureTable(Utc(2001, 11, 10, 15), 0, -1e12).back().count, INT32_MIN);
    EXPECT_EQ(BuildFutureTable(Utc(2001, 11, 10, 15), 42, std::nan("")).back().count, 42);
}

TEST(FutureTable, TwentyFourSheetsNeverPastTheLastDay)
{
    const ZoneScope scope("Europe/Berlin");
    // From February 2003 the 24 months hold 29 February 2004 and so all 731 days; from
    // January 2001 they hold 730 and the last day is left over.
    const DayTable leap = BuildFutureTable(Utc(2003, 1, 15, 12), 1, 1);
    const std::vector<MonthSheet> leapSheets = MonthSheets(leap, kFutureSheetCount);
    ASSERT_EQ(leapSheets.size(), 24u);
    EXPECT_EQ(leapSheets.back().end, 731u);
    EXPECT_EQ(MonthHeading(leap[leapSheets.back().first]), "January, 2005");
    const DayTable common = BuildFutureTable(Utc(2001, 0, 15, 12), 1, 1);
    const std::vector<MonthSheet> commonSheets = MonthSheets(common, kFutureSheetCount);
    ASSERT_EQ(commonSheets.size(), 24u);
    EXPECT_EQ(commonSheets.back().end, 730u);
}

TEST(FutureTable, CellWidthTextIsTheLastCountAtLeastTwoCharacters)
{
    const ZoneScope scope("UTC");
    const std::time_t now = Utc(2001, 11, 10, 15);
    EXPECT_EQ(FutureCellWidthText(BuildFutureTable(now, 5, 0)), "99");
    EXPECT_EQ(FutureCellWidthText(BuildFutureTable(now, 10, 0)), "10");
    EXPECT_EQ(FutureCellWidthText(BuildFutureTable(now, 100, 2.5)), "1902"); // 100 + trunc(721 * 2.5)
    EXPECT_EQ(FutureCellWidthText(BuildFutureTable(now, -5, 0)), "-5");
    EXPECT_EQ(FutureCellWidthText(DayTable()), "99");
}

TEST(CalendarLayout, SheetsPerRow)
{
    struct Case {
        int clientWidth;
        int width; // w for the Work Unit Calendar, W for the future one
        int workUnit;
        int future;
    };
    // w = 10: pitch 150. W = 20: sheet 140, pitch 150, so n sheets need 140 + (n - 1) * 150 + 1.
    const Case cases[] = {
        {0, 10, 1, 1},   {-5, 10, 1, 1},  {140, 10, 1, 1}, {141, 10, 1, 1}, {149, 10, 1, 1},
        {150, 10, 1, 1}, {290, 10, 1, 1}, {291, 10, 1, 2}, {299, 10, 1, 2}, {300, 10, 2, 2},
        {441, 10, 2, 3}, {450, 10, 3, 3}, {592, 10, 3, 4}, {600, 10, 4, 4}, {584, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clientWidth);
        EXPECT_EQ(WorkUnitSheetsPerRow(c.clientWidth, c.width), c.workUnit);
        EXPECT_EQ(FutureSheetsPerRow(c.clientWidth, c.width * 2), c.future);
    }
    // An odd cell width: pitch 7 * 17 + 8 = 127.
    EXPECT_EQ(FutureSheetsPerRow(7 * 17 + 127 + 1, 17), 2);
    EXPECT_EQ(FutureSheetsPerRow(7 * 17 + 127, 17), 1);
}

TEST(CalendarLayout, SheetAndCellPlaces)
{
    const SheetGeometry unit = WorkUnitGeometry(13, 9);
    EXPECT_EQ(unit.pitchX, 135);
    EXPECT_EQ(unit.pitchY, 169);
    // Sheet 5 of 3 per row: second row, third column.
    const PixelPoint origin = SheetOrigin(unit, 5, 3);
    EXPECT_EQ(origin.x, 270);
    EXPECT_EQ(origin.y, 169);
    const PixelRect fill = CountFill(unit, origin, {6, 5});
    EXPECT_EQ(fill.left, 270 + 108 + 1);
    EXPECT_EQ(fill.top, 169 + 13 + 130 + 1);
    EXPECT_EQ(fill.right, 270 + 126);
    EXPECT_EQ(fill.bottom, 169 + 13 + 156);
    EXPECT_EQ(ScrollOriginY(unit, 1), 1);
    EXPECT_EQ(ScrollOriginY(unit, 3), 339);

    const SheetGeometry future = FutureGeometry(13, 17);
    EXPECT_EQ(future.pitchX, 127);
    EXPECT_EQ(SheetOrigin(future, 3, 2).x, 127);
    EXPECT_EQ(SheetOrigin(future, 3, 2).y, 169);
    EXPECT_EQ(CellCorner(future, {0, 0}, {3, 1}).x, 51);
    EXPECT_EQ(CellCorner(future, {0, 0}, {3, 1}).y, 39);

    const PixelRect area = SheetArea(future, {127, 0}, 200);
    EXPECT_EQ(area.right, 327);
    EXPECT_TRUE(Intersects(area, {300, 100, 400, 120}));
    EXPECT_FALSE(Intersects(area, {327, 0, 400, 120}));
    EXPECT_FALSE(Intersects(area, {0, 169, 400, 300}));
}

TEST(CalendarLayout, ScrollTargets)
{
    struct Case {
        int code;
        int position;
        int thumb;
        int last;
        int expected;
    };
    const Case cases[] = {
        {kScrollLineUp, 5, 0, 50, 4},
        {kScrollPageUp, 5, 0, 50, 4},
        {kScrollLineDown, 5, 0, 50, 6},
        {kScrollPageDown, 5, 0, 50, 6},
        {kScrollLineUp, 1, 0, 50, 1},
        {kScrollLineDown, 50, 0, 50, 50},
        {kScrollLineDown, 24, 0, 24, 24},
        {kScrollLineDown, 25, 0, 50, 26}, // past the range of 25
        {kScrollThumbPosition, 5, 17, 50, 17},
        {kScrollThumbTrack, 5, 99, 50, 50},
        {kScrollThumbTrack, 5, 0, 24, 1},
        {kScrollEnd, 7, 0, 50, 7},
        {kScrollTop, 7, 0, 50, 1},
        {kScrollBottom, 7, 0, 50, 1},
        {42, 7, 0, 50, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollTarget(c.code, c.position, c.thumb, c.last), c.expected) << c.code << " at " << c.position;

    EXPECT_EQ(ScrollRangeEnd(kWorkUnitLastPosition, 1), 50);
    EXPECT_EQ(ScrollRangeEnd(kWorkUnitLastPosition, 2), 25);
    EXPECT_EQ(ScrollRangeEnd(kWorkUnitLastPosition, 3), 16);
    EXPECT_EQ(ScrollRangeEnd(kFutureLastPosition, 5), 4);
    EXPECT_EQ(ScrollRangeEnd(kFutureLastPosition, 30), 1);
}

} // namespace
