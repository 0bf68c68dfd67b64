// SETILog.csv opened for reading with full sharing.
#include "platform/log_file.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/last_error.h"
#include "platform/unique_handle.h"
#include "core/common/status_sink.h"

namespace
{

class LogFile final : public LogByteSource
{
public:
    explicit LogFile(UniqueFile file) : file_(std::move(file)) {}
    size_t Read(char* buffer, size_t capacity) override
    {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(capacity, 1u << 30));
        if (!ReadFile(file_.get(), buffer, wanted, &read, nullptr))
            return 0;
        return read;
    }
    uint64_t Size() const override
    {
        LARGE_INTEGER size{};
        return GetFileSizeEx(file_.get(), &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
    }

private:
    UniqueFile file_;
};

} // namespace

LogFileMaker& LogFilesSource()
{
    static LogFileMaker opener = OpenDiskLogFile;
    return opener;
}

std::unique_ptr<LogByteSource> OpenLogFile(const std::string& folder, std::string& failureText)
{
    return LogFilesSource()(folder, failureText);
}

std::unique_ptr<LogByteSource> OpenDiskLogFile(const std::string& folder, std::string& failureText)
{
    const std::optional<std::string> name = LogFileName(folder);
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    if (name) {
        UniqueFile file(CreateFileA(name->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (file)
            return std::make_unique<LogFile>(std::move(file));
        error = GetLastError();
    }
    failureText =
        Format("%s %s", LastErrorText(error).c_str(), name ? name->c_str() : (folder + "\\" + kLogFileName).c_str());
    return nullptr;
}
