// User statistics, the per-day override, the grand total over repeated users and the button rules.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/analysis/user_stats.h"
#include "client_files_fake.h"

namespace
{

constexpr int64_t kRegistered = 946728000; // Sat Jan  1 12:00:00 2000 UTC
constexpr int64_t kDay = 86400;

std::string UserFile(const std::string& name, const std::string& results, const std::string& cpu,
                     const std::string& registerTime = "2451545.0 (Sat Jan  1 12:00:00 2000)")
{
    return "id=7\nname=" + name + "\nnresults=" + results + "\ntotal_cpu=" + cpu + "\nregister_time=" + registerTime +
           "\n";
}

class UserStatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    UserStats Compute(const std::string& userFile, int64_t now = kRegistered + 10 * kDay)
    {
        files.files["C:\\seti\\user_info.sah"] = userFile;
        Location location;
        location.path = "C:\\seti";
        location.shortName = "Home";
        const OverrideReader reader = [this](const std::string& valueName) -> std::optional<std::string> {
            const auto found = overrides.find(valueName);
            if (found == overrides.end())
                return std::nullopt;
            return found->second;
        };
        return ComputeUserStats(location, files, reader, now, status);
    }
    static std::string Text(const UserStats& stats, UserInfoCell cell) { return stats[cell].text.value_or("<none>"); }
    static std::string Key(const UserStats& stats, UserInfoCell cell) { return stats[cell].key.value_or("<none>"); }

    MemoryClientFiles files;
    std::map<std::string, std::string> overrides;
    LatestStatus status;
};

// A row as the grand total sees it: name, count, CPU seconds.
UserStats Row(const char* shortName, std::optional<std::string> name, long count, long seconds, double rate)
{
    UserStats stats;
    stats[kUserLocation] = {shortName, shortName};
    stats[kUserName].text = std::move(name);
    stats[kUserCompleted].text = std::to_string(count);
    stats[kUserTotalCpu] = {FormatCpuTime(seconds), std::to_string(seconds)};
    stats[kUserAverageCpu] = {FormatCpuTime(count ? seconds / count : 0), std::to_string(count ? seconds / count : 0)};
    stats[kUserPerDay] = {Format("%.2f", rate), Format("%g", rate)};
    stats[kUserRegisterTime].text = "Sat Jan  1 12:00:00 2000";
    stats.rate = rate;
    return stats;
}

} // namespace

TEST(UserStatsText, CpuTimes)
{
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0:00:00"},
        {3725, "1:02:05"},
        {123456, "34:17:36"},
        {359999, "99:59:59"},
        {360000, "100:00:00"},
        {24691, "6:51:31"},
        {INT32_MAX, "596523:14:07"},
        {10000000000LL, "2777777:46:40"}, // sums may pass 32 bits
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatCpuTime(seconds), text) << seconds;
}

TEST_F(UserStatsTest, ComputedRate)
{
    const UserStats stats = Compute(UserFile("bob", "5", "123456.789"));
    EXPECT_EQ(Text(stats, kUserLocation), "Home");
    EXPECT_EQ(Key(stats, kUserLocation), "Home");
    EXPECT_EQ(Text(stats, kUserName), "bob");
    EXPECT_EQ(Text(stats, kUserCompleted), "5");
    EXPECT_EQ(Text(stats, kUserTotalCpu), "34:17:36");
    EXPECT_EQ(Key(stats, kUserTotalCpu), "123456");
    EXPECT_EQ(Text(stats, kUserAverageCpu), "6:51:31");
    EXPECT_EQ(Key(stats, kUserAverageCpu), "24691");
    EXPECT_EQ(Text(stats, kUserRegisterTime), "Sat Jan  1 12:00:00 2000");
    // 5 work units in 10 days.
    EXPECT_EQ(Text(stats, kUserPerDay), "0.50");
    EXPECT_EQ(Key(stats, kUserPerDay), "0.5");
    ASSERT_TRUE(stats.rate);
    EXPECT_DOUBLE_EQ(*stats.rate, 0.5);
    EXPECT_EQ(status.Count(), 0);
}

TEST_F(UserStatsTest, RateCases)
{
    struct Case {
        const char* name;
        std::string file;
        const char* overrideText; // nullptr: no override stored
        int64_t now;
        const char* perDay; // "<none>": absent
        std::optional<double> rate;
        const char* average;
    };
    const int64_t later = kRegistered + 10 * kDay;
    const Case cases[] = {
        {"no results", UserFile("bob", "0", "500"), nullptr, later, "0.00", 0.0, "0:00:00"},
        {"override 2.5", UserFile("bob", "5", "100"), "2.5", later, "2.5", 2.5, "0:00:20"},
        {"override 0", UserFile("bob", "5", "100"), "0", later, "0", 0.0, "0:00:20"},
        {"override as typed", UserFile("bob", "5", "100"), "3abc", later, "3", 3.0, "0:00:20"},
        {"empty override is computed", UserFile("bob", "5", "100"), "", later, "0.50", 0.5, "0:00:20"},
        {"unreadable date", UserFile("bob", "5", "100", "2451545.0 (Sat January 1 2000)"), nullptr, later, "0.00",
         5.0 * 24 / (static_cast<double>(later + 1) / 3600), "0:00:20"},
        {"registered now", UserFile("bob", "5", "100"), nullptr, kRegistered, "0.00", 0.0, "0:00:20"},
        {"registered in the future", UserFile("bob", "5", "100"), nullptr, kRegistered - kDay, "0.00", 0.0, "0:00:20"},
        {"no parenthesised date", UserFile("bob", "5", "100", "2451545.0"), nullptr, later, "<none>", std::nullopt,
         "0:00:20"},
        {"no date but an override", UserFile("bob", "5", "100", "2451545.0"), "4", later, "4", 4.0, "0:00:20"},
        {"negative count", UserFile("bob", "-4", "100"), nullptr, later, "-0.40", -0.4, "0:00:-25"},
        {"count beyond 32 bits", UserFile("bob", "99999999999", "100"), nullptr, later, "0.00", 0.0, "0:00:00"},
        {"count whose 32-bit product overflows", UserFile("bob", "100000000", "100"), nullptr, later, "10000000.00",
         1e7, "0:00:00"},
    };
    for (const Case& c : cases) {
        overrides.clear();
        if (c.overrideText)
            overrides["bob work units per day"] = c.overrideText;
        const UserStats stats = Compute(c.file, c.now);
        EXPECT_EQ(Text(stats, kUserPerDay), c.perDay) << c.name;
        ASSERT_EQ(stats.rate.has_value(), c.rate.has_value()) << c.name;
        if (c.rate) {
            EXPECT_NEAR(*stats.rate, *c.rate, 1e-9) << c.name;
        }
        EXPECT_EQ(Text(stats, kUserAverageCpu), c.average) << c.name;
    }
}

TEST_F(UserStatsTest, MissingKeysStopAtTheirStep)
{
    struct Case {
        std::string file;
        UserInfoCell lastFilled;
        const char* message;
    };
    const Case cases[] = {
        {"id=1\n", kUserLocation, "Could not find \"name=\" in file."},
        {"name=bob\n", kUserName, "Could not find \"nresults=\" in file."},
        {"name=bob\nnresults=5\n", kUserCompleted, "Could not find \"total_cpu=\" in file."},
        {"name=bob\nnresults=5\ntotal_cpu=10\n", kUserAverageCpu, "Could not find \"register_time=\" in file."},
    };
    const UserInfoCell order[] = {kUserLocation, kUserName, kUserCompleted, kUserTotalCpu, kUserAverageCpu};
    for (const Case& c : cases) {
        status = LatestStatus();
        const UserStats stats = Compute(c.file);
        bool filled = true;
        for (UserInfoCell cell : order) {
            EXPECT_EQ(stats[cell].text.has_value(), filled) << c.message << " cell " << cell;
            if (cell == c.lastFilled)
                filled = false;
        }
        EXPECT_FALSE(stats[kUserPerDay].text) << c.message;
        EXPECT_FALSE(stats[kUserRegisterTime].text) << c.message;
        EXPECT_FALSE(stats.rate) << c.message;
        EXPECT_EQ(status.Text(), c.message);
    }
}

TEST_F(UserStatsTest, CrLfFileReadsLikeAnLfFile)
{
    const UserStats stats = Compute("name=bob\r\nnresults=5\r\ntotal_cpu=10\r\n"
                                    "register_time=2451545.0 (Sat Jan  1 12:00:00 2000)\r\n");
    EXPECT_EQ(Text(stats, kUserName), "bob");
    EXPECT_EQ(Text(stats, kUserRegisterTime), "Sat Jan  1 12:00:00 2000");
    EXPECT_EQ(Text(stats, kUserPerDay), "0.50"); // the date still reads
}

TEST_F(UserStatsTest, MissingUserFile)
{
    Location location;
    location.path = "C:\\else";
    location.shortName = "Away";
    const UserStats stats = ComputeUserStats(location, files, nullptr, kRegistered, status);
    EXPECT_EQ(Text(stats, kUserLocation), "Away");
    EXPECT_FALSE(stats[kUserName].text);
    EXPECT_EQ(status.Text(), "Error #2.  The system cannot find the file specified. C:\\else\\user_info.sah");
}

TEST(UserStatsGrandTotal, SameUserCountedOnceWithTheLargestCount)
{
    // List order: the 118 row stands first, the 120 row after it.
    std::vector<UserStats> rows = {Row("Work", "bob", 118, 1000, 1.25), Row("Home", "bob", 120, 2000, 2.5)};
    const UserStats total = GrandTotal(rows, 3.75);

    EXPECT_EQ(rows[0][kUserCompleted].text, " ");
    EXPECT_FALSE(rows[0][kUserCompleted].key);
    EXPECT_EQ(rows[0][kUserTotalCpu].text, " ");
    EXPECT_EQ(rows[0][kUserTotalCpu].key, "1000"); // still sorts by its seconds
    EXPECT_EQ(rows[0][kUserAverageCpu].text, " ");
    EXPECT_FALSE(rows[0][kUserAverageCpu].key);
    EXPECT_EQ(rows[0][kUserRegisterTime].text, " ");
    EXPECT_EQ(rows[0][kUserPerDay].text, "1.25"); // the rate stays shown
    EXPECT_EQ(rows[1][kUserCompleted].text, "120");

    EXPECT_EQ(total[kUserLocation].text, "Grand Total");
    EXPECT_EQ(total[kUserLocation].key, "ZZZZZZZZ");
    EXPECT_FALSE(total[kUserName].text);
    EXPECT_EQ(total[kUserCompleted].text, "120");
    EXPECT_EQ(total[kUserTotalCpu].text, "0:33:20"); // only the kept row's seconds
    EXPECT_FALSE(total[kUserTotalCpu].key);
    EXPECT_EQ(total[kUserAverageCpu].text, "0:00:16");
    EXPECT_EQ(total[kUserPerDay].text, "3.75"); // both rates
    EXPECT_EQ(total[kUserPerDay].key, "3.75");
    EXPECT_FALSE(total[kUserRegisterTime].text);
}

TEST(UserStatsGrandTotal, NamesCompareWhole)
{
    struct Case {
        const char* name;
        std::vector<UserStats> rows;
        std::vector<bool> blanked;
        const char* units;
        const char* cpu;
    };
    const Case cases[] = {
        {"Jimbob and bob",
         {Row("A", "Jimbob", 10, 100, 1), Row("B", "bob", 20, 200, 1)},
         {false, false},
         "30",
         "0:05:00"},
        {"case differs", {Row("A", "Bob", 10, 100, 1), Row("B", "bob", 20, 200, 1)}, {false, false}, "30", "0:05:00"},
        {"equal counts keep the first",
         {Row("A", "bob", 20, 100, 1), Row("B", "bob", 20, 200, 1)},
         {false, true},
         "20",
         "0:01:40"},
        {"no positive count blanks every row",
         {Row("A", "bob", 0, 100, 1), Row("B", "bob", 0, 200, 1)},
         {true, true},
         "0",
         "0:00:00"},
        {"rows without a name are one user",
         {Row("A", std::nullopt, 3, 100, 1), Row("B", std::nullopt, 5, 200, 1), Row("C", "bob", 1, 50, 1)},
         {true, false, false},
         "6",
         "0:04:10"},
    };
    for (Case c : cases) {
        const UserStats total = GrandTotal(c.rows, 0);
        for (size_t i = 0; i < c.rows.size(); ++i)
            EXPECT_EQ(c.rows[i][kUserCompleted].text == " ", c.blanked[i]) << c.name << " row " << i;
        EXPECT_EQ(total[kUserCompleted].text, c.units) << c.name;
        EXPECT_EQ(total[kUserTotalCpu].text, c.cpu) << c.name;
    }
}

TEST(UserStatsGrandTotal, NoRows)
{
    std::vector<UserStats> rows;
    const UserStats total = GrandTotal(rows, 0);
    EXPECT_EQ(total[kUserCompleted].text, "0");
    EXPECT_EQ(total[kUserTotalCpu].text, "0:00:00");
    EXPECT_EQ(total[kUserAverageCpu].text, "0:00:00");
    EXPECT_EQ(total[kUserPerDay].text, "0.00");
}

TEST(UserStatsGrandTotal, BlankingLeavesAbsentFieldsAbsent)
{
    UserStats partial;
    partial[kUserLocation] = {"A", "A"};
    partial[kUserName].text = "bob";
    partial[kUserCompleted].text = "4";
    std::vector<UserStats> rows = {partial, Row("B", "bob", 9, 90, 1)};
    GrandTotal(rows, 1);
    EXPECT_EQ(rows[0][kUserCompleted].text, " ");
    EXPECT_FALSE(rows[0][kUserTotalCpu].text);
    EXPECT_FALSE(rows[0][kUserRegisterTime].text);
}

TEST(UserStatsRow, CellsKindsAndKeys)
{
    std::vector<UserStats> rows = {Row("Work", "bob", 118, 1000, 1.25), Row("Home", "bob", 120, 2000, 2.5)};
    const UserStats total = GrandTotal(rows, 3.75);
    ListRow blanked(kUserInfoCellCount);
    FillUserInfoRow(rows[0], blanked);
    ListRow grand(kUserInfoCellCount);
    FillUserInfoRow(total, grand);

    const int32_t kinds[] = {kTextCell, kTextCell, kNumberCell, kNumberCell, kNumberCell, kNumberCell, kTextCell};
    for (int cell = 0; cell < kUserInfoCellCount; ++cell)
        EXPECT_EQ(grand.Kind(cell), kinds[cell]) << cell;
    EXPECT_EQ(grand.Second(kUserLocation), "ZZZZZZZZ");
    EXPECT_FALSE(grand.HasText(kUserName));
    EXPECT_EQ(blanked.Second(kUserTotalCpu), "1000");
    EXPECT_EQ(blanked.Text(kUserCompleted), " ");

    struct Case {
        const char* name;
        const ListRow* row;
        bool future;
        bool override;
    };
    ListRow plain(kUserInfoCellCount);
    FillUserInfoRow(rows[1], plain);
    ListRow nameless(kUserInfoCellCount);
    FillUserInfoRow(Row("C", std::string(), 4, 10, 1), nameless);
    const Case cases[] = {
        {"no selection", nullptr, false, false}, {"blanked duplicate", &blanked, false, true},
        {"grand total", &grand, true, false},    {"ordinary row", &plain, true, true},
        {"empty name", &nameless, true, false},
    };
    for (const Case& c : cases) {
        const UserInfoButtons buttons = ButtonsForSelection(c.row);
        EXPECT_EQ(buttons.future, c.future) << c.name;
        EXPECT_EQ(buttons.override, c.override) << c.name;
    }

    const FutureStart start = FutureStartOfRow(grand);
    EXPECT_EQ(start.completed, 120);
    EXPECT_DOUBLE_EQ(start.rate, 3.75);
    EXPECT_EQ(FutureStartOfRow(blanked).completed, 0);
}

TEST(UserStatsOverride, AcceptedTexts)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true},     {"0", true},   {"2.5", true}, {"3abc", true},  {" 7", true},   {"-1", false},    {"0.0", false},
        {"abc", false}, {"00", false}, {"0 ", false}, {"-0.5", false}, {"inf", false}, {"1e-300", true},
    };
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(IsAcceptedOverride(text), accepted) << '"' << text << '"';
}
