// What one attempt to read a client file gave: the portable view of the file reader's result.
#pragma once

#include <cstdint>
#include <string>

enum class FileReadStatus {
    Ok,
    SharingViolation, // the client holds the file: skip it silently until the next refresh
    OpenFailed,       // error holds the code; show "%s %s" with errorText and the path
    Empty,            // a whole-file read of a zero-length file
    OutOfMemory,      // no block for the file, or a size no block can hold
    ReadFailed,
};

inline constexpr unsigned long kErrorBadNetPath = 53;

struct FileLook {
    FileReadStatus status = FileReadStatus::OpenFailed;
    std::string text;        // the bytes up to the first zero byte
    uint64_t lastWrite = 0;  // 100-ns intervals since 1601
    unsigned long error = 0; // the system's error code of a failed open
    std::string errorText;   // LastErrorText of that code
};

// The client's files as the readers see them; the program reads the disk, tests read memory.
class ClientFileReader
{
public:
    virtual ~ClientFileReader() = default;
    // The full path of a file in a location, as messages show it.
    virtual std::string PathOf(const std::string& directory, const char* fileName) = 0;
    // The whole file, or only its first maxBytes bytes when maxBytes is not 0.
    virtual FileLook Read(const std::string& path, uint32_t maxBytes) = 0;
};
