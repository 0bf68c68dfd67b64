// What the two calendar windows share: class, creation, the disabled owner, scrolling and sheet painting.
// painting.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/gdi_scope.h"
#include "core/calendar/day_table.h"

// The state of one calendar window kept for the program's run: the scroll position and the
// sheets per row outlive the window and are used again at the next opening.
struct CalendarFrame {
    const char* placementValue = nullptr;
    int lastPosition = 1;  // the scroll position runs from 1 to this
    HWND window = nullptr; // null while the calendar is closed
    int position = 1;
    int perRow = 1; // found by the last paint
    bool settingRange = false;
};

// One calendar: its frame, kept for the program's run, and its picture, painted into a device
// context (the window's, or a caller's for WM_PRINTCLIENT).
struct CalendarKind {
    CalendarFrame* frame;
    void (*paint)(HWND hwnd, HDC hdc);
};

// Registers the class (once) and creates the calendar window owned by the main window, which
// the caller has disabled; WM_CREATE shows it. Both calendars share one window procedure, which
// reaches the kind (it must outlive the window) through the window. Returns null when the
// window cannot be made, and then the main window is enabled again.
HWND CreateCalendarWindow(const char* className, const CalendarKind& kind, const std::string& title);

// How one calendar draws its days.
struct CalendarLook {
    SheetGeometry geometry;
    bool fillCounted = false; // counted days get a dark red cell
    COLORREF countColour = 0;
    int countRightInset = 0; // the count's right edge this far left of the cell's right edge
};

// The font's character height h and widest character w.
struct CalendarFont {
    int height = 0;
    int maxWidth = 0;
};
// Selects ANSI_VAR_FONT into the device context for the life of the object.
class CalendarFontScope
{
public:
    explicit CalendarFontScope(HDC hdc);
    CalendarFont Metrics() const { return metrics_; }

private:
    SelectedObject font_;
    CalendarFont metrics_;
};

// Draws the month sheets that the clip box shows, scrolled to `position`, with the font of a
// CalendarFontScope already selected. Leaves the device context as it found it.
void PaintCalendarSheets(HDC hdc, const CalendarLook& look, const DayTable& table,
                         const std::vector<MonthSheet>& sheets, int perRow, int position);

// A client rectangle's width.
int ClientWidth(HWND hwnd);
