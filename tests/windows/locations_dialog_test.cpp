// The SETI Locations and location dialogs, driven as a user would from a thread timer: listing, sorting, editing,
// storing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <commdlg.h>
#include <functional>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "command_wait.h"
#include "page_fixture.h"
#include "pages/options_page.h"
#include "core/settings/location.h"
#include "core/settings/location_edit.h"
#include "dialogs/locations_dialog.h"
#include "dialogs/locations_list.h"
#include "pages/analysis_page.h"
#include "dialogs/about_dialog.h"
#include "pages/analysis_refresh.h"
#include "kit/header_tips.h"
#include "kit/list_view.h"

namespace
{

constexpr char kLocationsTitle[] = "SETI Locations";
constexpr char kAddingTitle[] = "Adding a SETI location";
constexpr char kEditingTitle[] = "Editing a SETI location";
constexpr char kBoxTitle[] = "Vantorel";
constexpr char kMissing[] = "<missing>";
// 20 ms ticks: a script that has not finished after 6 s is given up and every dialog cancelled.
constexpr UINT kTickMilliseconds = 20;
constexpr int kTickLimit = 300;

// A scripted user: each timer tick runs the current step until it reports that it could act. The
// thread timer also fires inside the modal loops of the dialogs and their message boxes. Steps
// post their button presses, so no modal loop is entered from inside a tick.
struct Script {
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    int ticks = 0;
    bool busy = false;
    bool timedOut = false;
};
Script* g_script = nullptr;

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
    if (std::string(className) == "#32770" && IsWindowVisible(hwnd) &&
        (!search.title || search.title == std::string(title)) &&
        (!search.owner || GetWindow(hwnd, GW_OWNER) == search.owner)) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const char* title, HWND owner = nullptr)
{
    WindowSearch search{title, owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM)
{
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(hwnd))
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Script& script = *g_script;
    if (script.busy)
        return;
    script.busy = true;
    if (++script.ticks > kTickLimit) {
        script.timedOut = true;
        EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
    } else if (script.next < script.steps.size() && script.steps[script.next]()) {
        ++script.next;
    }
    script.busy = false;
}

void Post(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Runs a step's action on the dialog with this title once it shows.
std::function<bool()> On(const char* title, std::function<void(HWND)> action)
{
    return [title, action] {
        const HWND dialog = FindDialog(title);
        if (!dialog)
            return false;
        action(dialog);
        return true;
    };
}

std::function<bool()> Press(const char* title, int id)
{
    return On(title, [id](HWND dialog) { Post(dialog, id); });
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

// Answers the message box that the dialog with this title shows, noting its text.
std::function<bool()> Answer(const char* ownerTitle, int answer, std::string* text)
{
    return [=] {
        const HWND owner = FindDialog(ownerTitle);
        const HWND box = owner ? FindDialog(kBoxTitle, owner) : nullptr;
        if (!box)
            return false;
        text->clear();
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(text));
        PostMessageA(box, WM_COMMAND, answer, 0);
        return true;
    };
}

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_LOCATIONS_LIST);
}

// The rows as "short name|path|colour|switches", top to bottom.
std::vector<std::string> Rows(HWND dialog)
{
    std::vector<std::string> rows;
    const HWND list = List(dialog);
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        const LocationCellTexts cells = LocationRowCells(list, i);
        rows.push_back(cells[0] + "|" + cells[1] + "|" + LocationColourText(list, i) + "|" + cells[3] + cells[4] +
                       cells[5] + cells[6]);
    }
    return rows;
}

void Select(HWND dialog, int row)
{
    ListView_SetItemState(List(dialog), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::string Text(HWND dialog, int id)
{
    char text[600] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string Title(HWND dialog)
{
    char text[128] = {};
    GetWindowTextA(dialog, text, sizeof text);
    return text;
}

std::string Stored(int index)
{
    SettingsStore store;
    if (!store.Open())
        return "<no key>";
    std::string text;
    char name[32];
    wsprintfA(name, kValueLocationFormat, index);
    return store.ReadString(name, text) ? text : kMissing;
}

class LocationsDialogTest : public PageFixture
{
protected:
    // Opens the SETI Locations dialog and plays the steps; fails when the script got stuck.
    void Play(std::vector<std::function<bool()>> steps)
    {
        Script script;
        script.steps = std::move(steps);
        g_script = &script;
        const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, Tick);
        EditLocations(App().mainWindow);
        KillTimer(nullptr, timer);
        g_script = nullptr;
        EXPECT_FALSE(script.timedOut);
        EXPECT_EQ(script.next, script.steps.size());
        EXPECT_EQ(FindDialog(nullptr), nullptr) << "a dialog was left open";
    }
    static void StoreLocation(int index, const std::string& text)
    {
        char name[32];
        wsprintfA(name, kValueLocationFormat, index);
        StoreString(name, text);
    }
    std::string ignoredText_;
};

constexpr char kHome[] = "C:\\Home;Home;255;Y;Y;Y;Y";
constexpr char kAttic[] = "D:\\Attic;Attic;65535;N;Y;N;Y";

TEST_F(LocationsDialogTest, ListsStoredLocationsByNameAndStoresThemInThatOrder)
{
    StoreLocation(1, kHome);
    StoreLocation(2, kAttic);
    std::vector<std::string> rows;
    bool editEnabled = true;
    bool deleteEnabled = true;
    std::vector<int> widths;
    HWND tips = nullptr;
    Play({On(kLocationsTitle,
             [&](HWND dialog) {
                 rows = Rows(dialog);
                 editEnabled = Enabled(dialog, IDC_LOCATIONS_EDIT);
                 deleteEnabled = Enabled(dialog, IDC_LOCATIONS_DELETE);
                 widths = ColumnWidths(List(dialog));
                 tips = HeaderTipWindow(List(dialog));
             }),
          Press(kLocationsTitle, IDC_LOCATIONS_OK)});
    EXPECT_EQ(rows, (std::vector<std::string>{"Attic|D:\\Attic|65535|NYNY", "Home|C:\\Home|255|YYYY"}));
    EXPECT_FALSE(editEnabled);
    EXPECT_FALSE(deleteEnabled);
    ASSERT_EQ(widths.size(), 7u);
    for (const int width : widths)
        EXPECT_GT(width, 15);
    EXPECT_NE(tips, nullptr);
    EXPECT_EQ(Stored(1), kAttic);
    EXPECT_EQ(Stored(2), kHome);
    EXPECT_EQ(Stored(3), kMissing);
}

TEST_F(LocationsDialogTest, ColumnClicksDecideTheStoredOrder)
{
    struct Case {
        std::vector<int> clicks;
        const char* first;
        const char* second;
    };
    const char* zed = "A:\\Zed;Zed;1;Y;Y;Y;Y";
    const char* amy = "B:\\Amy;amy;2;N;N;N;N";
    const Case cases[] = {
        {{}, amy, zed},     {{0}, zed, amy}, // the sorted column clicked again: descending
        {{1}, zed, amy},                     // by path, ascending
        {{1, 1}, amy, zed},                  // by path, descending
        {{3, 0}, amy, zed},                  // back to the name: ascending again
    };
    for (const Case& c : cases) {
        ResetSettingsKeys();
        StoreLocation(1, zed);
        StoreLocation(2, amy);
        const std::vector<int> clicks = c.clicks;
        Play({On(kLocationsTitle,
                 [clicks](HWND dialog) {
                     for (const int column : clicks)
                         ClickColumn(List(dialog), column);
                 }),
              Press(kLocationsTitle, IDC_LOCATIONS_OK)});
        EXPECT_EQ(Stored(1), c.first) << c.clicks.size();
        EXPECT_EQ(Stored(2), c.second) << c.clicks.size();
    }
}

TEST_F(LocationsDialogTest, DeleteAsksAndCancelKeepsTheStoredLocation)
{
    StoreLocation(1, kHome);
    std::string question;
    std::string secondQuestion;
    bool enabledWhenSelected = false;
    std::vector<std::string> afterNo;
    std::vector<std::string> afterYes;
    bool enabledAfterDelete = true;
    Play({On(kLocationsTitle,
             [&](HWND dialog) {
                 Select(dialog, 0);
                 enabledWhenSelected = Enabled(dialog, IDC_LOCATIONS_EDIT) && Enabled(dialog, IDC_LOCATIONS_DELETE);
                 Post(dialog, IDC_LOCATIONS_DELETE);
             }),
          Answer(kLocationsTitle, IDNO, &question),
          On(kLocationsTitle,
             [&](HWND dialog) {
                 afterNo = Rows(dialog);
                 Post(dialog, IDC_LOCATIONS_DELETE);
             }),
          Answer(kLocationsTitle, IDYES, &secondQuestion), On(kLocationsTitle, [&](HWND dialog) {
              afterYes = Rows(dialog);
              enabledAfterDelete = Enabled(dialog, IDC_LOCATIONS_EDIT) || Enabled(dialog, IDC_LOCATIONS_DELETE);
              Post(dialog, IDCANCEL);
          })});
    EXPECT_TRUE(enabledWhenSelected);
    EXPECT_EQ(question, "OK to delete current location?");
    EXPECT_EQ(afterNo.size(), 1u);
    EXPECT_TRUE(afterYes.empty());
    EXPECT_FALSE(enabledAfterDelete);
    EXPECT_EQ(Stored(1), kHome);
}

TEST_F(LocationsDialogTest, GapEndsTheListAndLaterValuesStay)
{
    StoreLocation(1, kHome);
    StoreLocation(2, kAttic);
    StoreLocation(4, "E:\\Far;Far;7;Y;Y;Y;Y");
    std::vector<std::string> rows;
    Play({On(kLocationsTitle,
             [&](HWND dialog) {
                 rows = Rows(dialog);
                 Select(dialog, 1); // Home
                 Post(dialog, IDC_LOCATIONS_DELETE);
             }),
          Answer(kLocationsTitle, IDYES, &ignoredText_), Press(kLocationsTitle, IDC_LOCATIONS_OK)});
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(Stored(1), kAttic);
    EXPECT_EQ(Stored(2), kMissing);
    EXPECT_EQ(Stored(3), kMissing);
    EXPECT_EQ(Stored(4), "E:\\Far;Far;7;Y;Y;Y;Y");
}

TEST_F(LocationsDialogTest, NewLocationIsYellowShownEverywhereAndStoredFirst)
{
    StoreLocation(1, kHome);
    std::string title;
    bool okAtStart = true;
    bool okWithNameOnly = true;
    bool okWithBoth = false;
    bool allChecked = false;
    std::string fields = "x";
    std::vector<std::string> rows;
    Play({Press(kLocationsTitle, IDC_LOCATIONS_ADD),
          On(kAddingTitle,
             [&](HWND dialog) {
                 title = Title(dialog);
                 okAtStart = Enabled(dialog, IDOK);
                 fields = Text(dialog, IDC_LOCATION_SHORT_NAME) + Text(dialog, IDC_LOCATION_PATH);
                 allChecked = IsDlgButtonChecked(dialog, IDC_LOCATION_ANALYSIS) &&
                              IsDlgButtonChecked(dialog, IDC_LOCATION_DATA_INFO) &&
                              IsDlgButtonChecked(dialog, IDC_LOCATION_USER_INFO) &&
                              IsDlgButtonChecked(dialog, IDC_LOCATION_COMPLETED);
                 SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, "Zoo");
                 okWithNameOnly = Enabled(dialog, IDOK);
                 SetDlgItemTextA(dialog, IDC_LOCATION_PATH, "C:\\Zoo");
                 okWithBoth = Enabled(dialog, IDOK);
                 Post(dialog, IDOK);
             }),
          On(kLocationsTitle, [&](HWND dialog) {
              rows = Rows(dialog);
              Post(dialog, IDC_LOCATIONS_OK);
          })});
    EXPECT_EQ(title, kAddingTitle);
    EXPECT_FALSE(okAtStart);
    EXPECT_EQ(fields, "");
    EXPECT_TRUE(allChecked);
    EXPECT_FALSE(okWithNameOnly);
    EXPECT_TRUE(okWithBoth);
    // The new row stands at the top until the list is sorted again, and is stored in that place.
    EXPECT_EQ(rows, (std::vector<std::string>{"Zoo|C:\\Zoo|65535|YYYY", "Home|C:\\Home|255|YYYY"}));
    EXPECT_EQ(Stored(1), "C:\\Zoo;Zoo;65535;Y;Y;Y;Y");
    EXPECT_EQ(Stored(2), kHome);
}

TEST_F(LocationsDialogTest, SemicolonRefusedInShortNameButKeptInPath)
{
    std::string refusal;
    bool stillOpen = false;
    std::vector<std::string> rowsBefore;
    Play({Press(kLocationsTitle, IDC_LOCATIONS_ADD),
          On(kAddingTitle,
             [&](HWND dialog) {
                 SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, "A;B");
                 SetDlgItemTextA(dialog, IDC_LOCATION_PATH, "C:\\My;Client");
                 CheckDlgButton(dialog, IDC_LOCATION_USER_INFO, BST_UNCHECKED);
                 Post(dialog, IDOK);
             }),
          Answer(kAddingTitle, IDOK, &refusal),
          On(kAddingTitle,
             [&](HWND dialog) {
                 stillOpen = true;
                 rowsBefore = Rows(GetParent(dialog));
                 SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, "Mine");
                 Post(dialog, IDOK);
             }),
          Press(kLocationsTitle, IDC_LOCATIONS_OK)});
    EXPECT_EQ(refusal, "Short name cannot contain a ;");
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(rowsBefore.empty());
    EXPECT_EQ(Stored(1), "C:\\My;Client;Mine;65535;Y;Y;N;Y");

    // Read back by the dialog itself: the same path.
    std::vector<std::string> rows;
    Play({On(kLocationsTitle, [&](HWND dialog) {
        rows = Rows(dialog);
        Post(dialog, IDCANCEL);
    })});
    EXPECT_EQ(rows, (std::vector<std::string>{"Mine|C:\\My;Client|65535|YYNY"}));
}

TEST_F(LocationsDialogTest, EditShowsTheRowAndChangesItInPlace)
{
    StoreLocation(1, kHome);
    StoreLocation(2, kAttic);
    std::string title;
    std::string fields;
    bool okEnabled = false;
    std::string checks;
    std::vector<std::string> rows;
    Play({On(kLocationsTitle,
             [&](HWND dialog) {
                 Select(dialog, 0); // Attic
                 Post(dialog, IDC_LOCATIONS_EDIT);
             }),
          On(kEditingTitle,
             [&](HWND dialog) {
                 title = Title(dialog);
                 fields = Text(dialog, IDC_LOCATION_SHORT_NAME) + "|" + Text(dialog, IDC_LOCATION_PATH);
                 okEnabled = Enabled(dialog, IDOK);
                 for (const int id :
                      {IDC_LOCATION_ANALYSIS, IDC_LOCATION_DATA_INFO, IDC_LOCATION_USER_INFO, IDC_LOCATION_COMPLETED})
                     checks += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 'Y' : 'N';
                 SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, "Loft");
                 CheckDlgButton(dialog, IDC_LOCATION_ANALYSIS, BST_CHECKED);
                 Post(dialog, IDOK);
             }),
          On(kLocationsTitle, [&](HWND dialog) {
              rows = Rows(dialog);
              Post(dialog, IDC_LOCATIONS_OK);
          })});
    EXPECT_EQ(title, kEditingTitle);
    EXPECT_EQ(fields, "Attic|D:\\Attic");
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(checks, "NYNY");
    EXPECT_EQ(rows, (std::vector<std::string>{"Loft|D:\\Attic|65535|YYNY", "Home|C:\\Home|255|YYYY"}));
    EXPECT_EQ(Stored(1), "D:\\Attic;Loft;65535;Y;Y;N;Y");
    EXPECT_EQ(Stored(2), kHome);
}

TEST_F(LocationsDialogTest, SwatchIsPaintedInTheRowsColour)
{
    StoreLocation(1, "C:\\Red;Red;255;Y;Y;Y;Y");
    std::vector<int> widths;
    COLORREF swatchCentre = 0;
    int swatchPixels = -1;
    int redElsewhere = -1;
    int rowHeight = 0;
    Play({On(kLocationsTitle, [&](HWND dialog) {
        const HWND list = List(dialog);
        widths = ColumnWidths(list);
        RECT item{};
        ListView_GetItemRect(list, 0, &item, LVIR_BOUNDS);
        rowHeight = item.bottom - item.top;
        const int width = widths[0] + widths[1] + widths[2] + widths[3];
        Canvas canvas(width, rowHeight);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_LISTVIEW;
        draw.CtlID = IDC_LOCATIONS_LIST;
        draw.itemID = 0;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = list;
        draw.hDC = canvas.Dc();
        draw.rcItem = RECT{0, 0, width, rowHeight};
        LVITEMA row{};
        row.mask = LVIF_PARAM;
        ListView_GetItem(list, &row);
        draw.itemData = static_cast<ULONG_PTR>(row.lParam);
        SendMessageA(dialog, WM_DRAWITEM, IDC_LOCATIONS_LIST, reinterpret_cast<LPARAM>(&draw));
        const int left = widths[0] + widths[1];
        swatchCentre = canvas.At(left + widths[2] / 2, rowHeight / 2);
        swatchPixels = canvas.Count(RECT{left, 0, left + widths[2], rowHeight}, RGB(255, 0, 0));
        redElsewhere = canvas.Count(RECT{0, 0, left, rowHeight}, RGB(255, 0, 0)) +
                       canvas.Count(RECT{left + widths[2], 0, width, rowHeight}, RGB(255, 0, 0));
        Post(dialog, IDCANCEL);
    })});
    ASSERT_GT(rowHeight, 0);
    EXPECT_EQ(swatchCentre, RGB(255, 0, 0));
    EXPECT_EQ(swatchPixels, widths[2] * rowHeight);
    EXPECT_EQ(redElsewhere, 0);
}

TEST_F(LocationsDialogTest, OkRebuildsTheAnalysisList)
{
    StoreLocation(1, kHome);
    AddPage(kTabAnalysis, CreateAnalysisPage);
    RefreshAndWait(true);
    const HWND analysis = PageList(kTabAnalysis);
    ASSERT_EQ(ListView_GetItemCount(analysis), 1);

    auto names = [analysis] {
        std::vector<std::string> result;
        for (int i = 0; i < ListView_GetItemCount(analysis); ++i) {
            LVITEMA item{};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            ListView_GetItem(analysis, &item);
            result.emplace_back(RowCells(analysis, item.lParam)->Text(0));
        }
        return result;
    };
    EXPECT_EQ(names(), std::vector<std::string>{"Home"});
    Play({Press(kLocationsTitle, IDC_LOCATIONS_ADD),
          On(kAddingTitle,
             [](HWND dialog) {
                 SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, "Attic");
                 SetDlgItemTextA(dialog, IDC_LOCATION_PATH, "D:\\Attic");
                 Post(dialog, IDOK);
             }),
          Press(kLocationsTitle, IDC_LOCATIONS_OK)});
    // Rebuilt from the new list, sorted by location as before.
    EXPECT_EQ(names(), (std::vector<std::string>{"Attic", "Home"}));

    // Cancel leaves the rows alone.
    Play({On(kLocationsTitle,
             [](HWND dialog) {
                 Select(dialog, 0);
                 Post(dialog, IDC_LOCATIONS_DELETE);
             }),
          Answer(kLocationsTitle, IDYES, &ignoredText_), Press(kLocationsTitle, IDCANCEL)});
    EXPECT_EQ(names(), (std::vector<std::string>{"Attic", "Home"}));
}

} // namespace

namespace
{

constexpr char kColourTitle[] = "Color";
// Control ids of the system colour picker's red, green and blue fields and its "Add to Custom
// Colors" button.
constexpr int kPickerRed = 706;
constexpr int kPickerGreen = 707;
constexpr int kPickerBlue = 708;
constexpr int kPickerAddCustom = 712;

// What the colour picker was given each time it opened, seen through its WM_INITDIALOG.
struct PickerOpening {
    COLORREF initial;
    std::vector<COLORREF> custom;
};
std::vector<PickerOpening>* g_openings = nullptr;

LRESULT CALLBACK WatchPicker(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_openings && call->message == WM_INITDIALOG && Title(call->hwnd) == kColourTitle) {
        const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(call->lParam);
        g_openings->push_back(
            {choose->rgbResult, std::vector<COLORREF>(choose->lpCustColors, choose->lpCustColors + 16)});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

COLORREF SwatchColour(HWND dialog)
{
    const HWND swatch = GetDlgItem(dialog, IDC_LOCATION_COLOR_SWATCH);
    const WindowDc dc(swatch);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(swatch)));
    LOGBRUSH info{};
    if (!brush || !GetObjectA(brush, sizeof info, &info))
        return CLR_INVALID;
    return info.lbColor;
}

TEST_F(LocationsDialogTest, ChosenColourIsUsedAndCustomColoursLastTheRun)
{
    std::vector<PickerOpening> openings;
    g_openings = &openings;
    const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchPicker, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const COLORREF mixed = RGB(18, 52, 86);
    COLORREF before = 0;
    COLORREF after = 0;
    std::vector<std::string> rows;
    Play({Press(kLocationsTitle, IDC_LOCATIONS_ADD),
          On(kAddingTitle,
             [&](HWND dialog) {
                 before = SwatchColour(dialog);
                 Post(dialog, IDC_LOCATION_CHOOSE_COLOR);
             }),
          On(kColourTitle,
             [](HWND picker) {
                 SetDlgItemTextA(picker, kPickerRed, "18");
                 SetDlgItemTextA(picker, kPickerGreen, "52");
                 SetDlgItemTextA(picker, kPickerBlue, "86");
                 Post(picker, kPickerAddCustom);
                 Post(picker, IDOK);
             }),
          On(kAddingTitle,
             [&](HWND dialog) {
                 after = SwatchColour(dialog);
                 SetDlgItemTextA(dialog, IDC_LOCATION_SHORT_NAME, "Blue");
                 SetDlgItemTextA(dialog, IDC_LOCATION_PATH, "C:\\Blue");
                 Post(dialog, IDOK);
             }),
          Press(kLocationsTitle, IDC_LOCATIONS_ADD), Press(kAddingTitle, IDC_LOCATION_CHOOSE_COLOR),
          Press(kColourTitle, IDCANCEL), On(kAddingTitle, [](HWND dialog) { Post(dialog, IDCANCEL); }),
          On(kLocationsTitle, [&](HWND dialog) {
              rows = Rows(dialog);
              Post(dialog, IDC_LOCATIONS_OK);
          })});
    UnhookWindowsHookEx(hook);
    g_openings = nullptr;

    EXPECT_EQ(before, static_cast<COLORREF>(65535));
    EXPECT_EQ(after, mixed);
    EXPECT_EQ(rows, (std::vector<std::string>{"Blue|C:\\Blue|" + std::to_string(mixed) + "|YYYY"}));
    EXPECT_EQ(Stored(1), "C:\\Blue;Blue;" + std::to_string(mixed) + ";Y;Y;Y;Y");
    ASSERT_EQ(openings.size(), 2u);
    EXPECT_EQ(openings[0].initial, static_cast<COLORREF>(65535));
    EXPECT_EQ(openings[0].custom, std::vector<COLORREF>(16, 0));
    // The second picker starts from the new location's yellow and still has the mixed colour.
    EXPECT_EQ(openings[1].initial, static_cast<COLORREF>(65535));
    EXPECT_EQ(std::count(openings[1].custom.begin(), openings[1].custom.end(), mixed), 1);
}

} // namespace

namespace
{

BOOL CALLBACK CollectAllStaticText(HWND hwnd, LPARAM param)
{
    CollectStaticText(hwnd, param);
    *reinterpret_cast<std::string*>(param) += "\n";
    return TRUE;
}

TEST_F(LocationsDialogTest, AboutShowsVersionHistoryAndNotice)
{
    std::string history;
    std::string statics;
    Script script;
    script.steps = {On("About Vantorel", [&](HWND dialog) {
        history = Text(dialog, IDC_ABOUT_HISTORY);
        EnumChildWindows(dialog, CollectAllStaticText, reinterpret_cast<LPARAM>(&statics));
        Post(dialog, IDOK);
    })};
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, Tick);
    ShowAboutDialog(App().mainWindow);
    KillTimer(nullptr, timer);
    g_script = nullptr;
    EXPECT_FALSE(script.timedOut);
    EXPECT_EQ(script.next, 1u);
    EXPECT_NE(statics.find("Vantorel Version 4.0"), std::string::npos);
    EXPECT_NE(statics.find("own risk"), std::string::npos);
    for (const char* change : {"Triplets", "Angle Range", "sorted", "gaussian, triplet and pulse", "3.03"})
        EXPECT_NE(history.find(change), std::string::npos) << change;
    EXPECT_NE(history.find("\r\n"), std::string::npos);
}

} // namespace
