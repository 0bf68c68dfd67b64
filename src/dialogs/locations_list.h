// Rows of the SETI Locations list: seven text cells each, the colour kept as the list's own sub-item 2 text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "core/settings/location_edit.h"
#include "core/lists/list_row.h"
#include "kit/list_text.h"

using LocationCellTexts = std::array<std::string, kLocationColumnCount>;

// Room the colour text is read into when a row is stored; the longest colour needs 11 characters.
inline constexpr int kColourTextCapacity = 20;

inline ListRow* LocationRowAt(HWND list, int index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(list, &item) ? reinterpret_cast<ListRow*>(item.lParam) : nullptr;
}

inline void SetLocationColour(HWND list, int index, int32_t colour)
{
    std::string text = ColourText(colour);
    ListView_SetItemText(list, index, kLocationColumnColour, text.data());
}

inline std::string LocationColourText(HWND list, int index, int capacity = kColourTextCapacity)
{
    std::string text(static_cast<size_t>(capacity), '\0');
    ListView_GetItemText(list, index, kLocationColumnColour, text.data(), capacity);
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

inline LocationCellTexts LocationRowCells(HWND list, int index)
{
    LocationCellTexts cells;
    if (const ListRow* row = LocationRowAt(list, index))
        for (int i = 0; i < kLocationColumnCount; ++i)
            cells[i] = row->Text(i);
    return cells;
}

// Puts a new row at the top of the list; the list owns the row from then on and frees it on
// LVN_DELETEITEM. Returns the row's index, or -1 when the list refused it.
inline int InsertLocationRow(HWND list, const LocationCellTexts& cells, int32_t colour)
{
    auto row = std::make_unique<ListRow>(kLocationColumnCount);
    for (int i = 0; i < kLocationColumnCount; ++i)
        row->SetCell(i, kTextCell, cells[i]);
    const int index = InsertRowItem(list, 0, reinterpret_cast<LPARAM>(row.get()));
    if (index < 0)
        return -1;
    row.release();
    SetLocationColour(list, index, colour);
    return index;
}

// Gives an existing row new texts and colour; cell 2 stays empty.
inline void ReplaceLocationRow(HWND list, int index, const LocationCellTexts& cells, int32_t colour)
{
    ListRow* row = LocationRowAt(list, index);
    if (!row)
        return;
    for (int i = 0; i < kLocationColumnCount; ++i)
        if (i != kLocationColumnColour)
            row->ReplaceCell(i, cells[i]);
    SetLocationColour(list, index, colour);
}
