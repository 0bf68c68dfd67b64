// Common controls driven and read as a user's clicks reach them, for the window tests and the
// benchmarks alike.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// A click on a column header of a report list, told to the list's parent as the list tells it.
inline void ClickColumn(HWND list, int column)
{
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = list;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    notify.hdr.code = LVN_COLUMNCLICK;
    notify.iItem = -1;
    notify.iSubItem = column;
    SendMessageA(GetParent(list), WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

// A tree item's text; empty when the item cannot be read.
inline std::string TreeItemText(HWND tree, HTREEITEM item)
{
    char text[260] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    return TreeView_GetItem(tree, &data) ? text : "";
}

// The child of the tree's root with that text, or null.
inline HTREEITEM TreeChildNamed(HWND tree, const std::string& name)
{
    for (HTREEITEM child = TreeView_GetChild(tree, TreeView_GetRoot(tree)); child;
         child = TreeView_GetNextSibling(tree, child))
        if (TreeItemText(tree, child) == name)
            return child;
    return nullptr;
}
