// The Work Unit Calendar: completed work units counted by the day the telescope recorded them.
#pragma once

#include <windows.h>

#include <string>

// Counts the work units in the folder's SETILog.csv beside the window and then opens the
// calendar; the main window stays disabled until the calendar closes. Returns at once. The short
// name names the folder in the count's progress.
void OpenWorkUnitCalendar(const std::string& folder, const std::string& shortName);
// The same over the logs of every stored location.
void OpenWorkUnitCalendarForAllLocations();
// True while the count before an opening runs (Escape stops it, and no calendar opens).
bool WorkUnitCalendarCounting();

// The open calendar window, or null.
HWND WorkUnitCalendarWindow();
