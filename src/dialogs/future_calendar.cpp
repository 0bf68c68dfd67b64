// The Future Work Units Calendar window: 24 month sheets from tomorrow's month with the projected totals.
#include "dialogs/future_calendar.h"

#include <ctime>
#include <string>
#include <vector>

#include "dialogs/calendar_frame.h"
#include "core/calendar/day_table.h"
#include "core/common/status_sink.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "core/settings/value_names.h"
#include "kit/app_state.h"

namespace
{

constexpr char kClassName[] = "VantorelFWU";
constexpr char kTitleFormat[] = "Future Work Units Calendar   (Based on completing %.2f work units per day)";
constexpr COLORREF kCountColour = RGB(0, 230, 230);
// The cell is the widest count plus a pixel of room on either side.
constexpr int kCellMargin = 2;

// What the calendar keeps for the program's run; the table is rebuilt at every opening.
struct FutureState {
    CalendarFrame frame{kValueFwuCalendarWindowPosition, kFutureLastPosition};
    DayTable table;
    std::vector<MonthSheet> sheets;
    int cellWidth = 0;
};

FutureState& Future()
{
    static FutureState state;
    return state;
}

// The width of the widest count in the calendar's font, measured on the main window's device
// context (the screen's when there is no main window).
int MeasureCellWidth(const std::string& text)
{
    const WindowDc dc(App().mainWindow);
    if (!dc.get())
        return 0;
    const CalendarFontScope font(dc.get());
    SIZE extent{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx + kCellMargin;
}

void Paint(HWND hwnd, HDC hdc)
{
    FutureState& state = Future();
    const CalendarFontScope font(hdc);
    CalendarLook look;
    look.geometry = FutureGeometry(font.Metrics().height, state.cellWidth);
    look.fillCounted = false;
    look.countColour = kCountColour;
    look.countRightInset = 1;
    state.frame.perRow = FutureSheetsPerRow(ClientWidth(hwnd), state.cellWidth);
    PaintCalendarSheets(hdc, look, state.table, state.sheets, state.frame.perRow, state.frame.position);
}

const CalendarKind& Kind()
{
    static const CalendarKind kind{&Future().frame, Paint};
    return kind;
}

} // namespace

void OpenFutureCalendar(int32_t completed, double rate)
{
    FutureState& state = Future();
    if (state.frame.window)
        DestroyWindow(state.frame.window);
    if (App().mainWindow)
        EnableWindow(App().mainWindow, FALSE);
    state.table = BuildFutureTable(std::time(nullptr), completed, rate);
    state.sheets = MonthSheets(state.table, kFutureSheetCount);
    state.cellWidth = MeasureCellWidth(FutureCellWidthText(state.table));
    CreateCalendarWindow(kClassName, Kind(), Format(kTitleFormat, rate));
}

HWND FutureCalendarWindow()
{
    return Future().frame.window;
}
