// Window placements and column widths against the real registry and real windows under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/common/status_sink.h"
#include "core/settings/layout_text.h"
#include "platform/settings_store.h"
#include "platform/window_layout.h"

namespace
{

constexpr char kClassName[] = "VantorelLayoutTest";
constexpr char kTestValue[] = "Sky Window Position";
constexpr RECT kCreated = {50, 60, 350, 260};

void ResetKeys()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

void Store(const char* name, const std::string& text)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.WriteString(name, text));
}

void StoreNumber(const char* name, DWORD number)
{
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.WriteNumber(name, number));
}

std::string Stored(const char* name)
{
    SettingsStore store;
    std::string text = "(missing)";
    if (!store.Open() || !store.ReadString(name, text, kWidthsTextCapacity))
        return "(missing)";
    return text;
}

// Destroys a window when the test leaves its scope, whatever assertion failed first.
class WindowGuard
{
public:
    explicit WindowGuard(HWND hwnd) : hwnd_(hwnd) {}
    WindowGuard(const WindowGuard&) = delete;
    WindowGuard& operator=(const WindowGuard&) = delete;
    ~WindowGuard()
    {
        if (hwnd_ != nullptr)
            DestroyWindow(hwnd_);
    }
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// A hidden top-level window at kCreated, standing for a window fresh from its template.
HWND CreateTopLevel()
{
    static const ATOM registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassA(&wc);
    }();
    if (registered == 0)
        return nullptr;
    return CreateWindowExA(0, kClassName, "layout", WS_OVERLAPPEDWINDOW, kCreated.left, kCreated.top,
                           kCreated.right - kCreated.left, kCreated.bottom - kCreated.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

WINDOWPLACEMENT PlacementOf(HWND hwnd)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    EXPECT_TRUE(GetWindowPlacement(hwnd, &wp));
    return wp;
}

std::string NormalRect(HWND hwnd)
{
    const RECT r = PlacementOf(hwnd).rcNormalPosition;
    return Format("%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
}

// Takes the SC_MINIMIZE request off the queue, if one was posted to the window.
bool TakeMinimizeRequest(HWND hwnd)
{
    MSG msg;
    bool found = false;
    while (PeekMessageA(&msg, hwnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE))
        found = found || (msg.wParam & 0xFFF0) == SC_MINIMIZE;
    return found;
}

// Under Wine without a window manager, destroying a window that was shown on the screen waits
// about two seconds for the X server; the cases are chosen with that in mind.
class WindowLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetKeys(); }
    void TearDown() override { ResetKeys(); }
};

TEST_F(WindowLayoutTest, PlacementComesBackWhereItWasSaved)
{
    WindowGuard window(CreateTopLevel());
    ASSERT_NE(window.get(), nullptr);
    MoveWindow(window.get(), 40, 30, 320, 240, FALSE);
    ShowWindow(window.get(), SW_SHOWNORMAL);
    const std::string saved = NormalRect(window.get());
    EXPECT_EQ(saved, "40,30,360,270");
    ASSERT_TRUE(SavePlacement(window.get(), kTestValue));
    const std::optional<Placement> text = ParsePlacement(Stored(kTestValue));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(Format("%d,%d,%d,%d", text->left, text->top, text->right, text->bottom), saved);
    EXPECT_EQ(text->showCommand, 1u);

    MoveWindow(window.get(), 500, 400, 200, 150, FALSE);
    RestorePlacement(window.get(), kTestValue, false, SW_SHOWNORMAL);
    EXPECT_EQ(NormalRect(window.get()), saved);
    EXPECT_TRUE(IsWindowVisible(window.get()));
    EXPECT_FALSE(IsIconic(window.get()));
}

TEST_F(WindowLayoutTest, WithoutAUsableTextTheWindowIsShownByTheStartupCommand)
{
    const struct {
        const char* text; // nullptr: nothing stored
        bool main;
        int startup;
        bool iconic;
        bool zoomed;
    } cases[] = {
        {nullptr, false, SW_SHOWMAXIMIZED, false, false},
        {nullptr, true, SW_SHOWMAXIMIZED, false, true},
        {nullptr, true, SW_SHOWMINIMIZED, true, false},
        {"0,1,-1,-1,-1,-1,100,80,500,x", false, SW_SHOWNORMAL, false, false}, // not ten numbers
        {"0,1,-1,-1,-1,-1,100,80,500", true, SW_SHOWMINIMIZED, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.text ? c.text : "(missing)") << " main=" << c.main
                                        << " startup=" << c.startup);
        ResetKeys();
        if (c.text)
            Store(kTestValue, c.text);
        WindowGuard window(CreateTopLevel());
        ASSERT_NE(window.get(), nullptr);
        RestorePlacement(window.get(), kTestValue, c.main, c.startup);
        EXPECT_TRUE(IsWindowVisible(window.get()));
        EXPECT_EQ(IsIconic(window.get()) != FALSE, c.iconic);
        EXPECT_EQ(IsZoomed(window.get()) != FALSE, c.zoomed);
        EXPECT_EQ(NormalRect(window.get()), "50,60,350,260");
    }
}

TEST_F(WindowLayoutTest, MainWindowWeighsTheStoredPlacementAgainstStartupTrayAndScreen)
{
    const std::string farRight = Format("0,1,-1,-1,-1,-1,%d,80,%d,380", GetSystemMetrics(SM_CXSCREEN) + 100,
                                        GetSystemMetrics(SM_CXSCREEN) + 500);
    const std::string farDown =
        Format("0,1,-1,-1,-1,-1,100,%d,500,%d", GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CYSCREEN) + 300);
    const std::string minimised = "0,2,-32000,-32000,-1,-1,100,80,500,380";
    const struct {
        std::string text;
        int tray; // "Minimize To Taskbar", -1 when missing
        int startup;
        bool visible;
        bool iconic;
        bool trayRequested;
        const char* normalRect;
    } cases[] = {
        // Left minimised: hidden and asked to go to the notification area, or simply minimised.
        {minimised, 1, SW_SHOWNORMAL, false, false, true, "100,80,500,380"},
        {minimised, 0, SW_SHOWNORMAL, true, true, false, "100,80,500,380"},
        // Started minimised while the stored window was normal: minimised at the stored place.
        {"0,1,-1,-1,-1,-1,100,80,500,380", -1, SW_SHOWMINNOACTIVE, true, true, false, "100,80,500,380"},
        // Off the screen: the stored place is ignored and the window stays where it was created.
        {farRight, -1, SW_SHOWNORMAL, true, false, false, "50,60,350,260"},
        {farDown, -1, SW_SHOWNORMAL, true, false, false, "50,60,350,260"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " tray=" << c.tray << " startup=" << c.startup);
        ResetKeys();
        Store(kValueWindowPosition, c.text);
        if (c.tray >= 0)
            StoreNumber(kValueMinimizeToTaskbar, static_cast<DWORD>(c.tray));
        WindowGuard window(CreateTopLevel());
        ASSERT_NE(window.get(), nullptr);
        RestorePlacement(window.get(), kValueWindowPosition, true, c.startup);
        EXPECT_EQ(IsWindowVisible(window.get()) != FALSE, c.visible);
        EXPECT_EQ(IsIconic(window.get()) != FALSE, c.iconic);
        EXPECT_EQ(TakeMinimizeRequest(window.get()), c.trayRequested);
        EXPECT_EQ(NormalRect(window.get()), c.normalRect);
    }
}

// A report list of four columns, each 80 wide, in a visible parent window.
class ListFixture : public WindowLayoutTest
{
protected:
    void SetUp() override
    {
        WindowLayoutTest::SetUp();
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        parent_ = CreateTopLevel();
        ASSERT_NE(parent_, nullptr);
        ShowWindow(parent_, SW_SHOWNORMAL);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 280, 180, parent_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list_, nullptr);
        for (int column = 0; column < 4; ++column) {
            char title[] = "Column";
            LVCOLUMNA lvc{};
            lvc.mask = LVCF_TEXT | LVCF_WIDTH;
            lvc.pszText = title;
            lvc.cx = 80;
            ASSERT_EQ(SendMessageA(list_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc)), column);
        }
        sized_.clear();
    }
    void TearDown() override
    {
        if (parent_ != nullptr)
            DestroyWindow(parent_); // takes the list with it
        WindowLayoutTest::TearDown();
    }

    std::vector<int> Widths() const
    {
        std::vector<int> widths;
        for (int column = 0; column < 4; ++column)
            widths.push_back(static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0)));
        return widths;
    }

    static void RecordSizing(HWND list) { sized_.push_back(list); }

    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    static std::vector<HWND> sized_;
};

std::vector<HWND> ListFixture::sized_;

using ColumnWidthsTest = ListFixture;

TEST_F(ColumnWidthsTest, StoredWidthsAreSetAndTheRestGet50)
{
    const struct {
        const char* text;
        std::vector<int> widths;
    } cases[] = {
        {"100,50", {100, 50, 50, 50}},
        {"70000,10,20,30,40", {4464, 10, 20, 30}},
        {"120,,-5,33", {120, 50, 50, 33}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Store(kValueAnalysisColumnWidths, c.text);
        RestoreColumnWidths(list_, kValueAnalysisColumnWidths, RecordSizing);
        EXPECT_EQ(Widths(), c.widths);
        EXPECT_TRUE(sized_.empty());
        // Redrawing is back on: a list or header left with it off loses its visible state.
        EXPECT_TRUE(IsWindowVisible(list_));
        EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0))));
    }
}

TEST_F(ColumnWidthsTest, MissingValueSizesTheColumnsToTheirContents)
{
    RestoreColumnWidths(list_, kValueBestColumnWidths, RecordSizing);
    EXPECT_EQ(sized_, std::vector<HWND>{list_});
    EXPECT_EQ(Widths(), (std::vector<int>{80, 80, 80, 80}));
    // Without a callback nothing happens to the widths.
    RestoreColumnWidths(list_, kValueBestColumnWidths, nullptr);
    EXPECT_EQ(Widths(), (std::vector<int>{80, 80, 80, 80}));
}

TEST_F(ColumnWidthsTest, SaveWritesTheWidthsAndTheyComeBack)
{
    const int set[] = {120, 60, 0, 80};
    for (int column = 0; column < 4; ++column)
        SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(set[column], 0));
    ASSERT_TRUE(SaveColumnWidths(list_, kValueDataInfoColumnWidths));
    EXPECT_EQ(Stored(kValueDataInfoColumnWidths), "120,60,0,80");

    for (int column = 0; column < 4; ++column)
        SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(33, 0));
    RestoreColumnWidths(list_, kValueDataInfoColumnWidths, RecordSizing);
    EXPECT_EQ(Widths(), (std::vector<int>{120, 60, 0, 80}));
    EXPECT_TRUE(sized_.empty());
}

} // namespace
