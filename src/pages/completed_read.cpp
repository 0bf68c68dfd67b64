// The Completed Work Units list read from the logs into a store of its own.
#include "pages/completed_read.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/completed/log_sky_points.h"
#include "platform/log_file.h"

namespace completed
{

namespace
{

// Starts the reader on a log, through the count when there is a progress to tell.
void StartReading(LogReader& reader, LogByteSource& log, ReadProgress* progress, int source,
                  std::unique_ptr<CountedSource>& counted)
{
    if (!progress) {
        reader.Start(log);
        return;
    }
    counted = std::make_unique<CountedSource>(log, *progress, source);
    reader.Start(*counted);
}

// Starts the reader on each source's log in turn and hands the source to use until it answers
// false; a log that cannot be opened is told in the messages and left out.
template <typename Use>
void ForEachLog(const std::vector<LoadSource>& sources, LogReader& reader, ReadProgress* progress,
                std::vector<std::string>& messages, Use use)
{
    for (size_t i = 0; i < sources.size(); ++i) {
        std::string failure;
        const std::unique_ptr<LogByteSource> log = OpenLogFile(sources[i].node.path, failure);
        if (!log) {
            messages.push_back(failure);
            continue;
        }
        std::unique_ptr<CountedSource> counted;
        StartReading(reader, *log, progress, static_cast<int>(i), counted);
        if (!use(sources[i]))
            return;
    }
}

// Every location's totals, then the grand total; a log that cannot be opened is reported and left out.
void ReadTotals(const LoadRequest& request, LogReader& reader, ReadProgress* progress, LoadResult& result)
{
    LocationTotals grand;
    bool read = true;
    ForEachLog(request.sources, reader, progress, result.messages, [&](const LoadSource& source) {
        const LocationTotals totals = LoadTotals(reader);
        read = !totals.outOfMemory;
        if (read) {
            result.rows.push_back(MakeTotalsRow(source.name, totals));
            AddToGrandTotal(grand, totals);
        }
        return read;
    });
    // A grand total without one of its locations would be wrong: none is shown.
    if (!read) {
        result.outcome = LoadOutcome::OutOfMemory;
        return;
    }
    result.rows.push_back(MakeTotalsRow(kGrandTotalName, grand));
    result.node.count = grand.count;
    result.node.perDay = grand.dailyRate;
}

// One location's work units, the newest record on top.
void ReadWorkUnits(const LoadSource& source, LogReader& reader, ReadProgress* progress, LoadResult& result)
{
    std::string failure;
    const std::unique_ptr<LogByteSource> log = OpenLogFile(source.node.path, failure);
    if (!log) {
        result.outcome = LoadOutcome::MissingLog;
        result.messages.push_back(failure);
        return;
    }
    std::unique_ptr<CountedSource> counted;
    StartReading(reader, *log, progress, 0, counted);
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

LoadResult ReadList(const LoadRequest& request, LogReader& reader, ReadProgress* progress)
{
    LoadResult result;
    if (request.totals)
        ReadTotals(request, reader, progress, result);
    else if (!request.sources.empty())
        ReadWorkUnits(request.sources.front(), reader, progress, result);
    return result;
}

SkyPointsRead ReadSkyPoints(const std::vector<LoadSource>& sources, LogReader& reader, ReadProgress* progress)
{
    SkyPointsRead read;
    ForEachLog(sources, reader, progress, read.messages, [&](const LoadSource& source) {
        read.outOfMemory = !ReadLogSkyPoints(reader, source.node, read.points);
        return !read.outOfMemory;
    });
    if (read.outOfMemory)
        SkyPointSet().swap(read.points);
    return read;
}

} // namespace completed
