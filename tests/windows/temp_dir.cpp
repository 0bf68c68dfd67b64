// Temporary folders and file helpers for the window tests.
#include "temp_dir.h"

#include <shellapi.h>

#include <atomic>

TempDir::TempDir()
{
    static std::atomic<int> serial{0};
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    path_ =
        std::string(base) + "vantorel-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir()
{
    // SHFileOperation wants a double-terminated list.
    std::string from = path_;
    from.push_back('\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

std::string TempDir::Write(const char* name, const std::string& bytes) const
{
    const std::string path = File(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

bool SetLastWriteTime(const std::string& path, ULONGLONG time)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    const BOOL ok = SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return ok != FALSE;
}
