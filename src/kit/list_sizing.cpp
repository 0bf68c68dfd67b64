// Column sizing, row measuring and the plain row painter of the report lists, and the refill steps
// the plain lists share.
#include "kit/list_view.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kit/app_state.h"
#include "kit/header_tips.h"
#include "kit/list_text.h"
#include "platform/gdi_scope.h"
#include "platform/settings_store.h"
#include "platform/window_layout.h"

namespace
{

// Text widths from the font's character advances, fetched once per sizing: measuring every cell
// with the system costs tens of microseconds under some systems, which a list of 100,000 work
// units turns into minutes. The list fonts have no kerning, so the sums equal the measured widths.
constexpr char kSizePendingProperty[] = "VantorelSizePending";

// The fixed width the list's traits give a column, or -1 where the contents decide.
int FixedWidth(const ListTraits& traits, int column)
{
    return column >= traits.fixedFirst && column <= traits.fixedLast ? traits.fixedWidth : -1;
}

// A column is as wide as its widest text and a margin.
constexpr int kTextMargin = 15;

// The widths of the titles of columns first..last.
std::vector<int> TitleWidths(HWND list, const TextAdvances& measure, int first, int last)
{
    std::vector<int> widths;
    for (int column = first; column <= last; ++column)
        widths.push_back(measure.Of(ColumnTitle(list, column, 200)) + kTextMargin);
    return widths;
}

// Gives columns first..last their widths, or the fixed ones their traits name.
void SetColumnWidths(HWND list, int first, const std::vector<int>& widths)
{
    const ListTraits& traits = TraitsOf(list);
    for (size_t i = 0; i < widths.size(); ++i) {
        const int column = first + static_cast<int>(i);
        const int fixed = FixedWidth(traits, column);
        ListView_SetColumnWidth(list, column, fixed >= 0 ? fixed : widths[i]);
    }
}

// Sizes columns first..last in one pass over the rows.
void SizeColumns(HWND list, int first, int last)
{
    const TextAdvances measure = ListTextAdvances(list);
    std::vector<int> widths = TitleWidths(list, measure, first, last);
    const auto widen = [&](const ListRow& row) {
        for (int column = first; column <= last; ++column) {
            const std::string_view text = row.Text(column);
            if (!text.empty())
                widths[column - first] = std::max(widths[column - first], measure.Of(text) + kTextMargin);
        }
    };
    if (const RowStore* rows = RowStoreOf(list)) {
        for (const auto& row : *rows)
            widen(row->cells);
    } else {
        const bool workUnits = TraitsOf(list).rows == RowKind::WorkUnit;
        const int count = ListView_GetItemCount(list);
        for (int i = 0; i < count; ++i) {
            LVITEMA item{};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            if (!ListView_GetItem(list, &item) || !item.lParam)
                continue;
            widen(workUnits ? reinterpret_cast<const WorkUnitRow*>(item.lParam)->cells
                            : *reinterpret_cast<const ListRow*>(item.lParam));
        }
    }
    SetColumnWidths(list, first, widths);
}

// Sizing with redrawing off, the list drawn anew after.
template <typename Size> void WithoutRedraw(HWND list, Size size)
{
    const HWND header = ListView_GetHeader(list);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(header, WM_SETREDRAW, FALSE, 0);
    size();
    SendMessageA(header, WM_SETREDRAW, TRUE, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

} // namespace

int TextAdvances::Of(std::string_view text) const
{
    int sum = 0;
    for (const char c : text)
        sum += advance[static_cast<unsigned char>(c)];
    return sum;
}

TextAdvances ListTextAdvances(HWND list)
{
    TextAdvances advances;
    const WindowDc dc(list);
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    INT widths[256] = {};
    const bool measured = GetCharWidth32A(dc.get(), 0, 255, widths) != FALSE;
    for (int i = 0; i < 256; ++i)
        advances.advance[i] = measured ? widths[i] : 8;
    return advances;
}

std::vector<int> WidestCells(const RowStore& rows, int columns, const TextAdvances& advances)
{
    std::vector<int> widths(static_cast<size_t>(std::max(columns, 0)), 0);
    for (const auto& row : rows) {
        for (int column = 0; column < columns; ++column) {
            const std::string_view text = row->cells.Text(column);
            if (!text.empty())
                widths[column] = std::max(widths[column], advances.Of(text) + kTextMargin);
        }
    }
    return widths;
}

void SizeAllColumnsFrom(HWND list, const std::vector<int>& widest)
{
    if (static_cast<int>(widest.size()) != ColumnCount(list)) {
        SizeAllColumns(list);
        return;
    }
    WithoutRedraw(list, [&] {
        std::vector<int> widths = TitleWidths(list, ListTextAdvances(list), 0, ColumnCount(list) - 1);
        for (size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], widest[i]);
        SetColumnWidths(list, 0, widths);
    });
}

void SizeColumnsToContents(HWND list)
{
    if (ColumnCount(list) > 0)
        SizeColumns(list, 0, ColumnCount(list) - 1);
}

void SizeAllColumns(HWND list)
{
    WithoutRedraw(list, [list] { SizeColumnsToContents(list); });
}

void SizeWhenFilled(HWND list)
{
    SizeAllColumns(list);
    if (ListView_GetItemCount(list) == 0)
        SetPropA(list, kSizePendingProperty, reinterpret_cast<HANDLE>(1));
}

void ForgetPendingSize(HWND list)
{
    RemovePropA(list, kSizePendingProperty);
}

void SizePendingColumns(HWND list)
{
    if (!GetPropA(list, kSizePendingProperty) || ListView_GetItemCount(list) == 0)
        return;
    RemovePropA(list, kSizePendingProperty);
    SizeAllColumns(list);
}

BOOL MeasureListRow(HWND dialog, MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_LISTVIEW)
        return false;
    const HWND list = GetDlgItem(dialog, static_cast<int>(measure->CtlID));
    const WindowDc dc(list ? list : dialog);
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    measure->itemHeight = static_cast<UINT>(metrics.tmHeight + 1);
    return true;
}

int FirstRowHeight(HWND page, int listId, const char* valueName)
{
    SettingsStore store;
    int stored = 0;
    if (store.Open() && store.ReadNumber(valueName, stored) && stored >= 1 && stored <= kLargestStoredRowHeight)
        return stored;
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTVIEW;
    measure.CtlID = static_cast<UINT>(listId);
    MeasureListRow(page, &measure);
    return std::max(static_cast<int>(measure.itemHeight), kSmallestRowHeight);
}

void RemeasureRows(HWND list)
{
    RECT rect{};
    GetWindowRect(list, &rect);
    WINDOWPOS position{};
    position.hwnd = list;
    position.cx = rect.right - rect.left;
    position.cy = rect.bottom - rect.top;
    position.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SendMessageA(list, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

std::vector<int> ColumnWidths(HWND list)
{
    std::vector<int> widths;
    for (int column = 0; column < ColumnCount(list); ++column)
        widths.push_back(ListView_GetColumnWidth(list, column));
    return widths;
}

void PaintPlainRow(const DRAWITEMSTRUCT& draw)
{
    const HWND list = draw.hwndItem;
    const ListRow* row = RowCells(list, draw.itemData);
    if (!row)
        return;
    const HDC hdc = draw.hDC;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const DcColours colours(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT),
                            GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const RowColumns visible = VisibleRowColumns(draw);
    const std::vector<int>& widths = visible.widths;
    const ColumnRange range = visible.range;
    int left = visible.firstLeft;
    const UINT oldAlign = GetTextAlign(hdc);
    for (int column = range.first; column <= range.last; ++column) {
        const RECT cell{left, draw.rcItem.top, left + widths[column], draw.rcItem.bottom};
        left = cell.right;
        const std::string_view text = row->Text(column);
        if (text.empty())
            continue;
        const int format = visible.formats[column];
        int x = cell.left + 2;
        UINT align = TA_LEFT;
        if ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) {
            x = cell.right - 2;
            align = TA_RIGHT;
        } else if ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) {
            x = cell.left + (cell.right - cell.left) / 2 + 2;
            align = TA_CENTER;
        }
        SetTextAlign(hdc, align);
        ExtTextOutA(hdc, x, cell.top, ETO_OPAQUE | ETO_CLIPPED, &cell, text.data(), static_cast<int>(text.size()),
                    nullptr);
    }
    SetTextAlign(hdc, oldAlign);
}

namespace
{

// The columns of a list as one paint sees them.
struct ColumnLayout {
    HWND list = nullptr;
    std::vector<int> widths;
    std::vector<int> formats;
};

ColumnLayout TakeColumnLayout(HWND list)
{
    ColumnLayout layout;
    layout.list = list;
    layout.widths = ColumnWidths(list);
    for (int column = 0; column < static_cast<int>(layout.widths.size()); ++column) {
        LVCOLUMNA format{};
        format.mask = LVCF_FMT;
        ListView_GetColumn(list, column, &format);
        layout.formats.push_back(format.fmt);
    }
    return layout;
}

// The layouts of the lists painting now, the innermost last.
std::vector<ColumnLayout>& PaintingLists()
{
    static std::vector<ColumnLayout> painting;
    return painting;
}

} // namespace

ColumnLayoutScope::ColumnLayoutScope(HWND list) noexcept
{
    // Without memory for it the rows ask the list themselves.
    try {
        PaintingLists().push_back(TakeColumnLayout(list));
        taken_ = true;
    } catch (...) {
    }
}

ColumnLayoutScope::~ColumnLayoutScope()
{
    if (taken_)
        PaintingLists().pop_back();
}

RowColumns VisibleRowColumns(const DRAWITEMSTRUCT& draw)
{
    RECT clip{};
    GetClipBox(draw.hDC, &clip);
    const std::vector<ColumnLayout>& painting = PaintingLists();
    const auto layout = std::find_if(painting.rbegin(), painting.rend(), [&draw](const ColumnLayout& candidate) {
        return candidate.list == draw.hwndItem;
    });
    RowColumns visible{{}, {}, {}, draw.rcItem.left};
    if (layout != painting.rend()) {
        visible.widths = layout->widths;
        visible.formats = layout->formats;
    } else {
        ColumnLayout taken = TakeColumnLayout(draw.hwndItem);
        visible.widths = std::move(taken.widths);
        visible.formats = std::move(taken.formats);
    }
    visible.range = VisibleColumns(visible.widths, draw.rcItem.left, clip.left, clip.right);
    for (int column = 0; column < visible.range.first && column < static_cast<int>(visible.widths.size()); ++column)
        visible.firstLeft += visible.widths[column];
    return visible;
}

BOOL DrawListItem(const DRAWITEMSTRUCT* draw, void (*paint)(const DRAWITEMSTRUCT& draw))
{
    if (draw->CtlType != ODT_LISTVIEW)
        return FALSE;
    if (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))
        paint(*draw);
    return TRUE;
}

BOOL DrawPlainListItem(HWND, const DRAWITEMSTRUCT* draw)
{
    return DrawListItem(draw, PaintPlainRow);
}

BOOL OnPlainListNotify(int listId, const NMHDR* header)
{
    if (header->idFrom != static_cast<UINT_PTR>(listId))
        return FALSE;
    if (header->code == LVN_DELETEITEM) {
        delete reinterpret_cast<ListRow*>(reinterpret_cast<const NMLISTVIEW*>(header)->lParam);
        return TRUE;
    }
    return SortOrAnswerText(header);
}

BOOL SortOrAnswerText(const NMHDR* header)
{
    if (header->code == LVN_COLUMNCLICK) {
        SortOnColumnClick(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return TRUE;
    }
    return AnswerCellText(header);
}

void InsertOwnedRow(HWND list, int index, std::unique_ptr<ListRow> row)
{
    if (InsertRowItem(list, index < 0 ? ListView_GetItemCount(list) : index, reinterpret_cast<LPARAM>(row.get())) >= 0)
        row.release();
}

const ListRow* ListRowAt(HWND list, int index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return index >= 0 && ListView_GetItem(list, &item) ? reinterpret_cast<const ListRow*>(item.lParam) : nullptr;
}

const ListRow* SelectedListRow(HWND list)
{
    return ListRowAt(list, ListView_GetNextItem(list, -1, LVNI_SELECTED));
}

int BeginListRefill(HWND list)
{
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    SetStatusText("");
    ListView_DeleteAllItems(list);
    return selected;
}

void FinishListRefill(HWND list, int selected)
{
    SizePendingColumns(list);
    PlaceHeaderTips(list);
    RequestResort(list);
    if (selected >= 0 && selected < ListView_GetItemCount(list))
        ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void RestoreListLayout(HWND list)
{
    const char* widthsValue = TraitsOf(list).widthsValue;
    if (!widthsValue)
        return;
    // Empty while a pre-refresh command runs, or until first shown: then sized once the rows are in.
    RestoreColumnWidths(list, widthsValue, SizeWhenFilled);
    PlaceHeaderTips(list);
}
