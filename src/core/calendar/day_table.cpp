// Day tables built with mktime, counting of recording days from SETILog.csv, and the calendars' layout arithmetic.
#include "core/calendar/day_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "core/common/out_of_memory.h"
#include "core/common/status_sink.h"

namespace
{

constexpr char kTimeRecordedColumn[] = "time_recorded";

// Month names at their fixed place in the date text; December is whatever matches none of them.
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov"};
constexpr int kDecember = 11;

// Where the parts of "Www Mmm dd hh:mm:ss yyyy" stand, counted from the opening parenthesis.
constexpr size_t kMonthPlace = 5;
constexpr size_t kMonthLength = 3;
constexpr size_t kDayPlace = 9;
constexpr size_t kDayLength = 2;
constexpr size_t kYearPlace = 21;
constexpr size_t kYearLength = 4;

constexpr int kNoonHour = 12;

// The characters of a text at a fixed place; those past its end are absent.
std::string_view Piece(std::string_view text, size_t place, size_t length)
{
    if (place >= text.size())
        return {};
    return text.substr(place, length);
}

// A decimal integer as atoi reads it: leading blanks, a sign, digits up to the first other character.
int DecimalOf(std::string_view text)
{
    return std::atoi(std::string(text).c_str());
}

int MonthOf(std::string_view name)
{
    for (int month = 0; month < static_cast<int>(std::size(kMonthNames)); ++month)
        if (name == kMonthNames[month])
            return month;
    return kDecember;
}

DayEntry EntryOf(std::time_t noon, const std::tm& normalised)
{
    DayEntry entry;
    entry.day = static_cast<int32_t>(noon);
    entry.year = normalised.tm_year + 1900;
    entry.month = normalised.tm_mon;
    entry.monthDay = normalised.tm_mday;
    entry.weekday = normalised.tm_wday;
    return entry;
}

CalendarDate DateOf(const DayEntry& entry)
{
    return {entry.year, entry.month, entry.monthDay};
}

int32_t ProjectedCount(int32_t completed, int k, double rate)
{
    const double added = std::trunc(static_cast<double>(k) * rate);
    if (std::isnan(added))
        return completed;
    const double total = static_cast<double>(completed) + added;
    if (total >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    if (total <= static_cast<double>(INT32_MIN))
        return INT32_MIN;
    return static_cast<int32_t>(total);
}

} // namespace

int64_t NoonOf(int year, int month, int monthDay)
{
    std::tm broken{};
    broken.tm_year = year - 1900;
    broken.tm_mon = month;
    broken.tm_mday = monthDay;
    broken.tm_hour = kNoonHour;
    broken.tm_isdst = 0; // standard time: the same instant all year round
    return static_cast<int64_t>(std::mktime(&broken));
}

// Each day is made afresh from the first day and its offset rather than from the previous day's
// normalised time: mktime hands back 13:00 with the daylight flag set in summer, and carrying
// that on would make the table depend on how the C library reads a flag that no longer fits.
DayTable BuildDayTable(int year, int month, int firstMonthDay, int count)
{
    DayTable table;
    table.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int index = 0; index < count; ++index) {
        std::tm broken{};
        broken.tm_year = year - 1900;
        broken.tm_mon = month;
        broken.tm_mday = firstMonthDay + index;
        broken.tm_hour = kNoonHour;
        broken.tm_isdst = 0;
        const std::time_t noon = std::mktime(&broken);
        table.push_back(EntryOf(noon, broken));
    }
    return table;
}

DayTable BuildWorkUnitTable()
{
    return BuildDayTable(1998, 9, 1, kWorkUnitDayCount);
}

DayEntry* FindDay(DayTable& table, int64_t noon)
{
    const auto found = std::lower_bound(table.begin(), table.end(), noon,
                                        [](const DayEntry& entry, int64_t wanted) { return entry.day < wanted; });
    if (found == table.end() || found->day != noon)
        return nullptr;
    return &*found;
}

std::optional<int64_t> RecordingNoon(std::string_view timeRecorded)
{
    const size_t parenthesis = timeRecorded.find('(');
    if (parenthesis == std::string_view::npos)
        return std::nullopt;
    const std::string_view date = timeRecorded.substr(parenthesis);
    const int month = MonthOf(Piece(date, kMonthPlace, kMonthLength));
    const int monthDay = DecimalOf(Piece(date, kDayPlace, kDayLength));
    const int year = DecimalOf(Piece(date, kYearPlace, kYearLength));
    return NoonOf(year, month, monthDay);
}

namespace
{

void CountRecords(DayTable& table, LogReader& reader, LogByteSource& source)
{
    reader.Start(source);
    if (!reader.ReadHeader())
        return;
    while (const LogRecord* record = reader.ReadLogRecord()) {
        if (!IsWorkUnitRecord(*record))
            continue;
        const std::optional<std::string_view> field = reader.FindField(*record, kTimeRecordedColumn);
        if (!field)
            continue;
        const std::optional<int64_t> noon = RecordingNoon(*field);
        if (!noon || *noon < 0) // mktime refused the date
            continue;
        if (DayEntry* entry = FindDay(table, *noon); entry && entry->count < INT32_MAX)
            ++entry->count;
    }
}

} // namespace

bool CountLogRecords(DayTable& table, LogReader& reader, LogByteSource& source)
{
    return !RanOutOfMemory([&] { CountRecords(table, reader, source); });
}

std::optional<int> CountAllLocations(DayTable& table, LogReader& reader, const LocationReader& read,
                                     std::string_view currentDirectory, const LogOpener& open)
{
    int walked = 0;
    bool counted = true;
    const bool outOfMemory = RanOutOfMemory([&] {
        walked = EnumerateLocations(LocationWalk::StoredOnly, read, currentDirectory, [&](const Location& location) {
            if (!counted)
                return;
            if (std::unique_ptr<LogByteSource> source = open(location.path))
                counted = CountLogRecords(table, reader, *source);
        });
    });
    if (outOfMemory || !counted)
        return std::nullopt;
    return walked;
}

CalendarDate TomorrowOf(std::time_t now)
{
    std::tm broken{};
    if (const std::tm* local = std::localtime(&now))
        broken = *local;
    broken.tm_mday += 1;
    // Noon of tomorrow exists in every zone; the present hour might fall into tomorrow's clock change.
    broken.tm_hour = kNoonHour;
    broken.tm_min = 0;
    broken.tm_sec = 0;
    broken.tm_isdst = -1;
    std::mktime(&broken);
    return {broken.tm_year + 1900, broken.tm_mon, broken.tm_mday};
}

DayTable BuildFutureTable(std::time_t now, int32_t completed, double rate)
{
    const CalendarDate tomorrow = TomorrowOf(now);
    DayTable table = BuildDayTable(tomorrow.year, tomorrow.month, 1, kFutureDayCount);
    int k = 0;
    for (DayEntry& entry : table) {
        if (k == 0 && DateOf(entry) < tomorrow)
            continue;
        ++k;
        entry.count = ProjectedCount(completed, k, rate);
    }
    return table;
}

std::string FutureCellWidthText(const DayTable& table)
{
    const std::string text = table.empty() ? std::string() : Format("%ld", static_cast<long>(table.back().count));
    return text.size() < 2 ? std::string("99") : text;
}

std::string MonthHeading(const DayEntry& entry)
{
    std::tm broken{};
    broken.tm_year = entry.year - 1900;
    broken.tm_mon = entry.month;
    broken.tm_mday = entry.monthDay;
    broken.tm_wday = entry.weekday;
    char text[64] = {};
    const size_t length = std::strftime(text, sizeof text, "%B, %Y", &broken);
    return std::string(text, length);
}

std::vector<MonthSheet> MonthSheets(const DayTable& table, int maxSheets)
{
    std::vector<MonthSheet> sheets;
    size_t index = 0;
    while (index < table.size() && static_cast<int>(sheets.size()) < maxSheets) {
        MonthSheet sheet{index, index + 1};
        while (sheet.end < table.size() && table[sheet.end].month == table[index].month &&
               table[sheet.end].year == table[index].year)
            ++sheet.end;
        sheets.push_back(sheet);
        index = sheet.end;
    }
    return sheets;
}

std::vector<DayPlace> DayPlaces(const DayTable& table, const MonthSheet& sheet)
{
    std::vector<DayPlace> places;
    int row = 0;
    for (size_t index = sheet.first; index < sheet.end && index < table.size(); ++index) {
        if (index > sheet.first && table[index].weekday == 0)
            ++row;
        places.push_back({table[index].weekday, row});
    }
    return places;
}

SheetGeometry WorkUnitGeometry(int h, int w)
{
    return {2 * w, 2 * h, 15 * w, 13 * h, h};
}

SheetGeometry FutureGeometry(int h, int cellWidth)
{
    return {cellWidth, 2 * h, 7 * cellWidth + cellWidth / 2, 13 * h, h};
}

int WorkUnitSheetsPerRow(int clientWidth, int w)
{
    if (w <= 0 || clientWidth <= 0)
        return 1;
    return std::max(clientWidth / (15 * w), 1);
}

int FutureSheetsPerRow(int clientWidth, int cellWidth)
{
    if (cellWidth <= 0)
        return 1;
    const int sheetWidth = 7 * cellWidth;
    const int pitch = sheetWidth + cellWidth / 2;
    if (sheetWidth >= clientWidth)
        return 1;
    return 1 + (clientWidth - 1 - sheetWidth) / pitch;
}

bool Intersects(const PixelRect& a, const PixelRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

PixelPoint SheetOrigin(const SheetGeometry& geometry, int index, int perRow)
{
    perRow = std::max(perRow, 1);
    return {(index % perRow) * geometry.pitchX, (index / perRow) * geometry.pitchY};
}

PixelRect SheetArea(const SheetGeometry& geometry, PixelPoint origin, int headingWidth)
{
    return {origin.x, origin.y, origin.x + std::max(geometry.pitchX, headingWidth), origin.y + geometry.pitchY};
}

PixelPoint CellCorner(const SheetGeometry& geometry, PixelPoint origin, DayPlace place)
{
    return {origin.x + geometry.cellWidth * place.column,
            origin.y + geometry.headingHeight + geometry.cellHeight * place.row};
}

PixelRect CountFill(const SheetGeometry& geometry, PixelPoint origin, DayPlace place)
{
    const PixelPoint corner = CellCorner(geometry, origin, place);
    return {corner.x + 1, corner.y + 1, corner.x + geometry.cellWidth, corner.y + geometry.cellHeight};
}

int ScrollOriginY(const SheetGeometry& geometry, int position)
{
    return geometry.pitchY * (position - 1) + 1;
}

int ScrollTarget(int code, int position, int thumb, int lastPosition)
{
    int target = 1;
    switch (code) {
    case kScrollLineUp:
    case kScrollPageUp:
        target = position - 1;
        break;
    case kScrollLineDown:
    case kScrollPageDown:
        target = position + 1;
        break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
        target = thumb;
        break;
    case kScrollEnd:
        target = position;
        break;
    default: // top, bottom and anything unknown go back to the first row
        target = 1;
        break;
    }
    return std::clamp(target, 1, std::max(lastPosition, 1));
}

int ScrollRangeEnd(int lastPosition, int perRow)
{
    return std::max(lastPosition / std::max(perRow, 1), 1);
}
