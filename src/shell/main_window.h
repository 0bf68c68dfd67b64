// The main window: status line, tab control and the six pages, the timer, the notification icon.
#pragma once

#include <windows.h>

// Loads the status and the small image lists into App(); false if either could not be loaded.
bool LoadImageLists(HINSTANCE instance);
// Creates the main window from its template with the pages, as start-up does; null on failure.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
// One message of the loop: F5, the tab switching and context-menu keys, then the dialog
// navigation of the main window and the Show Work Units dialog, then the message's own window.
void HandleMessage(MSG& msg);
// The message loop over HandleMessage; returns the program's exit code.
int RunMessageLoop();
// Start-up after the window exists: first refresh, column widths, header tooltips.
void FinishStartup();
// Releases what start-up loaded (image lists, notification icon, timer).
void ShutdownApp();

// Brings the selected tab's page to the front, as a click on the tab does.
void ShowCurrentTab();
// Fits the page in front into the tab control's display area (pages call it when they need it).
void SizeCurrentPage();
// What F5 does on the tab in front.
void RefreshCurrentTab();
