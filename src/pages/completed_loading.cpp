// The Completed Work Units page's loads beside the window. The rows of a tree item are read on the
// system's thread pool into a store of their own while the tree, tabs and menus answer; after a
// grace period the status line and the taskbar button show how far the read has come. Escape,
// another item or a reload stops it, and the list then stays without rows; a read that finishes
// shows its rows as a load on the window thread did.
#include <memory>
#include <string>
#include <utility>

#include "core/common/background_reads.h"
#include "kit/app_state.h"
#include "kit/taskbar_progress.h"
#include "pages/completed_parts.h"
#include "platform/worker.h"

namespace completed
{

namespace
{

constexpr UINT kMessageLoadDone = WM_APP + 3;
constexpr UINT_PTR kProgressTimer = 2;
constexpr UINT kProgressTick = 100;
// As long as a refresh waits for its reads before it says whom it waits for: a load that ends
// sooner shows no progress at all.
constexpr DWORD kGraceMilliseconds = 250;

struct LoadDone final : WorkResult {
    int number = 0;
    LoadResult result;
};

void StopProgress(HWND page)
{
    PageState& state = State(page);
    KillTimer(page, kProgressTimer);
    state.loading.reset();
    if (!state.progressText.empty()) {
        EndTaskbarProgress(App().mainWindow);
        // The progress goes; what the load says at its end replaces it.
        if (CurrentStatusText() == state.progressText)
            SetStatusText("");
        state.progressText.clear();
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void OnProgressTick(HWND page)
{
    PageState& state = State(page);
    const std::shared_ptr<LoadProgress> progress = state.loading;
    const DWORD now = GetTickCount();
    if (!progress || now - state.loadStarted < kGraceMilliseconds)
        return;
    const int source = progress->source;
    if (source < 0 || static_cast<size_t>(source) >= state.loadingNames.size())
        return;
    const uint64_t read = progress->bytesRead;
    const uint64_t total = progress->totalBytes;
    if (!state.pace.Due(PercentRead(read, total), now))
        return;
    state.progressText = LoadProgressText(state.loadingNames[static_cast<size_t>(source)], read, total);
    SetStatusText(state.progressText);
    ShowTaskbarProgress(App().mainWindow, read, total);
}

void OnLoadDone(HWND page, LPARAM lParam)
{
    std::unique_ptr<WorkResult> done = TakeWorkResult(lParam);
    const auto* load = dynamic_cast<LoadDone*>(done.get());
    PageState& state = State(page);
    if (!load || load->number != state.loadNumber || !state.loading)
        return; // a load that was stopped, or one another has replaced
    const HTREEITEM item = state.loadingItem;
    StopProgress(page);
    FinishLoad(page, item, static_cast<LoadDone*>(done.get())->result);
}

} // namespace

void StartLoad(HWND page, HTREEITEM item, LoadRequest request)
{
    PageState& state = State(page);
    auto progress = std::make_shared<LoadProgress>();
    auto done = std::make_unique<LoadDone>();
    done->number = ++state.loadNumber;
    std::vector<std::string> names;
    for (const LoadSource& source : request.sources)
        names.push_back(source.name);
    auto holder = std::make_shared<std::unique_ptr<LoadDone>>(std::move(done));
    auto shared = std::make_shared<const LoadRequest>(std::move(request));
    // The rows are measured for their columns beside the window too, with the list font's advances.
    const int columns = ColumnCount(List(page));
    auto advances = std::make_shared<const TextAdvances>(ListTextAdvances(List(page)));
    const Work work = [holder, progress, shared, columns, advances] {
        LoadDone& load = **holder;
        // Nothing leaves the thread: running out of memory anywhere in the read is the load's outcome.
        try {
            LogReader reader;
            load.result = ReadList(*shared, reader, progress.get());
            if (load.result.outcome == LoadOutcome::Shown && !progress->stop)
                load.result.widest = WidestCells(load.result.rows, columns, *advances);
        } catch (...) {
            load.result = LoadResult();
            load.result.outcome = LoadOutcome::OutOfMemory;
        }
        return std::unique_ptr<WorkResult>(std::move(*holder));
    };
    if (!RunBeside(page, kMessageLoadDone, work)) {
        // Without the pool the load runs here, as it always could.
        LoadResult result = ReadList(*shared, state.reader);
        FinishLoad(page, item, result);
        return;
    }
    state.loading = progress;
    state.loadingItem = item;
    state.loadingNames = std::move(names);
    state.loadStarted = GetTickCount();
    state.pace = ProgressPace();
    SetTimer(page, kProgressTimer, kProgressTick, nullptr);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void CancelLoad(HWND page)
{
    PageState& state = State(page);
    if (!state.loading)
        return;
    state.loading->stop = true;
    ++state.loadNumber;
    state.afterLoad = 0;
    StopProgress(page);
}

bool OnLoadMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kMessageLoadDone:
        OnLoadDone(page, lParam);
        return true;
    case WM_TIMER:
        if (wParam != kProgressTimer)
            return false;
        OnProgressTick(page);
        return true;
    case WM_SETCURSOR:
        // The wait cursor stays over this page alone while its load runs.
        if (!State(page).loading)
            return false;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
        return true;
    }
    return false;
}

} // namespace completed
