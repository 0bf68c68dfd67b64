// The looks of an analysis refresh, beside the window thread. Each location's files are read on
// the system's thread pool into a copy of its row; the window thread puts the copies back, in row
// order, when every look has come back or the grace period is over, whichever is first. A look
// still out then keeps its row as it was, is put in when it comes back, and is not started again
// meanwhile; the status line says whom the program waits for.
#include "pages/analysis_looks.h"

#include <commctrl.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/analysis/analysis.h"
#include "core/analysis/status_alert.h"
#include "core/common/background_reads.h"
#include "core/common/out_of_memory.h"
#include "kit/app_state.h"
#include "kit/long_read.h"
#include "kit/list_view.h"
#include "kit/notification.h"
#include "pages/analysis_page.h"
#include "pages/best_results_page.h"
#include "platform/client_file.h"
#include "platform/worker.h"

namespace refresh
{

namespace
{

// One look: made on the window thread, filled beside it, handed back by a posted message.
struct LookResult final : WorkResult {
    LookResult(WorkUnitRow copy, WorkUnitRow* shown) : target(shown), row(std::move(copy)) {}
    int generation = 0;
    int refresh = 0;
    size_t order = 0;
    std::string key;
    std::string shortName;
    WorkUnitRow* target; // the row shown, valid while the generation is current
    WorkUnitRow row;     // the copy the look worked on
    StatusEvent event = StatusEvent::None;
    std::vector<std::string> messages; // what the look said, in order
};

// Keeps what a look says, to be told on the window thread.
class RecordedStatus final : public StatusSink
{
public:
    explicit RecordedStatus(std::vector<std::string>& lines) : lines_(lines) {}
    void SetStatusText(std::string_view text) override { lines_.emplace_back(text); }

private:
    std::vector<std::string>& lines_;
};

struct Looks {
    int generation = 0; // counts the times the rows were freed
    int refresh = 0;    // counts the refreshes
    bool underWay = false;
    size_t pending = 0; // this refresh's looks still out
    int selected = -1;
    bool madeRows = false;
    bool outOfMemory = false;                         // a look of this refresh, or its start, ran out of memory
    std::vector<std::unique_ptr<LookResult>> arrived; // this refresh's, by row order
    ReadsOut reads;                                   // every look out, this refresh's or an earlier one's
    std::string waitingText;                          // the "Waiting for" text the status line was given
};

Looks& State()
{
    static Looks looks;
    return looks;
}

// Beside the window thread: nothing here touches a window, and nothing is thrown out of it.
void RunLook(LookResult& look, int threshold, int64_t now)
{
    try {
        RecordedStatus status(look.messages);
        if (RanOutOfMemory([&] {
                const std::unique_ptr<AnalysisFiles> files = OpenClientFiles();
                look.event = LookForStatusEvent(look.row, *files, threshold, now, status);
            }))
            look.outOfMemory = true;
    } catch (...) {
        look.outOfMemory = true;
    }
}

// Queues the row's look and tells whether it is out; where there is no window for
// the answer, the look runs here and is in at once.
bool StartLook(WorkUnitRow& row, size_t order, const std::string& key, int threshold, int64_t now)
{
    Looks& looks = State();
    auto look = std::make_unique<LookResult>(row, &row);
    look->generation = looks.generation;
    look->refresh = looks.refresh;
    look->order = order;
    look->key = key;
    look->shortName = std::string(row.cells.Text(kCellLocation));
    const HWND window = RefreshWindow();
    if (!window) {
        RunLook(*look, threshold, now);
        looks.arrived[order] = std::move(look);
        return false;
    }
    return RunBeside(window, kMessageLookDone, std::move(look),
                     [threshold, now](LookResult& made) { RunLook(made, threshold, now); });
}

// Puts a look's copy in place of its row and tells what it said; the alert goes to alerts.
void Apply(LookResult& look, std::vector<std::string>& alerts, bool& warning)
{
    *look.target = std::move(look.row);
    for (const std::string& message : look.messages)
        SetStatusText(message);
    if (look.outOfMemory) {
        SetStatusText(kOutOfMemory);
        return;
    }
    if (look.event == StatusEvent::None)
        return;
    const WorkUnitRow& row = *look.target;
    alerts.push_back(StatusEventText(look.event, row.cells.Text(kCellLocation), row.cells.Text(kCellPercent)));
    warning = warning || IsWarningEvent(look.event);
}

// The status line names the locations still waited for; once none is, the text goes. Where
// onlyOwnText is set and something else has replaced the last such text, the line is left alone.
void ShowWaiting(bool onlyOwnText)
{
    Looks& looks = State();
    if (onlyOwnText && (looks.waitingText.empty() || CurrentStatusText() != looks.waitingText)) {
        looks.waitingText.clear();
        return;
    }
    const std::string text = looks.reads.WaitingText();
    if (!text.empty() || !looks.waitingText.empty())
        SetStatusText(text);
    looks.waitingText = text;
}

// The rows the Analysis list shows, in address order: a look is put in only where its row still is.
std::vector<const WorkUnitRow*> ShownRows(HWND analysis)
{
    std::vector<const WorkUnitRow*> rows;
    for (int i = 0, count = ListView_GetItemCount(analysis); i < count; ++i)
        rows.push_back(RowAt(analysis, i));
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool Shows(const std::vector<const WorkUnitRow*>& rows, const WorkUnitRow* row)
{
    return std::binary_search(rows.begin(), rows.end(), row);
}

void InvalidateLists(HWND analysis, HWND best)
{
    InvalidateRect(analysis, nullptr, FALSE);
    if (best)
        InvalidateRect(best, nullptr, FALSE);
}

// The end of a refresh: the looks that came back go in, in row order, then the lists are sized,
// repainted and re-sorted, the selection, title and tip restored and the alerts given.
void EndLooks()
{
    Looks& looks = State();
    looks.underWay = false;
    KillTimer(RefreshWindow(), kGraceTimer);
    const HWND analysis = AnalysisList();
    const HWND best = BestResultsList();
    std::vector<std::string> alerts;
    bool warning = false;
    std::vector<std::unique_ptr<LookResult>> arrived = std::move(looks.arrived);
    if (analysis) {
        const std::vector<const WorkUnitRow*> shown = ShownRows(analysis);
        for (const auto& look : arrived) {
            if (look && Shows(shown, look->target)) {
                Apply(*look, alerts, warning);
                looks.outOfMemory = looks.outOfMemory || look->outOfMemory;
            }
        }
        // The looks end in row order, not in the order they ran: running out of memory anywhere
        // in the refresh is what the line tells last.
        if (looks.outOfMemory)
            SetStatusText(kOutOfMemory);
        // Lists that were empty (at start-up, or while a pre-refresh command ran) are sized to their
        // first rows once those are looked at; later refreshes only repaint.
        for (const HWND list : {analysis, best}) {
            if (list && looks.madeRows) {
                SizePendingColumns(list);
                PlaceHeaderTips(list);
            }
        }
        InvalidateLists(analysis, best);
        RequestResort(analysis);
        // A selection made while the refresh ran is the one to keep.
        const int current = ListView_GetNextItem(analysis, -1, LVNI_SELECTED);
        const int selected = current >= 0 ? current : looks.selected;
        if (selected >= 0 && selected < ListView_GetItemCount(analysis))
            ListView_SetItemState(analysis, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        UpdateTitleAndTip(analysis, selected);
        AlertStatusChanges(alerts, warning);
    }
    if (!looks.reads.Empty())
        ShowWaiting(false);
    EndRefresh();
}

// A look that came back after its refresh ended goes in as a refresh would put it.
void ApplyLate(LookResult& look)
{
    const HWND analysis = AnalysisList();
    if (!analysis || !Shows(ShownRows(analysis), look.target)) {
        ShowWaiting(true);
        return;
    }
    std::vector<std::string> alerts;
    bool warning = false;
    Apply(look, alerts, warning);
    InvalidateLists(analysis, BestResultsList());
    RequestResort(analysis);
    UpdateTitleAndTip(analysis, ListView_GetNextItem(analysis, -1, LVNI_SELECTED));
    AlertStatusChanges(alerts, warning);
    ShowWaiting(true);
}

} // namespace

void StartLooks(int selected, bool madeRows)
{
    Looks& looks = State();
    const HWND analysis = AnalysisList();
    if (!analysis)
        return;
    const int threshold = StopThreshold(RefreshPosition());
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const int count = ListView_GetItemCount(analysis);
    ++looks.refresh;
    looks.selected = selected;
    looks.madeRows = madeRows;
    looks.pending = 0;
    looks.arrived.clear();
    looks.arrived.resize(static_cast<size_t>(count));
    looks.underWay = true;
    // Without memory to start a look the refresh starts no more, says so and ends with those out.
    const bool outOfMemory = RanOutOfMemory([&] {
        for (int i = 0; i < count; ++i) {
            WorkUnitRow* row = RowAt(analysis, i);
            if (!row)
                continue;
            const std::string name(row->cells.Text(kCellLocation));
            const std::string key = row->path + '\n' + name;
            if (!looks.reads.Start(key, name))
                continue; // its look from an earlier refresh is still out
            bool out = false;
            try {
                out = StartLook(*row, static_cast<size_t>(i), key, threshold, now);
            } catch (...) {
                looks.reads.Finish(key);
                throw;
            }
            if (out)
                ++looks.pending;
            else
                looks.reads.Finish(key);
        }
    });
    looks.outOfMemory = outOfMemory;
    if (outOfMemory)
        SetStatusText(kOutOfMemory);
    if (looks.pending == 0 || !SetTimer(RefreshWindow(), kGraceTimer, kReadGraceMilliseconds, nullptr))
        EndLooks();
}

bool LooksUnderWay()
{
    return State().underWay;
}

bool AnyReadOut()
{
    return !State().reads.Empty();
}

void OnLookDone(LPARAM result)
{
    std::unique_ptr<WorkResult> done = TakeWorkResult(result);
    auto* look = dynamic_cast<LookResult*>(done.get());
    if (!look)
        return;
    Looks& looks = State();
    looks.reads.Finish(look->key);
    if (look->generation != looks.generation)
        return; // the rows it was for are gone
    if (looks.underWay && look->refresh == looks.refresh) {
        done.release();
        looks.arrived[look->order].reset(look);
        if (--looks.pending == 0)
            EndLooks();
        return;
    }
    ApplyLate(*look);
}

void OnGraceOver()
{
    if (State().underWay)
        EndLooks();
    else
        KillTimer(RefreshWindow(), kGraceTimer);
}

void ForgetLookedRows(bool close)
{
    Looks& looks = State();
    ++looks.generation;
    looks.arrived.clear();
    looks.pending = 0;
    looks.underWay = false;
    if (close) {
        looks.reads = ReadsOut();
        looks.waitingText.clear();
    }
}

} // namespace refresh
