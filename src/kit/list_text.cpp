// Cell texts on request and on the clipboard. The lists paint their rows from records, so the
// texts a screen reader or a copy needs are given from the same records.
#include "kit/list_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/common/program_texts.h"
#include "core/lists/copy_text.h"
#include "kit/app_state.h"
#include "kit/list_view.h"

namespace
{

constexpr char kCellTextProperty[] = "VantorelCellText";
constexpr int kTitleCapacity = 200;

std::string RecordText(HWND list, int item, int column)
{
    LVITEMA record{};
    record.mask = LVIF_PARAM;
    record.iItem = item;
    if (!ListView_GetItem(list, &record))
        return {};
    const ListRow* row = RowCells(list, record.lParam);
    return row ? std::string(row->Text(column)) : std::string();
}

CellTextSource SourceOf(HWND list)
{
    const auto source = reinterpret_cast<CellTextSource>(GetPropA(list, kCellTextProperty));
    return source ? source : RecordText;
}

void GiveText(const std::string& text, LVITEMA& item)
{
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy_n(text.data(), length, item.pszText);
    item.pszText[length] = '\0';
}

// A text longer than the caller's buffer is cut to it, as the ANSI answer is; the conversion
// itself fails on a buffer too small, so the whole text is converted first.
void GiveText(const std::string& text, LVITEMW& item)
{
    const int length = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    const int needed = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
    int written = 0;
    if (needed > 0 && needed < item.cchTextMax) {
        written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, item.pszText, item.cchTextMax - 1);
    } else if (needed > 0) {
        std::wstring wide(static_cast<size_t>(needed), L'\0');
        written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
        written = std::min(written, item.cchTextMax - 1);
        std::copy_n(wide.data(), std::max(written, 0), item.pszText);
    }
    item.pszText[written > 0 ? written : 0] = L'\0';
}

template <typename Item> void AnswerItem(HWND list, Item& item)
{
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    GiveText(item.iItem >= 0 ? CellText(list, item.iItem, item.iSubItem) : std::string(), item);
}

// The columns' indexes from left to right as the header shows them.
std::vector<int> ShownColumnOrder(HWND list)
{
    std::vector<int> order(static_cast<size_t>(ColumnCount(list)));
    if (order.empty() || !ListView_GetColumnOrderArray(list, static_cast<int>(order.size()), order.data())) {
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
    }
    return order;
}

// The text is put in a block of its own before the clipboard is opened and emptied, so a failure
// leaves whatever the user had on it; each failure is told on the status line.
bool PutOnClipboard(HWND owner, const std::string& text)
{
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    void* bytes = memory ? GlobalLock(memory) : nullptr;
    if (!bytes) {
        if (memory)
            GlobalFree(memory);
        SetStatusText(kOutOfMemory);
        return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        SetStatusText(kClipboardBusy);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it has taken it; otherwise it is freed here.
    const bool put = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!put) {
        GlobalFree(memory);
        SetStatusText(kOutOfMemory);
    }
    return put;
}

} // namespace

void SetCellTextSource(HWND list, CellTextSource source)
{
    SetPropA(list, kCellTextProperty, reinterpret_cast<HANDLE>(source));
}

void ForgetCellTextSource(HWND list)
{
    RemovePropA(list, kCellTextProperty);
}

std::string CellText(HWND list, int item, int column)
{
    return SourceOf(list)(list, item, column);
}

BOOL AnswerCellText(const NMHDR* header)
{
    auto* notice = const_cast<NMHDR*>(header);
    if (header->code == LVN_GETDISPINFOA)
        AnswerItem(header->hwndFrom, reinterpret_cast<NMLVDISPINFOA*>(notice)->item);
    else if (header->code == LVN_GETDISPINFOW)
        AnswerItem(header->hwndFrom, reinterpret_cast<NMLVDISPINFOW*>(notice)->item);
    else
        return FALSE;
    return TRUE;
}

int InsertRowItem(HWND list, int index, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM | LVIF_TEXT;
    item.iItem = index;
    item.lParam = data;
    item.pszText = LPSTR_TEXTCALLBACKA;
    // Sub-items are never given a text: the list asks its parent for one it holds no text of, as
    // for the item. Setting each one to the callback cost a message per cell, a third of a rebuild.
    return ListView_InsertItem(list, &item);
}

std::string SelectedRowsText(HWND list)
{
    const std::vector<int> order = ShownColumnOrder(list);
    std::vector<std::string> titles;
    for (const int column : order)
        titles.push_back(ColumnTitle(list, column, kTitleCapacity));
    // Row by row into the one text: a copy of 100,000 work units keeps no cells of its own. The
    // text is measured first and reserved once, so it never needs a second, larger block while
    // the first is still held.
    const CellTextSource source = SourceOf(list);
    std::vector<std::string> cells(order.size());
    const auto forEachSelectedLine = [&](auto&& use) {
        for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0;
             i = ListView_GetNextItem(list, i, LVNI_SELECTED)) {
            for (size_t k = 0; k < order.size(); ++k)
                cells[k] = source(list, i, order[k]);
            use();
        }
    };
    size_t size = TabSeparatedLineSize(titles, titles.size());
    forEachSelectedLine([&] { size += TabSeparatedLineSize(cells, cells.size()); });
    std::string text;
    text.reserve(size);
    AppendTabSeparatedLine(text, titles, titles.size());
    forEachSelectedLine([&] { AppendTabSeparatedLine(text, cells, cells.size()); });
    return text;
}

bool CopySelectedRows(HWND list)
{
    return ListView_GetSelectedCount(list) > 0 && PutOnClipboard(list, SelectedRowsText(list));
}

bool HandleListShortcut(HWND list, WPARAM key)
{
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    if (key == 'C') {
        // Called from the list's window procedure, which nothing may unwind out of.
        RunGuarded([list] { CopySelectedRows(list); });
        return true;
    }
    if (key == 'A' && !(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SINGLESEL)) {
        ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
        return true;
    }
    return false;
}
