// The Completed Work Units page over real SETILog.csv files, the registry, tree and list controls.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "core/completed/completed_load.h"
#include "dialogs/future_calendar.h"
#include "dialogs/work_unit_calendar.h"
#include "pages/completed_page.h"
#include "resources/resource.h"
#include "platform/log_file.h"
#include "platform/settings_store.h"
#include "platform/unique_handle.h"
#include "core/settings/value_names.h"
#include "page_fixture.h"
#include "dialogs/sky_map.h"
#include "temp_dir.h"
#include "kit/app_state.h"
#include "shell/page_table.h"
#include "core/lists/list_sort.h"

namespace
{

const std::string kHeader =
    "date,name,cpu,bs_power,bg_power,bg_chisq,bg_pot,bp_power,bp_score,bp_pot,bt_power,bt_score,bt_pot,"
    "start_ra,start_dec,time_recorded,subband_base,angle_range\r\n";

std::string Record(const std::string& date, const std::string& name, int cpu, double peak = 10.5)
{
    return date + "," + name + "," + std::to_string(cpu) + "," + std::to_string(peak) +
           ",3.5,1.75,1.5 2.25 0.5,4.5,1.25,ff80,7.5,20.25,0a10,14.5,12.25,"
           "2451617.12345 (Mon Mar 13 10:20:30 2000),1420000000,0.395\r\n";
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

void ResetSettings()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

// What the timer saw of the message box it answered with No.
struct AnsweredBox {
    int count = 0;
    std::string title;
    std::string texts;
    int defaultButton = 0;
};
AnsweredBox g_box;

BOOL CALLBACK CollectText(HWND child, LPARAM)
{
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    g_box.texts += text;
    g_box.texts += '\n';
    return TRUE;
}

BOOL CALLBACK AnswerNo(HWND window, LPARAM)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (window == App().mainWindow || std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    ++g_box.count;
    g_box.title = title;
    g_box.texts.clear();
    EnumChildWindows(window, CollectText, 0);
    // The default button carries the default push-button style.
    for (const int id : {IDYES, IDNO})
        if (const HWND button = GetDlgItem(window, id))
            if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                g_box.defaultButton = id;
    PostMessageA(window, WM_COMMAND, IDNO, 0);
    return TRUE;
}

// Runs inside the message box's own loop: any box of this thread is answered with No, so no
// test can hang on it.
void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerNo, 0);
}

class CompletedPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        saved_ = App();
        INITCOMMONCONTROLSEX classes{sizeof classes,
                                     ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&classes);
        App().instance = GetModuleHandleA(nullptr);
        App().mainWindow = CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
        ASSERT_NE(App().mainWindow, nullptr);
        App().smallImages = ImageList_LoadImageA(App().instance, MAKEINTRESOURCEA(IDB_TREE), 16, 0, RGB(0, 0, 255),
                                                 IMAGE_BITMAP, LR_CREATEDIBSECTION);
        ASSERT_NE(App().smallImages, nullptr);
        Tabs().currentTab = kTabCompleted;
        g_box = AnsweredBox();
        timer_ = SetTimer(nullptr, 0, 50, AnswerBoxes);
    }
    void TearDown() override
    {
        KillTimer(nullptr, timer_);
        DestroyPage();
        DestroyWindow(App().mainWindow);
        ImageList_Destroy(App().smallImages);
        App() = saved_;
        Sky() = SkyWindows();
        Tabs() = TabState();
        ResetSettings();
    }

    void CreatePage()
    {
        page_ = CreateCompletedPage(App().mainWindow);
        ASSERT_NE(page_, nullptr);
        Tabs().pages[kTabCompleted] = page_;
        MoveWindow(page_, 0, 0, 900, 500, TRUE);
    }
    void DestroyPage()
    {
        if (page_)
            DestroyWindow(page_);
        page_ = nullptr;
        Tabs().pages[kTabCompleted] = nullptr;
    }

    void StoreLocation(int index, const std::string& path, const std::string& name, const char* completed = "Y")
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteString(("Location" + std::to_string(index)).c_str(), path + ";" + name + ";255;Y;Y;Y;" + completed);
    }
    void StoreNumber(const char* name, DWORD value)
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteNumber(name, value);
    }
    std::optional<int> StoredNumber(const char* name)
    {
        SettingsStore store;
        int value = 0;
        if (!store.Open() || !store.ReadNumber(name, value))
            return std::nullopt;
        return value;
    }

    // One location, Home, whose log holds three work units out of date order.
    void CreatePageWithThreeWorkUnits()
    {
        const TempDir& dir = threeUnits_.emplace();
        dir.Write("SETILog.csv", kHeader + Record("2000-03-21 10:00:00", "13mr00aa.1", 3725, 12.5) +
                                     Record("2000-03-20 09:00:00", "02ja99bb.2", 7200, 99.0) +
                                     Record("2000-03-22 08:00:00", "05fe98cc.3", 600, 1.0));
        StoreLocation(1, dir.Path(), "Home");
        CreatePage();
    }

    HWND Tree() const { return GetDlgItem(page_, IDC_COMPLETED_TREE); }
    HWND List() const { return GetDlgItem(page_, IDC_COMPLETED_LIST); }
    HTREEITEM Root() const { return TreeView_GetRoot(Tree()); }
    std::string ItemText(HTREEITEM item) const { return TreeItemText(Tree(), item); }
    const LocationNode* Node(HTREEITEM item) const
    {
        TVITEMA data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        return TreeView_GetItem(Tree(), &data) ? reinterpret_cast<const LocationNode*>(data.lParam) : nullptr;
    }
    std::vector<std::string> Children() const
    {
        std::vector<std::string> names;
        for (HTREEITEM child = TreeView_GetChild(Tree(), Root()); child; child = TreeView_GetNextSibling(Tree(), child))
            names.push_back(ItemText(child));
        return names;
    }
    HTREEITEM Child(const std::string& name) const { return TreeChildNamed(Tree(), name); }
    void Select(HTREEITEM item) const
    {
        TreeView_SelectItem(Tree(), item);
        WaitForCompletedLoad();
    }

    int Rows() const { return ListView_GetItemCount(List()); }
    static const WorkUnitRow* Row(int index) { return CompletedListRow(index); }
    std::string Cell(int index, int cell) const { return std::string(Row(index)->cells.Text(cell)); }
    std::vector<std::string> Column(int cell) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Rows(); ++i)
            texts.push_back(Cell(i, cell));
        return texts;
    }
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        const int count = Header_GetItemCount(ListView_GetHeader(List()));
        for (int i = 0; i < count; ++i) {
            char text[100] = {};
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT;
            column.pszText = text;
            column.cchTextMax = sizeof text;
            ListView_GetColumn(List(), i, &column);
            titles.push_back(text);
        }
        return titles;
    }
    int Alignment(int column) const
    {
        LVCOLUMNA data{};
        data.mask = LVCF_FMT;
        ListView_GetColumn(List(), column, &data);
        return data.fmt & LVCFMT_JUSTIFYMASK;
    }
    void ClickColumn(int column) const { ::ClickColumn(List(), column); }
    std::string Status() const
    {
        char text[1100] = {};
        GetDlgItemTextA(App().mainWindow, IDC_MAIN_STATUS, text, sizeof text);
        return text;
    }
    int RowHeight() const
    {
        RECT rect{};
        ListView_GetItemRect(List(), 0, &rect, LVIR_BOUNDS);
        return rect.bottom - rect.top;
    }

    HWND page_ = nullptr;

private:
    std::optional<TempDir> threeUnits_;
    AppState saved_;
    UINT_PTR timer_ = 0;
};

TEST_F(CompletedPageTest, TreeWithoutLocationsGivesAZeroGrandTotal)
{
    TempDir dir;
    StoreLocation(1, dir.Path(), "Home", "N");
    CreatePage();
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(ItemText(Root()), "All Locations");
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(TreeView_GetNextSibling(Tree(), Root()), nullptr);
    EXPECT_EQ(Rows(), 0);

    Select(Root());
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Location", "Work Units", "Total CPU Time", "Average CPU Time",
                                                  "Average % Per Hour", "Top Peak", "Top Gaussian"}));
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, kTotalsLocation), "Grand Total");
    EXPECT_EQ(Cell(0, kTotalsWorkUnits), "0");
    EXPECT_EQ(Cell(0, kTotalsCpuTime), "0:00:00");
    EXPECT_EQ(Cell(0, kTotalsTopGaussian), "score 0.0000,  power 0.00,  fit 0.000");
    EXPECT_EQ(Alignment(kTotalsWorkUnits), LVCFMT_RIGHT);
    EXPECT_EQ(Alignment(kTotalsTopGaussian), LVCFMT_LEFT);
}

TEST_F(CompletedPageTest, TreeListsSwitchedOnLocationsSortedUnderTheRoot)
{
    TempDir a, b, c;
    for (const TempDir* dir : {&a, &b, &c})
        dir->Write("SETILog.csv", kHeader);
    StoreLocation(1, a.Path(), "Gamma");
    StoreLocation(2, b.Path(), "Alpha");
    StoreLocation(3, c.Path(), "Beta", "N");
    StoreLocation(4, c.Path(), "Delta");
    CreatePage();
    EXPECT_EQ(Children(), (std::vector<std::string>{"Alpha", "Delta", "Gamma"}));
    EXPECT_TRUE(TreeView_GetItemState(Tree(), Root(), TVIS_EXPANDED) & TVIS_EXPANDED);
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = Root();
    TreeView_GetItem(Tree(), &item);
    EXPECT_EQ(item.iImage, IMG_TREE_ALL_LOCATIONS);
    item.hItem = Child("Alpha");
    TreeView_GetItem(Tree(), &item);
    EXPECT_EQ(item.iImage, IMG_TREE_LOCATION);
    EXPECT_EQ(item.iSelectedImage, IMG_TREE_LOCATION);
    EXPECT_EQ(Node(Child("Alpha"))->path, b.Path());
    EXPECT_EQ(Node(Child("Alpha"))->colour, 255);

    // Reload keeps nothing of the last load and reads the locations again.
    Select(Root());
    EXPECT_EQ(Rows(), 4);
    StoreLocation(4, c.Path(), "Delta", "N");
    ReloadCompleted();
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(Children(), (std::vector<std::string>{"Alpha", "Gamma"}));
}

TEST_F(CompletedPageTest, TotalsFormWithGrandTotalSortsLikeAnyRow)
{
    TempDir ten, none, missing;
    std::string log = kHeader;
    for (int i = 0; i < 10; ++i)
        log += Record("2000-03-2" + std::to_string(i) + " 10:00:00", "13mr00aa." + std::to_string(i), 1000 + i * 100,
                      i == 4 ? 50.25 : 10.0);
    ten.Write("SETILog.csv", log);
    none.Write("SETILog.csv", kHeader);
    StoreLocation(1, ten.Path(), "Ten");
    StoreLocation(2, none.Path(), "None");
    StoreLocation(3, missing.Path(), "Lost");
    CreatePage();
    Select(Root());

    // The location without a file is left out and named on the status line.
    EXPECT_EQ(Column(kTotalsLocation), (std::vector<std::string>{"None", "Ten", "Grand Total"}));
    EXPECT_NE(Status().find(missing.File("SETILog.csv")), std::string::npos) << Status();
    EXPECT_EQ(g_box.count, 0);
    EXPECT_EQ(Column(kTotalsWorkUnits), (std::vector<std::string>{"0", "10", "10"}));
    EXPECT_EQ(Cell(2, kTotalsCpuTime), "4:01:40");
    EXPECT_EQ(Cell(2, kTotalsAverageCpu), "0:24:10"); // the CPU sum of both over 10
    EXPECT_EQ(Cell(1, kTotalsTopPeak), "50.25");
    EXPECT_EQ(Cell(2, kTotalsTopGaussian), "score 2.0000,  power 3.50,  fit 1.750");
    EXPECT_EQ(Node(Root())->count, 10);
    EXPECT_DOUBLE_EQ(Node(Root())->perDay, 86400.0 / 1450);

    ClickColumn(kTotalsLocation); // column 0 is the sorted one: its first click sorts descending
    EXPECT_EQ(Column(kTotalsLocation), (std::vector<std::string>{"Ten", "None", "Grand Total"}));
    ClickColumn(kTotalsLocation);
    EXPECT_EQ(Column(kTotalsLocation), (std::vector<std::string>{"Grand Total", "None", "Ten"}));
    ClickColumn(kTotalsWorkUnits);
    EXPECT_EQ(Column(kTotalsWorkUnits), (std::vector<std::string>{"0", "10", "10"}));
    ClickColumn(kTotalsWorkUnits);
    EXPECT_EQ(Column(kTotalsWorkUnits), (std::vector<std::string>{"10", "10", "0"}));
}

TEST_F(CompletedPageTest, WorkUnitFormShowsTheLastRecordFirst)
{
    TempDir dir;
    dir.Write("SETILog.csv", kHeader + Record("2000-03-21 10:00:00", "13mr00aa.1", 3725, 12.5) + "\r\n,,,\r\n" +
                                 Record("2000-03-20 09:00:00", "02ja99bb.2", 7200, 99.0) +
                                 "2000-03-22 08:00:00,05fe98cc.3,600,1.0\r\n");
    StoreLocation(1, dir.Path(), "Home");
    CreatePage();
    const HTREEITEM home = Child("Home");
    ASSERT_NE(home, nullptr);
    Select(home);

    EXPECT_EQ(Titles(), (std::vector<std::string>{"Date Logged", "Work Unit Name", "CPU Time", "% Per Hour", "Peak",
                                                  "From", "Recorded On", "Base Frequency", "Angle Range", "Triplet",
                                                  "Pulses", "Gaussian"}));
    EXPECT_EQ(Status(), "");
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Column(kCellWorkUnitName), (std::vector<std::string>{"05fe98cc.3", "02ja99bb.2", "13mr00aa.1"}));
    EXPECT_EQ(Cell(2, kCellCpuTime), "1:02:05");
    EXPECT_EQ(Cell(2, kCellPercentPerHour), "96.64430");
    EXPECT_EQ(Cell(2, kCellFrom), "14 hr 30 min 0 sec RA, + 12 deg 15 min 0 sec Dec");
    EXPECT_EQ(Cell(2, kCellRecordedOn), "Mon Mar 13 10:20:30 2000");
    EXPECT_EQ(Cell(2, kCellBaseFrequency), "1.420000000 GHz");
    EXPECT_EQ(Cell(0, kCellFrom), ""); // stopped at the missing bg_power
    EXPECT_EQ(Row(2)->best.pulsePot, (HexPot{0xff, 0x80}));
    EXPECT_EQ(Node(home)->count, 2); // the record without gaussian columns does not count
    EXPECT_DOUBLE_EQ(Node(home)->perDay, 86400.0 / ((3725 + 7200 + 600) / 2));
    EXPECT_EQ(Alignment(kCellCpuTime), LVCFMT_RIGHT);
    EXPECT_EQ(Alignment(kCellFrom), LVCFMT_LEFT);
    for (int column = kCellTriplet; column <= kCellGaussian; ++column)
        EXPECT_EQ(ListView_GetColumnWidth(List(), column), 180) << column;

    ClickColumn(kCellDateLogged); // made descending, so its first click sorts ascending
    EXPECT_EQ(Column(kCellDateLogged).front(), "2000-03-20 09:00:00");
    EXPECT_EQ(Column(kCellDateLogged).back(), "2000-03-22 08:00:00");
    ClickColumn(kCellWorkUnitName); // by recording date: 1998, 1999, 2000
    EXPECT_EQ(Column(kCellWorkUnitName), (std::vector<std::string>{"05fe98cc.3", "02ja99bb.2", "13mr00aa.1"}));
    ClickColumn(kCellCpuTime);
    EXPECT_EQ(Column(kCellCpuTime), (std::vector<std::string>{"0:10:00", "1:02:05", "2:00:00"}));
    ClickColumn(kCellCpuTime);
    EXPECT_EQ(Column(kCellCpuTime), (std::vector<std::string>{"2:00:00", "1:02:05", "0:10:00"}));
    ClickColumn(kCellPeak);
    EXPECT_EQ(Column(kCellPeak), (std::vector<std::string>{"1.00", "12.50", "99.00"}));
}

// The right-click menus' commands, sent as the menus send them, naming the control they are for.
TEST_F(CompletedPageTest, MenuCommandsOpenTheSkyMapAndCalendarsForTheirItem)
{
    TempDir home, attic;
    home.Write("SETILog.csv", kHeader + Record("2000-03-21 10:00:00", "13mr00aa.1", 3600) +
                                  Record("2000-03-20 09:00:00", "02ja99bb.2", 3600));
    attic.Write("SETILog.csv", kHeader + Record("2000-03-22 08:00:00", "05fe98cc.3", 3600));
    StoreLocation(1, home.Path(), "Home");
    StoreLocation(2, attic.Path(), "Attic");
    CreatePage();
    const auto command = [this](int id, HWND control) {
        SendMessageA(page_, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(control));
        WaitForLongReads();
    };
    const auto shownPoints = [] { return SkyMapPoints() ? SkyMapPoints()->size() : size_t{0}; };

    Select(Root());
    command(ID_SKY_MAP, Tree());
    EXPECT_EQ(shownPoints(), 3u) << "all locations";
    command(ID_CALENDAR, Tree());
    ASSERT_NE(WorkUnitCalendarWindow(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(App().mainWindow));
    DestroyWindow(WorkUnitCalendarWindow());
    EXPECT_TRUE(IsWindowEnabled(App().mainWindow));

    Select(Child("Home"));
    command(ID_SKY_MAP, Tree());
    EXPECT_EQ(shownPoints(), 2u) << "one location";
    command(ID_CALENDAR, Tree());
    ASSERT_NE(WorkUnitCalendarWindow(), nullptr);
    DestroyWindow(WorkUnitCalendarWindow());
    command(ID_FUTURE_CALENDAR, Tree());
    ASSERT_NE(FutureCalendarWindow(), nullptr);
    DestroyWindow(FutureCalendarWindow());

    // The list's Sky Map shows the selected rows only, and needs a selection.
    DestroyWindow(Sky().map);
    command(ID_SKY_MAP, List());
    EXPECT_EQ(Sky().map, nullptr);
    ListView_SetItemState(List(), 1, LVIS_SELECTED, LVIS_SELECTED);
    command(ID_SKY_MAP, List());
    EXPECT_EQ(shownPoints(), 1u);
    DestroyWindow(Sky().map);
}

// The rows live outside the list, which keeps only positions: a sort must carry the selection and
// the focus along with their rows, and the text the list asks for is the row's own.
TEST_F(CompletedPageTest, SortKeepsTheSelectedRowsAndAnswersTextRequests)
{
    CreatePageWithThreeWorkUnits();
    Select(Child("Home"));
    ASSERT_EQ(Rows(), 3);
    ASSERT_EQ(Column(kCellWorkUnitName), (std::vector<std::string>{"05fe98cc.3", "02ja99bb.2", "13mr00aa.1"}));
    ListView_SetItemState(List(), 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(List(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    ClickColumn(kCellCpuTime); // 0:10:00 (05fe98cc.3), 1:02:05 (13mr00aa.1), 2:00:00 (02ja99bb.2)
    ASSERT_EQ(Column(kCellWorkUnitName), (std::vector<std::string>{"05fe98cc.3", "13mr00aa.1", "02ja99bb.2"}));
    std::vector<std::string> selected;
    for (int i = ListView_GetNextItem(List(), -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(List(), i, LVNI_SELECTED))
        selected.push_back(Cell(i, kCellWorkUnitName));
    EXPECT_EQ(selected, (std::vector<std::string>{"05fe98cc.3", "02ja99bb.2"}));
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), 2);

    char text[64] = "untouched";
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = 1;
    item.iSubItem = kCellCpuTime;
    item.pszText = text;
    item.cchTextMax = 5; // cut to the buffer
    ASSERT_TRUE(ListView_GetItem(List(), &item));
    EXPECT_STREQ(item.pszText, "1:02");

    // A list that asks in wide characters gets the same cut text.
    wchar_t wide[64] = L"untouched";
    NMLVDISPINFOW request{};
    request.hdr = {List(), static_cast<UINT_PTR>(IDC_COMPLETED_LIST), static_cast<UINT>(LVN_GETDISPINFOW)};
    request.item.mask = LVIF_TEXT;
    request.item.iItem = 1;
    request.item.iSubItem = kCellCpuTime;
    request.item.pszText = wide;
    request.item.cchTextMax = 5;
    SendMessageA(page_, WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ(wide, L"1:02");
}

// Ctrl+A and Ctrl+C copy what the list paints in either form, in the order shown, graphs by their
// captions; Shift+F10 and the Menu key open the tree's and the list's right-click menus at the
// selected item, and the list's only while it has a selected row.
TEST_F(CompletedPageTest, KeysCopyTheRowsAndOpenTheMenusAtTheSelection)
{
    CreatePageWithThreeWorkUnits();
    const auto copied = [this] {
        EmptyTheClipboard();
        PressKey(List(), 'A', {VK_CONTROL});
        PressKey(List(), 'C', {VK_CONTROL});
        std::vector<std::vector<std::string>> lines;
        std::smatch match;
        const std::string text = ClipboardText();
        const std::regex line("([^\r]*)\r\n");
        for (auto at = text.cbegin(); std::regex_search(at, text.cend(), match, line); at = match[0].second) {
            std::vector<std::string>& cells = lines.emplace_back(1);
            for (const char c : match[1].str()) {
                if (c == '\t')
                    cells.emplace_back();
                else
                    cells.back().push_back(c);
            }
        }
        return lines;
    };

    Select(Root());
    auto lines = copied();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], Titles());
    EXPECT_EQ(lines[1][kTotalsLocation], "Home");
    EXPECT_EQ(lines[2][kTotalsLocation], "Grand Total");
    EXPECT_EQ(lines[1].size(), Titles().size());
    EXPECT_EQ(lines[2].size(), Titles().size());

    Select(Child("Home"));
    lines = copied();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], Titles());
    for (size_t i = 1; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(lines[i].size(), Titles().size());
        EXPECT_EQ(lines[i][kCellWorkUnitName], Cell(static_cast<int>(i) - 1, kCellWorkUnitName));
        EXPECT_EQ(lines[i][9], "Power 7.50, Score 20.2500");
        EXPECT_EQ(lines[i][10].rfind("Power 4.500, Score 1.2500, Resolution ", 0), 0u) << lines[i][10];
        EXPECT_EQ(lines[i][11], "Power 3.50, Score 2.0000, Fit 1.750");
    }
    EXPECT_EQ(lines[1][kCellWorkUnitName], "05fe98cc.3");

    const auto menuAt = [](HWND control, const RECT& item) {
        POINT at{item.left, item.bottom};
        ClientToScreen(control, &at);
        return at;
    };
    RECT treeItem{};
    TreeView_GetItemRect(Tree(), Child("Home"), &treeItem, TRUE);
    RECT listItem{};
    ListView_GetItemRect(List(), 1, &listItem, LVIR_BOUNDS);
    listItem.left = 0;
    const struct {
        const char* name;
        HWND control;
        UINT key;
        std::vector<BYTE> held;
        int selectedRow; // -1: no row selected
        int items;       // of the menu that opens; 0 for none
        POINT at;
    } presses[] = {
        {"Shift+F10 on the tree", Tree(), VK_F10, {VK_SHIFT}, -1, 4, menuAt(Tree(), treeItem)},
        {"Menu key on the tree", Tree(), VK_APPS, {}, -1, 4, menuAt(Tree(), treeItem)},
        {"Shift+F10 on the list", List(), VK_F10, {VK_SHIFT}, 1, 1, menuAt(List(), listItem)},
        {"Menu key on the list without a selection", List(), VK_APPS, {}, -1, 0, {}},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.name);
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (press.selectedRow >= 0)
            ListView_SetItemState(List(), press.selectedRow, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        const MenuWatch watch;
        PressKey(press.control, press.key, press.held, press.key == VK_F10);
        if (press.items == 0) {
            EXPECT_TRUE(MenuWatch::Menus().empty());
            continue;
        }
        ASSERT_EQ(MenuWatch::Menus().size(), 1u);
        EXPECT_EQ(MenuWatch::Menus()[0].firstItem, "Sky Map");
        EXPECT_EQ(MenuWatch::Menus()[0].items, press.items);
        EXPECT_EQ(MenuWatch::Menus()[0].at.x, press.at.x);
        EXPECT_EQ(MenuWatch::Menus()[0].at.y, press.at.y);
    }
}

// Column clicks sort through keys made once per row; the order must be the one lstrcmpi (text
// cells) and the leading numbers (number cells) give, stable for equal texts, both ways. The
// texts mix case, punctuation that the system's word sort passes over, digits, blanks, accents
// and empty cells, in the Date Logged column (text cells) and in From, whose cells sort by their
// right ascension and, where a record stops early, by their empty text.
TEST_F(CompletedPageTest, ColumnSortMatchesTheSystemsComparison)
{
    const std::vector<std::string> texts = {"abc",  "ABC",       "ab-c", "a-bc",   "co-op", "coop", "co op", "Zeta",
                                            "zeta", "_under",    "[x]",  "10",     "9",     "09",   "",      "a'b",
                                            "ab",   "\xe9t\xe9", "ete",  "\xc9TE", "~",     "Abc ", " abc",  "ab c",
                                            "1e5",  "-3",        "a.b",  "a,b",    "\"q\"", "zz"};
    std::string log = kHeader;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string date = texts[i].find_first_of(",\"") == std::string::npos
                                     ? texts[i]
                                     : "\"" + std::regex_replace(texts[i], std::regex("\""), "\"\"") + "\"";
        std::string record = Record(date, "13mr00aa." + std::to_string(i), 100 + static_cast<int>(i));
        if (i % 7 == 3) // stops at the missing gaussian columns: From stays empty
            record = date + ",13mr00aa." + std::to_string(i) + ",5,1.0\r\n";
        else // right ascensions that tie in threes
            record.replace(record.find(",14.5,"), 6, "," + std::to_string(i / 3) + ".5,");
        log += record;
    }
    TempDir dir;
    dir.Write("SETILog.csv", log);
    StoreLocation(1, dir.Path(), "Home");
    CreatePage();
    Select(Child("Home"));
    ASSERT_EQ(Rows(), static_cast<int>(texts.size()));
    ASSERT_EQ(Cell(static_cast<int>(texts.size()) - 1 - 28, kCellDateLogged), "\"q\"");

    // What the list showed, sorted the way every comparison used to be made.
    const auto expected = [&](int column, bool ascending) {
        std::vector<const WorkUnitRow*> rows;
        for (int i = 0; i < Rows(); ++i)
            rows.push_back(Row(i));
        std::stable_sort(rows.begin(), rows.end(), [&](const WorkUnitRow* a, const WorkUnitRow* b) {
            const auto compare = [](const std::string& x, const std::string& y) {
                return lstrcmpiA(x.c_str(), y.c_str());
            };
            return CompareCells(a->cells.Kind(column), ascending, a->cells.Text(column), a->cells.Second(column),
                                b->cells.Text(column), b->cells.Second(column), compare) < 0;
        });
        std::vector<std::string> names;
        for (const WorkUnitRow* row : rows)
            names.emplace_back(row->cells.Text(kCellWorkUnitName));
        return names;
    };
    for (const int column : {kCellDateLogged, kCellFrom}) {
        for (int click = 0; click < 2; ++click) {
            // A first click on a column sorts it ascending (Date Logged starts descending, and
            // any other column is set back to descending when another one was sorted last).
            const bool ascending = click == 0;
            const std::vector<std::string> want = expected(column, ascending);
            ClickColumn(column);
            EXPECT_EQ(Column(kCellWorkUnitName), want) << "column " << column << ", click " << click;
        }
    }
}

TEST_F(CompletedPageTest, MissingFileAsksAboutTheHomePage)
{
    TempDir dir;
    StoreLocation(1, dir.Path(), "Home");
    CreatePage();
    Select(Child("Home"));

    EXPECT_EQ(Titles().size(), 12u);
    EXPECT_EQ(Rows(), 0);
    const std::string status = Status();
    EXPECT_EQ(status.rfind("Error #2", 0), 0u) << status;
    EXPECT_NE(status.find(" " + dir.File("SETILog.csv")), std::string::npos) << status;
    EXPECT_EQ(g_box.count, 1);
    EXPECT_EQ(g_box.title, "Vantorel");
    EXPECT_NE(g_box.texts.find("The file SETILog.csv was not found.\r\rSETILog.csv is created by the program "
                               "SETILog.\r\rWould you like to go to the the SETILog site to install it?"),
              std::string::npos)
        << g_box.texts;
    EXPECT_EQ(g_box.defaultButton, IDNO);
}

TEST_F(CompletedPageTest, StoredRowHeightBelowTheSliderRange)
{
    TempDir dir;
    dir.Write("SETILog.csv", kHeader + Record("d", "13mr00aa.1", 60));
    StoreLocation(1, dir.Path(), "Home");
    StoreNumber(kValueCompletedRowHeight, 12);
    CreatePage();
    Select(Child("Home"));
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(RowHeight(), 12);

    const HWND slider = GetDlgItem(page_, IDC_COMPLETED_ROW_HEIGHT);
    SendMessageA(slider, TBM_SETPOS, TRUE, 40);
    SendMessageA(page_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 40), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(RowHeight(), 40);
    char label[40] = {};
    GetDlgItemTextA(page_, IDC_COMPLETED_ROW_LABEL, label, sizeof label);
    EXPECT_STREQ(label, "Row height 40");
    DestroyPage();
    EXPECT_EQ(StoredNumber(kValueCompletedRowHeight), 40);
}

TEST_F(CompletedPageTest, ShowTextRoundTrip)
{
    CreatePage();
    EXPECT_EQ(IsDlgButtonChecked(page_, IDC_COMPLETED_SHOW_TEXT), BST_CHECKED);
    EXPECT_FALSE(StoredNumber(kValueShowGraphTextCompleted));
    SendDlgItemMessageA(page_, IDC_COMPLETED_SHOW_TEXT, BM_CLICK, 0, 0);
    EXPECT_EQ(StoredNumber(kValueShowGraphTextCompleted), 0);
    DestroyPage();

    CreatePage();
    EXPECT_EQ(IsDlgButtonChecked(page_, IDC_COMPLETED_SHOW_TEXT), BST_UNCHECKED);
    SendDlgItemMessageA(page_, IDC_COMPLETED_SHOW_TEXT, BM_CLICK, 0, 0);
    EXPECT_EQ(StoredNumber(kValueShowGraphTextCompleted), 1);
    DestroyPage();

    StoreNumber(kValueShowGraphTextCompleted, 7); // not 1: the box stays clear
    CreatePage();
    EXPECT_EQ(IsDlgButtonChecked(page_, IDC_COMPLETED_SHOW_TEXT), BST_UNCHECKED);
}

// A log that stops halfway until the test releases it: the held folder's log hands over half its
// bytes, then waits for the gate.
struct HeldLog {
    std::string folder;
    HANDLE gate = nullptr;
};
HeldLog* heldLog = nullptr;

class HalfThenHeld final : public LogByteSource
{
public:
    explicit HalfThenHeld(std::unique_ptr<LogByteSource> log) : log_(std::move(log)), half_(log_->Size() / 2) {}
    size_t Read(char* buffer, size_t capacity) override
    {
        if (given_ >= half_)
            WaitForSingleObject(heldLog->gate, INFINITE);
        const size_t read = log_->Read(buffer, given_ < half_ ? std::min<size_t>(capacity, half_ - given_) : capacity);
        given_ += read;
        return read;
    }
    uint64_t Size() const override { return log_->Size(); }

private:
    std::unique_ptr<LogByteSource> log_;
    uint64_t half_;
    uint64_t given_ = 0;
};

std::unique_ptr<LogByteSource> OpenHeldLog(const std::string& folder, std::string& failure)
{
    std::unique_ptr<LogByteSource> log = OpenDiskLogFile(folder, failure);
    if (log && folder == heldLog->folder)
        return std::make_unique<HalfThenHeld>(std::move(log));
    return log;
}

TEST_F(CompletedPageTest, ALongLoadShowsItsProgressAnswersAndStopsAtEscapeOrAnotherItem)
{
    TempDir home, attic;
    std::string log = kHeader;
    for (int i = 0; i < 2000; ++i)
        log += Record("2000-03-21 10:00:00", "13mr00aa." + std::to_string(i), 3600);
    home.Write("SETILog.csv", log);
    attic.Write("SETILog.csv", kHeader + Record("2000-03-22 08:00:00", "05fe98cc.3", 3600));
    StoreLocation(1, home.Path(), "Home");
    StoreLocation(2, attic.Path(), "Attic");
    const UniqueKernelHandle gate(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HeldLog held{home.Path(), gate.get()};
    heldLog = &held;
    const LogFileMaker saved = LogFilesSource();
    LogFilesSource() = OpenHeldLog;
    CreatePage();
    const auto pumpFor = [](DWORD milliseconds) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < milliseconds) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            HandleWaitingMessages();
        }
    };

    for (const bool byEscape : {true, false}) {
        SCOPED_TRACE(byEscape ? "Escape" : "another item");
        TreeView_SelectItem(Tree(), Child("Home"));
        pumpFor(600);
        ASSERT_TRUE(CompletedLoadRunning());
        const std::string progress = CurrentStatusText();
        EXPECT_EQ(progress.rfind("Reading SETILog.csv of Home: ", 0), 0u) << progress;
        const int percent = std::atoi(progress.c_str() + progress.find(": ") + 2);
        EXPECT_GE(percent, 40) << progress;
        EXPECT_LE(percent, 60) << progress;
        EXPECT_EQ(Rows(), 0) << "nothing half-read is shown";
        EXPECT_EQ(Titles().front(), "Date Logged") << "the form shows while its rows are read";

        if (byEscape) {
            PressKey(Tree(), VK_ESCAPE);
            EXPECT_FALSE(CompletedLoadRunning());
            EXPECT_EQ(CurrentStatusText(), "") << "the progress goes with the load";
            EXPECT_EQ(Rows(), 0);
            Select(Child("Attic")); // so that selecting Home again is a new load
        } else {
            Select(Child("Attic"));
            EXPECT_EQ(Rows(), 1) << "the other item's rows, and none of the stopped load's";
            EXPECT_EQ(Cell(0, kCellWorkUnitName), "05fe98cc.3");
        }
    }
    // Every location's Sky Map points and the calendar's counts are read beside the window alike,
    // and Escape stops them before anything opens.
    TreeView_SelectItem(Tree(), Root());
    PressKey(Tree(), VK_ESCAPE);
    for (const int command : {ID_SKY_MAP, ID_CALENDAR}) {
        SCOPED_TRACE(command);
        SendMessageA(page_, WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<LPARAM>(Tree()));
        pumpFor(600);
        ASSERT_TRUE(LongReadsRunning());
        EXPECT_EQ(CurrentStatusText().rfind("Reading SETILog.csv of Home: ", 0), 0u) << CurrentStatusText();
        PressKey(Tree(), VK_ESCAPE);
        EXPECT_FALSE(LongReadsRunning());
        EXPECT_EQ(CurrentStatusText(), "");
    }
    Select(Child("Attic"));
    SetEvent(gate.get()); // the stopped reads end now, and what they read is dropped
    pumpFor(300);
    EXPECT_EQ(Sky().map, nullptr);
    EXPECT_EQ(WorkUnitCalendarWindow(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(App().mainWindow));
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(CompletedLoadRunning());
    LogFilesSource() = saved;
}

TEST_F(CompletedPageTest, LoadsAHundredThousandWorkUnits)
{
    constexpr int kCount = 100000;
    TempDir dir;
    std::string log = kHeader;
    log.reserve(kHeader.size() + static_cast<size_t>(kCount) * 200);
    for (int i = 0; i < kCount; ++i)
        log += Record("2001-01-01 00:00:00", "13mr00aa." + std::to_string(i), 3600 + i % 1000);
    dir.Write("SETILog.csv", log);
    StoreLocation(1, dir.Path(), "Big");
    CreatePage();
    const DWORD start = GetTickCount();
    Select(Child("Big"));
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_EQ(Rows(), kCount);
    EXPECT_EQ(Cell(0, kCellWorkUnitName), "13mr00aa.99999");
    EXPECT_EQ(Cell(kCount - 1, kCellWorkUnitName), "13mr00aa.0");
    EXPECT_EQ(Node(Child("Big"))->count, kCount);
    std::printf("loaded %d work units in %lu ms\n", kCount, static_cast<unsigned long>(elapsed));

    // Ctrl+A and Ctrl+C over all of them: one line each after the titles.
    EmptyTheClipboard();
    const DWORD copyStart = GetTickCount();
    PressKey(List(), 'A', {VK_CONTROL});
    PressKey(List(), 'C', {VK_CONTROL});
    const DWORD copyElapsed = GetTickCount() - copyStart;
    const std::string copied = ClipboardText();
    size_t lines = 0;
    for (size_t at = copied.find("\r\n"); at != std::string::npos; at = copied.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, static_cast<size_t>(kCount) + 1);
    // The first row shown is the first copied, its name in the second cell.
    EXPECT_EQ(copied.find("\t13mr00aa.99999\t"), copied.find('\t', copied.find("\r\n")));
    std::printf("copied %d work units in %lu ms\n", kCount, static_cast<unsigned long>(copyElapsed));
}

} // namespace
