// Saving and restoring window placements and list column widths in the settings store.
#pragma once

#include <windows.h>

// Writes the window's placement text; false when the placement or the key is not to be had.
bool SavePlacement(HWND hwnd, const char* valueName);

// Brings the window up where its stored placement says, or shows it by the default show command
// when there is none. The main window also heeds the program's start-up show command, the
// screen size and "Minimize To Taskbar" (a minimised main window then starts in the tray).
void RestorePlacement(HWND hwnd, const char* valueName, bool mainWindow, int startupShowCommand);

// Writes the widths of every column of a report list view; nothing is written if the key cannot
// be opened or a width cannot be read.
bool SaveColumnWidths(HWND list, const char* valueName);

// Sets the stored widths on the list's columns; with no stored value, sizeToContents (when
// given) sizes every column to its contents instead.
void RestoreColumnWidths(HWND list, const char* valueName, void (*sizeToContents)(HWND list));
