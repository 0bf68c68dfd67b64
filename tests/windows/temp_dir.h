// A temporary folder for a window test, removed with everything in it when the test ends.
#pragma once

#include <windows.h>

#include <string>

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "\\" + name; }
    // Writes the bytes exactly as given and returns the full path.
    std::string Write(const char* name, const std::string& bytes) const;

private:
    std::string path_;
};

// Sets a file's last-write time to a FILETIME count.
bool SetLastWriteTime(const std::string& path, ULONGLONG time);
