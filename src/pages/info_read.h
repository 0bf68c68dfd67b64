// The reads of the pages that show one row per location from its files (Data Info, User Info):
// every location is read beside the window, and the rows replace the list's once all are in. Until
// then the list keeps its rows; after a quarter of a second the status line names the location the
// read waits for. A refresh asked for while a read is out starts one more read after it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/status_sink.h"
#include "core/lists/list_row.h"
#include "platform/worker.h"

// What one read found: the rows in the order the page puts them in, and its last message.
struct InfoRows final : WorkResult {
    int number = 0;
    std::vector<std::unique_ptr<ListRow>> rows;
    LatestStatus status;
};

// Reads every location into result, counting in done the locations read so far.
using InfoReader = std::function<void(InfoRows& result, std::atomic<int>& done)>;

// The read of one page.
struct InfoRead {
    int number = 0; // counts the reads: only the latest one's rows are shown
    bool out = false;
    bool again = false; // a refresh was asked for while the read was out
    std::shared_ptr<std::atomic<int>> done;
    std::vector<std::string> names; // the locations read, in order
    std::string waitingText;
};

// Starts the read of the named locations; while one is out, notes that one more is to follow and
// returns false.
bool StartInfoRead(HWND page, InfoRead& read, std::vector<std::string> names, InfoReader reader);

// A message of the page for its read. The rows of the latest read come back (the caller shows
// them, then starts the read that was asked for meanwhile when again is set); handled tells
// whether the message was the read's at all.
std::unique_ptr<InfoRows> OnInfoReadMessage(HWND page, InfoRead& read, UINT message, WPARAM wParam, LPARAM lParam,
                                            bool& handled);

// Shows a read's rows in the list: the refill, its last message and the rows, each inserted at
// index (-1: at the end) in the read's order.
void ShowInfoRows(HWND list, InfoRows& rows, int index);

// The read is dropped (the page is going).
void ForgetInfoRead(HWND page, InfoRead& read);
