// The registry key that holds every setting: opened for one handler, used, closed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/unique_handle.h"
#include "core/settings/location.h"
#include "core/settings/value_names.h"

// Where the settings live: the machine key first; when that cannot be opened or created with
// write access (a program without elevation on current Windows), the same path for the user.
// When the user's key does not exist yet, the values that the machine key holds (an
// administrator may have set up the locations for everyone) are copied into it first, once.
struct SettingsRoots {
    HKEY first = HKEY_LOCAL_MACHINE;
    HKEY fallback = HKEY_CURRENT_USER;
    const char* subKey = kSettingsSubKey;
    // Where the machine key is read for that copy: the first root itself. Tests name another root,
    // since the private prefix cannot deny write access to a key that it lets them read.
    HKEY firstForReading = HKEY_LOCAL_MACHINE;
};

class SettingsStore
{
public:
    explicit SettingsStore(const SettingsRoots& roots = SettingsRoots()) : roots_(roots) {}

    bool Open();
    void Close() { key_.reset(); }
    bool IsOpen() const { return static_cast<bool>(key_); }
    // The root whose key is open: lets callers and tests see which one was taken.
    HKEY Root() const { return root_; }

    // Missing values, values of another type and strings of absurd size read as missing: the
    // text becomes empty (number: left as it was) and the call returns false. A longer string
    // than capacity - 1 characters is cut there; a capacity of 0 cuts nothing.
    bool ReadString(const char* name, std::string& text, size_t capacity = kLocationTextCapacity) const;
    bool ReadNumber(const char* name, DWORD& number) const;
    bool ReadNumber(const char* name, int& number) const;
    bool WriteString(const char* name, const std::string& text) const;
    bool WriteNumber(const char* name, DWORD number) const;
    bool DeleteValue(const char* name) const;

private:
    SettingsRoots roots_;
    HKEY root_ = nullptr;
    UniqueKey key_;
};

// Reads "Location<index>" from an open store; the reader for EnumerateLocations.
LocationReader StoredLocationReader(const SettingsStore& store);

// The process's current directory, where the default location lives.
std::string CurrentDirectory();
