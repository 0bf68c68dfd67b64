// Data Info and User Info rows read beside the window.
#include "pages/info_read.h"

#include <utility>

#include "core/common/background_reads.h"
#include "core/common/program_texts.h"
#include "kit/app_state.h"
#include "kit/long_read.h"
#include "kit/list_view.h"

namespace
{

constexpr UINT kMessageInfoRead = WM_APP + 4;
constexpr UINT_PTR kWaitingTimer = 3;

// "Waiting for Home", "Waiting for Home and 2 more": the location being read and those after it.
void ShowWaiting(InfoRead& read)
{
    const size_t done = read.done ? static_cast<size_t>(read.done->load()) : 0;
    ReadsOut waiting;
    for (size_t i = done; i < read.names.size(); ++i)
        waiting.Start(std::to_string(i), read.names[i]);
    const std::string text = waiting.WaitingText();
    if (text.empty() || text == read.waitingText)
        return;
    // A message another part of the program wrote meanwhile stays.
    if (!read.waitingText.empty() && CurrentStatusText() != read.waitingText)
        return;
    SetStatusText(text);
    read.waitingText = text;
}

// The list's refill: its last message, then the rows in the read's order.
void ShowRows(HWND page, const InfoRead& read, InfoRows& rows)
{
    const HWND list = GetDlgItem(page, read.listId);
    const int selected = BeginListRefill(list);
    if (rows.outOfMemory)
        SetStatusText(kOutOfMemory);
    else if (rows.status.Count() > 0)
        SetStatusText(rows.status.Text());
    for (std::unique_ptr<ListRow>& row : rows.rows)
        InsertOwnedRow(list, read.insertAt, std::move(row));
    FinishListRefill(list, selected);
}

void EndWaiting(HWND page, InfoRead& read)
{
    KillTimer(page, kWaitingTimer);
    read.out = false;
    read.done.reset();
    read.waitingText.clear();
}

} // namespace

bool StartInfoRead(HWND page, InfoRead& read, std::vector<std::string> names, InfoReader reader)
{
    if (read.out) {
        read.again = true;
        return false;
    }
    auto done = std::make_shared<std::atomic<int>>(0);
    auto result = std::make_shared<std::unique_ptr<InfoRows>>(std::make_unique<InfoRows>());
    (*result)->number = ++read.number;
    const Work work = [result, done, reader] {
        InfoRows& rows = **result;
        try {
            reader(rows, *done);
        } catch (...) {
            rows.rows.clear();
            rows.outOfMemory = true;
        }
        return std::unique_ptr<WorkResult>(std::move(*result));
    };
    read.again = false;
    if (!RunBeside(page, kMessageInfoRead, work)) {
        // Without the pool the rows are read here, as they always could be.
        reader(**result, *done);
        PostMessageA(page, kMessageInfoRead, 0, reinterpret_cast<LPARAM>(result->release()));
    }
    read.out = true;
    read.done = done;
    read.names = std::move(names);
    read.waitingText.clear();
    SetTimer(page, kWaitingTimer, kReadGraceMilliseconds, nullptr);
    return true;
}

bool OnInfoReadMessage(HWND page, InfoRead& read, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kWaitingTimer) {
        if (read.out)
            ShowWaiting(read);
        else
            KillTimer(page, kWaitingTimer);
        return true;
    }
    if (message != kMessageInfoRead)
        return false;
    std::unique_ptr<WorkResult> done = TakeWorkResult(lParam);
    auto* rows = dynamic_cast<InfoRows*>(done.get());
    if (!rows || rows->number != read.number)
        return true; // a read dropped with its page, or one a later read replaced
    EndWaiting(page, read);
    ShowRows(page, read, *rows);
    if (read.shown)
        read.shown(page);
    if (std::exchange(read.again, false))
        read.refresh();
    return true;
}

void ForgetInfoRead(HWND page, InfoRead& read)
{
    ++read.number;
    read.again = false;
    EndWaiting(page, read);
}
