// Hoardix's file-system calls: Win32 on Windows, POSIX with statx birth times on Linux.
#include "collector/collector_platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace
{

#ifdef _WIN32

// An owned file handle; Close reports whether the system accepted the close.
class FileHandle
{
public:
    explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    void reset(HANDLE handle)
    {
        Close();
        handle_ = handle;
    }
    bool Close()
    {
        bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// ReadFile and WriteFile move at most a DWORD at a time.
constexpr std::size_t kMaxChunk = 1u << 30;

// FILETIME counts 100 ns steps since 1601; Unix seconds start in 1970 and round towards the past.
std::int64_t UnixSeconds(const FILETIME& time)
{
    const std::int64_t ticks =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) -
        116444736000000000LL;
    std::int64_t seconds = ticks / 10000000;
    if (ticks % 10000000 < 0)
        --seconds;
    return seconds;
}

class Win32Platform : public CollectorPlatform
{
public:
    bool FindFile(const char* name) override
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(name, &found);
        if (search == INVALID_HANDLE_VALUE)
            return false;
        FindClose(search);
        return true;
    }

    bool OpenSource(const char* name) override
    {
        source_.reset(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        return source_.valid();
    }

    bool QuerySource(std::uint64_t& size, std::int64_t& creationTime) override
    {
        LARGE_INTEGER length;
        FILETIME created, written;
        if (!GetFileSizeEx(source_.get(), &length) || !GetFileTime(source_.get(), &created, nullptr, &written)) {
            return false;
        }
        size = static_cast<std::uint64_t>(length.QuadPart);
        // A file system that keeps no creation time reports zero; the last-write time stands in for it.
        const bool hasCreation = created.dwLowDateTime != 0 || created.dwHighDateTime != 0;
        creationTime = UnixSeconds(hasCreation ? created : written);
        return true;
    }

    std::size_t ReadSource(char* buffer, std::size_t size) override
    {
        std::size_t total = 0;
        while (total < size) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(size - total < kMaxChunk ? size - total : kMaxChunk);
            if (!ReadFile(source_.get(), buffer + total, want, &got, nullptr) || got == 0)
                break;
            total += got;
        }
        return total;
    }

    void CloseSource() override { source_.Close(); }

    bool ChangeDirectory(const char* path) override { return SetCurrentDirectoryA(path); }

    bool ProbeWritable(const char* name, bool& created) override
    {
        FileHandle file(
            CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return false;
        created = GetLastError() != ERROR_ALREADY_EXISTS;
        return true;
    }

    bool WriteWholeFile(const char* name, const char* data, std::size_t size) override
    {
        FileHandle file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return false;
        std::size_t total = 0;
        while (total < size) {
            DWORD written = 0;
            const DWORD want = static_cast<DWORD>(size - total < kMaxChunk ? size - total : kMaxChunk);
            if (!WriteFile(file.get(), data + total, want, &written, nullptr) || written == 0)
                return false;
            total += written;
        }
        return FlushFileBuffers(file.get()) && file.Close();
    }

    bool MoveOver(const char* from, const char* to) override
    {
        return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }

    void RemoveFile(const char* name) override { DeleteFileA(name); }

private:
    FileHandle source_;
};

using SystemPlatform = Win32Platform;

#else

// An owned file descriptor; Close reports whether the system accepted the close.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    void reset(int fd)
    {
        Close();
        fd_ = fd;
    }
    bool Close()
    {
        bool closed = !valid() || close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

class PosixPlatform : public CollectorPlatform
{
public:
    // An exact-name search: the same name that open() will then find, letter case included.
    bool FindFile(const char* name) override
    {
        DIR* directory = opendir(".");
        if (!directory)
            return false;
        bool found = false;
        while (const dirent* entry = readdir(directory)) {
            if (std::strcmp(entry->d_name, name) == 0) {
                found = true;
                break;
            }
        }
        closedir(directory);
        return found;
    }

    // Only a regular file is a result file: a directory or a pipe of that name cannot be opened as one (and
    // O_NONBLOCK keeps a pipe without a writer from hanging the open).
    bool OpenSource(const char* name) override
    {
        source_.reset(open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        struct stat status;
        if (source_.valid() && (fstat(source_.get(), &status) != 0 || !S_ISREG(status.st_mode)))
            source_.Close();
        return source_.valid();
    }

    bool QuerySource(std::uint64_t& size, std::int64_t& creationTime) override
    {
        struct statx status;
        if (statx(source_.get(), "", AT_EMPTY_PATH, STATX_SIZE | STATX_BTIME | STATX_MTIME, &status) != 0 ||
            !(status.stx_mask & STATX_SIZE) || !(status.stx_mask & (STATX_BTIME | STATX_MTIME))) {
            return false;
        }
        size = status.stx_size;
        // Birth time where the file system keeps one (ext4, btrfs, xfs, tmpfs), else the last-write time.
        creationTime = (status.stx_mask & STATX_BTIME) ? status.stx_btime.tv_sec : status.stx_mtime.tv_sec;
        return true;
    }

    std::size_t ReadSource(char* buffer, std::size_t size) override
    {
        std::size_t total = 0;
        while (total < size) {
            const ssize_t got = read(source_.get(), buffer + total, size - total);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            total += static_cast<std::size_t>(got);
        }
        return total;
    }

    void CloseSource() override { source_.Close(); }

    bool ChangeDirectory(const char* path) override { return chdir(path) == 0; }

    // O_NONBLOCK: a pipe of that name without a reader fails instead of waiting forever.
    bool ProbeWritable(const char* name, bool& created) override
    {
        int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
        if (!created && errno == EEXIST)
            fd = open(name, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        FileDescriptor file(fd);
        return file.valid();
    }

    // The data reach the disk before the caller renames the file over the archive.
    bool WriteWholeFile(const char* name, const char* data, std::size_t size) override
    {
        FileDescriptor file(open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file.valid())
            return false;
        std::size_t total = 0;
        while (total < size) {
            const ssize_t written = write(file.get(), data + total, size - total);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            total += static_cast<std::size_t>(written);
        }
        return fsync(file.get()) == 0 && file.Close();
    }

    bool MoveOver(const char* from, const char* to) override { return rename(from, to) == 0; }

    void RemoveFile(const char* name) override { unlink(name); }

private:
    FileDescriptor source_;
};

using SystemPlatform = PosixPlatform;

#endif

} // namespace

std::unique_ptr<CollectorPlatform> CreateSystemPlatform()
{
    return std::make_unique<SystemPlatform>();
}
