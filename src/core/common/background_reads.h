// What the window says of the reads that run beside it: which locations still have a read out,
// and how far a long load has come.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/completed/log_reader.h"

// The locations whose read is out, in the order the reads started. A location has at most one read
// out: a refresh that finds it still out leaves it to that read.
class ReadsOut
{
public:
    // Marks the location's read as out; false (and nothing marked) when one is out already.
    bool Start(std::string_view key, std::string_view shortName);
    // The location's read came back; nothing when none was out.
    void Finish(std::string_view key);
    bool IsOut(std::string_view key) const;
    bool Empty() const { return out_.empty(); }
    // "Waiting for Home", "Waiting for Home and 2 more"; empty when no read is out.
    std::string WaitingText() const;

private:
    std::vector<std::pair<std::string, std::string>> out_; // key and short name
};

// "Reading SETILog.csv of Home: 45%", by bytes read; 0% for an empty or unknown size, at most 100%.
std::string LoadProgressText(std::string_view shortName, uint64_t bytesRead, uint64_t totalBytes);

// How often a load's progress is shown: when its whole percent changed and at least interval
// milliseconds after the last showing, so the status line changes a few times a second at most.
class ProgressPace
{
public:
    explicit ProgressPace(int64_t intervalMilliseconds = 250) : interval_(intervalMilliseconds) {}
    // True when the progress at now (milliseconds, any fixed origin) is to be shown.
    bool Due(int percent, int64_t now);

private:
    int64_t interval_;
    int lastPercent_ = -1;
    int64_t lastShown_ = 0;
};

// The whole percent of bytesRead in totalBytes, 0 to 100.
int PercentRead(uint64_t bytesRead, uint64_t totalBytes);

// How far a long read of logs has come, and the window's word to stop it. The read stops at its
// next block of bytes once stop is set, and what it found then is of no use.
struct ReadProgress {
    std::atomic<bool> stop{false};
    std::atomic<int> source{-1}; // the index of the log being read among those the read was given
    std::atomic<uint64_t> bytesRead{0};
    std::atomic<uint64_t> totalBytes{0}; // of the log being read; 0 when not known
};

// A log's bytes as a reader takes them, counted into the progress; nothing more once stopped.
class CountedSource final : public LogByteSource
{
public:
    // Makes the log the progress's source number index, from its first byte.
    CountedSource(LogByteSource& source, ReadProgress& progress, int index);
    size_t Read(char* buffer, size_t capacity) override;
    uint64_t Size() const override { return source_.Size(); }

private:
    LogByteSource& source_;
    ReadProgress& progress_;
};
