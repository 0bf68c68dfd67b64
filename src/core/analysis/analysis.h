// The progress analysis of one location: the run/stop decision and the figures from state.sah and work_unit.sah.
#pragma once

#include <cstdint>
#include <string>

#include "core/client/file_look.h"
#include "core/common/program_texts.h"
#include "core/common/status_sink.h"
#include "core/lists/list_row.h"

// Cells of an Analysis row.
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
    kAnalysisCellCount
};

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
