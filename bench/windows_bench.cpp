// windows_bench INPUTDIR WORKLOAD [N]: one workload of the real windows, timed against its floor under Wine.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_table.h"
#include "bench/windows_bench.h"
#include "core/completed/completed_load.h"
#include "pages/completed_page.h"
#include "dialogs/work_unit_calendar.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "tests/windows/control_input.h"
#include "pages/analysis_page.h"
#include "pages/analysis_refresh.h"
#include "kit/app_state.h"
#include "kit/long_read.h"
#include "shell/page_table.h"

namespace
{

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

} // namespace

void CreateMainWindow()
{
    INITCOMMONCONTROLSEX classes{sizeof classes,
                                 ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    App().instance = GetModuleHandleA(nullptr);
    App().mainWindow = CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
    App().smallImages = ImageList_LoadImageA(App().instance, MAKEINTRESOURCEA(IDB_TREE), 16, 0, RGB(0, 0, 255),
                                             IMAGE_BITMAP, LR_CREATEDIBSECTION);
    MoveWindow(App().mainWindow, 0, 0, 1000, 600, TRUE);
    ShowWindow(App().mainWindow, SW_SHOWNORMAL);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Handles messages until done() holds, waiting for each next one rather than spinning.
template <typename Done> void PumpUntil(Done done)
{
    while (!done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
    }
}

// A refresh as the user waits for it: until every location's read is in.
void RefreshToTheEnd(bool rebuild)
{
    RefreshAnalysis(rebuild);
    PumpUntil([] { return !AnalysisRefreshWaiting() && !AnalysisReadsOut(); });
}

// The longest a message sent from another thread waits for the window thread's answer, while work
// runs on the window thread.
class AnswerWatch
{
public:
    explicit AnswerWatch(HWND window)
        : asker_([this, window] {
              while (!stop_) {
                  const LARGE_INTEGER sent = Now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
                  longest_ = std::max(longest_.load(), Seconds(sent, Now()));
                  Sleep(1);
              }
          })
    {
    }
    double Stop()
    {
        stop_ = true;
        asker_.join();
        return longest_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_{0};
    std::thread asker_;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char line[8192];
        while (std::fgets(line, sizeof line, file))
            lines.emplace_back(line);
        std::fclose(file);
    }
    return lines;
}

namespace
{

void ResetSettings()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

void StoreLocations(const std::vector<std::string>& folders)
{
    ResetSettings();
    SettingsStore store;
    if (!store.Open())
        return;
    for (size_t i = 0; i < folders.size(); ++i)
        store.WriteString(("Location" + std::to_string(i + 1)).c_str(),
                          folders[i] + ";L" + std::to_string(1000 + i) + ";255;Y;Y;Y;Y");
}

unsigned long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The floor of the Completed load: N items with one text each into a bare report list, redrawing
// off, then shown.
double BareListFloor(int count, double& listBytes)
{
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    const HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 900, 500,
                                      App().mainWindow, nullptr, App().instance, nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<char*>("Work Unit Name");
    ListView_InsertColumn(list, 0, &column);
    const LARGE_INTEGER start = Now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemCount(list, count);
    char text[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, "13mr00aa.%d.%d", count - i, i % 977);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        ListView_InsertItem(list, &item);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    const double seconds = Seconds(start, Now());
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    listBytes = static_cast<double>(after.PagefileUsage) - static_cast<double>(before.PagefileUsage);
    DestroyWindow(list);
    return seconds;
}

// SETILog.csv read through the system's file calls, as the page reads it.
class FileSource final : public LogByteSource
{
public:
    explicit FileSource(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
    }
    ~FileSource() override
    {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    size_t Read(char* buffer, size_t capacity) override
    {
        DWORD read = 0;
        return ReadFile(file_, buffer, static_cast<DWORD>(capacity), &read, nullptr) ? read : 0;
    }

private:
    HANDLE file_;
};

// The portable part of the load on its own (read, split, convert into rows), then freeing the rows:
// the phases the page's time is made of besides the list.
void TimeCorePhases(const std::string& path, double& convert, double& release, double& rowBytes)
{
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    LARGE_INTEGER start = Now();
    FileSource source(path);
    LogReader reader;
    reader.Start(source);
    LocationNode node;
    DetailLoad load = LoadDetail(reader, node);
    convert = Seconds(start, Now());
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    rowBytes = static_cast<double>(after.PagefileUsage) - static_cast<double>(before.PagefileUsage);
    start = Now();
    load.rows.clear();
    release = Seconds(start, Now());
}

HTREEITEM FirstLocation(HWND page)
{
    const HWND tree = GetDlgItem(page, IDC_COMPLETED_TREE);
    return TreeView_GetChild(tree, TreeView_GetRoot(tree));
}

// The whole detail load as a user waits for it: selection (read, split, convert, insert, size) and
// the first paint of the list.
void BenchCompleted(const std::string& inputs, int count)
{
    const std::string folder = inputs + "\\completed" + std::to_string(count);
    const unsigned long long fileSize = FileSize(folder + "\\SETILog.csv");
    StoreLocations({folder});
    CreateMainWindow();
    const HWND page = CreateCompletedPage(App().mainWindow);
    Tabs().pages[kTabCompleted] = page;
    Tabs().currentTab = kTabCompleted;
    MoveWindow(page, 0, 0, 1000, 560, TRUE);
    ShowWindow(page, SW_SHOW);
    PumpMessages();
    const HWND list = GetDlgItem(page, IDC_COMPLETED_LIST);
    const HWND tree = GetDlgItem(page, IDC_COMPLETED_TREE);
    const HTREEITEM item = FirstLocation(page);

    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    double idleWait = 0;
    {
        // The same watch while the window thread only waits for messages: what the measure itself costs.
        AnswerWatch idle(App().mainWindow);
        const LARGE_INTEGER from = Now();
        PumpUntil([from] { return Seconds(from, Now()) > 0.3; });
        idleWait = idle.Stop();
    }
    AnswerWatch watch(App().mainWindow);
    const LARGE_INTEGER start = Now();
    TreeView_SelectItem(tree, item);
    // The rows are read beside the window; the load is over when they are shown.
    PumpUntil([] { return !CompletedLoadRunning(); });
    const LARGE_INTEGER loaded = Now();
    const double longestWait = watch.Stop();
    UpdateWindow(list);
    const LARGE_INTEGER painted = Now();
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    const int rows = ListView_GetItemCount(list);
    if (rows != count)
        std::fprintf(stderr, "windows_bench: %d rows for %d work units\n", rows, count);

    const double load = Seconds(start, loaded);
    const double paint = Seconds(loaded, painted);
    // Column clicks as the user makes them, the list telling the page: a text column and a number
    // column, each repainted.
    double sortSeconds[2] = {};
    const int sortColumns[2] = {kCellWorkUnitName, kCellCpuTime};
    for (int i = 0; i < 2; ++i) {
        const LARGE_INTEGER sortStart = Now();
        ClickColumn(list, sortColumns[i]);
        UpdateWindow(list);
        sortSeconds[i] = Seconds(sortStart, Now());
    }
    // The page is taken down before the floor, so both lists never live at once.
    const LARGE_INTEGER freeStart = Now();
    DestroyWindow(page);
    const double teardown = Seconds(freeStart, Now());
    Tabs().pages[kTabCompleted] = nullptr;
    double listBytes = 0;
    const double floorSeconds = BareListFloor(count, listBytes);
    double convert = 0;
    double release = 0;
    double rowBytes = 0;
    TimeCorePhases(folder + "\\SETILog.csv", convert, release, rowBytes);

    char note[400];
    std::snprintf(note, sizeof note,
                  "select %.3f s + first paint %.3f s; of which read+split+convert alone %.3f s; freeing the rows "
                  "%.3f s; page teardown %.3f s; %.1f MB file, %.1f MB of rows; sorting by name %.3f s, by CPU "
                  "time %.3f s",
                  load, paint, convert, release, teardown, static_cast<double>(fileSize) / 1e6, rowBytes / 1e6,
                  sortSeconds[0], sortSeconds[1]);
    const std::string name = "Completed load, N=" + std::to_string(count);
    PrintResult(kPlatform, name.c_str(), load + paint, floorSeconds, count >= 100000 ? 2.0 : 0, note);
    // Against 50 ms: the longest a message waited for the window while the load ran.
    const std::string answer = "Completed load, N=" + std::to_string(count) + ": longest wait for an answer";
    std::snprintf(note, sizeof note,
                  "a message sent from another thread every millisecond; goal 50 ms; %.1f ms while the window "
                  "thread only waits",
                  idleWait * 1000);
    PrintResult(kPlatform, answer.c_str(), longestWait, 0.050, count >= 100000 ? 1.0 : 0, note);
    // What the load adds: its peak over the working set of the page before it, so that Wine's own
    // start-up does not count.
    const double peak = static_cast<double>(after.PeakWorkingSetSize);
    const double added = peak - static_cast<double>(before.WorkingSetSize);
    std::snprintf(note, sizeof note,
                  "peak working set %.1f MB (%.1f MB before the load, %.1f MB its peak until then); file %.1f MB; "
                  "a bare list of as many items takes %.1f MB",
                  peak / 1e6, static_cast<double>(before.WorkingSetSize) / 1e6,
                  static_cast<double>(before.PeakWorkingSetSize) / 1e6, static_cast<double>(fileSize) / 1e6,
                  listBytes / 1e6);
    // Reported as bytes in the time columns: what the load adds against the file's size, goal 1.1.
    std::printf("MEMORY|%s|Completed memory added by the load, N=%d|%.0f|%.0f|1.10|%s\n", kPlatform, count, added,
                static_cast<double>(fileSize), note);
}

// The floor of a refresh: open, read and close each location's state.sah and work_unit.sah.
double ReadFilesFloor(const std::vector<std::string>& folders)
{
    std::vector<char> buffer(1 << 16);
    const LARGE_INTEGER start = Now();
    for (const std::string& folder : folders)
        for (const char* name : {"\\state.sah", "\\work_unit.sah"}) {
            const HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                continue;
            DWORD read = 0;
            while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
            }
            CloseHandle(file);
        }
    return Seconds(start, Now());
}

void BenchAnalysis(const std::string& inputs)
{
    std::vector<std::string> folders;
    for (int i = 0; i < 200; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\analysis\\loc%03d", i);
        folders.push_back(inputs + name);
    }
    StoreLocations(folders);
    CreateMainWindow();
    const HWND page = CreateAnalysisPage(App().mainWindow);
    Tabs().pages[kTabAnalysis] = page;
    Tabs().currentTab = kTabAnalysis;
    ShowWindow(page, SW_SHOW);
    PumpMessages();
    ReadFilesFloor(folders); // warm the file cache for both sides alike
    double rebuild = 1e300;
    double refresh = 1e300;
    double floorSeconds = 1e300;
    // Seven rounds, each side's best: file opens under Wine come in slow spells of a tenth of a
    // second here, several times the cost of opening 600 files in a quick one.
    for (int round = 0; round < 7; ++round) {
        LARGE_INTEGER start = Now();
        RefreshToTheEnd(true);
        UpdateWindow(PageList(kTabAnalysis));
        rebuild = std::min(rebuild, Seconds(start, Now()));
        start = Now();
        RefreshToTheEnd(false);
        UpdateWindow(PageList(kTabAnalysis));
        refresh = std::min(refresh, Seconds(start, Now()));
        floorSeconds = std::min(floorSeconds, ReadFilesFloor(folders));
    }
    const int rows = ListView_GetItemCount(PageList(kTabAnalysis));
    char note[200];
    std::snprintf(note, sizeof note, "%d rows", rows);
    PrintResult(kPlatform, "Analysis rebuild, 200 locations", rebuild, floorSeconds, 3.0, note);
    PrintResult(kPlatform, "Analysis refresh, 200 locations", refresh, floorSeconds, 3.0, note);

    // Every file read of the refresh waits 3 ms, as on a healthy share: against the same refresh
    // with instant reads plus one read's wait.
    ReadClientFilesSlowly();
    double slow = 1e300;
    for (int round = 0; round < 3; ++round) {
        const LARGE_INTEGER start = Now();
        RefreshToTheEnd(false);
        slow = std::min(slow, Seconds(start, Now()));
    }
    std::snprintf(note, sizeof note, "%d rows; floor: the refresh with instant reads (%.3f s) and one read's 3 ms",
                  rows, refresh);
    PrintResult(kPlatform, "Analysis refresh, 200 locations, 3 ms a read", slow, refresh + 0.003, 4.0, note);
    DestroyWindow(page);
}

// The floor of the calendar: every location's log read line by line.
double ReadLogsFloor(const std::vector<std::string>& folders)
{
    const LARGE_INTEGER start = Now();
    size_t lines = 0;
    for (const std::string& folder : folders)
        lines += ReadLines(folder + "\\SETILog.csv").size();
    const double seconds = Seconds(start, Now());
    return lines ? seconds : 0;
}

void BenchCalendar(const std::string& inputs)
{
    std::vector<std::string> folders;
    for (int i = 0; i < 50; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\calendar\\cal%02d", i);
        folders.push_back(inputs + name);
    }
    StoreLocations(folders);
    CreateMainWindow();
    ReadLogsFloor(folders); // warm the file cache for both sides alike
    double calendar = 1e300;
    double floorSeconds = 1e300;
    for (int round = 0; round < 2; ++round) {
        const LARGE_INTEGER start = Now();
        OpenWorkUnitCalendarForAllLocations();
        PumpUntil([] { return !LongReadsRunning(); });
        const HWND window = WorkUnitCalendarWindow();
        if (window)
            UpdateWindow(window);
        calendar = std::min(calendar, Seconds(start, Now()));
        if (!window) {
            calendar = 0;
            break;
        }
        DestroyWindow(window);
        EnableWindow(App().mainWindow, TRUE);
        PumpMessages();
        floorSeconds = std::min(floorSeconds, ReadLogsFloor(folders));
    }
    PrintResult(kPlatform, "Work Unit Calendar ALL, 50 x 2,000", calendar, floorSeconds, 3.0,
                calendar > 0 ? "open, count and first paint" : "no calendar window");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: windows_bench INPUTDIR completed N | analysis | skymap | calendar\n");
        return 2;
    }
    const std::string inputs = argv[1];
    const std::string workload = argv[2];
    if (workload == "completed" && argc == 4)
        BenchCompleted(inputs, std::atoi(argv[3]));
    else if (workload == "analysis")
        BenchAnalysis(inputs);
    else if (workload == "skymap")
        BenchSkyMap(inputs);
    else if (workload == "calendar")
        BenchCalendar(inputs);
    else {
        std::fprintf(stderr, "windows_bench: unknown workload %s\n", workload.c_str());
        return 2;
    }
    ResetSettings();
    return 0;
}
