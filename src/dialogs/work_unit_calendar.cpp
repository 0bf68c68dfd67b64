// The Work Unit Calendar window: 51 month sheets from October 1998 with the work units recorded on each day.
#include "dialogs/work_unit_calendar.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/calendar_frame.h"
#include "platform/log_file.h"
#include "core/calendar/day_table.h"
#include "core/common/program_texts.h"
#include "core/common/background_reads.h"
#include "core/common/status_sink.h"
#include "core/settings/location.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"
#include "kit/long_read.h"

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
    LongRead counting; // the count of the logs before an opening
};

CalendarState& Calendar()
{
    static CalendarState state;
    return state;
}

// A log opened for counting, its bytes counted into the read's progress.
class CountedLog final : public LogByteSource
{
public:
    CountedLog(std::unique_ptr<LogByteSource> log, ReadProgress& progress, int index)
        : log_(std::move(log)), counted_(*log_, progress, index)
    {
    }
    size_t Read(char* buffer, size_t capacity) override { return counted_.Read(buffer, capacity); }
    uint64_t Size() const override { return counted_.Size(); }

private:
    std::unique_ptr<LogByteSource> log_;
    CountedSource counted_;
};

// What a count beside the window hands back: the calendar's table and sheets, and the logs that
// could not be opened.
struct CountDone final : WorkResult {
    DayTable table;
    std::vector<MonthSheet> sheets;
    std::vector<std::string> messages;
};

// Opens a folder's log as the progress's next source, or tells why not in the messages and gives null.
LogOpener CountingOpener(ReadProgress& progress, std::vector<std::string>& messages)
{
    return [&progress, &messages, next = 0](const std::string& folder) mutable -> std::unique_ptr<LogByteSource> {
        const int index = next++;
        std::string failure;
        std::unique_ptr<LogByteSource> log = OpenLogFile(folder, failure);
        if (!log) {
            messages.push_back(failure);
            return nullptr;
        }
        return std::make_unique<CountedLog>(std::move(log), progress, index);
    };
}

// The stored locations as the walk reads them, taken on the window thread so that the count beside
// it needs no registry: the values it read, by index, and the short names of the locations.
struct StoredLocations {
    std::map<int, std::string> values;
    std::vector<std::string> names;
};

StoredLocations TakeStoredLocations()
{
    StoredLocations stored;
    SettingsStore store;
    if (!store.Open()) {
        MessageBoxA(App().mainWindow, kRegistryFailure, kProgramTitle, MB_OK);
        return stored;
    }
    const LocationReader read = StoredLocationReader(store);
    const LocationReader recording = [&](int index) {
        std::optional<std::string> text = read(index);
        if (text)
            stored.values[index] = *text;
        return text;
    };
    EnumerateLocations(LocationWalk::StoredOnly, recording, CurrentDirectory(),
                       [&](const Location& location) { stored.names.push_back(location.shortName); });
    return stored;
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

// Counting is a function of the table, a reader and an opener of logs; it answers false when
// memory ran out.
using Count = std::function<bool(DayTable&, LogReader&, const LogOpener&)>;

// Shows what a count found: the logs it could not open, then the calendar, with the main window
// disabled while it is open. When memory ran out while counting, counts of a part of the logs
// would mislead: no calendar opens, the main window stays usable and the status line says why.
void ShowCount(std::unique_ptr<WorkResult> result)
{
    auto* done = dynamic_cast<CountDone*>(result.get());
    if (done)
        for (const std::string& message : done->messages)
            SetStatusText(message);
    if (!done || done->outOfMemory) {
        SetStatusText(kOutOfMemory);
        return;
    }
    CalendarState& state = Calendar();
    state.table.swap(done->table);
    state.sheets.swap(done->sheets);
    if (App().mainWindow)
        EnableWindow(App().mainWindow, FALSE);
    CreateCalendarWindow(kClassName, Kind(), kTitle);
}

// Counts beside the window, which answers meanwhile, and then opens the calendar.
void OpenCalendar(std::vector<std::string> names, Count count)
{
    CalendarState& state = Calendar();
    if (state.frame.window)
        DestroyWindow(state.frame.window);
    const LongReadWork work = [count = std::move(count)](ReadProgress& progress) {
        auto done = std::make_unique<CountDone>();
        done->table = BuildWorkUnitTable();
        done->sheets = MonthSheets(done->table, kWorkUnitSheetCount);
        LogReader reader;
        done->outOfMemory = !count(done->table, reader, CountingOpener(progress, done->messages));
        return std::unique_ptr<WorkResult>(std::move(done));
    };
    state.counting.Start(std::move(names), work, ShowCount);
}

} // namespace

void OpenWorkUnitCalendar(const std::string& folder, const std::string& shortName)
{
    OpenCalendar({shortName}, [folder](DayTable& table, LogReader& reader, const LogOpener& open) {
        std::unique_ptr<LogByteSource> log = open(folder);
        return !log || CountLogRecords(table, reader, *log);
    });
}

void OpenWorkUnitCalendarForAllLocations()
{
    auto stored = std::make_shared<const StoredLocations>(TakeStoredLocations());
    std::vector<std::string> names = stored->names;
    OpenCalendar(std::move(names),
                 [stored, directory = CurrentDirectory()](DayTable& table, LogReader& reader, const LogOpener& open) {
                     const LocationReader replay = [stored](int index) -> std::optional<std::string> {
                         const auto found = stored->values.find(index);
                         if (found == stored->values.end())
                             return std::nullopt;
                         return found->second;
                     };
                     return CountAllLocations(table, reader, replay, directory, open).has_value();
                 });
}

bool WorkUnitCalendarCounting()
{
    return Calendar().counting.Running();
}

HWND WorkUnitCalendarWindow()
{
    return Calendar().frame.window;
}
