// The settings store against the real registry of the private Wine prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "platform/settings_store.h"

namespace
{

constexpr char kSubKey[] = "SOFTWARE\\Vantorel\\";

void ResetKey(HKEY root)
{
    RegDeleteKeyA(root, "SOFTWARE\\Vantorel");
}

// Stores a value of any type directly, bypassing the store, as a damaged setting would stand.
void StoreRaw(HKEY root, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, kSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

bool RawExists(HKEY root, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kSubKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetKey(HKEY_LOCAL_MACHINE);
        ResetKey(HKEY_CURRENT_USER);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(SettingsStoreTest, CreatesTheMachineKeyAndRoundTripsValues)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(store.Root(), HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(store.WriteString(kValueRunBeforeRefresh, "cmd /c echo hi"));
    EXPECT_TRUE(store.WriteNumber(kValueRefreshRate, 301));
    store.Close();
    store.Close(); // closing a closed store does nothing

    SettingsStore again;
    ASSERT_TRUE(again.Open());
    std::string text;
    EXPECT_TRUE(again.ReadString(kValueRunBeforeRefresh, text));
    EXPECT_EQ(text, "cmd /c echo hi");
    DWORD rate = 10;
    EXPECT_TRUE(again.ReadNumber(kValueRefreshRate, rate));
    EXPECT_EQ(rate, 301u);

    // Written with the terminator: the stored size is the length + 1.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSubKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    RegQueryValueExA(key, kValueRunBeforeRefresh, nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 15u);

    EXPECT_TRUE(again.DeleteValue(kValueRefreshRate));
    rate = 10;
    EXPECT_FALSE(again.ReadNumber(kValueRefreshRate, rate));
    EXPECT_EQ(rate, 10u);
}

TEST_F(SettingsStoreTest, DamagedValuesReadAsMissing)
{
    const char text[] = "12";
    const DWORD number = 7;
    const BYTE twoBytes[2] = {1, 2};
    const char unterminated[3] = {'a', 'b', 'c'};
    StoreRaw(HKEY_LOCAL_MACHINE, "string", REG_SZ, text, sizeof text);
    StoreRaw(HKEY_LOCAL_MACHINE, "number", REG_DWORD, &number, sizeof number);
    StoreRaw(HKEY_LOCAL_MACHINE, "binary", REG_BINARY, twoBytes, sizeof twoBytes);
    StoreRaw(HKEY_LOCAL_MACHINE, "short dword", REG_DWORD, twoBytes, sizeof twoBytes);
    StoreRaw(HKEY_LOCAL_MACHINE, "unterminated", REG_SZ, unterminated, sizeof unterminated);
    const std::vector<char> huge(1024 * 1024, 'h');
    StoreRaw(HKEY_LOCAL_MACHINE, "huge", REG_SZ, huge.data(), static_cast<DWORD>(huge.size()));
    // Longer than one first read, unterminated: read again at its size (and whole, with no capacity).
    const std::string longText(5000, 'l');
    StoreRaw(HKEY_LOCAL_MACHINE, "long", REG_SZ, longText.data(), static_cast<DWORD>(longText.size()));
    StoreRaw(HKEY_LOCAL_MACHINE, "long binary", REG_BINARY, longText.data(), static_cast<DWORD>(longText.size()));

    SettingsStore store;
    ASSERT_TRUE(store.Open());
    const struct {
        const char* name;
        bool numberRead;
    } numbers[] = {{"string", false}, {"binary", false}, {"short dword", false}, {"number", true}, {"none", false}};
    for (const auto& c : numbers) {
        SCOPED_TRACE(c.name);
        DWORD value = 4242;
        EXPECT_EQ(store.ReadNumber(c.name, value), c.numberRead);
        EXPECT_EQ(value, c.numberRead ? number : 4242u);
    }
    const struct {
        const char* name;
        bool read;
        std::string text;
    } strings[] = {{"number", false, ""},      {"binary", false, ""},    {"huge", false, ""},
                   {"long binary", false, ""}, {"long", true, longText}, {"unterminated", true, "abc"},
                   {"string", true, "12"}};
    for (const auto& c : strings) {
        SCOPED_TRACE(c.name);
        std::string value = "previous";
        EXPECT_EQ(store.ReadString(c.name, value, 0), c.read);
        EXPECT_EQ(value, c.text);
    }
}

TEST_F(SettingsStoreTest, LongStringIsCutAtTheCallersCapacity)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.WriteString(kValueWindowPosition, std::string(300, '9')));
    std::string text;
    EXPECT_TRUE(store.ReadString(kValueWindowPosition, text, kPlacementTextCapacity));
    EXPECT_EQ(text, std::string(99, '9'));
}

TEST_F(SettingsStoreTest, FallsBackToTheUserKeyWhenTheMachineKeyIsClosedToUs)
{
    // An invalid root stands for a machine key that cannot be opened or created for writing.
    SettingsRoots roots;
    roots.first = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFFFF00));
    SettingsStore store(roots);
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(store.Root(), HKEY_CURRENT_USER);
    EXPECT_TRUE(store.WriteNumber(kValueMinimizeToTaskbar, 1));
    EXPECT_TRUE(RawExists(HKEY_CURRENT_USER, kValueMinimizeToTaskbar));
    EXPECT_FALSE(RawExists(HKEY_LOCAL_MACHINE, kValueMinimizeToTaskbar));

    // Reads come from where the writes went.
    SettingsStore reader(roots);
    ASSERT_TRUE(reader.Open());
    DWORD value = 0;
    EXPECT_TRUE(reader.ReadNumber(kValueMinimizeToTaskbar, value));
    EXPECT_EQ(value, 1u);
}

TEST_F(SettingsStoreTest, FirstFallbackStartsFromWhatTheMachineKeyHolds)
{
    // An administrator set up the locations; this run may read the machine key but not write it.
    const char location[] = "C:\\seti;Home;255;Y;Y;Y;Y";
    const DWORD rate = 60;
    StoreRaw(HKEY_LOCAL_MACHINE, "Location1", REG_SZ, location, sizeof location);
    StoreRaw(HKEY_LOCAL_MACHINE, kValueRefreshRate, REG_DWORD, &rate, sizeof rate);
    SettingsRoots roots;
    roots.first = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFFFF00));
    roots.firstForReading = HKEY_LOCAL_MACHINE;

    SettingsStore store(roots);
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(store.Root(), HKEY_CURRENT_USER);
    std::string text;
    DWORD number = 0;
    EXPECT_TRUE(store.ReadString("Location1", text));
    EXPECT_EQ(text, location);
    EXPECT_TRUE(store.ReadNumber(kValueRefreshRate, number));
    EXPECT_EQ(number, rate);
    EXPECT_TRUE(store.DeleteValue("Location1"));
    EXPECT_TRUE(RawExists(HKEY_LOCAL_MACHINE, "Location1")) << "the machine key is never written";

    // Copied once: the user's own changes are not overwritten at the next opening.
    SettingsStore again(roots);
    ASSERT_TRUE(again.Open());
    EXPECT_FALSE(again.ReadString("Location1", text));
}

TEST_F(SettingsStoreTest, OpenFailsWhenNoRootCanBeWritten)
{
    SettingsRoots roots;
    roots.first = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFFFF00));
    roots.fallback = nullptr;
    SettingsStore store(roots);
    EXPECT_FALSE(store.Open());
    std::string text = "kept?";
    DWORD number = 5;
    EXPECT_FALSE(store.ReadString(kValueWindowPosition, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(store.ReadNumber(kValueRefreshRate, number));
    EXPECT_EQ(number, 5u);
    EXPECT_FALSE(store.WriteNumber(kValueRefreshRate, 1));
}

TEST_F(SettingsStoreTest, WalksTheStoredLocations)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    store.WriteString("Location2", "D:\\Attic\\;Attic;255;Y;N;Y;N");
    store.WriteString("Location3", "D:\\Den;Den");

    std::vector<std::string> names;
    const auto collect = [&](const Location& l) { names.push_back(l.shortName + "=" + l.path); };
    EnumerateLocations(LocationWalk::StoredOnly, StoredLocationReader(store), CurrentDirectory(), collect);
    EXPECT_TRUE(names.empty());

    EnumerateLocations(LocationWalk::DefaultFirst, StoredLocationReader(store), "C:\\Here", collect);
    EXPECT_EQ(names, (std::vector<std::string>{"SETI@home=C:\\Here", "Attic=D:\\Attic", "Den=D:\\Den"}));

    store.WriteString("Location1", "D:\\Home;Home");
    names.clear();
    EnumerateLocations(LocationWalk::StoredOnly, StoredLocationReader(store), "C:\\Here", collect);
    EXPECT_EQ(names, (std::vector<std::string>{"Home=D:\\Home", "Attic=D:\\Attic", "Den=D:\\Den"}));
}

} // namespace
