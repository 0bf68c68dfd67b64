// The Work Unit Calendar window: 51 month sheets from October 1998 with the work units recorded on each day.
#include "calendar/work_unit_calendar.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "calendar/calendar_frame.h"
#include "completed/log_file.h"
#include "core/calendar/day_table.h"
#include "core/common/program_texts.h"
#include "core/common/status_sink.h"
#include "common/gdi_scope.h"
#include "common/unique_handle.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "settings/settings_store.h"
#include "ui/app_state.h"

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

void CountFolder(DayTable& table, LogReader& reader, const std::string& folder)
{
    if (std::unique_ptr<LogByteSource> source = OpenLog(folder))
        CountLogRecords(table, reader, *source);
}

void CountStoredLocations(DayTable& table, LogReader& reader)
{
    SettingsStore store;
    if (!store.Open()) {
        MessageBoxA(App().mainWindow, kRegistryFailure, kProgramTitle, MB_OK);
        return;
    }
    CountAllLocations(table, reader, StoredLocationReader(store), CurrentDirectory(), OpenLog);
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

void OpenCalendar(const std::function<void(DayTable&, LogReader&)>& count)
{
    CalendarState& state = Calendar();
    if (state.frame.window)
        DestroyWindow(state.frame.window);
    if (App().mainWindow)
        EnableWindow(App().mainWindow, FALSE);
    state.table = BuildWorkUnitTable();
    state.sheets = MonthSheets(state.table, kWorkUnitSheetCount);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    LogReader reader;
    count(state.table, reader);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    CreateCalendarWindow(kClassName, Kind(), kTitle);
}

} // namespace

void OpenWorkUnitCalendar(const std::string& folder)
{
    OpenCalendar([&folder](DayTable& table, LogReader& reader) { CountFolder(table, reader, folder); });
}

void OpenWorkUnitCalendarForAllLocations()
{
    OpenCalendar(CountStoredLocations);
}

HWND WorkUnitCalendarWindow()
{
    return Calendar().frame.window;
}
