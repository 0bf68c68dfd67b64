// Opening and reading the client's files without ever holding them.
#include "platform/client_file.h"

#include <new>
#include <utility>

#include "platform/last_error.h"
#include "platform/unique_handle.h"

namespace
{

// Larger files than this are not client files; reading them would only exhaust memory.
constexpr ULONGLONG kLargestClientFile = 512ull * 1024 * 1024;

} // namespace

FileReadStatus ClientFile::Read(const std::string& path, DWORD maxBytes)
{
    bytes_.clear();
    lastWrite_ = 0;
    error_ = 0;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr));
    if (!file) {
        error_ = GetLastError();
        return error_ == ERROR_SHARING_VIOLATION ? FileReadStatus::SharingViolation : FileReadStatus::OpenFailed;
    }
    FILETIME written{};
    if (GetFileTime(file.get(), nullptr, nullptr, &written))
        lastWrite_ = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;

    DWORD toRead = maxBytes;
    if (maxBytes == 0) {
        // The high part of the size matters: a file past 4 GiB must not be read as its low part.
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size)) {
            error_ = GetLastError();
            return FileReadStatus::ReadFailed;
        }
        if (size.QuadPart == 0)
            return FileReadStatus::Empty;
        if (static_cast<ULONGLONG>(size.QuadPart) > kLargestClientFile)
            return FileReadStatus::OutOfMemory;
        toRead = static_cast<DWORD>(size.QuadPart);
    }
    try {
        bytes_.assign(toRead, '\0'); // std::string keeps the zero byte after the last one
    } catch (const std::bad_alloc&) {
        bytes_ = std::string();
        return FileReadStatus::OutOfMemory;
    }
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes_.data(), toRead, &read, nullptr)) {
        error_ = GetLastError();
        bytes_ = std::string();
        return FileReadStatus::ReadFailed;
    }
    bytes_.resize(read);
    return FileReadStatus::Ok;
}

std::string ClientFile::TakeText()
{
    bytes_.resize(Text().size()); // shrinking never allocates
    return std::move(bytes_);
}

FileLook LookAtFile(const std::string& path, DWORD maxBytes)
{
    ClientFile file;
    FileLook look;
    look.status = file.Read(path, maxBytes);
    // Moved, not copied: a state.sah of hundreds of megabytes is never held twice, and the read's
    // own guard is the only place its size can run out of memory.
    look.text = file.TakeText();
    look.lastWrite = file.LastWriteTime();
    look.error = file.Error();
    if (look.status == FileReadStatus::OpenFailed)
        look.errorText = LastErrorText(look.error);
    return look;
}

bool ClientFileExists(const std::string& path)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

std::string ClientFilePath(const std::string& directory, const char* fileName)
{
    return directory + '\\' + fileName;
}

std::string DiskClientFiles::PathOf(const std::string& directory, const char* fileName)
{
    return ClientFilePath(directory, fileName);
}

FileLook DiskClientFiles::Read(const std::string& path, uint32_t maxBytes)
{
    return LookAtFile(path, maxBytes);
}

bool DiskClientFiles::Opens(const std::string& path)
{
    return static_cast<bool>(UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, OPEN_EXISTING, 0, nullptr)));
}

bool DiskClientFiles::Exists(const std::string& path)
{
    return ClientFileExists(path);
}

ClientFilesMaker& ClientFilesSource()
{
    static ClientFilesMaker maker = [] { return std::unique_ptr<AnalysisFiles>(std::make_unique<DiskClientFiles>()); };
    return maker;
}

std::unique_ptr<AnalysisFiles> OpenClientFiles()
{
    return ClientFilesSource()();
}
