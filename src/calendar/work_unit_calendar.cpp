// The Work Unit Calendar window: 51 month sheets from October 1998 with the work units recorded on each day.
#include "calendar/work_unit_calendar.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "calendar/calendar_frame.h"
#include "calendar/day_table.h"
#include "client/last_error.h"
#include "common/status_sink.h"
#include "common/unique_handle.h"
#include "completed/completed_load.h"
#include "completed/log_reader.h"
#include "settings/settings_store.h"
#include "ui/app_state.h"

namespace
{

constexpr char kClassName[] = "VantorelCalendar";
constexpr char kTitle[] =
    "Work Unit Calendar (Shows the number of your work units that were recorded for that calendar day by Arecibo)";
constexpr char kMessageTitle[] = "Vantorel";
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

// SETILog.csv of a folder, read with full sharing so SETILog can go on writing it.
class LogFile final : public LogByteSource
{
public:
    explicit LogFile(UniqueFile file) : file_(std::move(file)) {}
    size_t Read(char* buffer, size_t capacity) override
    {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(capacity, 1u << 30));
        if (!ReadFile(file_.get(), buffer, wanted, &read, nullptr))
            return 0;
        return read;
    }

private:
    UniqueFile file_;
};

// Opens a folder's log, or puts the reason on the status line and gives null. A full name
// longer than the program's limit is refused rather than cut, which would open another file.
std::unique_ptr<LogByteSource> OpenLog(const std::string& folder)
{
    const std::optional<std::string> name = LogFileName(folder);
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    if (name) {
        UniqueFile file(CreateFileA(name->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (file)
            return std::make_unique<LogFile>(std::move(file));
        error = GetLastError();
    }
    SetStatusText(
        Format("%s %s", LastErrorText(error).c_str(), name ? name->c_str() : (folder + "\\" + kLogFileName).c_str()));
    return nullptr;
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
        MessageBoxA(App().mainWindow, kRegistryFailure, kMessageTitle, MB_OK);
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

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT paint{};
    if (const HDC hdc = BeginPaint(hwnd, &paint)) {
        Paint(hwnd, hdc);
        EndPaint(hwnd, &paint);
    }
}

LRESULT CALLBACK CalendarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CalendarFrame& frame = Calendar().frame;
    try {
        switch (message) {
        case WM_CREATE:
            OnCalendarCreate(frame, hwnd);
            return 0;
        case WM_DESTROY:
            OnCalendarDestroy(frame, hwnd);
            return 0;
        case WM_SIZE:
            OnCalendarSize(frame, hwnd);
            return 0;
        case WM_PAINT:
            OnPaint(hwnd);
            return 0;
        case WM_PRINTCLIENT: // the same picture into a caller's device context
            Paint(hwnd, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_VSCROLL:
            OnCalendarVScroll(frame, hwnd, wParam);
            return 0;
        }
    } catch (...) {
        // Nothing may unwind into the system (a failed allocation ends the handler).
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
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
    CreateCalendarWindow(kClassName, CalendarProc, kTitle);
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
