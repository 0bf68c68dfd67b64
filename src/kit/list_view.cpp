// Columns, sorting, the header painter, sizing and the plain row painter of the report lists.
#include "kit/list_view.h"

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "core/common/status_sink.h"
#include "core/lists/list_sort.h"
#include "kit/app_state.h"
#include "kit/header_tips.h"
#include "kit/list_text.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "platform/window_layout.h"

namespace
{

constexpr char kOriginalProcProperty[] = "VantorelListProc";
constexpr char kRowStoreProperty[] = "VantorelRowStore";
constexpr char kTraitsProperty[] = "VantorelListTraits";
constexpr int kTitleCapacity = 256;

struct SortContext {
    int column;
    const ListRow* (*cells)(LPARAM);
    const WorkUnitRow* (*unit)(LPARAM);
    const ListColumn* record;
    // Graph columns 1 to 4 sort by signal values; a list showing the same rows as texts sorts
    // those texts.
    bool bySignals;
};

// Under Wine every property lookup is a server round trip, so loops over rows look at the traits
// once and then use the item-data readers below.
bool CarriesWorkUnits(HWND list)
{
    return list && TraitsOf(list).rows == RowKind::WorkUnit;
}

const ListRow* WorkUnitCells(LPARAM itemData)
{
    return itemData ? &reinterpret_cast<const WorkUnitRow*>(itemData)->cells : nullptr;
}

const ListRow* PlainCells(LPARAM itemData)
{
    return reinterpret_cast<const ListRow*>(itemData);
}

const WorkUnitRow* WorkUnitData(LPARAM itemData)
{
    return reinterpret_cast<const WorkUnitRow*>(itemData);
}

const WorkUnitRow* NoWorkUnit(LPARAM)
{
    return nullptr;
}

int CompareRowsOf(LPARAM a, LPARAM b, LPARAM contextParam)
{
    const auto& context = *reinterpret_cast<const SortContext*>(contextParam);
    const ListRow* rowA = context.cells(a);
    const ListRow* rowB = context.cells(b);
    if (!rowA || !rowB)
        return 0;
    const int column = context.column;
    const bool ascending = context.record->ascending != 0;
    static const TextCompare kLocaleCompare = [](const std::string& x, const std::string& y) {
        return lstrcmpiA(x.c_str(), y.c_str());
    };

    const WorkUnitRow* unitA = context.unit(a);
    const WorkUnitRow* unitB = context.unit(b);
    if (context.bySignals && column >= 1 && column <= 4 && unitA && unitB) {
        const std::string textA = Format("%g", BestSignalSortValue(unitA->best, column));
        const std::string textB = Format("%g", BestSignalSortValue(unitB->best, column));
        // These columns hold graphs and figures: their signal values sort as numbers.
        return CompareCells(kNumberCell, ascending, textA, "", textB, "", kLocaleCompare);
    }
    return CompareCells(rowA->Kind(column), ascending, rowA->Text(column), rowA->Second(column), rowB->Text(column),
                        rowB->Second(column), kLocaleCompare);
}

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM contextParam)
{
    // The list calls this from inside the system, where nothing may unwind: without memory for a
    // comparison's texts the two rows count as equal and the sort goes on.
    try {
        return CompareRowsOf(a, b, contextParam);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

// The sorted column's direction triangle, beside the title that starts (or, right-aligned, ends) at x.
void PaintSortTriangle(HDC hdc, const char* title, int length, int x, bool rightAligned, int ty, bool ascending)
{
    SIZE extent{};
    GetTextExtentPoint32A(hdc, title, length, &extent);
    const int tx = rightAligned ? x - extent.cx - 10 : x + extent.cx + 10;
    UniqueGdiObject light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    UniqueGdiObject dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    const SelectedObject pen(hdc, light.get());
    if (ascending) {
        MoveToEx(hdc, tx, ty, nullptr);
        LineTo(hdc, tx + 4, ty + 8);
        LineTo(hdc, tx - 4, ty + 8);
        SelectObject(hdc, dark.get());
        LineTo(hdc, tx, ty);
    } else {
        SelectObject(hdc, dark.get());
        MoveToEx(hdc, tx + 4, ty, nullptr);
        LineTo(hdc, tx - 4, ty);
        LineTo(hdc, tx, ty + 8);
        SelectObject(hdc, light.get());
        MoveToEx(hdc, tx + 4, ty, nullptr);
        LineTo(hdc, tx, ty + 8);
    }
}

// Draws a header item's title and, on the sorted column, the direction triangle.
void PaintHeaderItem(HWND list, const DRAWITEMSTRUCT& draw)
{
    const ListColumn* first = ColumnRecord(list, 0);
    const int item = static_cast<int>(draw.itemID);
    const HWND header = ListView_GetHeader(list);
    char title[kTitleCapacity] = {};
    HDITEMA headerItem{};
    headerItem.mask = HDI_TEXT | HDI_FORMAT | HDI_LPARAM;
    headerItem.pszText = title;
    headerItem.cchTextMax = kTitleCapacity - 1;
    Header_GetItem(header, item, &headerItem);
    const auto* record = reinterpret_cast<const ListColumn*>(headerItem.lParam);

    RECT rect = draw.rcItem;
    if (draw.itemState == ODS_SELECTED) {
        rect.left += 1;
        rect.right += 1;
        rect.top += 2;
    }
    const HDC hdc = draw.hDC;
    const DcColours colours(hdc, GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE));
    const int length = lstrlenA(title);
    UINT align = TA_LEFT;
    int x = rect.left + 4;
    int y = rect.top + 1;
    if (headerItem.fmt & HDF_CENTER) {
        align = TA_CENTER;
        x = rect.left + (rect.right - rect.left) / 2 + 2;
        y = rect.top;
    } else if (headerItem.fmt & HDF_RIGHT) {
        align = TA_RIGHT;
        x = rect.right - 4;
    }
    const UINT oldAlign = SetTextAlign(hdc, align);
    ExtTextOutA(hdc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rect, title, length, nullptr);
    SetTextAlign(hdc, oldAlign);

    if (first && record && first->sortedColumn == item)
        PaintSortTriangle(hdc, title, length, align == TA_RIGHT ? rect.right : rect.left, align == TA_RIGHT,
                          rect.top + 3, record->ascending != 0);
}

LRESULT CALLBACK HeaderPainterProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Kept in the user data, not a property: every message passes here, and under Wine each
    // GetProp is a server round trip.
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_USERDATA));
    switch (message) {
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_HEADER)
            break;
        try {
            PaintHeaderItem(list, *draw);
        } catch (...) {
            // Nothing may unwind into the system: without memory the item keeps its background.
        }
        CallWindowProcA(original, list, message, wParam, lParam);
        // A header whose owner answers FALSE paints the item's background again over the title.
        return TRUE;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const ColumnLayoutScope layout(list);
        return CallWindowProcA(original, list, message, wParam, lParam);
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == HDN_DIVIDERDBLCLICKA || header->code == HDN_DIVIDERDBLCLICKW)
            return 0;
        break;
    }
    case WM_KEYDOWN:
        if (HandleListShortcut(list, wParam))
            return 0;
        break;
    case WM_CHAR:
        // Ctrl+A and Ctrl+C arrive as control characters too; the list would search its rows for them.
        if (wParam == 1 || wParam == 3)
            return 0;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrA(list, GWLP_USERDATA, 0);
        RemovePropA(list, kOriginalProcProperty);
        RemovePropA(list, kRowStoreProperty);
        RemovePropA(list, kTraitsProperty);
        ForgetPendingSize(list);
        ForgetCellTextSource(list);
        break;
    }
    return CallWindowProcA(original, list, message, wParam, lParam);
}

} // namespace

std::string ColumnTitle(HWND list, int column, int capacity)
{
    std::vector<char> title(capacity + 1, '\0');
    LVCOLUMNA item{};
    item.mask = LVCF_TEXT;
    item.pszText = title.data();
    item.cchTextMax = capacity;
    ListView_GetColumn(list, column, &item);
    return title.data();
}

ListColumn* MakeColumn(HWND list, int index, const char* title, int alignment, int ascending)
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = alignment == kAlignRight ? LVCFMT_RIGHT : alignment == kAlignCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
    column.pszText = const_cast<char*>(title);
    column.cx = 0;
    const int inserted =
        static_cast<int>(SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
    if (inserted < 0)
        return nullptr;
    auto* record = new ListColumn(ascending);
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_LPARAM;
    item.fmt = HDF_OWNERDRAW | (alignment == kAlignRight ? HDF_RIGHT : alignment == kAlignCenter ? HDF_CENTER : 0);
    item.lParam = reinterpret_cast<LPARAM>(record);
    Header_SetItem(ListView_GetHeader(list), inserted, &item);
    return record;
}

void CloseList(HWND list)
{
    if (const char* widthsValue = TraitsOf(list).widthsValue)
        SaveColumnWidths(list, widthsValue);
    ListView_DeleteAllItems(list);
    DeleteAllColumns(list);
}

int ColumnCount(HWND list)
{
    return Header_GetItemCount(ListView_GetHeader(list));
}

ListColumn* ColumnRecord(HWND list, int index)
{
    HDITEMA item{};
    item.mask = HDI_LPARAM;
    if (!Header_GetItem(ListView_GetHeader(list), index, &item))
        return nullptr;
    return reinterpret_cast<ListColumn*>(item.lParam);
}

namespace
{

void AddColumns(HWND list, const ColumnSpec* columns, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        MakeColumn(list, static_cast<int>(i), columns[i].title, columns[i].alignment, columns[i].ascending);
}

void GiveTraits(HWND list, const ListTraits& traits)
{
    SetPropA(list, kTraitsProperty, const_cast<ListTraits*>(&traits));
    InstallHeaderTips(list, traits.tips);
}

} // namespace

void MakeColumns(HWND list, const ColumnSpec* columns, size_t count, const ListTraits& traits)
{
    AddColumns(list, columns, count);
    GiveTraits(list, traits);
}

HWND SetUpReportList(HWND page, int listId, DWORD extendedStyle, const ColumnSpec* columns, size_t count,
                     const ListTraits& traits)
{
    const HWND list = GetDlgItem(page, listId);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | extendedStyle);
    AddColumns(list, columns, count);
    InstallHeaderPainter(list);
    GiveTraits(list, traits);
    return list;
}

const ListTraits& TraitsOf(HWND list)
{
    static const ListTraits kPlain;
    const auto* traits = static_cast<const ListTraits*>(GetPropA(list, kTraitsProperty));
    return traits ? *traits : kPlain;
}

void DeleteAllColumns(HWND list)
{
    for (int i = ColumnCount(list) - 1; i >= 0; --i) {
        delete ColumnRecord(list, i);
        ListView_DeleteColumn(list, i);
    }
}

const ListRow* RowCells(HWND list, LPARAM itemData)
{
    if (!itemData)
        return nullptr;
    if (CarriesWorkUnits(list))
        return &reinterpret_cast<const WorkUnitRow*>(itemData)->cells;
    return reinterpret_cast<const ListRow*>(itemData);
}

const WorkUnitRow* WorkUnitOf(HWND list, LPARAM itemData)
{
    return CarriesWorkUnits(list) ? reinterpret_cast<const WorkUnitRow*>(itemData) : nullptr;
}

void AttachRowStore(HWND list, RowStore* rows)
{
    if (rows)
        SetPropA(list, kRowStoreProperty, reinterpret_cast<HANDLE>(rows));
    else
        RemovePropA(list, kRowStoreProperty);
}

void FreeRows(RowStore& rows)
{
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return std::less<>()(a.get(), b.get()); });
    rows.clear();
}

RowStore* RowStoreOf(HWND list)
{
    return reinterpret_cast<RowStore*>(GetPropA(list, kRowStoreProperty));
}

namespace
{

// The system's sort key of a text: byte order equals lstrcmpi's order.
std::string SystemSortKey(std::string_view text)
{
    if (text.empty())
        return {};
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(text.size());
    const int size = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, nullptr, 0);
    std::string key(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, key.data(), size);
    // Without its closing zero: a shorter key that is a prefix of a longer one sorts first.
    while (!key.empty() && key.back() == '\0')
        key.pop_back();
    return key;
}

// A stable sort of the rows on one column through keys made once per row.
void SortByKeys(RowStore& rows, int column, bool ascending)
{
    std::vector<const ListRow*> cells;
    cells.reserve(rows.size());
    for (const auto& row : rows)
        cells.push_back(&row->cells);
    const std::vector<size_t> order = SortedOrder(cells, column, ascending, SystemSortKey);
    RowStore sorted;
    sorted.reserve(rows.size());
    for (const size_t index : order)
        sorted.push_back(std::move(rows[index]));
    rows = std::move(sorted);
}

// Sorts a row store as the list would sort its own items, keeping which rows are selected and
// which has the focus: an owner-data list keeps those by position.
void SortRowStore(HWND list, RowStore& rows, const SortContext& context)
{
    std::vector<const WorkUnitRow*> selected;
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0 && static_cast<size_t>(i) < rows.size();
         i = ListView_GetNextItem(list, i, LVNI_SELECTED))
        selected.push_back(rows[static_cast<size_t>(i)].get());
    const int focusIndex = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    const WorkUnitRow* focused = focusIndex >= 0 && static_cast<size_t>(focusIndex) < rows.size()
                                     ? rows[static_cast<size_t>(focusIndex)].get()
                                     : nullptr;

    if (context.bySignals) {
        // Graph columns sort by signal values, which CompareRows works out.
        std::stable_sort(rows.begin(), rows.end(), [&context](const auto& a, const auto& b) {
            return CompareRows(reinterpret_cast<LPARAM>(a.get()), reinterpret_cast<LPARAM>(b.get()),
                               reinterpret_cast<LPARAM>(&context)) < 0;
        });
    } else {
        SortByKeys(rows, context.column, context.record->ascending != 0);
    }

    if (!selected.empty() || focused) {
        std::sort(selected.begin(), selected.end());
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (size_t i = 0; i < rows.size(); ++i) {
            const WorkUnitRow* row = rows[i].get();
            UINT state = std::binary_search(selected.begin(), selected.end(), row) ? LVIS_SELECTED : 0;
            if (row == focused)
                state |= LVIS_FOCUSED;
            if (state)
                ListView_SetItemState(list, static_cast<int>(i), state, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    InvalidateRect(list, nullptr, FALSE);
}

} // namespace

void SortOnColumnClick(HWND list, int column)
{
    std::vector<ListColumn*> columns;
    for (int i = 0; i < ColumnCount(list); ++i)
        columns.push_back(ColumnRecord(list, i));
    if (columns.empty() || !columns[0])
        return;
    for (ListColumn* record : columns)
        if (!record)
            return;
    // A sort that runs out of memory leaves the rows in their order; the headers must then still
    // say that order, so the next click sorts as if this one had not been made.
    std::vector<ListColumn> before;
    before.reserve(columns.size());
    for (const ListColumn* record : columns)
        before.push_back(*record);
    const int sortBy = ApplyColumnClick(columns, column);
    const ListTraits& traits = TraitsOf(list);
    const bool workUnits = traits.rows == RowKind::WorkUnit;
    SortContext context{sortBy, workUnits ? WorkUnitCells : PlainCells, workUnits ? WorkUnitData : NoWorkUnit,
                        columns[sortBy], traits.signalSort};
    try {
        if (RowStore* rows = RowStoreOf(list))
            SortRowStore(list, *rows, context);
        else
            ListView_SortItems(list, CompareRows, reinterpret_cast<LPARAM>(&context));
    } catch (const std::bad_alloc&) {
        for (size_t i = 0; i < columns.size(); ++i)
            *columns[i] = before[i];
        throw;
    }
    // The triangle moves with the sorted column.
    InvalidateRect(ListView_GetHeader(list), nullptr, FALSE);
}

void RequestResort(HWND list)
{
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = list;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    notify.hdr.code = LVN_COLUMNCLICK;
    notify.iItem = -1;
    notify.iSubItem = -1;
    SendMessageA(GetParent(list), WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void InstallHeaderPainter(HWND list)
{
    if (GetPropA(list, kOriginalProcProperty))
        return;
    // The user data is set before the procedure, which reads it from its first message on.
    SetWindowLongPtrA(list, GWLP_USERDATA, GetWindowLongPtrA(list, GWLP_WNDPROC));
    const LONG_PTR original = SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderPainterProc));
    SetWindowLongPtrA(list, GWLP_USERDATA, original);
    SetPropA(list, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
}
