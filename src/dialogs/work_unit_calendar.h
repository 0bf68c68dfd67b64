// The Work Unit Calendar: completed work units counted by the day the telescope recorded them.
#pragma once

#include <windows.h>

#include <string>

// Counts the work units in the folder's SETILog.csv and opens the calendar; the main window
// stays disabled until the calendar closes. Returns at once.
void OpenWorkUnitCalendar(const std::string& folder);
// The same over the logs of every stored location.
void OpenWorkUnitCalendarForAllLocations();

// The open calendar window, or null.
HWND WorkUnitCalendarWindow();
