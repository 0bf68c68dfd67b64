// Hoardix's run: check result.sah and archive it as data/r_<creation time>.sah, with fixed messages and exit statuses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Where the messages go; the program writes them to standard output.
class CollectorOutput
{
public:
    virtual ~CollectorOutput() = default;
    virtual void Print(std::string_view text) = 0;
};

// The few file-system calls the collector makes, over one source file held open at a time.
class CollectorPlatform
{
public:
    virtual ~CollectorPlatform() = default;
    // Existence test by directory search in the current directory, not an open.
    virtual bool FindFile(const char* name) = 0;
    // Opens name read-only, in binary, letting other processes read and write it.
    virtual bool OpenSource(const char* name) = 0;
    // Size and creation time (Unix seconds; last-write time where none is kept) of the open source.
    virtual bool QuerySource(std::uint64_t& size, std::int64_t& creationTime) = 0;
    // Reads up to size bytes of the open source; returns how many were read.
    virtual std::size_t ReadSource(char* buffer, std::size_t size) = 0;
    virtual void CloseSource() = 0;
    virtual bool ChangeDirectory(const char* path) = 0;
    // Opens name for writing without truncating it, creating it if missing, and closes it again.
    virtual bool ProbeWritable(const char* name, bool& created) = 0;
    // Creates or truncates name, writes the bytes and closes it; false unless all of them reached the file.
    virtual bool WriteWholeFile(const char* name, const char* data, std::size_t size) = 0;
    // Renames from to to, replacing an existing to.
    virtual bool MoveOver(const char* from, const char* to) = 0;
    virtual void RemoveFile(const char* name) = 0;
};

// Runs the collector; argc counts the program name. Returns the exit status (0 or negative).
int RunCollector(int argc, CollectorOutput& output, CollectorPlatform& platform);

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitNotFound = -1;
constexpr int kExitCannotOpen = -3;
constexpr int kExitNoMemory = -4;
constexpr int kExitReadFailed = -5;
constexpr int kExitNotResultFile = -6;
constexpr int kExitNoDataDirectory = -7;
constexpr int kExitCannotCreate = -8;
constexpr int kExitWriteFailed = -9;
constexpr int kExitUsage = -666;
