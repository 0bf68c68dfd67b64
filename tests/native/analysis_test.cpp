// The analysis of one location over successive looks, with the client's files held in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "core/analysis/analysis.h"
#include "core/analysis/status_alert.h"

namespace
{

constexpr uint64_t kSecond = 10000000;
constexpr uint64_t kStart = 130000000000000000ull;
constexpr int64_t kNow = 1000000000; // Sun Sep  9 01:46:40 2001 UTC

const std::string kSignals = "bs_power=12.5\nbg_chisq=1.5\n";

class MemoryFiles : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* fileName) override
    {
        return directory + "\\" + fileName;
    }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        const auto found = files.find(path);
        if (found == files.end()) {
            FileLook missing;
            missing.status = FileReadStatus::OpenFailed;
            missing.error = errors.count(path) ? errors[path] : 2;
            missing.errorText = "Error #" + std::to_string(missing.error) + ".  Not there.";
            return missing;
        }
        FileLook look = found->second;
        if (maxBytes && look.text.size() > maxBytes)
            look.text.resize(maxBytes);
        return look;
    }
    bool Opens(const std::string& path) override { return files.count(path) > 0; }
    bool Exists(const std::string& path) override { return files.count(path) > 0; }

    void Put(const char* name, const std::string& text, uint64_t lastWrite = kStart,
             FileReadStatus status = FileReadStatus::Ok)
    {
        FileLook look;
        look.status = status;
        look.text = text;
        look.lastWrite = lastWrite;
        files["C:\\Home\\" + std::string(name)] = look;
    }

    std::map<std::string, FileLook> files;
    std::map<std::string, unsigned long> errors;
};

struct AnalysisFixture : ::testing::Test {
    AnalysisFixture() : row("C:\\Home", kAnalysisCellCount)
    {
        InitAnalysisRow(row, "Home");
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    std::string Look(int threshold = 3)
    {
        LookAtLocation(row, files, threshold, kNow, status);
        return std::string(row.cells.Text(kCellStatus));
    }
    std::string Cell(int cell) const { return std::string(row.cells.Text(cell)); }

    WorkUnitRow row;
    MemoryFiles files;
    LatestStatus status;
};

TEST(StopThreshold, FollowsTheRefreshPeriod)
{
    const int cases[][2] = {{1, 30}, {2, 15}, {7, 4}, {10, 3}, {30, 1}, {31, 1}, {60, 1}, {300, 1}, {301, 1}, {0, 30}};
    for (const auto& c : cases)
        EXPECT_EQ(StopThreshold(c[0]), c[1]) << c[0];
}

TEST(FormatDuration, HoursAreNotLimited)
{
    EXPECT_EQ(FormatDuration(0), "0:00:00");
    EXPECT_EQ(FormatDuration(3725), "1:02:05");
    EXPECT_EQ(FormatDuration(123456), "34:17:36");
}

TEST(OperationsPerWorkUnit, PicksTheFormulaByAngleRange)
{
    EXPECT_DOUBLE_EQ(OperationsPerWorkUnit(0.1), 3.54e12 * std::exp(0.0327 * 0.1));
    EXPECT_DOUBLE_EQ(OperationsPerWorkUnit(0.2255), 3.74e12 * std::pow(0.2255, -0.1075));
    EXPECT_DOUBLE_EQ(OperationsPerWorkUnit(1.1274), 3.74e12 * std::pow(1.1274, -0.1075));
    EXPECT_DOUBLE_EQ(OperationsPerWorkUnit(1.1275), 3.37e12 * std::pow(1.1275, -0.0065));
}

TEST_F(AnalysisFixture, FiguresOfARunningClient)
{
    files.Put("state.sah", "prog=0.25\ncpu=3600.5\n" + kSignals);
    files.Put("work_unit.sah", "angle_range=0.5\n");
    EXPECT_EQ(Look(), "stop"); // the first look decides at once, without a completion time
    EXPECT_EQ(Cell(kCellPercent), "25.000");
    EXPECT_EQ(Cell(kCellCpuTime), "1:00:00");
    EXPECT_EQ(row.cells.Second(kCellCpuTime), "3600");
    EXPECT_EQ(Cell(kCellTimeLeft), "3:00:00");
    EXPECT_EQ(row.cells.Second(kCellTimeLeft), "10800");
    EXPECT_EQ(Cell(kCellCompletion), "");
    EXPECT_EQ(row.cells.Second(kCellCompletion), "0");
    EXPECT_EQ(Cell(kCellPercentPerHour), "25.00000");
    const double mflops = 3.74e12 * std::pow(0.5, -0.1075) * 0.25 / 3600 * 1e-6;
    EXPECT_EQ(Cell(kCellMflops), Format("%.2f", mflops));
    EXPECT_EQ(Cell(kCellAngleRange), "0.500");
    EXPECT_EQ(row.best.spikePower, 12.5);

    files.Put("state.sah", "prog=0.25\ncpu=3600.5\n" + kSignals, kStart + 5 * kSecond);
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(Cell(kCellCompletion), "Sun 04:46"); // now + 3 hours, local time
    EXPECT_EQ(row.cells.Second(kCellCompletion), "1000010800");
}

TEST_F(AnalysisFixture, StatusOverSuccessiveLooks)
{
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    files.Put("work_unit.sah", "angle_range=1\n");
    // New row: stop at once; then run after a write; then stop after T + 1 looks without one.
    EXPECT_EQ(Look(), "stop");
    files.Put("state.sah", "prog=0.6\ncpu=120\n" + kSignals, kStart + 10 * kSecond);
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(Cell(kCellPercent), "60.000");
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(row.unchangedCount, 3);
    EXPECT_EQ(Look(), "stop");
    // A write earlier than the state time counts as a change.
    files.Put("state.sah", "prog=0.7\ncpu=140\n" + kSignals, kStart - 100 * kSecond);
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(Cell(kCellPercent), "70.000");
    // A write less than a second later is no change.
    files.Put("state.sah", "prog=0.8\ncpu=160\n" + kSignals, kStart - 100 * kSecond + kSecond / 2);
    EXPECT_EQ(Look(), "run");
    EXPECT_EQ(Cell(kCellPercent), "70.000");
}

TEST_F(AnalysisFixture, SixtySecondPeriodStopsOnTheSecondLookWithoutWrite)
{
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    files.Put("work_unit.sah", "angle_range=1\n");
    EXPECT_EQ(Look(1), "stop");
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals, kStart + 60 * kSecond);
    EXPECT_EQ(Look(1), "run");
    EXPECT_EQ(Look(1), "run");
    EXPECT_EQ(Look(1), "stop");
}

TEST_F(AnalysisFixture, ErrorsBlankTheRowAndForceTheNextLook)
{
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    files.Put("work_unit.sah", "angle_range=1\n");
    Look();
    files.files.erase("C:\\Home\\state.sah");
    EXPECT_EQ(Look(), "notvaild");
    EXPECT_EQ(status.Text(), "Error #2.  Not there. C:\\Home\\state.sah");
    EXPECT_EQ(Cell(kCellPercent), "0.000"); // work_unit.sah is there
    EXPECT_EQ(Cell(kCellCpuTime), " ");
    EXPECT_EQ(Cell(kCellAngleRange), " ");
    EXPECT_EQ(row.best.spikePower, 0);
    EXPECT_EQ(row.unchangedCount, kLookAtOnce);

    files.files.erase("C:\\Home\\work_unit.sah");
    EXPECT_EQ(Look(), "notvaild");
    EXPECT_EQ(Cell(kCellPercent), "");

    files.errors["C:\\Home\\state.sah"] = kErrorBadNetPath;
    EXPECT_EQ(Look(), "Err53");

    files.Put("state.sah", "", kStart, FileReadStatus::Empty);
    EXPECT_EQ(Look(), "notvaild");
    EXPECT_EQ(Cell(kCellPercent), "0.000");
    EXPECT_EQ(status.Text(), "state.sah file is empty for C:\\Home\\state.sah");

    // The first good look after an error decides at once.
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    EXPECT_EQ(Look(), "stop");
    EXPECT_EQ(Cell(kCellPercent), "50.000");
}

TEST_F(AnalysisFixture, SharingViolationAndReadFailuresLeaveTheRow)
{
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    files.Put("work_unit.sah", "angle_range=1\n");
    Look();
    const int count = row.unchangedCount;
    const struct {
        FileReadStatus failure;
        const char* message;
    } cases[] = {{FileReadStatus::SharingViolation, ""},
                 {FileReadStatus::OutOfMemory, "Out of memory"},
                 {FileReadStatus::ReadFailed, "Error reading state.sah"}};
    for (const auto& c : cases) {
        status.SetStatusText("");
        files.Put("state.sah", "prog=0.9\n", kStart + 99 * kSecond, c.failure);
        EXPECT_EQ(Look(), "stop");
        EXPECT_EQ(Cell(kCellPercent), "50.000");
        EXPECT_EQ(row.unchangedCount, count);
        EXPECT_EQ(status.Text(), c.message);
    }
}

TEST_F(AnalysisFixture, ResultFileMarksDoneUntilBestSignalsAreMissing)
{
    files.Put("state.sah", "prog=1\ncpu=100\n" + kSignals);
    files.Put("work_unit.sah", "angle_range=1\n");
    files.Put("result.sah", "operation=send_result_get_user_stats\n");
    EXPECT_EQ(Look(), "done");
    EXPECT_EQ(row.unchangedCount, kLookAtOnce);
    EXPECT_EQ(Look(), "done");

    // Without "bs_power=" the parse ends before the result check: the status and Mflops stay.
    const std::string mflops = Cell(kCellMflops);
    files.Put("state.sah", "prog=1\ncpu=200\nbg_chisq=1\n");
    EXPECT_EQ(Look(), "stop");
    EXPECT_EQ(Cell(kCellMflops), mflops);
    EXPECT_EQ(status.Text(), "Could not find \"bs_power=\" in file.");
}

TEST_F(AnalysisFixture, ZeroProgressAndZeroCpu)
{
    files.Put("work_unit.sah", "angle_range=1\n");
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    Look();
    files.Put("state.sah", "prog=0\ncpu=100\n" + kSignals, kStart + 5 * kSecond);
    Look();
    EXPECT_EQ(Cell(kCellPercent), "0.000");
    EXPECT_EQ(Cell(kCellTimeLeft), "0:01:40"); // kept from the earlier look
    EXPECT_EQ(Cell(kCellCompletion), "");
    EXPECT_EQ(Cell(kCellPercentPerHour), "0.00000");

    // CPU 0 with progress: finite figures, no division by zero.
    files.Put("state.sah", "prog=0.5\ncpu=0\n" + kSignals, kStart + 10 * kSecond);
    Look();
    EXPECT_EQ(Cell(kCellTimeLeft), "0:00:00");
    EXPECT_EQ(Cell(kCellPercentPerHour), "0.00000");
    EXPECT_EQ(Cell(kCellMflops), "0.00");
}

// Regression: a progress of 1e307 is infinite once made a percentage, and the time left came out
// as 0 * infinity, a not-a-number converted to an integer.
TEST_F(AnalysisFixture, InfiniteProgressGivesNoTimeLeft)
{
    files.Put("work_unit.sah", "angle_range=1\n");
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    Look();
    for (const char* progress : {"1e307", "-1e307"}) {
        files.Put("state.sah", std::string("prog=") + progress + "\ncpu=0\n" + kSignals, kStart + 5 * kSecond);
        ParseState(files.files["C:\\Home\\state.sah"].text, row, true, kNow, files, status);
        EXPECT_EQ(Cell(kCellPercent), "0.000") << progress;
        EXPECT_EQ(Cell(kCellTimeLeft), "0:00:00") << progress;
        EXPECT_EQ(Cell(kCellPercentPerHour), "0.00000") << progress;
    }
}

TEST_F(AnalysisFixture, WorkUnitProblems)
{
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals);
    files.Put("work_unit.sah", "no range here\n");
    Look();
    EXPECT_EQ(Cell(kCellMflops), " ");
    EXPECT_EQ(Cell(kCellAngleRange), " ");
    EXPECT_EQ(status.Text(), "Could not find \"angle_range=\" in file.");

    // Only the first 4096 bytes are searched.
    files.Put("work_unit.sah", std::string(4100, 'x') + "\nangle_range=2\n");
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals, kStart + 5 * kSecond);
    Look();
    EXPECT_EQ(Cell(kCellAngleRange), " ");

    files.Put("work_unit.sah", "", kStart, FileReadStatus::ReadFailed);
    files.Put("state.sah", "prog=0.5\ncpu=100\n" + kSignals, kStart + 9 * kSecond);
    Look();
    EXPECT_EQ(status.Text(), "Error reading work_unit.sah");
}

TEST(TitleAndTip, ShowTheRememberedRow)
{
    ListRow row(kAnalysisCellCount);
    row.SetCell(kCellLocation, kTextCell, "Home");
    row.SetCell(kCellPercent, kNumberCell, "25.000");
    row.SetCell(kCellCpuTime, kNumberCell, "1:00:00", "3600");
    EXPECT_EQ(MinimisedTitle(&row), "25.000% 1:00:00");
    EXPECT_EQ(TrayTip(row), "Home: 25.000% 1:00:00");
    EXPECT_EQ(MinimisedTitle(nullptr), "Vantorel");
    row.ReplaceCell(kCellPercent, "");
    EXPECT_EQ(MinimisedTitle(&row), "Vantorel");
    EXPECT_EQ(TrayTip(row), "Home: ");
    row.ReplaceCell(kCellLocation, std::string(100, 'n'));
    EXPECT_EQ(TrayTip(row).size(), kTrayTipCapacity);
}

} // namespace

namespace
{

TEST(StatusAlert, EventsOfEachLook)
{
    const struct {
        const char* previous;
        const char* current;
        bool firstLook;
        StatusEvent expected;
    } cases[] = {
        {"run", "stop", false, StatusEvent::Stopped},
        {"run", "stop", true, StatusEvent::None}, // a new row's "stop" was never observed
        {"stop", "stop", false, StatusEvent::None},
        {"done", "stop", false, StatusEvent::None},
        {"notvaild", "stop", false, StatusEvent::None},
        {"stop", "notvaild", false, StatusEvent::CannotRead},
        {"run", "notvaild", false, StatusEvent::CannotRead},
        {"notvaild", "notvaild", false, StatusEvent::None},
        {"Err53", "notvaild", false, StatusEvent::CannotRead},
        {"run", "Err53", false, StatusEvent::NetworkPath},
        {"Err53", "Err53", false, StatusEvent::None},
        {"run", "done", false, StatusEvent::Finished},
        {"stop", "done", true, StatusEvent::None},
        {"done", "done", false, StatusEvent::None},
        {"stop", "run", false, StatusEvent::None},
        {"notvaild", "run", false, StatusEvent::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.previous) + " -> " + c.current + (c.firstLook ? " (first)" : ""));
        EXPECT_EQ(DecideStatusEvent(c.previous, c.current, c.firstLook), c.expected);
    }
}

TEST(StatusAlert, LinesAndTheBalloonCutAtAWholeLine)
{
    EXPECT_EQ(StatusEventText(StatusEvent::Stopped, "Home", "47.791"), "Home stopped at 47.791%");
    EXPECT_EQ(StatusEventText(StatusEvent::CannotRead, "Attic", ""), "Attic cannot read state.sah");
    EXPECT_EQ(StatusEventText(StatusEvent::NetworkPath, "Office", ""), "Office network path not found");
    EXPECT_EQ(StatusEventText(StatusEvent::Finished, "Home", "100.000"), "Home finished its work unit");
    EXPECT_TRUE(IsWarningEvent(StatusEvent::NetworkPath));
    EXPECT_FALSE(IsWarningEvent(StatusEvent::Finished));

    const std::string line(100, 'x');
    EXPECT_EQ(BalloonText({"a", "b"}), "a\nb");
    EXPECT_EQ(BalloonText({line, line}), line + "\n" + line);       // 201 characters fit in 255
    EXPECT_EQ(BalloonText({line, line, line}), line + "\n" + line); // the third would need 302
    EXPECT_EQ(BalloonText({std::string(254, 'y'), "z"}), std::string(254, 'y'));
    EXPECT_EQ(BalloonText({std::string(255, 'y')}), std::string(255, 'y')); // exactly the room
    EXPECT_EQ(BalloonText({std::string(300, 'y'), "z"}), std::string(255, 'y'));
    EXPECT_EQ(BalloonText({}), "");
}

} // namespace
