// The keys the program handles before any control or the dialog navigation sees them.
#pragma once

#include <windows.h>

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up anywhere in the main window switch
// tabs as a click on the tab does; Shift+F10 and the Menu key ask the focused window for its
// context menu (WM_CONTEXTMENU with no mouse position). True when the message was one of these
// and so must not go further.
bool HandleProgramKey(const MSG& msg);

// A WM_CONTEXTMENU that comes from the keyboard: it carries no position, so the menu opens at the
// selected item or the window's corner.
inline bool IsKeyboardContextMenu(LPARAM lParam)
{
    return static_cast<short>(LOWORD(lParam)) == -1 && static_cast<short>(HIWORD(lParam)) == -1;
}

// Where a keyboard-opened menu goes: the bottom left of the item's rectangle (client
// coordinates of the control) held inside the control, in screen coordinates.
POINT MenuPointBelow(HWND control, const RECT& item);
