// The calendars' day tables, the counting of SETILog.csv records by recording day, and the sheet layout arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/completed/log_reader.h"
#include "core/settings/location.h"

// One calendar day: the instant of its noon in local standard time and the number shown on it.
// The date parts are those of the local broken-down time of that instant, kept so that painting
// needs no time conversion.
struct DayEntry {
    int32_t day = 0; // seconds since 1970-01-01 00:00:00 UTC
    int32_t count = 0;
    int year = 0;     // e.g. 1998
    int month = 0;    // 0 to 11
    int monthDay = 0; // 1 to 31
    int weekday = 0;  // Sunday 0 to Saturday 6
};

using DayTable = std::vector<DayEntry>;

// The Work Unit Calendar shows 1 October 1998 to 31 December 2002; 1 January 2003 only ends the
// last month.
inline constexpr int kWorkUnitDayCount = 1554;
inline constexpr int kWorkUnitSheetCount = 51;
inline constexpr int kFutureDayCount = 731;
inline constexpr int kFutureSheetCount = 24;
// The scroll positions run from 1 to these, whatever the range of the scroll bar shows.
inline constexpr int kWorkUnitLastPosition = 50;
inline constexpr int kFutureLastPosition = 24;

// Noon (local standard time) of `count` days from the given first day, each made by mktime
// normalising the day of month, so months and years run on by themselves. Counts are 0.
DayTable BuildDayTable(int year, int month, int firstMonthDay, int count);
DayTable BuildWorkUnitTable();

// Noon (local standard time) of a date, as mktime makes it with no daylight-saving hour; -1
// when mktime refuses the date. Kept 64-bit so a far date never aliases into the table.
int64_t NoonOf(int year, int month, int monthDay);

// The table entry whose day is exactly `noon`, or null outside the table.
DayEntry* FindDay(DayTable& table, int64_t noon);

// The recording day of a time_recorded field (a Julian date, a blank and the client's date text
// in parentheses), read at the date text's fixed character places: month 5 to 7, day 9 and 10,
// year 21 to 24 after the parenthesis. A month name other than Jan to Nov reads as December.
// Returns the noon of that day, or nothing when the field has no parenthesis.
std::optional<int64_t> RecordingNoon(std::string_view timeRecorded);

// Adds each work-unit record of one SETILog.csv (header first) to the day of its recording.
// False when memory ran out on the way: the counts are then only a part of the log's.
bool CountLogRecords(DayTable& table, LogReader& reader, LogByteSource& source);

// Opens the SETILog.csv of a folder, or reports the failure itself and gives null.
using LogOpener = std::function<std::unique_ptr<LogByteSource>(const std::string& folder)>;

// Counts the log of every stored location (no default location, whatever the tab switches
// say); returns how many locations were walked, or nothing when memory ran out and the walk
// stopped.
std::optional<int> CountAllLocations(DayTable& table, LogReader& reader, const LocationReader& read,
                                     std::string_view currentDirectory, const LogOpener& open);

// Tomorrow's local date (year, month 0 to 11, day of month) seen at `now`.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int monthDay = 0;
    auto operator<=>(const CalendarDate&) const = default;
};
CalendarDate TomorrowOf(std::time_t now);

// 731 days from the first of tomorrow's month; from tomorrow on (k = 1, 2, ...) each count is
// completed + trunc(k * rate), held within the 32-bit range; the days before tomorrow count 0.
DayTable BuildFutureTable(std::time_t now, int32_t completed, double rate);

// The text that sets the future calendar's cell width: the last count, at least "99".
std::string FutureCellWidthText(const DayTable& table);

// "%B, %Y" of the entry's date.
std::string MonthHeading(const DayEntry& entry);

// One month sheet: the entries [first, end) of the table.
struct MonthSheet {
    size_t first = 0;
    size_t end = 0;
};
// The table split into months, at most maxSheets of them, never past the last entry.
std::vector<MonthSheet> MonthSheets(const DayTable& table, int maxSheets);

// Column (weekday) and row of each day of a sheet, in table order: a Sunday starts a new row.
struct DayPlace {
    int column = 0;
    int row = 0;
};
std::vector<DayPlace> DayPlaces(const DayTable& table, const MonthSheet& sheet);

// Sizes of a calendar's month sheets, in pixels.
struct SheetGeometry {
    int cellWidth = 0;
    int cellHeight = 0;
    int pitchX = 0; // from one sheet's left edge to the next one's
    int pitchY = 0; // from one row of sheets to the next
    int headingHeight = 0;
};
// h is the font's character height, w its widest character, W the future calendar's cell width.
SheetGeometry WorkUnitGeometry(int h, int w);
SheetGeometry FutureGeometry(int h, int cellWidth);

// Sheets per row: the width divided by the pitch for the Work Unit Calendar; the sheets whose
// right edge lies left of the width for the Future calendar. Never less than 1.
int WorkUnitSheetsPerRow(int clientWidth, int w);
int FutureSheetsPerRow(int clientWidth, int cellWidth);

struct PixelPoint {
    int x = 0;
    int y = 0;
};
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
bool Intersects(const PixelRect& a, const PixelRect& b);

// Left edge and heading top of sheet `index` (from 0) with `perRow` sheets per row.
PixelPoint SheetOrigin(const SheetGeometry& geometry, int index, int perRow);
// The area a sheet draws in: its place up to the next sheet, or as far as its heading reaches.
PixelRect SheetArea(const SheetGeometry& geometry, PixelPoint origin, int headingWidth);
// Top left corner of a day cell's grid square.
PixelPoint CellCorner(const SheetGeometry& geometry, PixelPoint origin, DayPlace place);
// The filled inside of a counted day's cell: past the grid lines at its left and top.
PixelRect CountFill(const SheetGeometry& geometry, PixelPoint origin, DayPlace place);

// The window origin's y for a scroll position (from 1): one step moves one row of sheets.
int ScrollOriginY(const SheetGeometry& geometry, int position);

// Scroll bar codes, numbered as the window system numbers them.
enum ScrollCode : int {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};
// The position after a scroll request, held between 1 and lastPosition.
int ScrollTarget(int code, int position, int thumb, int lastPosition);
// The end of the scroll bar's range: the last position divided by the sheets per row, at least 1.
int ScrollRangeEnd(int lastPosition, int perRow);
