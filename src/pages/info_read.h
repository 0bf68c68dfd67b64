// The reads of the pages that show one row per location from its files (Data Info, User Info).
// Each location is read beside the window on its own. A refresh shows the locations that answered
// within the grace period; a location still out keeps its row as it was, the status line names it,
// and its row is shown anew when its read comes back. A location's read is never started while
// one is out, and a refresh asked for before the last one ended follows it.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/common/background_reads.h"
#include "core/common/status_sink.h"
#include "core/lists/list_row.h"
#include "platform/worker.h"

// What the read of one location found, of the page's own kind, and the last message it gave.
struct InfoPiece {
    virtual ~InfoPiece() = default;
    LatestStatus status;
    bool outOfMemory = false; // the read ran out of memory: nothing else in it counts
};

// A location of a refresh: its folder (the key), its short name and the read of its files.
struct InfoLocation {
    std::string key;
    std::string name;
    std::function<std::unique_ptr<InfoPiece>()> read;
};

// The list's rows, in its order, from what the locations of the refresh last gave, in location
// order (null for a location that has given nothing yet).
using InfoComposer = std::vector<std::unique_ptr<ListRow>> (*)(const std::vector<const InfoPiece*>& pieces);

// The reads of one page, and what the page does with them.
struct InfoRead {
    InfoRead(int list, InfoComposer composer, void (*shownHandler)(HWND page), void (*refreshHandler)())
        : listId(list), compose(composer), shown(shownHandler), refresh(refreshHandler)
    {
    }
    int listId;
    InfoComposer compose;
    void (*shown)(HWND page); // after the rows are shown (null: nothing more)
    void (*refresh)();        // the page's refresh, for one asked for before the last one ended

    int life = 0;                  // counts the page's lives: what comes back to an earlier one is dropped
    bool settling = false;         // a refresh waits for its reads, at most for the grace period
    bool again = false;            // a refresh was asked for meanwhile
    std::vector<std::string> keys; // the refresh's locations, in order
    std::set<std::string> awaited; // its reads not back yet
    std::set<std::string> fresh;   // its locations that answered
    ReadsOut out;                  // every location whose read is out
    std::map<std::string, std::shared_ptr<InfoPiece>> given; // what each location gave last
    std::string waitingText;
};

// Starts the reads of a refresh, each location's unless its read is still out. While the last
// refresh has not ended, notes that one more is to follow and returns false.
bool StartInfoRead(HWND page, InfoRead& read, std::vector<InfoLocation> locations);

// A message of the page for its reads: a location's result or the end of the grace period.
// False for any other message.
bool OnInfoReadMessage(HWND page, InfoRead& read, UINT message, WPARAM wParam, LPARAM lParam);

// True while a refresh waits for its reads or any location's read is out.
bool InfoReadOut(const InfoRead& read);

// The reads are dropped (the page is going).
void ForgetInfoRead(HWND page, InfoRead& read);
