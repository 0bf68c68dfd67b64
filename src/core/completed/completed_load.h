// What the Completed Work Units tab shows from SETILog.csv: work-unit rows, location totals, texts.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/completed/log_reader.h"
#include "core/lists/list_row.h"

inline constexpr char kLogFileName[] = "SETILog.csv";
// Longest full file name that is opened; a longer one is reported as too long, never cut.
inline constexpr size_t kLogPathCapacity = 259;

// Cells of a completed work-unit row; 12 to 14 have no column and feed the sky points.
enum CompletedCell {
    kCellDateLogged = 0,
    kCellWorkUnitName,
    kCellCpuTime,
    kCellPercentPerHour,
    kCellPeak,
    kCellFrom,
    kCellRecordedOn,
    kCellBaseFrequency,
    kCellAngleRange,
    kCellTriplet,
    kCellPulses,
    kCellGaussian,
    kCellStartRa,
    kCellStartDec,
    kCellColour,
    kCompletedCellCount
};

// Cells of a totals row.
enum TotalsCell {
    kTotalsLocation = 0,
    kTotalsWorkUnits,
    kTotalsCpuTime,
    kTotalsAverageCpu,
    kTotalsPercentPerHour,
    kTotalsTopPeak,
    kTotalsTopGaussian,
    kTotalsCellCount
};

inline constexpr char kGrandTotalName[] = "Grand Total";

// The record behind each item of the Completed tree.
struct LocationNode {
    std::string path; // empty for "All Locations"
    int32_t colour = 0;
    int32_t count = 0;
    double perDay = 0;
};

// The folder's SETILog.csv, or nothing when the full name would be longer than 259 characters.
std::optional<std::string> LogFileName(std::string_view folder);

// The recording date of a work unit name as yyyymmdd from its day, month code and two-digit
// year; characters that a short name lacks count as absent.
std::string RecordingDateKey(std::string_view name);
// The sort key of a name: its date key followed by the name from its seventh character on.
std::string NameSortKey(std::string_view name);

// Seconds as "%d:%02d:%02d" (a negative count shows its sign in front).
std::string CpuTimeText(int64_t seconds);
// 100 / hours, 0 for no CPU time.
double PercentPerHour(int64_t seconds);
// power / chi-square, 0 when the chi-square is 0.
double GaussianScore(double power, double chiSquare);
// "%d hr %d min %d sec RA, + %d deg %d min %d sec Dec".
std::string SkyPositionText(double rightAscension, double declination);
// The date text in parentheses after the Julian day; empty when the field has no blank.
std::string_view ReadableRecordingTime(std::string_view timeRecorded);
// A bg_pot column value in the graph form: blanks become separators and one ends it. Cut after
// a whole value when it would outgrow the gaussian pot's capacity.
std::string GaussianPotFromLog(std::string_view bgPot);
// 86400 / (whole-number average CPU seconds); 0 without work units or when the average is below
// one second.
double DailyRate(int64_t cpuSum, int64_t count);

// The columns a work-unit row is made from.
enum CompletedColumn {
    kColumnDate = 0,
    kColumnName,
    kColumnCpu,
    kColumnPeak,
    kColumnGaussianPower,
    kColumnGaussianPot,
    kColumnGaussianChiSquare,
    kColumnTripletPot,
    kColumnTripletPower,
    kColumnTripletScore,
    kColumnTripletIndex0,
    kColumnTripletIndex1,
    kColumnTripletIndex2,
    kColumnPulsePower,
    kColumnPulseScore,
    kColumnPulsePeriod,
    kColumnPulseFftLength,
    kColumnPulsePot,
    kColumnStartRa,
    kColumnStartDec,
    kColumnTimeRecorded,
    kColumnSubbandBase,
    kColumnAngleRange,
    kCompletedColumnCount
};

// Where those columns sit in the loaded header (-1 for one it lacks), found once per file.
struct CompletedColumns {
    int at[kCompletedColumnCount];
};
CompletedColumns FindCompletedColumns(const LogReader& reader);

// One completed work unit's row (15 cells, BestSignals from the columns) from a work-unit record.
// Returns whether the work unit counts: false when it stopped at a missing column.
bool FillWorkUnitRow(const CompletedColumns& columns, const LogRecord& record, int32_t colour, WorkUnitRow& row,
                     int64_t& cpuSum);

struct DetailLoad {
    std::vector<std::unique_ptr<WorkUnitRow>> rows; // in file order
    int32_t count = 0;                              // work units that went through every step
    int64_t cpuSum = 0;                             // over every work-unit record
    bool outOfMemory = false;                       // the load stopped there: no rows, nothing counted
};

// Reads a started file whole (header first) into rows and writes the count and daily rate into
// the node. When memory runs out the rows read so far are freed and the node keeps its values.
DetailLoad LoadDetail(LogReader& reader, LocationNode& node);

struct LocationTotals {
    int32_t count = 0;
    int64_t cpuSum = 0;
    double topPeak = 0;
    double topPower = 0;
    double topFit = 0;
    double topScore = 0;
    double dailyRate = 0;
    bool outOfMemory = false; // the read stopped there: every figure is 0

    int64_t AverageCpu() const { return count > 0 ? cpuSum / count : 0; }
};

// Reads a started file whole (header first) into the totals of its location.
LocationTotals LoadTotals(LogReader& reader);
// Folds one location's totals into the grand total.
void AddToGrandTotal(LocationTotals& grand, const LocationTotals& location);
// The 7-cell row of a location's totals or of the grand total.
std::unique_ptr<WorkUnitRow> MakeTotalsRow(std::string_view name, const LocationTotals& totals);
std::string TopGaussianText(double power, double fit);
