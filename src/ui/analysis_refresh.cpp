// The analysis refresh: pre-refresh command, row creation, one look per location, title and tip.
#include "ui/analysis_refresh.h"

#include <windows.h>
#include <commctrl.h>

#include <ctime>
#include <vector>

#include "client/analysis.h"
#include "client/client_file.h"
#include "client/last_error.h"
#include "common/unique_handle.h"
#include "settings/settings_store.h"
#include "ui/app_state.h"
#include "ui/list_view.h"

namespace {

// Runs the user's command minimised and waits for it to end, however long it takes.
void RunPreRefreshCommand(StatusSink& status)
{
    std::string command;
    {
        SettingsStore store;
        if (!store.Open() || !store.ReadString(kValueRunBeforeRefresh, command, kCommandTextCapacity) ||
            command.empty())
            return;
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
        return;
    }
    const UniqueKernelHandle processHandle(process.hProcess);
    const UniqueKernelHandle threadHandle(process.hThread);
    WaitForSingleObject(processHandle.get(), INFINITE);
}

WorkUnitRow* RowAt(HWND list, int index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(list, &item) ? reinterpret_cast<WorkUnitRow*>(item.lParam) : nullptr;
}

bool AppendRow(HWND list, WorkUnitRow* row)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.lParam = reinterpret_cast<LPARAM>(row);
    return ListView_InsertItem(list, &item) >= 0;
}

void CreateRows(HWND analysis, HWND best)
{
    SettingsStore store;
    store.Open();  // without the key the walk gives the default location
    EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), CurrentDirectory(),
                       [&](const Location& location) {
                           if (!IsSwitchOn(location.analysis))
                               return;
                           auto* row = new WorkUnitRow(location.path, kAnalysisCellCount);
                           InitAnalysisRow(*row, location.shortName);
                           if (!AppendRow(analysis, row)) {
                               delete row;
                               return;
                           }
                           if (best)
                               AppendRow(best, row);
                       });
}

void UpdateTitleAndTip(HWND analysis, int remembered)
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

}  // namespace

void RefreshAnalysis(bool rebuild)
{
    const HWND analysis = PageList(kTabAnalysis);
    if (!analysis)
        return;
    const HWND best = PageList(kTabBestResults);
    const int selected = ListView_GetNextItem(analysis, -1, LVNI_SELECTED);
    SetStatusText("");
    StatusLine status;

    if (rebuild) {
        // The Best Results list only shows the rows; empty it before the Analysis list frees them.
        if (best)
            ListView_DeleteAllItems(best);
        ListView_DeleteAllItems(analysis);
    }
    RunPreRefreshCommand(status);
    if (ListView_GetItemCount(analysis) == 0) {
        // Redrawing stays off while the rows go in: a shown list otherwise lays itself out anew
        // after every insertion.
        SendMessageA(analysis, WM_SETREDRAW, FALSE, 0);
        CreateRows(analysis, best);
        SendMessageA(analysis, WM_SETREDRAW, TRUE, 0);
    }

    DiskClientFiles files;
    const int threshold = StopThreshold(RefreshPosition());
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const int count = ListView_GetItemCount(analysis);
    for (int i = 0; i < count; ++i)
        if (WorkUnitRow* row = RowAt(analysis, i))
            LookAtLocation(*row, files, threshold, now, status);

    InvalidateRect(analysis, nullptr, FALSE);
    if (best)
        InvalidateRect(best, nullptr, FALSE);
    RequestResort(analysis);
    if (selected >= 0 && selected < count) {
        ListView_SetItemState(analysis, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    UpdateTitleAndTip(analysis, selected);
}
