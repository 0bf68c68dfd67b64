// The Work Unit Calendar window: 51 month sheets from October 1998 with the work units recorded on each day.
#include "dialogs/work_unit_calendar.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "dialogs/calendar_frame.h"
#include "platform/log_file.h"
#include "core/calendar/day_table.h"
#include "core/common/program_texts.h"
#include "core/common/status_sink.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"

namespace
{

constexpr char kClassName[] = "VantorelCalendar";
constexpr char kTitle[] =
    "Work Unit Calendar (Shows the number of your work units that were recorded for that calendar day by Arecibo)";
constexpr char kRegistryFailure[] = "Could not open registry";
constexpr COLORREF kCountColour = RGB(255, 255, 0);

// What the calendar keeps for the program's run; the table is rebuilt at every opening.
struct CalendarState {
    CalendarFrame frame{kValueCalendarWindowPosition, kWorkUnitLastPosition};
    DayTable table;
    std::vector<MonthSheet> sheets;
};

CalendarState& Calendar()
{
    static CalendarState state;
    return state;
}

// Opens a folder's log, or puts the reason on the status line and gives null.
std::unique_ptr<LogByteSource> OpenLog(const std::string& folder)
{
    std::string failure;
    std::unique_ptr<LogByteSource> log = OpenLogFile(folder, failure);
    if (!log)
        SetStatusText(failure);
    return log;
}

// The counters answer false when memory ran out; a log that cannot be opened is no such failure.
bool CountFolder(DayTable& table, LogReader& reader, const std::string& folder)
{
    std::unique_ptr<LogByteSource> source = OpenLog(folder);
    return !source || CountLogRecords(table, reader, *source);
}

bool CountStoredLocations(DayTable& table, LogReader& reader)
{
    SettingsStore store;
    if (!store.Open()) {
        MessageBoxA(App().mainWindow, kRegistryFailure, kProgramTitle, MB_OK);
        return true;
    }
    return CountAllLocations(table, reader, StoredLocationReader(store), CurrentDirectory(), OpenLog).has_value();
}

void Paint(HWND hwnd, HDC hdc)
{
    CalendarState& state = Calendar();
    const CalendarFontScope font(hdc);
    const CalendarFont metrics = font.Metrics();
    CalendarLook look;
    look.geometry = WorkUnitGeometry(metrics.height, metrics.maxWidth);
    look.fillCounted = true;
    look.countColour = kCountColour;
    state.frame.perRow = WorkUnitSheetsPerRow(ClientWidth(hwnd), metrics.maxWidth);
    PaintCalendarSheets(hdc, look, state.table, state.sheets, state.frame.perRow, state.frame.position);
}

const CalendarKind& Kind()
{
    static const CalendarKind kind{&Calendar().frame, Paint};
    return kind;
}

// Counts and opens the calendar; the main window is disabled while it is open. When memory runs
// out while counting, counts of a part of the logs would mislead: no calendar opens, the main
// window stays usable and the status line says why.
void OpenCalendar(const std::function<bool(DayTable&, LogReader&)>& count)
{
    CalendarState& state = Calendar();
    if (state.frame.window)
        DestroyWindow(state.frame.window);
    if (App().mainWindow)
        EnableWindow(App().mainWindow, FALSE);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool counted = false;
    try {
        state.table = BuildWorkUnitTable();
        state.sheets = MonthSheets(state.table, kWorkUnitSheetCount);
        LogReader reader;
        counted = count(state.table, reader);
    } catch (const std::bad_alloc&) {
        counted = false;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (!counted) {
        DayTable().swap(state.table);
        std::vector<MonthSheet>().swap(state.sheets);
        if (App().mainWindow)
            EnableWindow(App().mainWindow, TRUE);
        SetStatusText(kOutOfMemory);
        return;
    }
    CreateCalendarWindow(kClassName, Kind(), kTitle);
}

} // namespace

void OpenWorkUnitCalendar(const std::string& folder)
{
    OpenCalendar([&folder](DayTable& table, LogReader& reader) { return CountFolder(table, reader, folder); });
}

void OpenWorkUnitCalendarForAllLocations()
{
    OpenCalendar(CountStoredLocations);
}

HWND WorkUnitCalendarWindow()
{
    return Calendar().frame.window;
}
