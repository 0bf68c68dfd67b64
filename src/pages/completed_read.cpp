// The Completed Work Units list read from the logs into a store of its own.
#include "pages/completed_read.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/log_file.h"

namespace completed
{

namespace
{

// Every location's totals, then the grand total; a log that cannot be opened is reported and left out.
void ReadTotals(const LoadRequest& request, LogReader& reader, LoadResult& result)
{
    LocationTotals grand;
    for (const LoadSource& source : request.sources) {
        std::string failure;
        const std::unique_ptr<LogByteSource> log = OpenLogFile(source.node.path, failure);
        if (!log) {
            result.messages.push_back(failure);
            continue;
        }
        reader.Start(*log);
        const LocationTotals totals = LoadTotals(reader);
        // A grand total without one of its locations would be wrong: none is shown.
        if (totals.outOfMemory) {
            result.outcome = LoadOutcome::OutOfMemory;
            return;
        }
        result.rows.push_back(MakeTotalsRow(source.name, totals));
        AddToGrandTotal(grand, totals);
    }
    result.rows.push_back(MakeTotalsRow(kGrandTotalName, grand));
    result.node.count = grand.count;
    result.node.perDay = grand.dailyRate;
}

// One location's work units, the newest record on top.
void ReadWorkUnits(const LoadSource& source, LogReader& reader, LoadResult& result)
{
    std::string failure;
    const std::unique_ptr<LogByteSource> log = OpenLogFile(source.node.path, failure);
    if (!log) {
        result.outcome = LoadOutcome::MissingLog;
        result.messages.push_back(failure);
        return;
    }
    reader.Start(*log);
    result.node = source.node;
    DetailLoad load = LoadDetail(reader, result.node);
    if (load.outOfMemory) {
        result.outcome = LoadOutcome::OutOfMemory;
        return;
    }
    std::reverse(load.rows.begin(), load.rows.end());
    result.rows = std::move(load.rows);
}

} // namespace

LoadResult ReadList(const LoadRequest& request, LogReader& reader)
{
    LoadResult result;
    if (request.totals)
        ReadTotals(request, reader, result);
    else if (!request.sources.empty())
        ReadWorkUnits(request.sources.front(), reader, result);
    return result;
}

} // namespace completed
