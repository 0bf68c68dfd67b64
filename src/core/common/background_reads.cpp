// The reads out beside the window and a long load's progress, as the status line tells them.
#include "core/common/background_reads.h"

#include <algorithm>
#include <thread>

bool ReadsOut::Start(std::string_view key, std::string_view shortName)
{
    if (IsOut(key))
        return false;
    out_.emplace_back(std::string(key), std::string(shortName));
    return true;
}

void ReadsOut::Finish(std::string_view key)
{
    const auto found = std::find_if(out_.begin(), out_.end(), [key](const auto& read) { return read.first == key; });
    if (found != out_.end())
        out_.erase(found);
}

bool ReadsOut::IsOut(std::string_view key) const
{
    return std::any_of(out_.begin(), out_.end(), [key](const auto& read) { return read.first == key; });
}

std::string ReadsOut::WaitingText() const
{
    if (out_.empty())
        return {};
    std::string text = "Waiting for " + out_.front().second;
    if (out_.size() > 1)
        text += " and " + std::to_string(out_.size() - 1) + " more";
    return text;
}

int PercentRead(uint64_t bytesRead, uint64_t totalBytes)
{
    if (totalBytes == 0)
        return 0;
    // Divided first where a product could overflow: a log of exabytes still gives a percent.
    const uint64_t read = std::min(bytesRead, totalBytes);
    const uint64_t percent = totalBytes > UINT64_MAX / 100 ? read / (totalBytes / 100) : read * 100 / totalBytes;
    return static_cast<int>(std::min<uint64_t>(percent, 100));
}

std::string LoadProgressText(std::string_view shortName, uint64_t bytesRead, uint64_t totalBytes)
{
    std::string text = "Reading SETILog.csv of ";
    text.append(shortName);
    text += ": " + std::to_string(PercentRead(bytesRead, totalBytes)) + "%";
    return text;
}

bool ProgressPace::Due(int percent, int64_t now)
{
    if (percent == lastPercent_ || (lastPercent_ >= 0 && now - lastShown_ < interval_))
        return false;
    lastPercent_ = percent;
    lastShown_ = now;
    return true;
}

CountedSource::CountedSource(LogByteSource& source, ReadProgress& progress, int index)
    : source_(source), progress_(progress)
{
    progress_.bytesRead = 0;
    progress_.totalBytes = source.Size();
    progress_.source = index;
}

size_t CountedSource::Read(char* buffer, size_t capacity)
{
    if (progress_.stop)
        return 0;
    // A read beside a window gives way between its blocks: where the system schedules by priority
    // this costs nothing, and where it does not, the window thread gets its turn within a block's
    // parsing (well under a millisecond) instead of a full time slice.
    std::this_thread::yield();
    const size_t read = source_.Read(buffer, capacity);
    progress_.bytesRead += read;
    return read;
}
