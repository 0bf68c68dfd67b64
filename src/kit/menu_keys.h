// Context menus opened from the keyboard (Shift+F10, the Menu key): how a window tells them from
// a right click, and where such a menu opens.
#pragma once

#include <windows.h>

// A WM_CONTEXTMENU that comes from the keyboard: it carries no position, so the menu opens at the
// selected item or the window's corner.
inline bool IsKeyboardContextMenu(LPARAM lParam)
{
    return static_cast<short>(LOWORD(lParam)) == -1 && static_cast<short>(HIWORD(lParam)) == -1;
}

// Where a keyboard-opened menu goes: the bottom left of the item's rectangle (client
// coordinates of the control) held inside the control, in screen coordinates.
POINT MenuPointBelow(HWND control, const RECT& item);
