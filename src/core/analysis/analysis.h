// The progress analysis of one location: the run/stop decision and the figures from state.sah and work_unit.sah.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <string>

#include "core/client/file_look.h"
#include "core/common/program_texts.h"
#include "core/common/status_sink.h"
#include "core/lists/column_spec.h"
#include "core/lists/list_row.h"

// The cells of an Analysis row that the analysis fills by name, in column order.
enum AnalysisCell {
    kCellLocation = 0,
    kCellStatus,
    kCellPercent,
    kCellCpuTime,
    kCellTimeLeft,
    kCellCompletion,
    kCellPercentPerHour,
    kCellMflops,
    kCellAngleRange,
    kNamedAnalysisCells
};

// A column whose cell the analysis does not fill by name.
inline constexpr int kDerivedCell = -1;

// One column of the Analysis list and the cell behind it: a named cell, which the analysis fills,
// or a derived one (kDerivedCell), whose text derive gives from the row once a look has decided
// the status.
struct AnalysisColumn {
    int cell;
    ColumnSpec column;
    int32_t kind; // how the cell sorts
    std::string (*derive)(const WorkUnitRow& row) = nullptr;
};

// The Analysis list's columns: one row each, in order; every loop over the cells is bounded by it.
// clang-format off
inline constexpr AnalysisColumn kAnalysisColumns[] = {
    {kCellLocation, {"Location", kAlignLeft}, kTextCell},
    {kCellStatus, {"Status", kAlignCenter}, kTextCell},
    {kCellPercent, {"% Done", kAlignRight}, kNumberCell},
    {kCellCpuTime, {"CPU Time", kAlignRight}, kNumberCell},
    {kCellTimeLeft, {"Time Left", kAlignRight}, kNumberCell},
    {kCellCompletion, {"Completion", kAlignRight}, kNumberCell},
    {kCellPercentPerHour, {"% Per CPU Hour", kAlignRight}, kNumberCell},
    {kCellMflops, {"Mflops", kAlignRight}, kNumberCell},
    {kCellAngleRange, {"Angle Range", kAlignRight}, kNumberCell},
};
// clang-format on
inline constexpr int kAnalysisCellCount = static_cast<int>(std::size(kAnalysisColumns));

// The table's checks, at compile time: a row left out, a named cell out of its place (the analysis
// writes cells by their names' numbers), a column without a title, or one nothing would ever fill.
static_assert(kAnalysisCellCount >= kNamedAnalysisCells, "every named Analysis cell needs its column");
static_assert(
    [] {
        for (int i = 0; i < kAnalysisCellCount; ++i)
            if (kAnalysisColumns[i].cell != (i < kNamedAnalysisCells ? i : kDerivedCell))
                return false;
        return true;
    }(),
    "the named Analysis cells come first, each at its own number; derived columns follow them");
static_assert(
    [] {
        for (const AnalysisColumn& entry : kAnalysisColumns)
            if (!entry.column.title || (entry.cell == kDerivedCell && !entry.derive))
                return false;
        return true;
    }(),
    "every Analysis column has a title, and a derived one its derive");

// The rows' titles, alignments and first sort directions alone, as the list makes its columns.
inline constexpr auto kAnalysisListColumns = [] {
    std::array<ColumnSpec, kAnalysisCellCount> columns{};
    for (int i = 0; i < kAnalysisCellCount; ++i)
        columns[i] = kAnalysisColumns[i].column;
    return columns;
}();

inline constexpr char kStatusRun[] = "run";
inline constexpr char kStatusStop[] = "stop";
inline constexpr char kStatusDone[] = "done";
inline constexpr char kStatusNotValid[] = "notvaild"; // the program has always shown it spelt so
inline constexpr char kStatusErr53[] = "Err53";

inline constexpr char kStateFile[] = "state.sah";
inline constexpr char kWorkUnitFile[] = "work_unit.sah";
inline constexpr char kResultFile[] = "result.sah";
inline constexpr char kUserInfoFile[] = "user_info.sah";

// The analysis also asks whether files open or exist without reading them.
class AnalysisFiles : public ClientFileReader
{
public:
    // Whether the file can be opened for reading (with write sharing).
    virtual bool Opens(const std::string& path) = 0;
    // Whether the file exists, tested by opening it with read sharing alone.
    virtual bool Exists(const std::string& path) = 0;
};

// Refreshes without a write before a location counts as stopped: 1 above a 30-second period.
int StopThreshold(int refreshPosition);

// "%d:%02d:%02d" of whole seconds; hours are not limited to 24.
std::string FormatDuration(long seconds);

// Floating-point operations of a whole work unit for its angle range.
double OperationsPerWorkUnit(double angleRange);

// Adds a new row's initial cells: the short name, "stop" and blank figures.
void InitAnalysisRow(WorkUnitRow& row, const std::string& shortName);

// One look at a location: decides run, stop or unchanged from state.sah's last-write time and
// parses the figures when the status is decided. now is seconds since 1970. True when the look
// decided the status (false: the file was held, unreadable, or unchanged since the last look).
bool LookAtLocation(WorkUnitRow& row, AnalysisFiles& files, int threshold, int64_t now, StatusSink& status);

// Parses state.sah's text into the row; the work unit and result files are read through files.
void ParseState(const std::string& text, WorkUnitRow& row, bool running, int64_t now, AnalysisFiles& files,
                StatusSink& status);

// Title of the minimised main window from the remembered row: "25.000% 1:00:00", or "Vantorel".
std::string MinimisedTitle(const ListRow* row);
// Notification tip: "Home: 25.000% 1:00:00", cut to the 63 characters the icon keeps.
std::string TrayTip(const ListRow& row);
inline constexpr size_t kTrayTipCapacity = 63;
