// Hostile files and settings under the real pages: held, vanished, replaced, empty, garbage, oversized files,
// unreachable hosts, malformed location strings and wrongly typed settings. Each case must end with the
// window alive, a status line that says what happened, and the location's files untouched.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winioctl.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "allocation_limit.h"
#include "dialogs/work_unit_calendar.h"
#include "core/analysis/analysis.h"
#include "platform/unique_handle.h"
#include "core/completed/log_reader.h"
#include "pages/completed_page.h"
#include "command_wait.h"
#include "page_fixture.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "dialogs/sky_map.h"
#include "core/settings/value_names.h"
#include "temp_dir.h"
#include "pages/analysis_page.h"
#include "pages/analysis_refresh.h"
#include "kit/app_state.h"
#include "shell/page_table.h"
#include "pages/best_results_page.h"
#include "pages/data_info_page.h"
#include "shell/main_window.h"
#include "pages/user_info_page.h"

namespace
{

constexpr ULONGLONG kSecond = 10000000;
constexpr ULONGLONG kStart = 130000000000000000ull;
const std::string kState = "prog=0.25\ncpu=3600.5\nbs_power=12.5\nbg_chisq=1.5\n";
const std::string kWorkUnit = "name=13mr00aa.1.2.3\nstart_ra=17.5\nstart_dec=-1.25\n"
                              "time_recorded=2451617.12345 (Mon Mar 13 10:20:30 2000)\nsubband_base=1420000000\n"
                              "angle_range=0.5\n";
const std::string kUserInfo = "name=Ann\nnresults=10\ntotal_cpu=36000\n"
                              "register_time=2451545.0 (Sat Jan  1 12:00:00 2000)\n";
// The work-unit name's cell of a Completed row (the Analysis cells share the header's names).
constexpr int kCompletedNameCell = 1;
const std::string kLogHeader = "date,name,cpu,bs_power,bg_power,bg_chisq,bg_pot,start_ra,start_dec,time_recorded,"
                               "subband_base,angle_range\n";
const std::string kLogRecord = "2000-03-14 01:02:03,13mr00aa.1.2.3,3600,10.5,3.5,1.75,1.5 2.25,14.5,12.25,"
                               "2451617.12345 (Mon Mar 13 10:20:30 2000),1420000000,0.395\n";

// Every file of a folder (one level down too) with its size and last-write time.
using Census = std::map<std::string, std::pair<ULONGLONG, ULONGLONG>>;

void TakeCensus(const std::string& folder, Census& census, int depth = 0)
{
    WIN32_FIND_DATAA found{};
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        census[path] = {(static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                        (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                            found.ftLastWriteTime.dwLowDateTime};
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && depth == 0)
            TakeCensus(path, census, depth + 1);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

Census CensusOf(const std::string& folder)
{
    Census census;
    TakeCensus(folder, census);
    return census;
}

// Answers every message box of this thread with No, from inside the box's own loop, so no case can hang on one.
BOOL CALLBACK AnswerNo(HWND window, LPARAM)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (window != App().mainWindow && std::string(className) == "#32770" && IsWindowVisible(window))
        PostMessageA(window, WM_COMMAND, IDNO, 0);
    return TRUE;
}

void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerNo, 0);
}

std::string Garbage(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// Every page that reads the client's files, on the stand-in main window.
class FileFaultsTest : public PageFixture
{
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        AddPage(kTabAnalysis, CreateAnalysisPage);
        AddPage(kTabBestResults, CreateBestResultsPage);
        AddPage(kTabDataInfo, CreateDataInfoPage);
        AddPage(kTabUserInfo, CreateUserInfoPage);
        AddPage(kTabCompleted, CreateCompletedPage);
        ASSERT_NE(Tabs().pages[kTabCompleted], nullptr);
        MoveWindow(Tabs().pages[kTabCompleted], 0, 0, 900, 500, TRUE);
        timer_ = SetTimer(nullptr, 0, 50, AnswerBoxes);
    }
    void TearDown() override
    {
        KillTimer(nullptr, timer_);
        PageFixture::TearDown();
    }

    void StoreLocation(int index, const std::string& path, const std::string& name = "Home")
    {
        StoreString("Location" + std::to_string(index), path + ";" + name + ";255;Y;Y;Y;Y");
    }
    void WriteGoodFiles(const TempDir& folder) const
    {
        SetLastWriteTime(folder.Write("state.sah", kState), kStart);
        folder.Write("work_unit.sah", kWorkUnit);
        folder.Write("user_info.sah", kUserInfo);
        folder.Write("SETILog.csv", kLogHeader + kLogRecord);
    }

    static int Rows(int tab) { return ListView_GetItemCount(PageList(tab)); }
    static const WorkUnitRow* Row(int tab, int index)
    {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return ListView_GetItem(PageList(tab), &item) ? reinterpret_cast<const WorkUnitRow*>(item.lParam) : nullptr;
    }
    // The Data Info and User Info lists keep plain ListRow records.
    static const ListRow* ListRowOf(int tab, int index)
    {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return ListView_GetItem(PageList(tab), &item) ? reinterpret_cast<const ListRow*>(item.lParam) : nullptr;
    }
    static std::string Cell(int cell) { return std::string(Row(kTabAnalysis, 0)->cells.Text(cell)); }

    static HWND CompletedTree() { return GetDlgItem(Tabs().pages[kTabCompleted], IDC_COMPLETED_TREE); }
    static HWND CompletedList() { return GetDlgItem(Tabs().pages[kTabCompleted], IDC_COMPLETED_LIST); }
    // Fills the Completed tree and selects the first location (or the root with totals).
    static void SelectCompleted(bool totals)
    {
        Tabs().currentTab = kTabCompleted;
        FillCompletedTree();
        const HTREEITEM root = TreeView_GetRoot(CompletedTree());
        ASSERT_NE(root, nullptr);
        const HTREEITEM first = TreeView_GetChild(CompletedTree(), root);
        // Selecting the item already selected loads nothing: go through the other one first.
        TreeView_SelectItem(CompletedTree(), totals ? first : root);
        TreeView_SelectItem(CompletedTree(), totals ? root : first);
        WaitForCompletedLoad();
    }

    // The Completed tree's location item of that name, or the root for any other name.
    static HTREEITEM CompletedItem(const char* name)
    {
        const HTREEITEM child = TreeChildNamed(CompletedTree(), name);
        return child ? child : TreeView_GetRoot(CompletedTree());
    }

    // The window is alive and answers messages: no refresh hung or killed it.
    static void ExpectResponsive()
    {
        ASSERT_TRUE(IsWindow(App().mainWindow));
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(App().mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                DispatchMessageA(&msg);
    }
    static void RefreshAll()
    {
        RefreshAndWait(false);
        RefreshDataInfo();
        WaitForInfoReads();
        RefreshUserInfo();
        WaitForInfoReads();
    }

    TempDir dir;

private:
    UINT_PTR timer_ = 0;
};

TEST_F(FileFaultsTest, StateHeldOpenWithoutSharingIsSkippedUntilReleased)
{
    StoreLocation(1, dir.Path());
    WriteGoodFiles(dir);
    RefreshAndWait(false);
    ASSERT_EQ(Cell(kCellPercent), "25.000");
    const Census before = CensusOf(dir.Path());

    {
        UniqueFile held(CreateFileA(dir.File("state.sah").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        UniqueFile heldUser(
            CreateFileA(dir.File("user_info.sah").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(heldUser);
        // The client is writing: each refresh skips the file silently and keeps what it showed.
        for (int refresh = 0; refresh < 3; ++refresh) {
            RefreshAll();
            EXPECT_EQ(Cell(kCellPercent), "25.000");
            EXPECT_EQ(StatusText(), "");
            ExpectResponsive();
        }
    }
    SetLastWriteTime(dir.File("state.sah"), kStart + 60 * kSecond);
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), "run");
    EXPECT_EQ(CensusOf(dir.Path()).size(), before.size());
}

TEST_F(FileFaultsTest, FilesDeletedAndReplacedBetweenRefreshes)
{
    StoreLocation(1, dir.Path());
    WriteGoodFiles(dir);
    RefreshAll();
    ASSERT_EQ(Cell(kCellStatus), "stop");

    ASSERT_TRUE(DeleteFileA(dir.File("state.sah").c_str()));
    RefreshAndWait(false);
    EXPECT_EQ(Cell(kCellStatus), kStatusNotValid);
    EXPECT_EQ(Cell(kCellPercent), "0.000"); // the work unit is still there
    EXPECT_NE(StatusText().find("\\state.sah"), std::string::npos) << StatusText();
    ExpectResponsive();

    for (const char* name : {"user_info.sah", "work_unit.sah"})
        ASSERT_TRUE(DeleteFileA(dir.File(name).c_str()));
    RefreshUserInfo();
    WaitForInfoReads();
    EXPECT_NE(StatusText().find("\\user_info.sah"), std::string::npos) << StatusText();
    RefreshDataInfo();
    WaitForInfoReads();
    EXPECT_NE(StatusText().find("\\user_info.sah"), std::string::npos) << StatusText();
    ExpectResponsive();

    // Replaced: new files under the same names are read as new, and a newer write counts as running.
    WriteGoodFiles(dir);
    SetLastWriteTime(dir.Write("state.sah", "prog=0.5\ncpu=7200\nbs_power=1\nbg_chisq=1\n"), kStart + 90 * kSecond);
    const Census before = CensusOf(dir.Path());
    RefreshAll();
    EXPECT_EQ(Cell(kCellPercent), "50.000");
    EXPECT_EQ(StatusText(), "");
    EXPECT_EQ(CensusOf(dir.Path()), before);
}

// What each fault in one client file gives on the Analysis, Data Info and User Info tabs.
TEST_F(FileFaultsTest, DamagedFilesEndWithAStatusMessage)
{
    struct Case {
        const char* what;
        const char* file;
        bool directory;      // a folder stands where the file should be
        std::string bytes;   // otherwise the file's bytes
        const char* refresh; // "analysis", "data" or "user"
        const char* message; // a part of the status text; null where every value is found and none is an error
    };
    const std::string longValue(100000, '7');
    const std::string longLine(300000, 'x');
    const Case cases[] = {
        {"state folder", "state.sah", true, "", "analysis", "\\state.sah"},
        {"user folder", "user_info.sah", true, "", "user", "\\user_info.sah"},
        {"work unit folder", "work_unit.sah", true, "", "data", "\\work_unit.sah"},
        {"empty state", "state.sah", false, "", "analysis", "state.sah file is empty for "},
        {"empty user", "user_info.sah", false, "", "user", "user_info.sah file is empty"},
        {"empty work unit", "work_unit.sah", false, "", "data", "Could not find"},
        {"garbage state", "state.sah", false, Garbage(70000, 1), "analysis", "Could not find"},
        {"garbage user", "user_info.sah", false, Garbage(70000, 2), "user", "Could not find"},
        {"garbage work unit", "work_unit.sah", false, Garbage(70000, 3), "data", "Could not find"},
        {"state line past every capacity", "state.sah", false,
         "prog=" + longValue + "\ncpu=" + longValue + "\nbs_power=" + longValue +
             "\nbg_chisq=1\nbp_pot=" + std::string(5000, 'f') + "\nbt_pot=" + std::string(5000, '9') + "\n" + longLine,
         "analysis", "Could not find"},
        {"user values past every capacity", "user_info.sah", false,
         "name=" + longLine + "\nnresults=" + longValue + "\ntotal_cpu=" + longValue + "\nregister_time=" + longLine +
             "\n",
         "user", nullptr},
        {"work unit header past 4096 bytes", "work_unit.sah", false, longLine + "\nstart_ra=1\n", "data",
         "Could not find"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        WriteGoodFiles(folder);
        DeleteFileA(folder.File(c.file).c_str());
        if (c.directory)
            ASSERT_TRUE(CreateDirectoryA(folder.File(c.file).c_str(), nullptr));
        else
            folder.Write(c.file, c.bytes);
        ResetSettingsKeys();
        StoreLocation(1, folder.Path());
        const Census before = CensusOf(folder.Path());

        const std::string refresh = c.refresh;
        for (int time = 0; time < 2; ++time) {
            if (refresh == "analysis")
                RefreshAndWait(true);
            else if (refresh == "data")
                RefreshDataInfo();
            else
                RefreshUserInfo();
            WaitForInfoReads();
            if (c.message) {
                EXPECT_NE(StatusText().find(c.message), std::string::npos) << StatusText();
            } else {
                EXPECT_EQ(StatusText(), "");
            }
            ExpectResponsive();
        }
        // No cell holds more than one value's capacity, however long the file's lines are.
        const int tab = refresh == "analysis" ? kTabAnalysis : refresh == "data" ? kTabDataInfo : kTabUserInfo;
        ASSERT_GE(Rows(tab), 1);
        const ListRow* cells = tab == kTabAnalysis ? &Row(tab, 0)->cells : ListRowOf(tab, 0);
        ASSERT_NE(cells, nullptr);
        for (int cell = 0; cell < cells->Count(); ++cell)
            EXPECT_LE(cells->Text(cell).size(), tab == kTabAnalysis ? 400u : 2047u);
        EXPECT_EQ(CensusOf(folder.Path()), before);
    }
}

TEST_F(FileFaultsTest, FilesPastFourGigabytesAreRefusedBySize)
{
    StoreLocation(1, dir.Path());
    WriteGoodFiles(dir);
    // Sparse, so the test takes no disk: the low part of the size is 100 bytes, the real size 4 GiB more.
    for (const char* name : {"state.sah", "user_info.sah"}) {
        UniqueFile file(
            CreateFileA(dir.File(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD returned = 0;
        DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = (1ll << 32) + 100;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    const Census before = CensusOf(dir.Path());
    ASSERT_EQ(before.at(dir.File("state.sah")).first, (1ull << 32) + 100);

    RefreshAndWait(false);
    EXPECT_EQ(StatusText(), "Out of memory");
    ExpectResponsive();
    RefreshUserInfo();
    WaitForInfoReads();
    EXPECT_EQ(StatusText(), "Out of memory");
    RefreshDataInfo();
    WaitForInfoReads();
    EXPECT_EQ(StatusText(), "Out of memory");
    ExpectResponsive();
    EXPECT_EQ(CensusOf(dir.Path()), before);
}

TEST_F(FileFaultsTest, LogWithTenThousandColumnsAndAMegabyteLine)
{
    StoreLocation(1, dir.Path());
    WriteGoodFiles(dir);
    std::string header = kLogHeader.substr(0, kLogHeader.size() - 1);
    for (int column = 0; column < 10000; ++column)
        header += ",extra" + std::to_string(column);
    std::string record = kLogRecord.substr(0, kLogRecord.size() - 1);
    for (int column = 0; column < 10000; ++column)
        record += ",1";
    dir.Write("SETILog.csv", header + "\n" + record + "\n" + std::string(1 << 20, 'q') + "\n" + kLogRecord);
    const Census before = CensusOf(dir.Path());

    SelectCompleted(false);
    ExpectResponsive();
    EXPECT_EQ(StatusText(), "");
    // Every long line is read in line-buffer pieces, each piece a record of its own: the header's
    // remainder, the wide record and the megabyte line; the last record closes the file.
    const auto pieces = [](size_t length) {
        return static_cast<int>((length + kLogLineCapacity - 1) / kLogLineCapacity);
    };
    const int rows = ListView_GetItemCount(CompletedList());
    EXPECT_EQ(rows, pieces(header.size()) - 1 + pieces(record.size()) + pieces(1 << 20) + 1);
    ASSERT_NE(CompletedListRow(0), nullptr);
    EXPECT_EQ(CompletedListRow(0)->cells.Text(kCompletedNameCell), "13mr00aa.1.2.3");

    SelectCompleted(true);
    ExpectResponsive();
    EXPECT_EQ(StatusText(), "");
    EXPECT_EQ(ListView_GetItemCount(CompletedList()), 2); // the location and the grand total
    EXPECT_EQ(CensusOf(dir.Path()), before);
}

TEST_F(FileFaultsTest, CompletedLogMissingEmptyOrAFolder)
{
    StoreLocation(1, dir.Path());
    WriteGoodFiles(dir);
    const struct {
        const char* what;
        bool folder;
        std::string bytes;
        bool message;
    } cases[] = {
        {"folder", true, "", true},
        {"empty", false, "", false},
        {"garbage", false, Garbage(200000, 4), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(dir.File("SETILog.csv").c_str());
        RemoveDirectoryA(dir.File("SETILog.csv").c_str());
        if (c.folder)
            ASSERT_TRUE(CreateDirectoryA(dir.File("SETILog.csv").c_str(), nullptr));
        else
            dir.Write("SETILog.csv", c.bytes);
        const Census before = CensusOf(dir.Path());
        SelectCompleted(false);
        ExpectResponsive();
        if (c.message) {
            EXPECT_NE(StatusText().find("\\SETILog.csv"), std::string::npos) << StatusText();
        }
        SelectCompleted(true);
        ExpectResponsive();
        EXPECT_GE(ListView_GetItemCount(CompletedList()), 1); // at least the grand total
        EXPECT_EQ(CensusOf(dir.Path()), before);
    }
}

// Memory running out in the middle of a load, with the program's allocations held to far less than
// the log needs: the load stops, the status line says "Out of memory", nothing half read is shown
// or kept, and the page goes on working (the same load without the limit shows everything).
TEST_F(FileFaultsTest, MemoryRunningOutStopsEachLoadCleanly)
{
    constexpr int kUnits = 3000;
    StoreLocation(1, dir.Path(), "Home");
    WriteGoodFiles(dir);
    std::string log = kLogHeader;
    for (int i = 0; i < kUnits; ++i)
        log += kLogRecord;
    dir.Write("SETILog.csv", log);
    // A second location with one work unit: selecting it leaves little to free before the next load.
    TempDir attic;
    attic.Write("SETILog.csv", kLogHeader + kLogRecord);
    StoreLocation(2, attic.Path(), "Attic");
    const HWND page = Tabs().pages[kTabCompleted];
    const struct {
        const char* what;
        const char* before; // selected before the limit
        const char* load;   // selected under the limit, then given the command
        int command;
        size_t room;
        int rows; // once loaded without the limit
    } cases[] = {
        {"work units", "All", "Home", 0, 1000000, kUnits},
        {"totals", "Attic", "All", 0, 0, 3},
        {"sky map of every log", "All", "All", ID_SKY_MAP, 200000, 3},
        {"calendar of every log", "All", "All", ID_CALENDAR, 0, 3},
    };
    Tabs().currentTab = kTabCompleted;
    FillCompletedTree();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Only what goes through the windows runs under the limit.
        TreeView_SelectItem(CompletedTree(), CompletedItem(c.before));
        WaitForCompletedLoad();
        const size_t held = BytesHeld();
        size_t failures = 0;
        {
            const AllocationLimit limit(c.room);
            TreeView_SelectItem(CompletedTree(), CompletedItem(c.load));
            WaitForCompletedLoad();
            if (c.command)
                SendMessageA(page, WM_COMMAND, MAKEWPARAM(c.command, 0), reinterpret_cast<LPARAM>(CompletedTree()));
            WaitForLongReads();
            failures = limit.Failures();
        }
        EXPECT_GT(failures, 0u);
        EXPECT_EQ(StatusText(), "Out of memory");
        EXPECT_LT(BytesHeld(), held + 200000) << "what the load had read is freed";
        EXPECT_EQ(Sky().map, nullptr);
        EXPECT_EQ(WorkUnitCalendarWindow(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(App().mainWindow));
        if (!c.command) {
            EXPECT_EQ(ListView_GetItemCount(CompletedList()), 0);
        }
        ExpectResponsive();

        SetStatusText("");
        TreeView_SelectItem(CompletedTree(), CompletedItem(c.before));
        TreeView_SelectItem(CompletedTree(), CompletedItem(c.load));
        WaitForCompletedLoad();
        if (c.command)
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(c.command, 0), reinterpret_cast<LPARAM>(CompletedTree()));
        WaitForLongReads();
        EXPECT_EQ(StatusText(), "");
        EXPECT_EQ(ListView_GetItemCount(CompletedList()), c.rows);
        if (c.command == ID_SKY_MAP) {
            EXPECT_EQ(SkyMapPoints() ? SkyMapPoints()->size() : 0u, static_cast<size_t>(kUnits + 1));
            DestroyWindow(Sky().map);
        }
        if (c.command == ID_CALENDAR) {
            EXPECT_NE(WorkUnitCalendarWindow(), nullptr);
            DestroyWindow(WorkUnitCalendarWindow());
        }
    }
}

// A column click whose sort runs out of memory, at every allocation it makes: the rows keep their
// order, the status line says why, and the headers still say the old order, so the next click
// sorts as a first click would.
TEST_F(FileFaultsTest, MemoryRunningOutInASortKeepsTheOrderAndTheHeaders)
{
    StoreLocation(1, dir.Path(), "Home");
    WriteGoodFiles(dir);
    std::string log = kLogHeader;
    for (const char* day : {"14", "13", "15"})
        log += std::string(kLogRecord).replace(kLogRecord.find(",13") + 1, 2, day);
    dir.Write("SETILog.csv", log);
    const auto names = [] {
        std::string order;
        for (int i = 0; CompletedListRow(i); ++i)
            order += std::string(CompletedListRow(i)->cells.Text(kCompletedNameCell).substr(0, 2)) + " ";
        return order;
    };
    for (size_t room = 0;; room += 8) {
        SCOPED_TRACE(room);
        ASSERT_LT(room, 100000u);
        SelectCompleted(false); // columns made anew, the last record first
        ASSERT_EQ(names(), "15 13 14 ");
        size_t failures = 0;
        {
            const AllocationLimit limit(room);
            ClickColumn(CompletedList(), kCompletedNameCell);
            failures = limit.Failures();
        }
        if (failures == 0) {
            EXPECT_EQ(names(), "13 14 15 ");
            break;
        }
        // A failure the sort has a way around (a smaller buffer) still sorts.
        if (names() == "13 14 15 ")
            continue;
        EXPECT_EQ(StatusText(), "Out of memory");
        EXPECT_EQ(names(), "15 13 14 ");
        ClickColumn(CompletedList(), kCompletedNameCell);
        EXPECT_EQ(names(), "13 14 15 ");
    }
    ExpectResponsive();
}

// A refresh that runs out of memory. A state.sah that fits in memory once is never held twice,
// and the location after it is still looked at; rows made before memory ran out are freed with
// the list drawing again, so the list has no rows or all of them and the next refresh makes them.
TEST_F(FileFaultsTest, MemoryRunningOutInARefreshLeavesNoLocationUnreadAndNoRowHalfMade)
{
    TempDir big;
    big.Write("state.sah", kState + std::string(2 << 20, 'x'));
    StoreLocation(1, big.Path(), "Big");
    StoreLocation(2, dir.Path(), "Home");
    WriteGoodFiles(dir);
    RefreshAndWait(false);
    ASSERT_EQ(Rows(kTabAnalysis), 2);
    const auto percentOf = [](const char* name) {
        for (int i = 0; Row(kTabAnalysis, i); ++i)
            if (Row(kTabAnalysis, i)->cells.Text(kCellLocation) == name)
                return std::string(Row(kTabAnalysis, i)->cells.Text(kCellPercent));
        return std::string("(no row)");
    };
    SetLastWriteTime(dir.Write("state.sah", "prog=0.5\ncpu=7200\n"), kStart + 60 * kSecond);
    const std::vector<BYTE> none;
    Tabs().currentTab = kTabAnalysis;
    {
        const AllocationLimit limit(3 << 20); // the big file fits once, not twice
        PressKey(PageList(kTabAnalysis), VK_F5, none);
        PumpWhileCommandRuns();
    }
    EXPECT_EQ(percentOf("Big"), "25.000");
    EXPECT_EQ(percentOf("Home"), "50.000");

    ResetSettingsKeys();
    constexpr int kLocations = 20;
    for (int i = 1; i <= kLocations; ++i)
        StoreLocation(i, dir.Path() + "\\missing" + std::to_string(i), "L" + std::to_string(i));
    const HWND list = PageList(kTabAnalysis);
    ListView_DeleteAllItems(PageList(kTabBestResults));
    ListView_DeleteAllItems(list);
    const size_t held = BytesHeld();
    for (size_t room = 0;; room += 500) {
        SCOPED_TRACE(room);
        ASSERT_LT(room, 1000000u);
        size_t failures = 0;
        {
            const AllocationLimit limit(room);
            PressKey(list, VK_F5, none);
            PumpWhileCommandRuns();
            failures = limit.Failures();
        }
        const int rows = Rows(kTabAnalysis);
        EXPECT_TRUE(rows == 0 || rows == kLocations) << rows;
        EXPECT_EQ(Rows(kTabBestResults), rows);
        EXPECT_NE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE, 0) << "the list draws again";
        if (rows == 0) {
            EXPECT_LT(BytesHeld(), held + 4096) << "the rows made are freed";
        }
        if (failures == 0)
            break;
        EXPECT_EQ(StatusText(), "Out of memory");
    }
    RefreshAndWait(false);
    EXPECT_EQ(Rows(kTabAnalysis), kLocations);
    ExpectResponsive();
}

TEST_F(FileFaultsTest, LocationOnAHostThatDoesNotExist)
{
    const std::string share = "\\\\nohost\\share";
    StoreLocation(1, share);
    RefreshAndWait(false);
    ASSERT_EQ(Rows(kTabAnalysis), 1);
    // Wine may answer with the bad network path (Err53) or another open error: either way a named failure.
    const std::string status = Cell(kCellStatus);
    EXPECT_TRUE(status == kStatusErr53 || status == kStatusNotValid) << status;
    EXPECT_NE(StatusText().find(share + "\\state.sah"), std::string::npos) << StatusText();
    ExpectResponsive();

    RefreshUserInfo();
    WaitForInfoReads();
    EXPECT_NE(StatusText().find(share + "\\user_info.sah"), std::string::npos) << StatusText();
    RefreshDataInfo();
    WaitForInfoReads();
    EXPECT_NE(StatusText().find(share + "\\user_info.sah"), std::string::npos) << StatusText();
    SelectCompleted(false);
    EXPECT_NE(StatusText().find(share + "\\SETILog.csv"), std::string::npos) << StatusText();
    ExpectResponsive();
}

TEST_F(FileFaultsTest, LocationStringsWithZeroToTenSeparators)
{
    WriteGoodFiles(dir);
    for (int separators = 0; separators <= 10; ++separators) {
        SCOPED_TRACE(separators);
        std::string text = dir.Path();
        for (int i = 0; i < separators; ++i)
            text += i == 0 ? ";Home" : i == 1 ? ";255" : ";Y";
        ResetSettingsKeys();
        StoreString("Location1", text);
        RefreshAll();
        SelectCompleted(false);
        ExpectResponsive();
        // Every form stands for exactly one location, whatever it names.
        EXPECT_EQ(Rows(kTabAnalysis), 1);
        EXPECT_EQ(Rows(kTabDataInfo), 1);
        EXPECT_GE(Rows(kTabUserInfo), 1);
    }
}

TEST_F(FileFaultsTest, AThousandStoredLocations)
{
    WriteGoodFiles(dir);
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        for (int i = 1; i <= 1000; ++i) {
            const std::string path = i % 2 ? dir.Path() : dir.Path() + "\\missing" + std::to_string(i);
            ASSERT_TRUE(store.WriteString(("Location" + std::to_string(i)).c_str(),
                                          path + ";L" + std::to_string(i) + ";255;Y;Y;Y;Y"));
        }
    }
    const Census before = CensusOf(dir.Path());
    RefreshAll();
    ExpectResponsive();
    EXPECT_EQ(Rows(kTabAnalysis), 1000);
    EXPECT_EQ(Rows(kTabDataInfo), 1000);
    EXPECT_NE(StatusText().find("\\missing"), std::string::npos) << StatusText();
    RefreshAndWait(false);
    EXPECT_EQ(Rows(kTabAnalysis), 1000);
    SelectCompleted(true);
    ExpectResponsive();
    EXPECT_EQ(ListView_GetItemCount(CompletedList()), 501); // the readable logs and the grand total
    EXPECT_EQ(CensusOf(dir.Path()), before);
}

// Every setting stored with the wrong type or an absurd size: the real main window starts, refreshes,
// switches tabs and closes.
class SettingsFaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved_ = App();
        ResetSettingsKeys();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                           ICC_TREEVIEW_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        App().instance = GetModuleHandleA(nullptr);
    }
    void TearDown() override
    {
        if (App().mainWindow)
            DestroyWindow(App().mainWindow);
        ShutdownApp();
        App() = saved_;
        Sky() = SkyWindows();
        Tabs() = TabState();
        ResetSettingsKeys();
    }

private:
    AppState saved_;
};

TEST_F(SettingsFaultsTest, EveryValueWithTheWrongTypeOrAnAbsurdSize)
{
    const char* const names[] = {
        "Location1",
        "Location2",
        kValueRunBeforeRefresh,
        kValueRefreshRate,
        kValueMinimizeToTaskbar,
        kValueShowGrandTotal,
        "Ann work units per day",
        kValueWindowPosition,
        kValueCalendarWindowPosition,
        kValueFwuCalendarWindowPosition,
        kValueSkyWindowPosition,
        kValueSkyPickPosition,
        kValueAnalysisColumnWidths,
        kValueBestColumnWidths,
        kValueDataInfoColumnWidths,
        kValueUserInfoColumnWidths,
        kValueBestRowHeight,
        kValueShowGraphText,
        kValueCompletedRowHeight,
        kValueShowGraphTextCompleted,
        kValueSkyShowText,
        kValueSkyCircleSize,
        kValueAlertOnStatusChange,
    };
    const std::string huge(300000, '9');
    const DWORD absurdNumbers[] = {0xFFFFFFFFu, 0x80000000u};
    struct Form {
        const char* what;
        DWORD type;
        std::string bytes;
    };
    const Form forms[] = {
        {"number where any", REG_DWORD, std::string(reinterpret_cast<const char*>(&absurdNumbers[0]), 4)},
        {"negative number", REG_DWORD, std::string(reinterpret_cast<const char*>(&absurdNumbers[1]), 4)},
        {"huge text", REG_SZ, huge + '\0'},
        {"text without terminator", REG_SZ, std::string(1500, 'A')},
        {"binary", REG_BINARY, Garbage(70000, 5)},
        {"short number", REG_DWORD, std::string(2, '\x7f')},
        {"empty text", REG_SZ, std::string()},
        {"multi-string", REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.what);
        ResetSettingsKeys();
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        for (const char* name : names)
            RegSetValueExA(key, name, 0, form.type, reinterpret_cast<const BYTE*>(form.bytes.data()),
                           static_cast<DWORD>(form.bytes.size()));
        RegCloseKey(key);

        LoadImageLists(App().instance);
        ASSERT_NE(CreateMainWindow(App().instance, SW_SHOWNORMAL), nullptr);
        FinishStartup();
        for (int tab = 0; tab < kTabCount; ++tab) {
            TabCtrl_SetCurSel(App().tabControl, tab);
            NMHDR header{App().tabControl, 0, static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageA(App().mainWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
            RefreshCurrentTab();
        }
        RefreshAndWait(true);
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(App().mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
        // A stored placement the window cannot be seen at is not applied.
        RECT rect{};
        GetWindowRect(App().mainWindow, &rect);
        EXPECT_LT(rect.left, GetSystemMetrics(SM_CXSCREEN) + 1);
        EXPECT_LT(rect.top, GetSystemMetrics(SM_CYSCREEN) + 1);
        DestroyWindow(App().mainWindow);
        ShutdownApp();
        App() = AppState();
        Sky() = SkyWindows();
        Tabs() = TabState();
        App().instance = GetModuleHandleA(nullptr);
    }
}

} // namespace
