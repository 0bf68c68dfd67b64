// The analysis refresh: pre-refresh command, row creation, one look per location, title and tip.
#include "pages/analysis_refresh.h"

#include <windows.h>
#include <commctrl.h>

#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/common/out_of_memory.h"
#include "core/common/program_texts.h"
#include "core/analysis/analysis.h"
#include "core/analysis/status_alert.h"
#include "platform/client_file.h"
#include "platform/last_error.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"
#include "kit/page_frame.h"
#include "kit/list_text.h"
#include "kit/list_view.h"
#include "kit/notification.h"
#include "pages/analysis_looks.h"
#include "pages/analysis_page.h"
#include "pages/best_results_page.h"

namespace
{

constexpr UINT kMessageCommandEnded = WM_APP + 1;
constexpr char kWaitWindowClass[] = "VantorelCommandWait";

// The pre-refresh command of the refresh under way. The window goes on while it runs; the
// refresh finishes when a message from the wait arrives, so the command still ends before any
// file is read. One runs at a time: refreshes asked for meanwhile become one that follows.
struct CommandWait {
    UniqueKernelHandle process;
    UniqueKernelHandle thread;
    HANDLE wait = nullptr; // the system's wait, which posts kMessageCommandEnded
    HWND window = nullptr; // message-only window that receives it
    int selected = -1;     // the Analysis selection when the refresh started
    bool followUp = false;
    bool followUpRebuild = false;
};

CommandWait& Waiting()
{
    static CommandWait wait;
    return wait;
}

void CALLBACK OnCommandEnded(PVOID window, BOOLEAN)
{
    PostMessageA(static_cast<HWND>(window), kMessageCommandEnded, 0, 0);
}

void ReleaseCommand()
{
    CommandWait& waiting = Waiting();
    if (waiting.wait) {
        // Blocks until a callback under way has returned, so none can post after this.
        UnregisterWaitEx(waiting.wait, INVALID_HANDLE_VALUE);
        waiting.wait = nullptr;
    }
    waiting.process.reset();
    waiting.thread.reset();
}

void FinishRefresh(int selected);

void OnCommandEndedMessage()
{
    CommandWait& waiting = Waiting();
    if (!waiting.process)
        return;
    ReleaseCommand();
    // The refresh goes on after its command as one without a command starts: on a clear line,
    // whatever another tab wrote meanwhile, so its own messages are the ones left.
    SetStatusText("");
    FinishRefresh(waiting.selected);
}

// The refresh's own window: the end of its command, its looks coming back and its grace period.
LRESULT CALLBACK CommandWaitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A refresh that runs out of memory is dropped and says so; the next tick tries again.
    switch (message) {
    case kMessageCommandEnded:
        RunGuarded(OnCommandEndedMessage);
        return 0;
    case refresh::kMessageLookDone:
        RunGuarded([lParam] { refresh::OnLookDone(lParam); });
        return 0;
    case WM_TIMER:
        if (wParam == refresh::kGraceTimer)
            RunGuarded(refresh::OnGraceOver);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CommandWaitWindow()
{
    CommandWait& waiting = Waiting();
    if (waiting.window && IsWindow(waiting.window))
        return waiting.window;
    const HINSTANCE instance = AppInstance();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CommandWaitProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWaitWindowClass;
    RegisterClassA(&windowClass); // fails harmlessly when already registered
    waiting.window = CreateWindowExA(0, kWaitWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    return waiting.window;
}

// Starts the user's command minimised. True when the refresh waits for it to end; false when
// there is none, it could not be started (reported), or it has already been waited for.
bool StartPreRefreshCommand(StatusSink& status)
{
    std::string command;
    {
        SettingsStore store;
        if (!store.Open() || !store.ReadString(kValueRunBeforeRefresh, command, kCommandTextCapacity) ||
            command.empty())
            return false;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_MINIMIZE;
    PROCESS_INFORMATION process{};
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        status.SetStatusText("Error running " + command + "  " + LastErrorText());
        return false;
    }
    CommandWait& waiting = Waiting();
    waiting.process.reset(process.hProcess);
    waiting.thread.reset(process.hThread);
    const HWND window = CommandWaitWindow();
    if (!window || !RegisterWaitForSingleObject(&waiting.wait, waiting.process.get(), OnCommandEnded, window, INFINITE,
                                                WT_EXECUTEONLYONCE)) {
        // Without a way to be told of its end, the refresh waits for the command here.
        waiting.wait = nullptr;
        WaitForSingleObject(waiting.process.get(), INFINITE);
        ReleaseCommand();
        return false;
    }
    status.SetStatusText("Waiting for " + command);
    return true;
}

} // namespace

WorkUnitRow* refresh::RowAt(HWND list, int index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(list, &item) ? reinterpret_cast<WorkUnitRow*>(item.lParam) : nullptr;
}

namespace
{

bool AppendRow(HWND list, WorkUnitRow* row)
{
    return InsertRowItem(list, ListView_GetItemCount(list), reinterpret_cast<LPARAM>(row)) >= 0;
}

// A row for every location switched on for the analysis. The lists' redrawing stays off while the
// rows go in (a shown list otherwise lays itself out anew after every insertion) and is back on
// however this ends. When memory runs out part way, the rows made so far are freed and false comes
// back: the lists stay empty, so the next refresh makes every row again.
bool CreateRows(HWND analysis, HWND best)
{
    SendMessageA(analysis, WM_SETREDRAW, FALSE, 0);
    const bool made = !RanOutOfMemory([&] {
        SettingsStore store;
        store.Open(); // without the key the walk gives the default location
        EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                           [&](const Location& location) {
                               if (!IsSwitchOn(location.analysis))
                                   return;
                               auto row = std::make_unique<WorkUnitRow>(location.path, kAnalysisCellCount);
                               InitAnalysisRow(*row, location.shortName);
                               if (!AppendRow(analysis, row.get()))
                                   return;
                               // The Analysis list owns the row from here and frees it with its item.
                               WorkUnitRow* const shown = row.release();
                               if (best)
                                   AppendRow(best, shown);
                           });
    });
    if (!made) {
        // The Best Results list only shows the rows; empty it before the Analysis list frees them.
        if (best)
            ListView_DeleteAllItems(best);
        ListView_DeleteAllItems(analysis);
    }
    SendMessageA(analysis, WM_SETREDRAW, TRUE, 0);
    return made;
}

} // namespace

void refresh::UpdateTitleAndTip(HWND analysis, int remembered)
{
    const HWND main = App().mainWindow;
    if (!main)
        return;
    if (!IsIconic(main)) {
        SetWindowTextA(main, kProgramTitle);
        return;
    }
    const WorkUnitRow* row = RowAt(analysis, remembered >= 0 ? remembered : 0);
    std::string text = MinimisedTitle(row ? &row->cells : nullptr);
    if (App().inTray && row) {
        text = TrayTip(row->cells);
        SetTrayTip(text);
    }
    SetWindowTextA(main, text.c_str());
}

namespace
{

// Steps after the command: the rows when there are none, then one look per location.
void FinishRefresh(int selected)
{
    const HWND analysis = AnalysisList();
    if (!analysis)
        return;
    const bool madeRows = ListView_GetItemCount(analysis) == 0;
    if (madeRows && !CreateRows(analysis, BestResultsList())) {
        SetStatusText(kOutOfMemory);
        refresh::EndRefresh();
        return;
    }
    refresh::StartLooks(selected, madeRows);
}

// Frees the rows: the Best Results list only shows them, so it is emptied before the Analysis list
// frees them, and looks still out for them are dropped when they come back.
void DeleteRows(HWND analysis, HWND best)
{
    refresh::ForgetLookedRows(false);
    if (best)
        ListView_DeleteAllItems(best);
    ListView_DeleteAllItems(analysis);
}

} // namespace

HWND refresh::RefreshWindow()
{
    return CommandWaitWindow();
}

void refresh::EndRefresh()
{
    CommandWait& waiting = Waiting();
    if (std::exchange(waiting.followUp, false))
        RefreshAnalysis(std::exchange(waiting.followUpRebuild, false));
}

void RefreshAnalysis(bool rebuild)
{
    CommandWait& waiting = Waiting();
    if (waiting.process || refresh::LooksUnderWay()) {
        // No second command and no refresh inside this one: one refresh follows its end.
        waiting.followUp = true;
        waiting.followUpRebuild = waiting.followUpRebuild || rebuild;
        return;
    }
    const HWND analysis = AnalysisList();
    if (!analysis)
        return;
    const HWND best = BestResultsList();
    const int selected = ListView_GetNextItem(analysis, -1, LVNI_SELECTED);
    SetStatusText("");
    StatusLine status;

    if (rebuild)
        DeleteRows(analysis, best);
    if (StartPreRefreshCommand(status)) {
        waiting.selected = selected;
        return;
    }
    FinishRefresh(selected);
}

bool AnalysisRefreshWaiting()
{
    return Waiting().process || refresh::LooksUnderWay();
}

bool AnalysisReadsOut()
{
    return refresh::AnyReadOut();
}

void ForgetAnalysisLooks()
{
    refresh::ForgetLookedRows(false);
}

void StopWaitingForCommand()
{
    CommandWait& waiting = Waiting();
    ReleaseCommand();
    refresh::ForgetLookedRows(true);
    waiting.followUp = false;
    waiting.followUpRebuild = false;
    if (waiting.window) {
        DestroyWindow(waiting.window);
        waiting.window = nullptr;
    }
}
