// The keys the program handles before any control or the dialog navigation sees them.
#pragma once

#include <windows.h>

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up anywhere in the main window switch
// tabs as a click on the tab does; Shift+F10 and the Menu key ask the focused window for its
// context menu (WM_CONTEXTMENU with no mouse position); Escape stops a Completed load under way.
// True when the message was one of these and so must not go further.
bool HandleProgramKey(const MSG& msg);
