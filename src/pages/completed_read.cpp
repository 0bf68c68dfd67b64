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

// A log's bytes as the reader takes them, counted for the progress; nothing more once stopped.
class CountedSource final : public LogByteSource
{
public:
    CountedSource(LogByteSource& source, LoadProgress& progress) : source_(source), progress_(progress) {}
    size_t Read(char* buffer, size_t capacity) override
    {
        if (progress_.stop)
            return 0;
        const size_t read = source_.Read(buffer, capacity);
        progress_.bytesRead += read;
        return read;
    }
    uint64_t Size() const override { return source_.Size(); }

private:
    LogByteSource& source_;
    LoadProgress& progress_;
};

// Starts the reader on a log, through the count when there is a progress to tell.
void StartReading(LogReader& reader, LogByteSource& log, LoadProgress* progress, int source,
                  std::unique_ptr<CountedSource>& counted)
{
    if (!progress) {
        reader.Start(log);
        return;
    }
    progress->bytesRead = 0;
    progress->totalBytes = log.Size();
    progress->source = source;
    counted = std::make_unique<CountedSource>(log, *progress);
    reader.Start(*counted);
}

// Every location's totals, then the grand total; a log that cannot be opened is reported and left out.
void ReadTotals(const LoadRequest& request, LogReader& reader, LoadProgress* progress, LoadResult& result)
{
    LocationTotals grand;
    for (size_t i = 0; i < request.sources.size(); ++i) {
        const LoadSource& source = request.sources[i];
        std::string failure;
        const std::unique_ptr<LogByteSource> log = OpenLogFile(source.node.path, failure);
        if (!log) {
            result.messages.push_back(failure);
            continue;
        }
        std::unique_ptr<CountedSource> counted;
        StartReading(reader, *log, progress, static_cast<int>(i), counted);
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
void ReadWorkUnits(const LoadSource& source, LogReader& reader, LoadProgress* progress, LoadResult& result)
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

LoadResult ReadList(const LoadRequest& request, LogReader& reader, LoadProgress* progress)
{
    LoadResult result;
    if (request.totals)
        ReadTotals(request, reader, progress, result);
    else if (!request.sources.empty())
        ReadWorkUnits(request.sources.front(), reader, progress, result);
    return result;
}

} // namespace completed
