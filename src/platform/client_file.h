// One client file read whole with full sharing and closed at once, so the client is never blocked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/analysis/analysis.h"
#include "core/client/file_look.h"

// The first 4096 bytes of work_unit.sah are all the analysis ever searches.
inline constexpr DWORD kWorkUnitHeaderBytes = 4096;

class ClientFile
{
public:
    // Reads the file whole, or only its first maxBytes bytes when maxBytes is not 0.
    FileReadStatus Read(const std::string& path, DWORD maxBytes = 0);

    // The bytes read, up to the first zero byte (the files are text).
    std::string_view Text() const { return std::string_view(bytes_.c_str()); }
    // The same text handed over without a copy; the file holds no bytes afterwards.
    std::string TakeText();
    // Last-write time as a count of 100-ns intervals since 1601.
    uint64_t LastWriteTime() const { return lastWrite_; }
    DWORD Error() const { return error_; }

private:
    std::string bytes_;
    uint64_t lastWrite_ = 0;
    DWORD error_ = 0;
};

// Reads a file into the portable form the analysis works on.
FileLook LookAtFile(const std::string& path, DWORD maxBytes = 0);

// The client's files on disk, for every reader of them.
class DiskClientFiles final : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* fileName) override;
    FileLook Read(const std::string& path, uint32_t maxBytes) override;
    bool Opens(const std::string& path) override;
    bool Exists(const std::string& path) override;
};

// Where the readers of a refresh get the client's files: the disk, unless a test has put a stand-in
// in its place (a share that answers late, or not until the test releases it).
using ClientFilesMaker = std::unique_ptr<AnalysisFiles> (*)();
ClientFilesMaker& ClientFilesSource();
std::unique_ptr<AnalysisFiles> OpenClientFiles();

// Whether result.sah (or any file) exists, tested by opening it for reading with read sharing alone.
bool ClientFileExists(const std::string& path);

// "\state.sah" and friends appended to a location path.
std::string ClientFilePath(const std::string& directory, const char* fileName);
