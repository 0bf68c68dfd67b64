// The analysis refresh against real files, file times, sharing rules, processes and list views.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <memory>
#include <vector>

#include "core/analysis/analysis.h"
#include "platform/client_file.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "command_wait.h"
#include "page_fixture.h"
#include "temp_dir.h"
#include "pages/analysis_page.h"
#include "pages/analysis_refresh.h"
#include "pages/data_info_page.h"
#include "pages/user_info_page.h"
#include "kit/app_state.h"
#include "shell/page_table.h"
#include "pages/best_results_page.h"
#include "kit/list_view.h"
#include "kit/notification.h"

namespace
{

constexpr ULONGLONG kSecond = 10000000;
constexpr ULONGLONG kStart = 130000000000000000ull;
const std::string kState = "prog=0.25\ncpu=3600.5\nbs_power=12.5\nbg_chisq=1.5\n";

struct HeldShare;

// The main window's template with the Analysis and Best Results pages, as the refresh sees them.
class AnalysisRefreshTest : public PageFixture
{
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        AddPage(kTabAnalysis, CreateAnalysisPage);
        AddPage(kTabBestResults, CreateBestResultsPage);
        ASSERT_NE(PageList(kTabAnalysis), nullptr);
    }
    void TearDown() override
    {
        Shell() = ShellCalls();
        ClientFilesSource() = savedFiles;
        PageFixture::TearDown();
    }

    void StoreLocation(int index, const std::string& text) { StoreString("Location" + std::to_string(index), text); }
    std::string WriteState(const std::string& text, ULONGLONG time)
    {
        const std::string path = dir.Write("state.sah", text);
        EXPECT_TRUE(SetLastWriteTime(path, time));
        return path;
    }
    int Rows(int tab = kTabAnalysis) const { return ListView_GetItemCount(PageList(tab)); }
    const WorkUnitRow* Row(int index, int tab = kTabAnalysis) const
    {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return ListView_GetItem(PageList(tab), &item) ? reinterpret_cast<const WorkUnitRow*>(item.lParam) : nullptr;
    }
    std::string Cell(int cell, int index = 0) const { return std::string(Row(index)->cells.Text(cell)); }
    std::string Status() const { return StatusText(); }
    std::string Title() const
    {
        char text[200] = {};
        GetWindowTextA(App().mainWindow, text, sizeof text);
        return text;
    }

    // Locations Home (dir) and Slow (the held share), each with a work unit, read through the hold.
    void StoreHomeAndHeldSlow(const HeldShare& share);

    TempDir dir;
    ClientFilesMaker savedFiles = ClientFilesSource();
};

// Where a refresh's reads go, for the tests that stand a slow or held share in for the disk.
std::vector<std::string> readPaths;
class RecordingFiles final : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* name) override { return disk.PathOf(directory, name); }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        readPaths.push_back(path);
        return disk.Read(path, maxBytes);
    }
    bool Opens(const std::string& path) override { return disk.Opens(path); }
    bool Exists(const std::string& path) override { return disk.Exists(path); }

private:
    DiskClientFiles disk;
};

// A share that answers only when the test releases it: reads under its folder wait for the gate.
struct HeldShare;
HeldShare* heldShare = nullptr;
struct HeldShare {
    HeldShare() { heldShare = this; }
    TempDir slow;
    const std::string folder = slow.Path();
    const UniqueKernelHandle gateHandle{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    const HANDLE gate = gateHandle.get();
    std::atomic<int> reads{0}; // of state.sah
    std::atomic<int> fileReads{0};
};
const std::string kSlowState = "bs_power=1\nbg_chisq=1\nbp_pot=0a0b\nbt_pot=01020304\nbg_pot 0=1.5\n";

class HeldFiles final : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* name) override { return disk.PathOf(directory, name); }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        if (path.rfind(heldShare->folder, 0) == 0) {
            heldShare->reads += path.find("state.sah") != std::string::npos;
            ++heldShare->fileReads;
            WaitForSingleObject(heldShare->gate, INFINITE);
        }
        return disk.Read(path, maxBytes);
    }
    bool Opens(const std::string& path) override { return disk.Opens(path); }
    bool Exists(const std::string& path) override { return disk.Exists(path); }

private:
    DiskClientFiles disk;
};

void AnalysisRefreshTest::StoreHomeAndHeldSlow(const HeldShare& share)
{
    StoreLocation(1, dir.Path() + ";Home");
    StoreLocation(2, share.folder + ";Slow");
    for (const TempDir* folder : {static_cast<const TempDir*>(&dir), &share.slow})
        folder->Write("work_unit.sah", "angle_range=0.5\n");
    ClientFilesSource() = [] { return std::unique_ptr<AnalysisFiles>(std::make_unique<HeldFiles>()); };
}

// Pumps until done() or the time (ten seconds unless told) has passed.
template <typename Done> bool PumpUntil(Done done, DWORD milliseconds = 10000)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        HandleWaitingMessages();
    }
    return done();
}

TEST_F(AnalysisRefreshTest, AShareThatDoesNotAnswerHoldsBackOnlyItsOwnRow)
{
    HeldShare share;
    const TempDir& slow = share.slow;
    StoreHomeAndHeldSlow(share);
    WriteState(kState, kStart);
    SetLastWriteTime(slow.Write("state.sah", kSlowState + "prog=0.75\ncpu=60\n"), kStart);
    ShowWindow(App().mainWindow, SW_MINIMIZE);

    RefreshAndWait(true); // ends with its grace period: the held read is still out
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(kCellPercent, 0), "25.000") << "the location that answered is shown";
    EXPECT_EQ(Title(), "25.000% 1:00:00");
    EXPECT_EQ(Cell(kCellPercent, 1), " ") << "the held location keeps its row as it was";
    EXPECT_EQ(Status(), "Waiting for Slow");

    // The window answers another thread at once while the read is held.
    std::atomic<bool> answered{false};
    std::thread asker([&] {
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutA(App().mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
    });
    EXPECT_TRUE(PumpUntil([&] { return answered.load(); }));
    asker.join();

    WriteState("prog=0.5\ncpu=7200\nbs_power=1\nbg_chisq=1\n", kStart + 60 * kSecond);
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellPercent, 0), "50.000") << "a later refresh goes ahead for the others";
    EXPECT_EQ(share.reads, 1) << "no second read of a location whose read is out";

    SetEvent(share.gate);
    EXPECT_TRUE(PumpUntil([&] { return Cell(kCellPercent, 1) == "75.000"; })) << "put in when it comes back";
    EXPECT_NE(Status(), "Waiting for Slow") << "the waiting text goes with the last read out";

    // Closing waits for no read: the held one comes back to no window and is dropped.
    ResetEvent(share.gate);
    SetLastWriteTime(slow.Write("state.sah", kSlowState + "prog=0.9\ncpu=90\n"), kStart + 120 * kSecond);
    RefreshAndWait(false);
    EXPECT_EQ(share.reads, 2);
    StopWaitingForCommand();
    SetEvent(share.gate);
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(Cell(kCellPercent, 1), "75.000");
    ShowWindow(App().mainWindow, SW_RESTORE);
}

TEST_F(AnalysisRefreshTest, DataInfoAndUserInfoShowTheOthersWhileAShareHoldsItsRead)
{
    HeldShare share;
    StoreHomeAndHeldSlow(share);
    const struct {
        int tab;
        HWND (*create)(HWND);
        void (*refresh)();
        bool (*reading)();
    } pages[] = {
        {kTabDataInfo, CreateDataInfoPage, RefreshDataInfo, DataInfoReading},
        {kTabUserInfo, CreateUserInfoPage, RefreshUserInfo, UserInfoReading},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.tab);
        ResetEvent(share.gate);
        share.fileReads = 0;
        AddPage(page.tab, page.create);
        page.refresh();
        EXPECT_TRUE(PumpUntil([] { return CurrentStatusText() == "Waiting for Slow"; }, 2000)) << CurrentStatusText();
        EXPECT_TRUE(page.reading());
        ASSERT_EQ(Rows(page.tab), 1) << "the location that answered is shown";
        EXPECT_EQ(ListRowAt(PageList(page.tab), 0)->Text(0), "Home");
        page.refresh();
        PumpUntil([] { return false; }, 400); // its grace period ends with Slow still out
        EXPECT_EQ(share.fileReads, 1) << "no second read of a location whose read is out";
        SetEvent(share.gate);
        WaitForInfoReads();
        EXPECT_EQ(Rows(page.tab), 2) << "put in when it comes back";
        EXPECT_NE(CurrentStatusText(), "Waiting for Slow");
    }
}

TEST_F(AnalysisRefreshTest, EveryReadOfARefreshGoesThroughTheClientFilesSource)
{
    StoreLocation(1, dir.Path() + ";Home;65535;Y;Y;Y;Y");
    WriteState(kState, kStart);
    readPaths.clear();
    ClientFilesSource() = [] { return std::unique_ptr<AnalysisFiles>(std::make_unique<RecordingFiles>()); };
    RefreshAndWait(true);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(kCellPercent), "25.000") << "the stand-in's reads are the ones shown";
    ASSERT_FALSE(readPaths.empty());
    EXPECT_EQ(readPaths.front(), dir.Path() + "\\state.sah");
}

TEST_F(AnalysisRefreshTest, StatusOverSuccessiveRefreshes)
{
    StoreLocation(1, dir.Path() + ";Home;65535;Y;Y;Y;Y");
    dir.Write("work_unit.sah", "angle_range=0.5\n");
    WriteState(kState, kStart);

    RefreshAndWait(false);
    ASSERT_EQ(Rows(), 1);
    ASSERT_EQ(Rows(kTabBestResults), 1);
    EXPECT_EQ(Row(0), Row(0, kTabBestResults)); // the very same record in both lists
    EXPECT_EQ(Cell(kCellLocation), "Home");
    EXPECT_EQ(Cell(kCellStatus), "stop");
    EXPECT_EQ(Cell(kCellPercent), "25.000");
    EXPECT_EQ(Cell(kCellCpuTime), "1:00:00");
    EXPECT_EQ(Cell(kCellAngleRange), "0.500");

    WriteState(kState, kStart + 30 * kSecond);
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "run");
    EXPECT_FALSE(Cell(kCellCompletion).empty());
    for (int i = 0; i < 3; ++i) {
        RefreshAndWait(false);
        EXPECT_EQ(Cell(kCellStatus), "run") << i;
    }
    RefreshAndWait(false); // the default period of 10 s stops after 3 + 1 looks without a write
    EXPECT_EQ(Cell(kCellStatus), "stop");

    // result.sah shows at the next look that decides.
    dir.Write("result.sah", "operation=send_result_get_user_stats\n");
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "stop");
    WriteState(kState, kStart + 60 * kSecond);
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "done");
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "done");
}

TEST_F(AnalysisRefreshTest, LockedMissingAndEmptyStateFiles)
{
    StoreLocation(1, dir.Path() + ";Home");
    const std::string path = WriteState(kState, kStart);
    dir.Write("work_unit.sah", "angle_range=0.5\n");
    RefreshAndWait(false);
    ASSERT_EQ(Cell(kCellPercent), "25.000");

    {
        // The client holds the file without sharing: the row stays as it was, silently.
        WriteState("prog=0.75\ncpu=1\n" + kState, kStart + 50 * kSecond);
        UniqueFile held(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        RefreshAndWait(false);
        EXPECT_EQ(Cell(kCellStatus), "stop");
        EXPECT_EQ(Cell(kCellPercent), "25.000");
        EXPECT_EQ(Status(), "");
    }

    DeleteFileA(path.c_str());
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "notvaild");
    EXPECT_EQ(Cell(kCellPercent), "0.000"); // the work unit is there
    EXPECT_EQ(Cell(kCellCpuTime), " ");
    EXPECT_EQ(Status().rfind("Error #2.  ", 0), 0u);
    EXPECT_NE(Status().find(path), std::string::npos);

    dir.Write("state.sah", "");
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "notvaild");
    EXPECT_EQ(Status(), "state.sah file is empty for " + path);
}

TEST_F(AnalysisRefreshTest, OnlyLocationsWithTheAnalysisSwitchAndRebuild)
{
    TempDir other;
    StoreLocation(1, dir.Path() + ";Home;65535;Y;Y;Y;Y");
    StoreLocation(2, other.Path() + ";Attic;255;N;Y;Y;Y");
    WriteState(kState, kStart);
    RefreshAndWait(false);
    EXPECT_EQ(Rows(), 1);

    // Rows are only made when the list is empty: a new location needs a rebuild.
    StoreLocation(2, other.Path() + ";Attic;255;Y;Y;Y;Y");
    RefreshAndWait(false);
    EXPECT_EQ(Rows(), 1);
    RefreshAndWait(true);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Rows(kTabBestResults), 2);
    // The Analysis list is re-sorted by its sort column, the location name, after the refresh.
    EXPECT_EQ(Cell(kCellLocation, 0), "Attic");
    EXPECT_EQ(Cell(kCellStatus, 0), "notvaild");
    EXPECT_EQ(Cell(kCellPercent, 0), ""); // neither state.sah nor work_unit.sah
    EXPECT_EQ(Cell(kCellLocation, 1), "Home");
}

TEST_F(AnalysisRefreshTest, AnalysisKeepsItsOwnOrderWhileBestResultsIsInFront)
{
    // % Done rises from Attic to Home while the triplet scores fall: the Best Results order of
    // column 2 would turn the Analysis order round.
    const struct {
        const char* name;
        const char* state;
    } locations[] = {
        {"Home", "prog=0.25\ncpu=100\nbs_power=1\nbg_chisq=1\nbt_score=1\n"},
        {"Attic", "prog=0\ncpu=100\nbs_power=1\nbg_chisq=1\nbt_score=9\n"},
        {"Cellar", "prog=0.1\ncpu=100\nbs_power=1\nbg_chisq=1\nbt_score=5\n"},
    };
    std::vector<std::unique_ptr<TempDir>> dirs;
    for (const auto& location : locations) {
        dirs.push_back(std::make_unique<TempDir>());
        dirs.back()->Write("state.sah", location.state);
        StoreLocation(static_cast<int>(dirs.size()), dirs.back()->Path() + ";" + location.name);
    }
    RefreshAndWait(false);
    SortOnColumnClick(PageList(kTabAnalysis), kCellPercent);
    Tabs().currentTab = kTabBestResults;
    RefreshAndWait(false);
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(kCellLocation, 0) + " " + Cell(kCellLocation, 1) + " " + Cell(kCellLocation, 2),
              "Attic Cellar Home");
}

// The rows are painted from records; what the lists answer to a text request (a screen reader's)
// and what Ctrl+C copies must be what is painted: the Peak figure and the graphs' captions on
// Best Results, and the selected row only.
TEST_F(AnalysisRefreshTest, ListsAnswerAndCopyThePaintedTexts)
{
    TempDir attic;
    attic.Write("state.sah", "prog=0.5\ncpu=7200\nbs_power=3\n");
    StoreLocation(1, dir.Path() + ";Home");
    StoreLocation(2, attic.Path() + ";Attic");
    WriteState("prog=0.25\ncpu=3600.5\nbs_power=12.5\nbg_chisq=1\nbt_power=18.6\nbt_score=0.5\n", kStart);
    RefreshAndWait(false);
    ASSERT_EQ(Rows(), 2);
    ASSERT_EQ(std::string(Row(0, kTabBestResults)->cells.Text(kCellLocation)), "Home");

    // The two lists order the same rows each their own way; a search by text finds Home in each.
    const auto text = [](int tab, int column) {
        LVFINDINFOA find{};
        find.flags = LVFI_STRING;
        find.psz = "Home";
        const int item = ListView_FindItem(PageList(tab), -1, &find);
        char buffer[256] = "untouched";
        ListView_GetItemText(PageList(tab), item, column, buffer, sizeof buffer);
        return std::string(buffer);
    };
    const struct {
        int tab;
        int column;
        const char* expected;
    } cells[] = {
        {kTabAnalysis, kCellLocation, "Home"},
        {kTabAnalysis, kCellStatus, "stop"},
        {kTabAnalysis, kCellPercent, "25.000"},
        {kTabAnalysis, kCellCpuTime, "1:00:00"},
        {kTabBestResults, 0, "Home"},
        {kTabBestResults, 1, "12.50"},
        {kTabBestResults, 2, "Power 18.60, Score 0.5000"},
        {kTabBestResults, 3, ""},
    };
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.expected);
        EXPECT_EQ(text(cell.tab, cell.column), cell.expected);
    }

    const HWND best = PageList(kTabBestResults);
    ListView_SetItemState(best, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EmptyTheClipboard();
    PressKey(best, 'A', {VK_CONTROL}); // a list of single selection keeps its one row
    PressKey(best, 'C', {VK_CONTROL});
    EXPECT_EQ(ClipboardText(), "Location\tPeak\tTriplet\tPulses\tGaussian\r\n"
                               "Home\t12.50\tPower 18.60, Score 0.5000\t\t\r\n");
    // Without Ctrl the key is the list's own.
    EmptyTheClipboard();
    PressKey(best, 'C');
    EXPECT_EQ(ClipboardText(), "(no text)");

    // The clipboard held open by another window: the copy says so and what was there stays.
    ASSERT_TRUE(OpenClipboard(App().mainWindow));
    EmptyClipboard();
    const HGLOBAL before = GlobalAlloc(GMEM_MOVEABLE, 7);
    std::memcpy(GlobalLock(before), "before", 7);
    GlobalUnlock(before);
    SetClipboardData(CF_TEXT, before);
    PressKey(best, 'C', {VK_CONTROL});
    CloseClipboard();
    EXPECT_EQ(Status(), "Could not open the clipboard");
    EXPECT_EQ(ClipboardText(), "before");
}

TEST_F(AnalysisRefreshTest, PreRefreshCommandRunsAndIsWaitedFor)
{
    StoreLocation(1, dir.Path() + ";Home");
    WriteState(kState, kStart);
    dir.Write("work_unit.sah", "angle_range=0.5\n");
    dir.Write("prepared.sah", "operation=send_result_get_user_stats\n");
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteString(kValueRunBeforeRefresh,
                          "cmd /c copy \"" + dir.File("prepared.sah") + "\" \"" + dir.File("result.sah") + "\"");
    }
    RefreshAnalysis(false);
    ASSERT_TRUE(PumpWhileCommandRuns());
    EXPECT_EQ(Cell(kCellStatus), "done"); // the copy finished before the look
}

TEST_F(AnalysisRefreshTest, SlowCommandLeavesTheWindowFreeAndRunsOneAtATime)
{
    StoreLocation(1, dir.Path() + ";Home");
    WriteState(kState, kStart);
    const std::string flag = dir.File("go.flag");
    const std::string log = dir.File("runs.log");
    const std::string command = SlowCommandLine(flag, log);
    StoreString(kValueRunBeforeRefresh, command);

    RefreshAnalysis(false);
    EXPECT_TRUE(AnalysisRefreshWaiting());
    EXPECT_EQ(Status(), "Waiting for " + command);
    EXPECT_EQ(Rows(), 0) << "no file is read before the command ends";
    // Ticks, F5 and the Refresh buttons meanwhile start nothing, and nothing inside this refresh.
    RefreshAnalysis(false);
    RefreshAnalysis(true);
    RefreshAnalysis(false);
    EXPECT_EQ(Rows(), 0);

    dir.Write("go.flag", "");
    ASSERT_TRUE(PumpWhileCommandRuns());
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(kCellPercent), "25.000");
    EXPECT_NE(Status().rfind("Waiting for", 0), 0u) << "the waiting text goes when the refresh finishes";
    std::string runs;
    {
        UniqueFile file(CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        char text[256] = {};
        DWORD read = 0;
        ReadFile(file.get(), text, sizeof text - 1, &read, nullptr);
        runs.assign(text, read);
    }
    EXPECT_EQ(runs, "start\nend\nstart\nend\n") << "the refresh and exactly one that followed";

    // What another tab wrote while the command ran does not stay over the refresh's own messages:
    // the line ends as a refresh without a command leaves it.
    StoreString(kValueRunBeforeRefresh, "");
    RefreshAndWait(false);
    const std::string walked = Status();
    StoreString(kValueRunBeforeRefresh, command);
    RefreshAnalysis(false);
    ASSERT_TRUE(AnalysisRefreshWaiting());
    SetStatusText("a message from another tab");
    ASSERT_TRUE(PumpWhileCommandRuns());
    EXPECT_EQ(Status(), walked);
}

TEST_F(AnalysisRefreshTest, CommandThatCannotStartIsReported)
{
    StoreLocation(1, dir.Path() + ";Home;65535;N;Y;Y;Y");
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteString(kValueRunBeforeRefresh, "Z:\\no\\such\\program.exe");
    }
    RefreshAndWait(false);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Status().rfind("Error running Z:\\no\\such\\program.exe  Error #", 0), 0u) << Status();
}

TEST_F(AnalysisRefreshTest, TitleWhileMinimised)
{
    StoreLocation(1, dir.Path() + ";Home");
    WriteState(kState, kStart);
    dir.Write("work_unit.sah", "angle_range=0.5\n");
    RefreshAndWait(false);
    EXPECT_EQ(Title(), "Vantorel");

    ShowWindow(App().mainWindow, SW_MINIMIZE);
    RefreshAndWait(false);
    EXPECT_EQ(Title(), "25.000% 1:00:00");

    App().inTray = true;
    RefreshAndWait(false);
    EXPECT_EQ(Title(), "Home: 25.000% 1:00:00");
    App().inTray = false;

    ShowWindow(App().mainWindow, SW_RESTORE);
    RefreshAndWait(false);
    EXPECT_EQ(Title(), "Vantorel");
}

// What the refresh handed to the shell: balloons on the icon and flashes of the taskbar button.
struct ShellRecord {
    std::vector<NOTIFYICONDATAA> balloons;
    std::vector<FLASHWINFO> flashes;
};
ShellRecord g_shell;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA data)
{
    if (message == NIM_MODIFY && (data->uFlags & NIF_INFO))
        g_shell.balloons.push_back(*data);
    return TRUE;
}

BOOL WINAPI RecordFlash(PFLASHWINFO info)
{
    g_shell.flashes.push_back(*info);
    return TRUE;
}

// A client runs, stops writing state.sah, runs again and stops again, while the window sits in the
// notification area: each stop is told once, T + 1 refreshes after the last write.
TEST_F(AnalysisRefreshTest, StoppedClientIsToldOnceInABalloonPerStop)
{
    Shell().notifyIcon = RecordNotify;
    Shell().flashWindow = RecordFlash;
    g_shell = ShellRecord();
    StoreLocation(1, dir.Path() + ";Home");
    dir.Write("work_unit.sah", "angle_range=0.5\n");
    App().inTray = true;
    ULONGLONG time = kStart;
    const auto runThenStop = [&](int stopsBefore) {
        for (int write = 0; write < 2; ++write) { // the first look of a new row decides "stop" silently
            WriteState(kState, time += 10 * kSecond);
            RefreshAndWait(false);
        }
        ASSERT_EQ(Cell(kCellStatus), "run");
        for (int look = 0; look < 3; ++look) { // T = 3 looks without a write keep it running
            RefreshAndWait(false);
            ASSERT_EQ(g_shell.balloons.size(), static_cast<size_t>(stopsBefore)) << look;
        }
        RefreshAndWait(false);
        ASSERT_EQ(Cell(kCellStatus), "stop");
        RefreshAndWait(false); // still stopped: nothing new
    };
    runThenStop(0);
    ASSERT_EQ(g_shell.balloons.size(), 1u);
    EXPECT_STREQ(g_shell.balloons[0].szInfoTitle, "Vantorel");
    EXPECT_STREQ(g_shell.balloons[0].szInfo, "Home stopped at 25.000%");
    EXPECT_EQ(g_shell.balloons[0].dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(g_shell.balloons[0].cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    runThenStop(1);
    ASSERT_EQ(g_shell.balloons.size(), 2u);

    // A finished work unit is a notice; minimised to the taskbar the button flashes instead.
    App().inTray = false;
    ShowWindow(App().mainWindow, SW_MINIMIZE);
    dir.Write("result.sah", "operation=send_result_get_user_stats\n");
    WriteState(kState, time += 10 * kSecond);
    RefreshAndWait(false);
    ASSERT_EQ(Cell(kCellStatus), "done");
    ASSERT_EQ(g_shell.flashes.size(), 1u);
    EXPECT_EQ(g_shell.flashes[0].hwnd, App().mainWindow);
    EXPECT_EQ(g_shell.flashes[0].dwFlags, static_cast<DWORD>(FLASHW_TRAY | FLASHW_TIMERNOFG));

    // Turned off, nothing is told; shown, nothing either.
    DeleteFileA(dir.File("result.sah").c_str());
    StoreNumber(kValueAlertOnStatusChange, 0);
    App().inTray = true;
    runThenStop(2);
    EXPECT_EQ(g_shell.balloons.size(), 2u);
    StoreNumber(kValueAlertOnStatusChange, 1);
    App().inTray = false;
    ShowWindow(App().mainWindow, SW_RESTORE);
    runThenStop(2);
    EXPECT_EQ(g_shell.flashes.size(), 1u);
}

} // namespace
