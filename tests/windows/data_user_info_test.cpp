// The Data Info and User Info pages over real files and the registry, and the override dialog driven by messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "control_input.h"
#include "core/analysis/user_stats.h"
#include "core/analysis/work_unit_info.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "temp_dir.h"
#include "kit/app_state.h"
#include "dialogs/sky_map.h"
#include "shell/page_table.h"
#include "pages/data_info_page.h"
#include "kit/list_view.h"
#include "page_fixture.h"
#include "dialogs/override_dialog.h"
#include "pages/user_info_page.h"

namespace
{

constexpr char kOverrideTitle[] = "Override Work Units Per Day";

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

void ResetSettings()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

std::string WorkUnitFile(double ra, const std::string& julian, const std::string& date, const std::string& base)
{
    return "type=work_unit\nstart_ra=" + std::to_string(ra) + "\nstart_dec=10.5\ntime_recorded=" + julian + " (" +
           date + ")\nsubband_base=" + base + "\nangle_range=0.427\n";
}

std::string UserFile(const std::string& name, int results, int cpu)
{
    return "name=" + name + "\nnresults=" + std::to_string(results) + "\ntotal_cpu=" + std::to_string(cpu) +
           ".5\nregister_time=2451545.0 (Sat Jan  1 12:00:00 2000)\n";
}

// The main window's template with the two pages, as the refreshes see them.
class InfoPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&classes);
        saved_ = App();
        App().instance = GetModuleHandleA(nullptr);
        App().mainWindow = CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
        ASSERT_NE(App().mainWindow, nullptr);
        Tabs().pages[kTabDataInfo] = CreateDataInfoPage(App().mainWindow);
        Tabs().pages[kTabUserInfo] = CreateUserInfoPage(App().mainWindow);
        ASSERT_NE(PageList(kTabDataInfo), nullptr);
        ASSERT_NE(PageList(kTabUserInfo), nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(Tabs().pages[kTabUserInfo]);
        DestroyWindow(Tabs().pages[kTabDataInfo]);
        DestroyWindow(App().mainWindow);
        App() = saved_;
        Sky() = SkyWindows();
        Tabs() = TabState();
        ResetSettings();
    }

    // A location folder with the given files; the folder lives as long as the test.
    const TempDir& Folder(const std::vector<std::pair<const char*, std::string>>& files)
    {
        folders_.push_back(std::make_unique<TempDir>());
        for (const auto& [name, text] : files)
            folders_.back()->Write(name, text);
        return *folders_.back();
    }
    void StoreLocation(int index, const TempDir& folder, const std::string& shortName, const char* switches = "Y;Y;Y;Y")
    {
        StoreString(("Location" + std::to_string(index)).c_str(), folder.Path() + ";" + shortName + ";255;" + switches);
    }
    void StoreString(const char* name, const std::string& text)
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteString(name, text);
    }
    void StoreNumber(const char* name, DWORD number)
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteNumber(name, number);
    }
    std::string StoredString(const char* name)
    {
        SettingsStore store;
        std::string text = "<missing>";
        if (store.Open() && !store.ReadString(name, text))
            text = "<missing>";
        return text;
    }

    static int Rows(int tab) { return ListView_GetItemCount(PageList(tab)); }
    static const ListRow* Row(int tab, int index)
    {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return ListView_GetItem(PageList(tab), &item) ? reinterpret_cast<const ListRow*>(item.lParam) : nullptr;
    }
    static std::vector<std::string> Column(int tab, int cell)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Rows(tab); ++i)
            texts.emplace_back(Row(tab, i)->Text(cell));
        return texts;
    }
    static int IndexOf(int tab, const std::string& shortName)
    {
        for (int i = 0; i < Rows(tab); ++i)
            if (Row(tab, i)->Text(0) == shortName)
                return i;
        return -1;
    }
    // A click on a column title, as the list reports it to its page.
    static void ClickColumn(int tab, int column) { ::ClickColumn(PageList(tab), column); }
    static void Select(int tab, int index)
    {
        const HWND list = PageList(tab);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (index >= 0)
            ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static int Selected(int tab) { return ListView_GetNextItem(PageList(tab), -1, LVNI_SELECTED); }
    static bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Tabs().pages[kTabUserInfo], id)) != FALSE; }
    static std::string Status()
    {
        char text[1100] = {};
        GetDlgItemTextA(App().mainWindow, IDC_MAIN_STATUS, text, sizeof text);
        return text;
    }

private:
    AppState saved_;
    std::vector<std::unique_ptr<TempDir>> folders_;
};

using DataInfoTest = InfoPagesTest;
using UserInfoTest = InfoPagesTest;
using OverrideDialogTest = InfoPagesTest;

} // namespace

TEST_F(DataInfoTest, RowsFromRealFiles)
{
    const std::string complete = WorkUnitFile(17.5312, "2451741.43877", "Sat Jul 15 22:31:54 2000", "1419726562.5");
    StoreLocation(1, Folder({{"user_info.sah", "name=bob\n"}, {"work_unit.sah", complete}}), "Complete");
    // The keys lie after the first 4096 bytes: only the start is read.
    StoreLocation(
        2, Folder({{"user_info.sah", "name=bob\n"}, {"work_unit.sah", std::string(5000, 'x') + "\n" + complete}}),
        "Long");
    StoreLocation(3, Folder({{"user_info.sah", "name=bob\n"}, {"work_unit.sah", "start_ra=1\nstart_dec=2\n"}}),
                  "NoBase");
    StoreLocation(4, Folder({{"work_unit.sah", complete}}), "NoUser");
    StoreLocation(5, Folder({{"user_info.sah", "name=bob\n"}, {"work_unit.sah", complete}}), "Off", "Y;N;Y;Y");

    RefreshDataInfo();
    WaitForInfoReads();
    ASSERT_EQ(Rows(kTabDataInfo), 4);
    // The missing user file was the last failure of the refresh.
    EXPECT_EQ(Status().rfind("Error #"), 0u) << Status();
    EXPECT_NE(Status().find("\\user_info.sah"), std::string::npos) << Status();

    const int completeRow = IndexOf(kTabDataInfo, "Complete");
    const ListRow* row = Row(kTabDataInfo, completeRow);
    ASSERT_NE(row, nullptr);
    const char* expected[kDataInfoCellCount] = {"Complete",
                                                "17 hr 31 min 52 sec RA, + 10 deg 30 min 0 sec Dec",
                                                "Sat Jul 15 22:31:54 2000",
                                                "Arecibo Radio Observatory",
                                                "1.419726563 GHz",
                                                "0.427",
                                                "17.5312",
                                                "10.5",
                                                "255"};
    for (int cell = 0; cell < kDataInfoCellCount; ++cell) {
        EXPECT_EQ(row->Text(cell), expected[cell]) << cell;
        // What the list answers a text request (a screen reader's) is the painted text.
        char text[100] = "untouched";
        ListView_GetItemText(PageList(kTabDataInfo), completeRow, cell, text, sizeof text);
        EXPECT_STREQ(text, expected[cell]) << cell;
    }

    for (const char* name : {"Long", "NoUser"}) {
        row = Row(kTabDataInfo, IndexOf(kTabDataInfo, name));
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->Text(kDataLocation), name);
        for (int cell = 1; cell < kDataInfoCellCount; ++cell)
            EXPECT_FALSE(row->HasText(cell)) << name << " " << cell;
    }
    row = Row(kTabDataInfo, IndexOf(kTabDataInfo, "NoBase"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Text(kDataSource), "Arecibo Radio Observatory");
    EXPECT_FALSE(row->HasText(kDataBaseFrequency));
    EXPECT_FALSE(row->HasText(kDataColour));

    // The sky map records follow the list, one per row.
    const SkyPointSet points = DataInfoSkyPoints();
    ASSERT_EQ(points.size(), 4u);
    const SkyPoint& point = points[IndexOf(kTabDataInfo, "Complete")];
    EXPECT_STREQ(point.recordedOn, "Sat Jul 15 22:31:54 2000");
    EXPECT_EQ(point.colour, 255);
    EXPECT_DOUBLE_EQ(point.rightAscension, 17.5312);
    EXPECT_DOUBLE_EQ(point.declination, 10.5);
}

TEST_F(DataInfoTest, SortsByJulianDateAndFrequencyAndKeepsTheSelectedIndex)
{
    // The weekdays sort the other way round from the recording times.
    StoreLocation(1,
                  Folder({{"user_info.sah", "x\n"},
                          {"work_unit.sah", WorkUnitFile(1, "2451741.5", "Sat Jul 15 22:31:54 2000", "1419726562.5")}}),
                  "Middle");
    StoreLocation(2,
                  Folder({{"user_info.sah", "x\n"},
                          {"work_unit.sah", WorkUnitFile(2, "2451000.5", "Wed Jul  7 12:00:00 1998", "1418554687.5")}}),
                  "Early");
    StoreLocation(3,
                  Folder({{"user_info.sah", "x\n"},
                          {"work_unit.sah", WorkUnitFile(3, "2452000.5", "Mon Apr  2 12:00:00 2001", "1420898437.5")}}),
                  "Late");
    RefreshDataInfo();
    WaitForInfoReads();
    ASSERT_EQ(Rows(kTabDataInfo), 3);
    // The first re-sort orders by Location.
    EXPECT_EQ(Column(kTabDataInfo, kDataLocation), (std::vector<std::string>{"Early", "Late", "Middle"}));

    ClickColumn(kTabDataInfo, kDataRecordedOn);
    EXPECT_EQ(Column(kTabDataInfo, kDataLocation), (std::vector<std::string>{"Early", "Middle", "Late"}));
    ClickColumn(kTabDataInfo, kDataRecordedOn);
    EXPECT_EQ(Column(kTabDataInfo, kDataLocation), (std::vector<std::string>{"Late", "Middle", "Early"}));

    ClickColumn(kTabDataInfo, kDataBaseFrequency);
    EXPECT_EQ(Column(kTabDataInfo, kDataBaseFrequency),
              (std::vector<std::string>{"1.418554688 GHz", "1.419726563 GHz", "1.420898438 GHz"}));

    // A refresh keeps the order and the selected index, whichever location stands there now.
    Select(kTabDataInfo, 2);
    StoreLocation(2,
                  Folder({{"user_info.sah", "x\n"},
                          {"work_unit.sah", WorkUnitFile(2, "2451000.5", "Wed Jul  7 12:00:00 1998", "1421000000")}}),
                  "Early");
    RefreshDataInfo();
    WaitForInfoReads();
    EXPECT_EQ(Column(kTabDataInfo, kDataLocation), (std::vector<std::string>{"Middle", "Late", "Early"}));
    EXPECT_EQ(Selected(kTabDataInfo), 2);
}

TEST_F(DataInfoTest, NoLocationSwitchedOn)
{
    StoreLocation(1, Folder({{"user_info.sah", "x\n"}}), "Off", "Y;N;Y;Y");
    RefreshDataInfo();
    WaitForInfoReads();
    EXPECT_EQ(Rows(kTabDataInfo), 0);
    EXPECT_TRUE(DataInfoSkyPoints().empty());
    // The button's request builds an empty set without trouble.
    SendMessageA(Tabs().pages[kTabDataInfo], WM_COMMAND, MAKEWPARAM(IDC_DATA_INFO_SKY_MAP, BN_CLICKED), 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_TRUE(IsWindow(Tabs().pages[kTabDataInfo]));
}

TEST_F(UserInfoTest, GrandTotalAndButtonStates)
{
    StoreLocation(1, Folder({{"user_info.sah", UserFile("bob", 120, 7200)}}), "Home");
    StoreLocation(2, Folder({{"user_info.sah", UserFile("bob", 118, 3600)}}), "Work");
    StoreLocation(3, Folder({{"user_info.sah", UserFile("Jimbob", 10, 360)}}), "Lab");
    StoreLocation(4, Folder({{"user_info.sah", UserFile("x", 1, 1)}}), "Off", "Y;Y;N;Y");
    StoreString("Jimbob work units per day", "2.5");
    StoreNumber(kValueShowGrandTotal, 1);

    RefreshUserInfo();
    WaitForInfoReads();
    ASSERT_EQ(Rows(kTabUserInfo), 4);
    EXPECT_EQ(Column(kTabUserInfo, kUserLocation), (std::vector<std::string>{"Home", "Lab", "Work", "Grand Total"}));
    const ListRow* work = Row(kTabUserInfo, 2);
    EXPECT_EQ(work->Text(kUserCompleted), " ");
    EXPECT_EQ(work->Text(kUserTotalCpu), " ");
    EXPECT_EQ(work->Text(kUserRegisterTime), " ");
    EXPECT_EQ(Row(kTabUserInfo, 1)->Text(kUserPerDay), "2.5");
    const ListRow* total = Row(kTabUserInfo, 3);
    EXPECT_EQ(total->Text(kUserCompleted), "130");
    EXPECT_EQ(total->Text(kUserTotalCpu), "2:06:00");
    EXPECT_EQ(total->Text(kUserAverageCpu), "0:00:58");
    const double rates = std::stod(std::string(Row(kTabUserInfo, 0)->Second(kUserPerDay))) +
                         std::stod(std::string(work->Second(kUserPerDay))) + 2.5;
    EXPECT_EQ(total->Text(kUserPerDay), Format("%.2f", rates));

    // Descending by Location puts the grand total first.
    ClickColumn(kTabUserInfo, kUserLocation);
    EXPECT_EQ(Column(kTabUserInfo, kUserLocation), (std::vector<std::string>{"Grand Total", "Work", "Lab", "Home"}));

    EXPECT_FALSE(Enabled(IDC_USER_INFO_FUTURE));
    EXPECT_FALSE(Enabled(IDC_USER_INFO_OVERRIDE));
    struct Case {
        const char* shortName;
        bool future;
        bool override;
    };
    const Case cases[] = {{"Work", false, true}, {"Grand Total", true, false}, {"Home", true, true}};
    for (const Case& c : cases) {
        Select(kTabUserInfo, IndexOf(kTabUserInfo, c.shortName));
        EXPECT_EQ(Enabled(IDC_USER_INFO_FUTURE), c.future) << c.shortName;
        EXPECT_EQ(Enabled(IDC_USER_INFO_OVERRIDE), c.override) << c.shortName;
    }
    Select(kTabUserInfo, -1);
    EXPECT_FALSE(Enabled(IDC_USER_INFO_FUTURE));
    EXPECT_FALSE(Enabled(IDC_USER_INFO_OVERRIDE));

    // After a refresh the blanked row's index stays selected and may be projected.
    Select(kTabUserInfo, IndexOf(kTabUserInfo, "Work"));
    RefreshUserInfo();
    WaitForInfoReads();
    EXPECT_EQ(Row(kTabUserInfo, Selected(kTabUserInfo))->Text(kUserLocation), "Work");
    EXPECT_TRUE(Enabled(IDC_USER_INFO_FUTURE));
    EXPECT_TRUE(Enabled(IDC_USER_INFO_OVERRIDE));
}

TEST_F(UserInfoTest, GrandTotalSetting)
{
    StoreLocation(1, Folder({{"user_info.sah", UserFile("bob", 5, 100)}}), "Home");
    for (DWORD setting : {0u, 2u}) {
        StoreNumber(kValueShowGrandTotal, setting);
        RefreshUserInfo();
        WaitForInfoReads();
        EXPECT_EQ(Column(kTabUserInfo, kUserLocation), (std::vector<std::string>{"Home"})) << setting;
    }
    // With no location switched on only the grand total stands, and its figures are zero.
    StoreLocation(1, Folder({{"user_info.sah", UserFile("bob", 5, 100)}}), "Home", "Y;Y;N;Y");
    StoreNumber(kValueShowGrandTotal, 1);
    RefreshUserInfo();
    WaitForInfoReads();
    ASSERT_EQ(Rows(kTabUserInfo), 1);
    const char* expected[] = {"Grand Total", "", "0", "0:00:00", "0:00:00", "0.00", ""};
    for (int cell = 0; cell < kUserInfoCellCount; ++cell)
        EXPECT_EQ(Row(kTabUserInfo, 0)->Text(cell), expected[cell]) << cell;
}

namespace
{

// Plays a user at the override dialog from a thread timer, which also fires inside the modal
// loops of the dialog and of its warning box: each tick types the next input and presses OK,
// or closes a warning box; when the inputs are used up it presses Cancel.
struct DialogPlayer {
    std::vector<std::string> inputs;
    size_t next = 0;
    int ticks = 0;
    int warnings = 0;
    std::string warningText;
    std::string prompt;
    std::string hints;
    std::string initialValue;
    bool seen = false;
};
DialogPlayer* g_player = nullptr;

struct WindowSearch {
    const char* title;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM param)
{
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    char className[64] = {};
    char title[128] = {};
    GetClassNameA(hwnd, className, sizeof className);
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::string(className) == "#32770" && search.title == std::string(title) &&
        (!search.owner || GetWindow(hwnd, GW_OWNER) == search.owner)) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindThreadDialog(const char* title, HWND owner)
{
    WindowSearch search{title, owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectStaticText(HWND hwnd, LPARAM param)
{
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof className);
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if (lstrcmpiA(className, "Static") == 0 && text[0])
        *reinterpret_cast<std::string*>(param) += text;
    return TRUE;
}

std::string ItemText(HWND dialog, int id)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CALLBACK PlayDialog(HWND, UINT, UINT_PTR, DWORD)
{
    DialogPlayer& player = *g_player;
    const HWND dialog = FindThreadDialog(kOverrideTitle, nullptr);
    if (!dialog)
        return;
    if (const HWND box = FindThreadDialog("Vantorel", dialog)) {
        ++player.warnings;
        player.warningText.clear();
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&player.warningText));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
    }
    if (!player.seen) {
        player.seen = true;
        player.prompt = ItemText(dialog, IDC_OVERRIDE_PROMPT);
        player.hints = ItemText(dialog, IDC_OVERRIDE_HINTS);
        player.initialValue = ItemText(dialog, IDC_OVERRIDE_VALUE);
    }
    // A dialog that does not close within a few seconds is cancelled so the test cannot hang.
    if (player.next < player.inputs.size() && ++player.ticks < 200) {
        SetDlgItemTextA(dialog, IDC_OVERRIDE_VALUE, player.inputs[player.next++].c_str());
        Press(dialog, IDOK);
    } else {
        Press(dialog, IDCANCEL);
    }
}

// Runs fn while the player drives whatever override dialog it opens.
template <typename Fn> auto WithPlayer(DialogPlayer& player, Fn fn)
{
    g_player = &player;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, PlayDialog);
    auto result = fn();
    KillTimer(nullptr, timer);
    g_player = nullptr;
    return result;
}

} // namespace

TEST_F(OverrideDialogTest, RefusedInputsKeepTheDialogAndAcceptedOneRefreshes)
{
    StoreLocation(1, Folder({{"user_info.sah", UserFile("bob", 5, 100)}}), "Home");
    RefreshUserInfo();
    WaitForInfoReads();
    Select(kTabUserInfo, 0);
    ASSERT_TRUE(Enabled(IDC_USER_INFO_OVERRIDE));
    const std::string computed(Row(kTabUserInfo, 0)->Text(kUserPerDay));

    DialogPlayer player;
    player.inputs = {"-1", "0.0", "abc", "3abc"};
    WithPlayer(player, [] {
        return SendMessageA(Tabs().pages[kTabUserInfo], WM_COMMAND, MAKEWPARAM(IDC_USER_INFO_OVERRIDE, BN_CLICKED), 0);
    });
    EXPECT_EQ(player.prompt, "Enter the average number of work units bob completes in one day.");
    EXPECT_EQ(player.hints,
              "Hints:\r\tClear the above field if you want Vantorel to calculate this number for you.\r\r\tIf bob is "
              "used on multiple computers you will have to divide the above number by the number of computers used.");
    EXPECT_EQ(player.initialValue, "");
    EXPECT_EQ(player.warnings, 3);
    EXPECT_EQ(player.warningText, kOverrideNotValid);
    EXPECT_EQ(player.next, 4u);
    EXPECT_EQ(StoredString("bob work units per day"), "3abc");
    // The list was read again with the stored rate, shown as a number.
    WaitForInfoReads();
    ASSERT_EQ(Rows(kTabUserInfo), 1);
    EXPECT_EQ(Row(kTabUserInfo, 0)->Text(kUserPerDay), "3");
    EXPECT_NE(computed, "3");
}

TEST_F(OverrideDialogTest, AcceptedTextsAreStoredAsTyped)
{
    struct Case {
        const char* stored; // before the dialog; nullptr: none
        std::vector<std::string> inputs;
        INT_PTR result;
        const char* after;
        int warnings;
    };
    const Case cases[] = {
        {"2.5", {}, 0, "2.5", 0}, // Cancel changes nothing
        {"2.5", {""}, 1, "", 0},  // cleared: computed again
        {nullptr, {"0"}, 1, "0", 0},
        {nullptr, {"0.0", " 7"}, 1, " 7", 1},
        {nullptr, {"-0.5"}, 0, "<missing>", 1}, // refused, then cancelled
    };
    for (const Case& c : cases) {
        ResetSettings();
        if (c.stored)
            StoreString("bob work units per day", c.stored);
        DialogPlayer player;
        player.inputs = c.inputs;
        const INT_PTR result = WithPlayer(player, [] { return ShowOverrideDialog(App().mainWindow, "bob"); });
        EXPECT_EQ(result, c.result) << c.after;
        EXPECT_EQ(player.initialValue, c.stored ? c.stored : "") << c.after;
        EXPECT_EQ(StoredString("bob work units per day"), c.after);
        EXPECT_EQ(player.warnings, c.warnings) << c.after;
    }
}
