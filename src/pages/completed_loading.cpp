// The Completed Work Units page's loads beside the window. The rows of a tree item are read on the
// system's thread pool into a store of their own while the tree, tabs and menus answer, with their
// progress shown after a grace period. Escape, another item or a reload stops a load, and the list
// then stays without rows; a read that finishes shows its rows as a load on the window thread did.
#include <memory>
#include <string>
#include <utility>

#include "kit/long_read.h"
#include "pages/completed_parts.h"
#include "dialogs/work_unit_calendar.h"

namespace completed
{

namespace
{

struct LoadDone final : WorkResult {
    LoadResult result;
};

void OnLoadDone(HWND page, std::unique_ptr<WorkResult> done)
{
    const HTREEITEM item = State(page).loadingItem;
    auto* load = dynamic_cast<LoadDone*>(done.get());
    if (!load) {
        // The read ran out of memory before it had a result to tell it in.
        LoadResult result;
        result.outcome = LoadOutcome::OutOfMemory;
        FinishLoad(page, item, result);
        return;
    }
    FinishLoad(page, item, load->result);
}

} // namespace

void StartLoad(HWND page, HTREEITEM item, LoadRequest request)
{
    PageState& state = State(page);
    std::vector<std::string> names;
    for (const LoadSource& source : request.sources)
        names.push_back(source.name);
    auto shared = std::make_shared<const LoadRequest>(std::move(request));
    // The rows are measured for their columns beside the window too, with the list font's advances.
    const int columns = ColumnCount(List(page));
    auto advances = std::make_shared<const TextAdvances>(ListTextAdvances(List(page)));
    const LongReadWork work = [shared, columns, advances](ReadProgress& progress) {
        auto load = std::make_unique<LoadDone>();
        LogReader reader;
        load->result = ReadList(*shared, reader, &progress);
        if (load->result.outcome == LoadOutcome::Shown && !progress.stop)
            load->result.widest = WidestCells(load->result.rows, columns, *advances);
        return std::unique_ptr<WorkResult>(std::move(load));
    };
    state.loadingItem = item;
    // Escape drops a command that waited for the rows; the list stays without them.
    state.load.Start(
        std::move(names), work, [page](std::unique_ptr<WorkResult> done) { OnLoadDone(page, std::move(done)); },
        [page] { State(page).afterLoad = 0; });
    if (state.load.Running())
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void CancelLoad(HWND page)
{
    PageState& state = State(page);
    state.afterLoad = 0;
    state.load.Stop();
}

bool OnLoadMessage(HWND page, UINT message)
{
    // The wait cursor stays over this page alone while a read of its logs runs.
    if (message != WM_SETCURSOR || !ReadingLogs(page))
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
    return true;
}

bool ReadingLogs(HWND page)
{
    const PageState& state = State(page);
    return state.load.Running() || state.skyRead.Running() || WorkUnitCalendarCounting();
}

} // namespace completed
