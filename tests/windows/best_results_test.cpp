// The Best Results page and its row painter: graph pixels, texts, sorting, row height and settings.
#include <gtest/gtest.h>

#include "control_input.h"
#include "dib_canvas.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "core/settings/value_names.h"
#include "kit/app_state.h"
#include "dialogs/sky_map.h"
#include "shell/page_table.h"
#include "pages/best_results_page.h"
#include "core/client/pot_decode.h"
#include "core/lists/list_row.h"

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(192, 192, 192);

// Column widths that make the graphs' arithmetic exact: the triplet 256 pixels wide inside its
// margins (one column per entry), the pulse 1024 (one per height in each copy), the gaussian 128
// (two per value); rows of 60 leave graphs 54 high.
constexpr int kWidths[] = {60, 60, 262, 1030, 134};
constexpr int kRowWidth = 60 + 60 + 262 + 1030 + 134;
constexpr int kRowHeight = 60;
constexpr RECT kPeakCell{60, 0, 120, kRowHeight};
constexpr RECT kTripletCell{120, 0, 382, kRowHeight};
constexpr RECT kPulseCell{382, 0, 1412, kRowHeight};
constexpr RECT kGaussianCell{1412, 0, 1546, kRowHeight};
constexpr int kTop = 3;     // the graph area's top
constexpr int kBottom = 57; // and bottom

void ResetSettings()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The graph area: the cell 3 pixels in from each side.
RECT GraphArea(const RECT& cell)
{
    return {cell.left + 3, cell.top + 3, cell.right - 3, cell.bottom - 3};
}

HexPot TripletPot(std::initializer_list<std::pair<int, const char*>> entries)
{
    std::string text(255 * 4, '0');
    for (const auto& [index, entry] : entries)
        text.replace(index * 4, 4, entry);
    return HexPotOfText(text);
}

class BestResultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        App().instance = GetModuleHandleA(nullptr);
        App().mainWindow = CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
        ASSERT_NE(App().mainWindow, nullptr);
    }
    void TearDown() override
    {
        if (page)
            DestroyWindow(page);
        DestroyWindow(App().mainWindow);
        App() = AppState();
        Sky() = SkyWindows();
        Tabs() = TabState();
        ResetSettings();
    }

    void CreatePage()
    {
        page = CreateBestResultsPage(App().mainWindow);
        ASSERT_NE(page, nullptr);
        Tabs().pages[kTabBestResults] = page;
        list = PageList(kTabBestResults);
        ASSERT_NE(list, nullptr);
        for (int column = 0; column < 5; ++column)
            ListView_SetColumnWidth(list, column, kWidths[column]);
    }
    void DestroyPage()
    {
        DestroyWindow(page);
        page = nullptr;
        list = nullptr;
    }
    static void StoreNumber(const char* name, DWORD value)
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        ASSERT_TRUE(store.WriteNumber(name, value));
    }
    static bool ReadNumber(const char* name, int& value)
    {
        SettingsStore store;
        return store.Open() && store.ReadNumber(name, value);
    }
    WorkUnitRow& AddRow(const char* name, const char* status = "stop")
    {
        rows.push_back(std::make_unique<WorkUnitRow>("C:\\seti", 9));
        WorkUnitRow& row = *rows.back();
        row.cells.SetCell(0, kTextCell, name);
        row.cells.SetCell(1, kTextCell, status);
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = ListView_GetItemCount(list);
        item.lParam = reinterpret_cast<LPARAM>(&row);
        EXPECT_GE(ListView_InsertItem(list, &item), 0);
        return row;
    }
    // Paints the row as the list asks its page to, into the canvas.
    void Paint(Canvas& canvas, const WorkUnitRow& row, UINT state = 0)
    {
        ASSERT_TRUE(canvas.Valid());
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_LISTVIEW;
        draw.CtlID = IDC_BEST_LIST;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = list;
        draw.hDC = canvas.Dc();
        draw.rcItem = {0, 0, kRowWidth, kRowHeight};
        draw.itemData = reinterpret_cast<ULONG_PTR>(&row);
        SendMessageA(page, WM_DRAWITEM, IDC_BEST_LIST, reinterpret_cast<LPARAM>(&draw));
        if (const char* folder = std::getenv("VANTOREL_SHOT_DIR"))
            canvas.SaveBitmap(std::string(folder) + "\\" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp");
    }
    void ClickColumn(int column) { ::ClickColumn(list, column); }
    std::string Order() const
    {
        std::string names;
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            LVITEMA item{};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            ListView_GetItem(list, &item);
            names += reinterpret_cast<const WorkUnitRow*>(item.lParam)->cells.Text(0);
            names += ' ';
        }
        return names;
    }
    int ItemHeight() const
    {
        RECT rect{};
        EXPECT_TRUE(ListView_GetItemRect(list, 0, &rect, LVIR_BOUNDS));
        return rect.bottom - rect.top;
    }
    int SliderPosition() const
    {
        return static_cast<int>(SendDlgItemMessageA(page, IDC_BEST_ROW_HEIGHT, TBM_GETPOS, 0, 0));
    }
    std::string Label() const
    {
        char text[64] = {};
        GetDlgItemTextA(page, IDC_BEST_ROW_LABEL, text, sizeof text);
        return text;
    }
    void MoveSlider(int position)
    {
        const HWND slider = GetDlgItem(page, IDC_BEST_ROW_HEIGHT);
        SendMessageA(slider, TBM_SETPOS, TRUE, position);
        SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    }
    void ClickShowText(bool checked)
    {
        CheckDlgButton(page, IDC_BEST_SHOW_TEXT, checked ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BEST_SHOW_TEXT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_BEST_SHOW_TEXT)));
    }
    static COLORREF TextColour() { return GetSysColor(COLOR_HIGHLIGHTTEXT); }

    HWND page = nullptr;
    HWND list = nullptr;
    std::vector<std::unique_ptr<WorkUnitRow>> rows;
};

TEST_F(BestResultsTest, TripletBarsAndMarks)
{
    StoreNumber(kValueShowGraphText, 0);
    CreatePage();
    WorkUnitRow& row = AddRow("Home");
    row.best.tripletScore = 1.5;
    // Entry 0 is 44 high (the tallest: one pixel per unit), entry 1 has count 0, entry 2 count 3
    // and entry 100 count 1; the marks stand on entries 1, 2 and 100.
    row.best.tripletPot = TripletPot({{0, "012c"}, {1, "0010"}, {2, "0308"}, {100, "0120"}});
    row.best.tripletPotIndex[0][0] = 1;
    row.best.tripletPotIndex[1][0] = 2;
    row.best.tripletPotIndex[2][0] = 100;
    Canvas canvas(kRowWidth, kRowHeight);
    Paint(canvas, row);

    const int L = kTripletCell.left + 3;
    const struct {
        int x;
        int y;
        COLORREF colour;
    } pixels[] = {
        {L, kBottom, kRed},
        {L, kBottom - 43, kRed},
        {L, kBottom - 44, kBlack},
        {L, kTop, kGreen},
        {L, kTop + 9, kGreen},
        {L, kTop + 10, kBlack}, // count 0: mark before it
        {L + 1, kBottom - 7, kRed},
        {L + 1, kBottom - 8, kBlack},
        {L + 1, kTop, kBlack},
        {L + 2, kBottom - 7, kRed},
        {L + 2, kTop, kGreen},
        {L + 2, kTop + 9, kGreen}, // count 3: its own
        {L + 50, kBottom, kBlack},
        {L + 98, kTop, kBlack},
        {L + 99, kBottom - 31, kRed},
        {L + 99, kBottom - 32, kBlack},
        {L + 99, kTop, kGreen}, // count 1
        {L + 100, kBottom, kBlack},
        {L + 100, kTop, kBlack},
        {kTripletCell.left, kTop, kBlack},   // the margin
        {kTripletCell.right - 1, 20, kGrey}, // cell grid
        {200, kRowHeight - 1, kGrey},        // row grid
    };
    for (const auto& p : pixels)
        EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << p.x - L << ", " << p.y;
    EXPECT_EQ(canvas.Count(GraphArea(kTripletCell), kGreen), 30);
    EXPECT_EQ(canvas.Count(GraphArea(kTripletCell), TextColour()), 0);
}

TEST_F(BestResultsTest, PulseOfEqualHeightsDrawsTwoFlatLinesAtTheTop)
{
    CreatePage();
    WorkUnitRow& row = AddRow("Home");
    row.best.pulsePower = 2.5;
    row.best.pulseScore = 1;
    row.best.pulseFftLength = 8;
    row.best.pulsePot = HexPot(kHexPotBytes, 0x88);
    Canvas canvas(kRowWidth, kRowHeight);
    Paint(canvas, row);

    const int L = kPulseCell.left + 3;
    for (const int x : {L, L + 300, L + 511, L + 512, L + 700, L + 1022})
        EXPECT_EQ(canvas.At(x, kTop), kRed) << x - L;
    EXPECT_EQ(canvas.At(L + 1023, kTop), kBlack); // the line's end point is not painted
    EXPECT_EQ(canvas.At(L, kBottom), kRed);       // the line starts at the bottom left
    for (const int x : {L + 300, L + 700, L + 1000}) {
        EXPECT_EQ(canvas.At(x, kTop + 1), kBlack) << x - L;
        EXPECT_EQ(canvas.At(x, kBottom), kBlack) << x - L;
    }
    // The text lines still show.
    EXPECT_GT(canvas.Count(GraphArea(kPulseCell), TextColour()), 20);
}

TEST_F(BestResultsTest, GaussianStepsAndFittedCurve)
{
    StoreNumber(kValueShowGraphText, 0);
    CreatePage();
    WorkUnitRow& row = AddRow("Home");
    row.best.gaussianPower = 20;
    row.best.gaussianChiSquare = 2;
    row.best.gaussianFftIndex = 32;
    row.best.gaussianSigma = 4;
    row.best.gaussianTrueMean = 10;
    for (int j = 0; j < 64; ++j)
        row.best.gaussianPot += (j == 10 ? "54" : "27") + std::string(1, '\x01');
    Canvas canvas(kRowWidth, kRowHeight);
    Paint(canvas, row);

    const int L = kGaussianCell.left + 3;
    const struct {
        int x;
        int y;
        COLORREF colour;
    } pixels[] = {
        {L, kBottom - 10, kWhite},       // the leading segment starts at the area's left edge
        {L + 2, kBottom - 10, kWhite},   // P0: the mean, 10
        {L + 66, kBottom - 30, kWhite},  // P32: power + mean
        {L + 74, kBottom - 22, kWhite},  // P36: one sigma off, 20 e^-0.5 + 10
        {L + 129, kBottom - 10, kWhite}, // the trailing segment runs past the area's right edge
        {L + 5, kBottom - 27, kRed},     // the step line at 27
        {L + 21, kTop, kRed},            // and the one value of 54
        {L + 22, kTop, kRed},
        {L + 23, kTop, kRed}, // where the line turns down again
        {L + 24, kTop, kBlack},
        {L + 40, kBottom - 26, kBlack},
        {kGaussianCell.right - 1, 20, kGrey},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << p.x - L << ", " << p.y;
}

TEST_F(BestResultsTest, SignalsNotThereLeavePlainBlackCellsAndPeakZero)
{
    CreatePage();
    WorkUnitRow& row = AddRow("Home");
    row.best.tripletPot = TripletPot({{0, "01ff"}});
    row.best.tripletPower = 3;
    row.best.pulsePot = HexPot(kHexPotBytes, 0xff);
    row.best.gaussianPot = "5\x01";
    row.best.gaussianChiSquare = 1;
    Canvas canvas(kRowWidth, kRowHeight);
    Paint(canvas, row);

    for (const RECT& cell : {kTripletCell, kPulseCell}) {
        const RECT inside{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
        EXPECT_EQ(canvas.Count(inside, kBlack), (inside.right - inside.left) * (inside.bottom - inside.top));
        EXPECT_EQ(canvas.At(cell.right - 1, 10), kGrey);
    }
    // The gaussian draws no grid lines of its own when it is not there.
    const RECT gaussian{kGaussianCell.left, 0, kGaussianCell.right, kRowHeight - 1};
    EXPECT_EQ(canvas.Count(gaussian, kBlack), (gaussian.right - gaussian.left) * (gaussian.bottom - gaussian.top));

    // The Peak shows "0.00", exactly as the list's font writes it right-aligned in the cell.
    Canvas expected(kRowWidth, kRowHeight);
    {
        const SelectedObject font(expected.Dc(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        SetTextColor(expected.Dc(), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(expected.Dc(), GetSysColor(COLOR_WINDOW));
        SetTextAlign(expected.Dc(), TA_RIGHT);
        ExtTextOutA(expected.Dc(), kPeakCell.right - 2, 1, ETO_OPAQUE | ETO_CLIPPED, &kPeakCell, "0.00", 4, nullptr);
    }
    int differing = 0;
    for (int y = 0; y < kRowHeight - 1; ++y)
        for (int x = kPeakCell.left; x < kPeakCell.right - 1; ++x)
            differing += canvas.At(x, y) != expected.At(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(canvas.Count(kPeakCell, GetSysColor(COLOR_WINDOWTEXT)), 5);

    // Without a status text the Peak is not painted at all.
    WorkUnitRow& blank = AddRow("Away", "");
    Canvas unpainted(kRowWidth, kRowHeight);
    Paint(unpainted, blank);
    EXPECT_EQ(unpainted.At(kPeakCell.right - 10, 8), kUntouched);
    EXPECT_EQ(unpainted.Count({kPeakCell.left, 0, kPeakCell.right - 1, kRowHeight - 1}, kUntouched),
              (kPeakCell.right - 1 - kPeakCell.left) * (kRowHeight - 1));
}

TEST_F(BestResultsTest, ShowTextBoxTurnsTheFiguresOffButNotThePeak)
{
    CreatePage();
    WorkUnitRow& row = AddRow("Home");
    row.best.spikePower = 12.5;
    row.best.tripletScore = 1;
    row.best.tripletPot = TripletPot({{0, "0101"}});
    row.best.pulsePower = 1;
    row.best.pulsePot = HexPot(kHexPotBytes, 0x11);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_BEST_SHOW_TEXT), BST_CHECKED);

    Canvas shown(kRowWidth, kRowHeight);
    Paint(shown, row);
    EXPECT_GT(shown.Count(GraphArea(kTripletCell), TextColour()), 20);
    EXPECT_GT(shown.Count(GraphArea(kPulseCell), TextColour()), 20);

    ClickShowText(false);
    int stored = -1;
    EXPECT_TRUE(ReadNumber(kValueShowGraphText, stored));
    EXPECT_EQ(stored, 0);
    Canvas hidden(kRowWidth, kRowHeight);
    Paint(hidden, row);
    EXPECT_EQ(hidden.Count(GraphArea(kTripletCell), TextColour()), 0);
    EXPECT_EQ(hidden.Count(GraphArea(kPulseCell), TextColour()), 0);
    EXPECT_EQ(hidden.Count(kPeakCell, GetSysColor(COLOR_WINDOWTEXT)),
              shown.Count(kPeakCell, GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(BestResultsTest, StoredShowTextOfTwoShowsTextWithTheBoxClear)
{
    StoreNumber(kValueShowGraphText, 2);
    CreatePage();
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_BEST_SHOW_TEXT), BST_UNCHECKED);
    WorkUnitRow& row = AddRow("Home");
    row.best.pulsePower = 1;
    Canvas canvas(kRowWidth, kRowHeight);
    Paint(canvas, row);
    EXPECT_GT(canvas.Count(GraphArea(kPulseCell), TextColour()), 20);
}

TEST_F(BestResultsTest, PeakSortsByNumberBothWays)
{
    CreatePage();
    Tabs().currentTab = kTabBestResults;
    AddRow("Bravo").best.spikePower = 12.5;
    AddRow("Alpha").best.spikePower = 100;
    AddRow("Charlie").best.spikePower = 9;
    AddRow("Delta").best.spikePower = 0.25;
    ClickColumn(1);
    EXPECT_EQ(Order(), "Delta Charlie Bravo Alpha ");
    ClickColumn(1);
    EXPECT_EQ(Order(), "Alpha Bravo Charlie Delta ");
    ClickColumn(0); // another column sorts ascending, by the short name
    EXPECT_EQ(Order(), "Alpha Bravo Charlie Delta ");
    ClickColumn(0);
    EXPECT_EQ(Order(), "Delta Charlie Bravo Alpha ");
}

TEST_F(BestResultsTest, StoredRowHeightBeyondTheSliderIsKeptUntilItMoves)
{
    StoreNumber(kValueBestRowHeight, 120);
    CreatePage();
    AddRow("Home");
    EXPECT_EQ(ItemHeight(), 120);
    EXPECT_EQ(SliderPosition(), 100);
    EXPECT_EQ(Label(), "Row height 120");

    MoveSlider(40);
    EXPECT_EQ(ItemHeight(), 40);
    EXPECT_EQ(Label(), "Row height 40");
    MoveSlider(40); // the same position again changes nothing
    EXPECT_EQ(ItemHeight(), 40);

    DestroyPage();
    int stored = 0;
    EXPECT_TRUE(ReadNumber(kValueBestRowHeight, stored));
    EXPECT_EQ(stored, 40);
    std::string widths;
    SettingsStore store;
    ASSERT_TRUE(store.Open());
    EXPECT_TRUE(store.ReadString(kValueBestColumnWidths, widths));
    EXPECT_FALSE(widths.empty());
}

TEST_F(BestResultsTest, FirstStartMeasuresTheFontAndChecksShowText)
{
    CreatePage();
    AddRow("Home");
    TEXTMETRICA metrics{};
    {
        const WindowDc dc(list);
        const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc.get(), &metrics);
    }
    const int expected = std::max(static_cast<int>(metrics.tmHeight) + 1, 17);
    EXPECT_EQ(ItemHeight(), expected);
    EXPECT_EQ(SliderPosition(), expected);
    EXPECT_EQ(Label(), "Row height " + std::to_string(expected));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_BEST_SHOW_TEXT), BST_CHECKED);
}

TEST_F(BestResultsTest, UnusableStoredRowHeightIsMeasuredInstead)
{
    StoreNumber(kValueBestRowHeight, 0);
    CreatePage();
    AddRow("Home");
    EXPECT_GE(ItemHeight(), 17);
    EXPECT_GE(SliderPosition(), 17);
}

} // namespace
