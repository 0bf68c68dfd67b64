// Reading the Completed Work Units list from the logs without touching a window: what to read is
// gathered from the tree first, and the rows come back in a store of their own that the page then
// shows, so a read never changes what the list shows while it goes on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/background_reads.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "core/skymap/sky_point.h"
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

// Reads the request's logs; with progress, tells it how far the read has come and heeds its stop.
LoadResult ReadList(const LoadRequest& request, LogReader& reader, ReadProgress* progress = nullptr);

// Every location's Sky Map points, read from the logs in the sources' order.
struct SkyPointsRead {
    SkyPointSet points;
    std::vector<std::string> messages; // the logs that could not be opened, left out
    bool outOfMemory = false;          // then no point is kept
};
SkyPointsRead ReadSkyPoints(const std::vector<LoadSource>& sources, LogReader& reader, ReadProgress* progress);

} // namespace completed
