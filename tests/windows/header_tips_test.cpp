// Column-title tooltips on a real owner-drawn report list: the tooltip window, its tools, the texts
// the header answers with, the tool areas after resizing, the relayed mouse and the clean-up.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/header_tips.h"
#include "kit/list_view.h"
#include "dialogs/locations_dialog.h"
#include "pages/analysis_page.h"
#include "pages/best_results_page.h"
#include "pages/completed_page.h"
#include "pages/data_info_page.h"
#include "pages/user_info_page.h"

namespace
{

constexpr char kMflops[] =
    "The number of Megaflops per second.\r\nOne Megaflop equals 1 million floating point operations.";
constexpr char kPulses[] =
    "A series of weak repeated pulses.  Power tells us how strong the pulses are relative to the baseline power "
    "calculated above. Period is a measure of how far apart the pulses are in seconds.  The score value for a "
    "pulse is the ratio of the pulse amplitude to this threshold value. A pulse with a score of greater than 1 "
    "will be reported when your screensaver client returns a result to Berkeley.";
constexpr char kGaussian[] =
    "A gaussian is a signal that is above the average noise and also gets stronger and then weaker in a "
    "\"gaussian\" fashion as the object passes through the telescope beam.  Power tells us how strong the signal "
    "is relative to the baseline power calculated above. Fit is a measure of how well the rising and falling "
    "signal fits an ideal gaussian (bell curve) profile. A lower \"fit\" number means a better fit.";
constexpr char kTriplets[] =
    "Triplets are three equally spaced pulses. The screensaver looks at every pair of pulses that are above a "
    "certain threshold power. The client then looks for a pulse precisely between the two pulses.";

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A top-level window holding an owner-drawn report list with the header painter, as the pages have.
class HeaderTips : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = FrameProc;
        frameClass.hInstance = GetModuleHandleA(nullptr);
        frameClass.lpszClassName = "HeaderTipsTestFrame";
        frameClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&frameClass);
        frame_ = CreateWindowExA(0, "HeaderTipsTestFrame", "Header tips", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900,
                                 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame_, nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, 0, 0, 880,
                                260, frame_, reinterpret_cast<HMENU>(1002), GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list_, nullptr);
        InstallHeaderPainter(list_);
    }

    void TearDown() override
    {
        if (IsWindow(frame_))
            DestroyWindow(frame_);
        Pump();
    }

    void MakeColumns(int count, int width = 60)
    {
        DeleteAllColumns(list_);
        for (int i = 0; i < count; ++i) {
            const std::string title = "Column " + std::to_string(i);
            MakeColumn(list_, i, title.c_str(), kAlignLeft);
            ListView_SetColumnWidth(list_, i, width + i);
        }
    }

    HWND Header() const { return ListView_GetHeader(list_); }

    // Sends the request the tooltip sends for one of its tools: to the tool's window, the header.
    NMTTDISPINFOA AskAnsi(int column) const
    {
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom = HeaderTipWindow(list_);
        request.hdr.idFrom = static_cast<UINT_PTR>(column);
        request.hdr.code = TTN_GETDISPINFOA;
        request.lpszText = request.szText;
        const LRESULT result =
            SendMessageA(Header(), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
        EXPECT_EQ(result, 0);
        return request;
    }

    std::wstring AskWide(int column) const
    {
        NMTTDISPINFOW request{};
        request.hdr.hwndFrom = HeaderTipWindow(list_);
        request.hdr.idFrom = static_cast<UINT_PTR>(column);
        request.hdr.code = TTN_GETDISPINFOW;
        request.lpszText = request.szText;
        SendMessageA(Header(), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
        EXPECT_EQ(request.szText[0], L'\0');
        return request.lpszText ? request.lpszText : L"<null>";
    }

    // The text the tooltip itself would show for a tool, through its own request to the header.
    std::wstring ShownText(int column) const
    {
        std::vector<wchar_t> buffer(1024, L'\0');
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = Header();
        tool.uId = static_cast<UINT_PTR>(column);
        tool.lpszText = buffer.data();
        SendMessageW(HeaderTipWindow(list_), TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
        return buffer.data();
    }

    std::vector<TTTOOLINFOA> Tools() const
    {
        std::vector<TTTOOLINFOA> tools;
        const HWND tooltip = HeaderTipWindow(list_);
        const int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        char text[80];
        for (int i = 0; i < count; ++i) {
            TTTOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            // Where the text goes; a callback tool reports LPSTR_TEXTCALLBACKA instead.
            tool.lpszText = text;
            if (SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)))
                tools.push_back(tool);
        }
        return tools;
    }

    void ExpectToolsCoverHeaderItems() const
    {
        RECT client{};
        GetClientRect(Header(), &client);
        const std::vector<TTTOOLINFOA> tools = Tools();
        ASSERT_EQ(static_cast<int>(tools.size()), ColumnCount(list_));
        for (const TTTOOLINFOA& tool : tools) {
            RECT item{};
            ASSERT_TRUE(Header_GetItemRect(Header(), static_cast<int>(tool.uId), &item));
            EXPECT_EQ(tool.rect.left, item.left) << "column " << tool.uId;
            EXPECT_EQ(tool.rect.right, item.right) << "column " << tool.uId;
            EXPECT_EQ(tool.rect.top, 0);
            EXPECT_EQ(tool.rect.bottom, client.bottom);
        }
    }

    HWND frame_ = nullptr;
    HWND list_ = nullptr;
};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

TEST_F(HeaderTips, OneTooltipPerListWithOneCallbackToolPerColumn)
{
    MakeColumns(9);
    const HWND tooltip = InstallHeaderTips(list_, kAnalysisTips);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(HeaderTipWindow(list_), tooltip);

    char className[64] = {};
    GetClassNameA(tooltip, className, sizeof className);
    EXPECT_STREQ(className, "tooltips_class32");
    EXPECT_NE(GetWindowLongPtrA(tooltip, GWL_STYLE) & TTS_ALWAYSTIP, 0);
    // A child window cannot own a popup: the system hands ownership to its top-level window.
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), GetAncestor(list_, GA_ROOT));

    std::vector<TTTOOLINFOA> tools = Tools();
    ASSERT_EQ(tools.size(), 9u);
    for (size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(tools[i].hwnd, Header());
        EXPECT_EQ(tools[i].uId, i);
        EXPECT_EQ(tools[i].uFlags, 0u);
        EXPECT_EQ(tools[i].lpszText, LPSTR_TEXTCALLBACKA);
    }

    // A second call, as the Completed tab makes on every load, keeps the one tooltip and its tools.
    EXPECT_EQ(InstallHeaderTips(list_, kAnalysisTips), tooltip);
    EXPECT_EQ(Tools().size(), 9u);
}

struct TipCase {
    const char* name;
    HeaderTipSource source;
    int columns;
    int column;
    std::string expected;
};

TEST_F(HeaderTips, AnswersEachRequestFromTheStringTable)
{
    const TipCase cases[] = {
        {"Analysis Mflops, two lines", kAnalysisTips, 9, 7, kMflops},
        {"Analysis Location", kAnalysisTips, 9, 0, "A shorter name for the folder\r\nwhere SETI@home is located"},
        {"Data Info Recorded On, bare \\r\\r", kDataInfoTips, 6, 2,
         "Date and time the work unit was recorded.\r\rNote the time is GMT (Greenwich Mean Time)"},
        {"Data Info Angle Range has none", kDataInfoTips, 6, 5, "No Tip"},
        {"User Info Register Time", kUserInfoTips, 7, 6, "When the user registered with SETI"},
        {"Locations Analysis", kLocationsTips, 7, 3, "Do you want this location to show up in the Analysis tab?"},
        {"Locations DataInfo has none", kLocationsTips, 7, 4, "No Tip"},
        {"Locations Completed has none", kLocationsTips, 7, 6, "No Tip"},
        {"Best Results Pulses", kBestResultsTips, 5, 3, kPulses},
        {"Best Results Gaussian", kBestResultsTips, 5, 4, kGaussian},
        {"Completed units Triplet", kCompletedTips, 12, 9, kTriplets},
        {"Completed units Pulses", kCompletedTips, 12, 10, kPulses},
        {"Completed units Gaussian, 401 characters", kCompletedTips, 12, 11, kGaussian},
        {"Completed units Date Logged", kCompletedTips, 12, 0, "Date the work unit was logged."},
        {"Completed column without a string is empty", kCompletedTips, 13, 12, ""},
        {"Completed totals Top Gaussian", kCompletedTips, 7, 6, "Top gaussian for location"},
        {"Completed totals Location", kCompletedTips, 7, 0, "Location"},
    };
    for (const TipCase& test : cases) {
        SCOPED_TRACE(test.name);
        TearDown();
        SetUp();
        MakeColumns(test.columns);
        ASSERT_NE(InstallHeaderTips(list_, test.source), nullptr);
        PlaceHeaderTips(list_);

        const NMTTDISPINFOA answer = AskAnsi(test.column);
        ASSERT_NE(answer.lpszText, nullptr);
        EXPECT_EQ(std::string(answer.lpszText), test.expected);
        EXPECT_EQ(std::string(answer.szText), test.expected.substr(0, 79));
        EXPECT_EQ(answer.hinst, GetModuleHandleA(nullptr));
        EXPECT_EQ(SendMessageA(HeaderTipWindow(list_), TTM_GETMAXTIPWIDTH, 0, 0), 400);

        EXPECT_EQ(AskWide(test.column), Wide(test.expected));
        EXPECT_EQ(ShownText(test.column), Wide(test.expected));
    }
}

TEST_F(HeaderTips, CompletedListPicksItsBaseByTheColumnsOfTheMoment)
{
    MakeColumns(12);
    ASSERT_NE(InstallHeaderTips(list_, kCompletedTips), nullptr);
    PlaceHeaderTips(list_);
    EXPECT_EQ(std::string(AskAnsi(6).lpszText), "Date and time the work unit was recorded");

    // Work-unit form to totals form: the tools follow the columns, none is left from column 9.
    MakeColumns(7);
    EXPECT_EQ(InstallHeaderTips(list_, kCompletedTips), HeaderTipWindow(list_));
    PlaceHeaderTips(list_);
    EXPECT_EQ(Tools().size(), 7u);
    EXPECT_EQ(std::string(AskAnsi(6).lpszText), "Top gaussian for location");
    EXPECT_EQ(ShownText(6), L"Top gaussian for location");
    EXPECT_EQ(std::string(AskAnsi(9).lpszText), "");
    ExpectToolsCoverHeaderItems();

    MakeColumns(12);
    PlaceHeaderTips(list_);
    EXPECT_EQ(Tools().size(), 12u);
    EXPECT_EQ(std::string(AskAnsi(6).lpszText), "Date and time the work unit was recorded");
    EXPECT_EQ(std::string(AskAnsi(9).lpszText), kTriplets);
}

TEST_F(HeaderTips, ToolAreasFollowTheColumnWidths)
{
    MakeColumns(9);
    ASSERT_NE(InstallHeaderTips(list_, kAnalysisTips), nullptr);
    // Before any layout every tool has the 1-pixel area it was added with.
    for (const TTTOOLINFOA& tool : Tools())
        EXPECT_EQ(tool.rect.right - tool.rect.left, 1);

    PlaceHeaderTips(list_);
    ExpectToolsCoverHeaderItems();

    ListView_SetColumnWidth(list_, 2, 150);
    ListView_SetColumnWidth(list_, 5, 20);
    PlaceHeaderTips(list_);
    ExpectToolsCoverHeaderItems();
    EXPECT_EQ(Tools()[3].rect.left, ListView_GetColumnWidth(list_, 0) + ListView_GetColumnWidth(list_, 1) + 150);
}

TEST_F(HeaderTips, DraggingADividerMovesTheAreasRightOfIt)
{
    MakeColumns(5);
    ASSERT_NE(InstallHeaderTips(list_, kDataInfoTips), nullptr);
    PlaceHeaderTips(list_);
    RECT item{};
    ASSERT_TRUE(Header_GetItemRect(Header(), 1, &item));
    const int oldWidth = item.right - item.left;
    const int y = (item.top + item.bottom) / 2;

    // The drag the user makes on the divider after column 1, with no layout call from outside.
    SendMessageA(Header(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right, y));
    SendMessageA(Header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.right + 40, y));
    SendMessageA(Header(), WM_LBUTTONUP, 0, MAKELPARAM(item.right + 40, y));

    ASSERT_EQ(ListView_GetColumnWidth(list_, 1), oldWidth + 40);
    ExpectToolsCoverHeaderItems();
    EXPECT_EQ(Tools()[4].rect.right, item.right + 40 + 62 + 63 + 64);
}

TEST_F(HeaderTips, MouseOverATitleShowsItsTip)
{
    MakeColumns(9);
    const HWND tooltip = InstallHeaderTips(list_, kAnalysisTips);
    ASSERT_NE(tooltip, nullptr);
    PlaceHeaderTips(list_);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
    SetForegroundWindow(frame_);
    UpdateWindow(frame_);

    RECT item{};
    ASSERT_TRUE(Header_GetItemRect(Header(), 7, &item));
    POINT point{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    POINT screen = point;
    ClientToScreen(Header(), &screen);
    SetCursorPos(screen.x, screen.y);
    // The header passes the mouse message on to the tooltip, which waits and then shows the tip.
    SendMessageA(Header(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(tooltip) && GetTickCount() - start < 3000) {
        Pump();
        Sleep(10);
    }
    ASSERT_TRUE(IsWindowVisible(tooltip));
    TTTOOLINFOA current{};
    current.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(SendMessageA(tooltip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.hwnd, Header());
    EXPECT_EQ(current.uId, 7u);
    // Two lines of a wrapped text: taller than one line of the tip's font.
    RECT shown{};
    GetWindowRect(tooltip, &shown);
    EXPECT_GT(shown.bottom - shown.top, 2 * 13);
}

TEST_F(HeaderTips, DestroyingTheListDestroysItsTooltip)
{
    MakeColumns(7);
    const HWND tooltip = InstallHeaderTips(list_, kLocationsTips);
    ASSERT_TRUE(IsWindow(tooltip));
    const HWND header = Header();
    DestroyWindow(list_);
    EXPECT_FALSE(IsWindow(list_));
    EXPECT_FALSE(IsWindow(header));
    EXPECT_FALSE(IsWindow(tooltip));
    // The frame, which owned the tooltip, is still there.
    EXPECT_TRUE(IsWindow(frame_));
}

} // namespace
