// The Future Work Units Calendar: the running total of completed work units projected over two years.
#pragma once

#include <windows.h>

#include <cstdint>

// Projects from `completed` work units at `rate` per day, from tomorrow on, and opens the
// calendar; the main window stays disabled until the calendar closes. Returns at once.
void OpenFutureCalendar(int32_t completed, double rate);

// The open calendar window, or null.
HWND FutureCalendarWindow();
