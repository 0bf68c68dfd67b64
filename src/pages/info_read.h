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

// The read of one page, and what the page does with its rows.
struct InfoRead {
    InfoRead(int list, int rowIndex, void (*shownHandler)(HWND page), void (*refreshHandler)())
        : listId(list), insertAt(rowIndex), shown(shownHandler), refresh(refreshHandler)
    {
    }
    int listId;               // the page's list
    int insertAt;             // where each row goes in, in the read's order (-1: at the end)
    void (*shown)(HWND page); // after the rows are shown (null: nothing more)
    void (*refresh)();        // the page's refresh, for one asked for while a read was out
    int number = 0;           // counts the reads: only the latest one's rows are shown
    bool out = false;
    bool again = false; // a refresh was asked for while the read was out
    std::shared_ptr<std::atomic<int>> done;
    std::vector<std::string> names; // the locations read, in order
    std::string waitingText;
};

// Starts the read of the named locations; while one is out, notes that one more is to follow and
// returns false.
bool StartInfoRead(HWND page, InfoRead& read, std::vector<std::string> names, InfoReader reader);

// A message of the page for its read: the rows of the latest read are shown (the refill, its
// last message and the rows), then the refresh asked for meanwhile starts; the waiting text
// follows the grace timer. False for any other message.
bool OnInfoReadMessage(HWND page, InfoRead& read, UINT message, WPARAM wParam, LPARAM lParam);

// The read is dropped (the page is going).
void ForgetInfoRead(HWND page, InfoRead& read);
