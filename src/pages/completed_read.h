// Reading the Completed Work Units list from the logs without touching a window: what to read is
// gathered from the tree first, and the rows come back in a store of their own that the page then
// shows, so a read never changes what the list shows while it goes on.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "kit/list_view.h"

namespace completed
{

// How a load of the list ended.
enum class LoadOutcome { Shown, MissingLog, OutOfMemory };

// One location to read: its tree item's text and a copy of its node.
struct LoadSource {
    std::string name;
    LocationNode node;
};

// "All Locations" reads every location's totals and then the grand total; a location item reads
// its own work units.
struct LoadRequest {
    bool totals = false;
    std::vector<LoadSource> sources;
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Shown;
    RowStore rows;                     // in display order
    std::vector<std::string> messages; // status lines, in the order the read met them
    LocationNode node;                 // the loaded item's count and daily rate
    std::vector<int> widest;           // the widest cell of each column, when measured beside the window
};

// How far a read beside the window has come, and the window's word to stop it. The read stops at
// its next block of bytes once stop is set, and what it found then is of no use.
struct LoadProgress {
    std::atomic<bool> stop{false};
    std::atomic<int> source{-1}; // the index of the log being read in the request's sources
    std::atomic<uint64_t> bytesRead{0};
    std::atomic<uint64_t> totalBytes{0}; // of the log being read; 0 when not known
};

// Reads the request's logs; with progress, tells it how far the read has come and heeds its stop.
LoadResult ReadList(const LoadRequest& request, LogReader& reader, LoadProgress* progress = nullptr);

} // namespace completed
