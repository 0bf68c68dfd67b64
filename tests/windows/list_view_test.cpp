// Pixels and behaviour of the shared list machinery and the Analysis rows: header triangle, icons, grid.
#include <gtest/gtest.h>

#include "core/analysis/analysis.h"
#include "dib_canvas.h"
#include "page_fixture.h"
#include "pages/analysis_page.h"
#include "kit/list_view.h"

namespace
{

constexpr int kColumnWidth = 60;
constexpr int kRowHeight = 17;
constexpr COLORREF kGrid = RGB(192, 192, 192);

class ListViewTest : public PageFixture
{
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        page = AddPage(kTabAnalysis, CreateAnalysisPage);
        list = PageList(kTabAnalysis);
        ASSERT_NE(list, nullptr);
        for (int column = 0; column < kAnalysisCellCount; ++column)
            ListView_SetColumnWidth(list, column, kColumnWidth);
    }

    WorkUnitRow* AddRow(const char* name, const char* status)
    {
        auto* row = new WorkUnitRow("C:\\none", kAnalysisCellCount);
        InitAnalysisRow(*row, name);
        row->cells.ReplaceCell(kCellStatus, status);
        row->cells.ReplaceCell(kCellPercent, "25.000");
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = ListView_GetItemCount(list);
        item.lParam = reinterpret_cast<LPARAM>(row);
        EXPECT_GE(ListView_InsertItem(list, &item), 0); // the list owns it from here
        return row;
    }

    void PaintRow(Canvas& canvas, const WorkUnitRow* row, UINT state = 0)
    {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_LISTVIEW;
        draw.CtlID = IDC_ANALYSIS_LIST;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = list;
        draw.hDC = canvas.Dc();
        draw.rcItem = {0, 0, kColumnWidth * kAnalysisCellCount, kRowHeight};
        draw.itemData = reinterpret_cast<ULONG_PTR>(row);
        SendMessageA(page, WM_DRAWITEM, IDC_ANALYSIS_LIST, reinterpret_cast<LPARAM>(&draw));
    }

    void PaintHeader(Canvas& canvas, int column, const RECT& rect)
    {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_HEADER;
        draw.itemID = static_cast<UINT>(column);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = ListView_GetHeader(list);
        draw.hDC = canvas.Dc();
        draw.rcItem = rect;
        SendMessageA(list, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }

    HWND page = nullptr;
    HWND list = nullptr;
};

int CountMatching(const Canvas& canvas, const RECT& area, bool (*match)(COLORREF))
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += match(canvas.At(x, y));
    return count;
}

bool IsRed(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) < 80 && GetBValue(c) < 80;
}

bool IsBlue(COLORREF c)
{
    return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 150;
}

TEST_F(ListViewTest, StatusIconsChosenByTheStatusText)
{
    // The status cell spans 60..120; the 30-pixel icon sits centred at its top.
    const RECT icon{kColumnWidth + 15, 0, kColumnWidth + 45, 16};
    const struct {
        const char* status;
        bool red;
        bool blue;
    } cases[] = {{"stop", true, false}, {"notvaild", false, true}, {"Err53", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Canvas canvas(kColumnWidth * kAnalysisCellCount, kRowHeight);
        PaintRow(canvas, AddRow("Home", c.status));
        EXPECT_EQ(CountMatching(canvas, icon, IsRed) > 20, c.red);
        EXPECT_EQ(CountMatching(canvas, icon, IsBlue) > 10, c.blue);
        // The rest of the status cell is filled with the window colour.
        EXPECT_EQ(canvas.At(kColumnWidth + 2, 10), GetSysColor(COLOR_WINDOW));
    }
}

TEST_F(ListViewTest, GridLinesAtEachDrawnCellAndAlongTheBottom)
{
    Canvas canvas(kColumnWidth * kAnalysisCellCount, kRowHeight);
    PaintRow(canvas, AddRow("Home", "run"));
    for (int column = 1; column < kAnalysisCellCount; ++column) {
        const int x = column * kColumnWidth - 1; // one pixel left of the cell's left edge
        EXPECT_EQ(canvas.At(x, 3), kGrid) << column;
        EXPECT_EQ(canvas.At(x, 12), kGrid) << column;
    }
    EXPECT_EQ(canvas.At(30, kRowHeight - 1), kGrid);
    EXPECT_EQ(canvas.At(400, kRowHeight - 1), kGrid);
    // Blank cells (" ") are drawn, text cells too: no untouched pixel remains in the text cells.
    EXPECT_EQ(canvas.Count({2 * kColumnWidth, 0, 3 * kColumnWidth - 1, kRowHeight - 1}, kUntouched), 0);
}

TEST_F(ListViewTest, SelectedRowUsesHighlightAndKeepsItsIcon)
{
    Canvas plain(kColumnWidth * kAnalysisCellCount, kRowHeight);
    Canvas selected(kColumnWidth * kAnalysisCellCount, kRowHeight);
    const WorkUnitRow* row = AddRow("Home", "stop");
    PaintRow(plain, row);
    PaintRow(selected, row, ODS_SELECTED);
    EXPECT_EQ(selected.At(kColumnWidth + 2, 10), GetSysColor(COLOR_HIGHLIGHT));
    const RECT icon{kColumnWidth + 15, 0, kColumnWidth + 45, 16};
    int differing = 0;
    for (int y = icon.top; y < icon.bottom; ++y)
        for (int x = icon.left; x < icon.right; ++x)
            differing += plain.At(x, y) != selected.At(x, y);
    EXPECT_GT(differing, 20);                                                                    // blended
    EXPECT_GT(CountMatching(selected, icon, [](COLORREF c) { return GetRValue(c) > 120; }), 10); // still visible
}

TEST_F(ListViewTest, OnlyTheColumnsInTheClipBoxArePainted)
{
    Canvas canvas(kColumnWidth * kAnalysisCellCount, kRowHeight);
    const HRGN clip = CreateRectRgn(2 * kColumnWidth + 5, 0, 3 * kColumnWidth - 5, kRowHeight);
    SelectClipRgn(canvas.Dc(), clip);
    DeleteObject(clip);
    PaintRow(canvas, AddRow("Home", "run"));
    SelectClipRgn(canvas.Dc(), nullptr);
    EXPECT_EQ(canvas.Count({0, 0, 2 * kColumnWidth, kRowHeight}, kUntouched), 2 * kColumnWidth * kRowHeight);
    EXPECT_LT(canvas.Count({2 * kColumnWidth + 5, 0, 3 * kColumnWidth - 5, kRowHeight}, kUntouched), 50);
}

// A paint of the list takes its columns once for all its rows; the next paint sees a column
// widened since.
TEST_F(ListViewTest, EachPaintOfTheListSeesTheColumnsAsTheyAreThen)
{
    AddRow("Home", "run");
    AddRow("Attic", "run");
    for (const int width : {kColumnWidth, kColumnWidth + 23}) {
        SCOPED_TRACE(width);
        ListView_SetColumnWidth(list, 1, width);
        RECT client{};
        GetClientRect(list, &client);
        Canvas canvas(client.right, client.bottom);
        SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
        // The grid lines left of the first and the third column, in both rows.
        for (const int index : {0, 1}) {
            RECT row{};
            ListView_GetItemRect(list, index, &row, LVIR_BOUNDS);
            const int y = row.top + 3;
            int first = row.left;
            while (first < row.left + 10 && canvas.At(first, y) != kGrid)
                ++first;
            EXPECT_EQ(canvas.At(first + kColumnWidth + width, y), kGrid) << index;
        }
    }
}

TEST_F(ListViewTest, HeaderTriangleFollowsTheSortDirection)
{
    const RECT rect{0, 0, 120, 18};
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    Canvas measure(10, 10);
    SIZE title{};
    GetTextExtentPoint32A(measure.Dc(), "Location", 8, &title);
    const int x = rect.left + title.cx + 10;
    const int y = rect.top + 3;

    // Column 0 is the sorted column from the start, ascending: a triangle pointing up.
    Canvas up(120, 18);
    PaintHeader(up, 0, rect);
    EXPECT_EQ(up.At(x, y), light);         // apex
    EXPECT_EQ(up.At(x + 2, y + 4), light); // right side
    EXPECT_EQ(up.At(x, y + 8), light);     // base
    EXPECT_EQ(up.At(x - 2, y + 4), dark);  // left side, drawn back up to the apex
    EXPECT_EQ(up.At(rect.right - 3, 2), GetSysColor(COLOR_BTNFACE));

    SortOnColumnClick(list, 0); // the first click on column 0 inverts it: descending
    Canvas down(120, 18);
    PaintHeader(down, 0, rect);
    EXPECT_EQ(down.At(x, y), dark);          // the top edge
    EXPECT_EQ(down.At(x - 2, y + 4), dark);  // left side down to the point
    EXPECT_EQ(down.At(x + 2, y + 4), light); // right side
    EXPECT_EQ(down.At(x + 3, y), dark);      // the top edge runs right of the centre too

    // Another column is not marked.
    Canvas other(120, 18);
    PaintHeader(other, 3, rect);
    EXPECT_EQ(other.Count(rect, light) + other.Count(rect, dark), 0);
}

TEST_F(ListViewTest, DividerDoubleClickIsSwallowed)
{
    NMHEADERA notify{};
    notify.hdr.hwndFrom = ListView_GetHeader(list);
    notify.hdr.code = HDN_DIVIDERDBLCLICKA;
    notify.iItem = 2;
    EXPECT_EQ(SendMessageA(list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)), 0);
    EXPECT_EQ(ListView_GetColumnWidth(list, 2), kColumnWidth);
}

TEST_F(ListViewTest, SizingMeasuresTitlesAndCells)
{
    Canvas measure(10, 10);
    const HGDIOBJ old = SelectObject(measure.Dc(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    const auto width = [&](const char* text) {
        SIZE size{};
        GetTextExtentPoint32A(measure.Dc(), text, lstrlenA(text), &size);
        return static_cast<int>(size.cx);
    };
    SizeAllColumns(list);
    EXPECT_EQ(ListView_GetColumnWidth(list, kCellMflops), width("Mflops") + 15); // no rows: the title

    AddRow("A much longer location name than the title", "run");
    SizeAllColumns(list);
    EXPECT_EQ(ListView_GetColumnWidth(list, kCellLocation), width("A much longer location name than the title") + 15);
    SelectObject(measure.Dc(), old);
}

} // namespace
