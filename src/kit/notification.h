// The notification icon of the main window and the alerts: the icon's tip, its balloon, and the
// taskbar button that flashes while the window is minimised.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

// The shell calls this module makes; tests put stand-ins here to see what is handed over.
struct ShellCalls {
    BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAA data) = Shell_NotifyIconA;
    BOOL(WINAPI* flashWindow)(PFLASHWINFO info) = FlashWindowEx;
};
ShellCalls& Shell();

// The icon (identifier kTrayIconId) of the main window. The tip is cut to the 63 characters that
// the icon's oldest and still accepted record layout holds, and kept for RestoreTrayIcon. False
// when the shell refused (no notification area, or none yet).
bool AddTrayIcon(std::string_view tip);
bool SetTrayTip(std::string_view tip);
void RemoveTrayIcon();
// Adds the icon again with its last tip, after the shell made its taskbar anew.
bool RestoreTrayIcon();

// Tells a user who is not looking about the status changes of one refresh, one line each: in the
// notification area a balloon titled "Vantorel" (a warning when warning is set, else a notice);
// minimised to the taskbar, the button flashes until the window is restored. Nothing while the
// window is shown, and nothing when "Alert On Status Change" is 0.
void AlertStatusChanges(const std::vector<std::string>& lines, bool warning);

// "Alert On Status Change": 1 (the default when missing) or 0.
bool AlertsWanted();
