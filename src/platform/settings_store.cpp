// Registry access for the settings: open or create the key, typed reads and writes.
#include "platform/settings_store.h"

#include <vector>

namespace
{

// Nothing the program stores comes near this; a larger value is treated as damaged.
constexpr DWORD kLargestStringValue = 64 * 1024;
// Longer than any location string, placement or column-width list.
constexpr DWORD kFirstReadBytes = 1024;

bool OpenWritable(HKEY root, const char* subKey, UniqueKey& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ | KEY_WRITE, &handle) != ERROR_SUCCESS &&
        RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    key.reset(handle);
    return true;
}

bool KeyExists(HKEY root, const char* subKey)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// Copies every value of the source key into the target key, which is created. Values that do
// not fit the program's largest setting are damage and stay behind.
void CopyValues(HKEY sourceRoot, HKEY targetRoot, const char* subKey)
{
    HKEY sourceHandle = nullptr;
    if (RegOpenKeyExA(sourceRoot, subKey, 0, KEY_READ, &sourceHandle) != ERROR_SUCCESS)
        return;
    const UniqueKey source(sourceHandle);
    HKEY targetHandle = nullptr;
    if (RegCreateKeyExA(targetRoot, subKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &targetHandle, nullptr) !=
        ERROR_SUCCESS)
        return;
    const UniqueKey target(targetHandle);
    std::vector<char> name(16384);
    std::vector<BYTE> data(kLargestStringValue);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG result =
            RegEnumValueA(source.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            RegSetValueExA(target.get(), name.data(), 0, type, data.data(), size);
    }
}

} // namespace

bool SettingsStore::Open()
{
    Close();
    if (roots_.first != nullptr && OpenWritable(roots_.first, roots_.subKey, key_)) {
        root_ = roots_.first;
        return true;
    }
    if (roots_.fallback != nullptr) {
        // The machine key cannot be written from this run, and is never written from it; a first
        // fallback starts from what the machine key holds instead of from nothing.
        if (roots_.firstForReading != nullptr && !KeyExists(roots_.fallback, roots_.subKey))
            CopyValues(roots_.firstForReading, roots_.fallback, roots_.subKey);
        if (OpenWritable(roots_.fallback, roots_.subKey, key_)) {
            root_ = roots_.fallback;
            return true;
        }
    }
    root_ = nullptr;
    return false;
}

bool SettingsStore::ReadString(const char* name, std::string& text, size_t capacity) const
{
    text.clear();
    if (!key_)
        return false;
    // One query reads every value the program stores: asking for the size first doubled the cost
    // of a walk over the locations, and a query of the machine key costs tens of microseconds
    // under some systems. Only a longer value is read a second time, at its size. The buffer keeps
    // one spare zero byte, so a value stored without its terminator still ends.
    std::vector<char> buffer(kFirstReadBytes + 1, '\0');
    DWORD type = 0;
    DWORD size = kFirstReadBytes;
    LONG result = RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_MORE_DATA && type == REG_SZ && size <= kLargestStringValue) {
        buffer.assign(size + 1, '\0');
        result = RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return false;
    text.assign(buffer.data());
    if (capacity > 0 && text.size() > capacity - 1)
        text.resize(capacity - 1);
    return true;
}

bool SettingsStore::ReadNumber(const char* name, DWORD& number) const
{
    if (!key_)
        return false;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return false;
    number = value;
    return true;
}

bool SettingsStore::ReadNumber(const char* name, int& number) const
{
    DWORD value = 0;
    if (!ReadNumber(name, value))
        return false;
    number = static_cast<int>(value);
    return true;
}

bool SettingsStore::WriteString(const char* name, const std::string& text) const
{
    return key_ && RegSetValueExA(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool SettingsStore::WriteNumber(const char* name, DWORD number) const
{
    return key_ && RegSetValueExA(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                  sizeof number) == ERROR_SUCCESS;
}

bool SettingsStore::DeleteValue(const char* name) const
{
    return key_ && RegDeleteValueA(key_.get(), name) == ERROR_SUCCESS;
}

LocationReader StoredLocationReader(const SettingsStore& store)
{
    return [&store](int index) -> std::optional<std::string> {
        char name[32];
        wsprintfA(name, kValueLocationFormat, index);
        std::string text;
        if (!store.ReadString(name, text, kLocationTextCapacity))
            return std::nullopt;
        return text;
    };
}

std::string CurrentDirectory()
{
    // The directory of a process is at most MAX_PATH characters on the systems this runs on;
    // ask for the size anyway so a longer one is never cut.
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return std::string();
    std::string directory(needed, '\0');
    const DWORD written = GetCurrentDirectoryA(needed, directory.data());
    directory.resize(written < needed ? written : 0);
    return directory;
}
