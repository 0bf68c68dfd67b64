// Run/stop decision and progress figures of one location.
#include "core/analysis/analysis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <ctime>
#include <optional>

#include "core/common/program_texts.h"
#include "core/client/find_value.h"

namespace
{

constexpr uint64_t kFileTimeUnitsPerSecond = 10000000;
constexpr double kHoursPerSecond = 0.0002777777777777778;
constexpr uint32_t kWorkUnitHeaderBytes = 4096;
// Time left and completion are shown as 32-bit counts, as on the systems the program came from.
constexpr double kLongestTimeLeft = INT32_MAX;

void BlankFigures(WorkUnitRow& row)
{
    for (int cell = kCellCpuTime; cell < kAnalysisCellCount; ++cell)
        row.cells.ReplaceCell(cell, " ");
    row.best.spikePower = 0;
    row.best.gaussianPower = 0;
    row.best.pulsePower = 0;
    row.best.tripletScore = 0;
    row.unchangedCount = kLookAtOnce;
}

std::string Fixed(const char* format, double value)
{
    return Format(format, std::isfinite(value) ? value : 0.0);
}

// "%a %H:%M" of a local time; empty when the system cannot convert it.
std::string LocalDayAndTime(int64_t seconds)
{
    const time_t when = static_cast<time_t>(seconds);
    const std::tm* local = std::localtime(&when);
    char text[64] = {};
    if (!local || std::strftime(text, sizeof text, "%a %H:%M", local) == 0)
        return std::string();
    return text;
}

// Reads the first 4096 bytes of work_unit.sah for the angle range; false ends the parse.
std::optional<std::string> ReadWorkUnitHeader(const WorkUnitRow& row, AnalysisFiles& files, StatusSink& status)
{
    const std::string path = files.PathOf(row.path, kWorkUnitFile);
    FileLook look = files.Read(path, kWorkUnitHeaderBytes);
    switch (look.status) {
    case FileReadStatus::Ok:
    case FileReadStatus::Empty:
        return std::move(look.text);
    case FileReadStatus::SharingViolation:
        return std::nullopt;
    case FileReadStatus::OpenFailed:
        status.SetStatusText(look.errorText + " " + path);
        return std::nullopt;
    case FileReadStatus::OutOfMemory:
        status.SetStatusText(kOutOfMemory);
        return std::nullopt;
    case FileReadStatus::ReadFailed:
        status.SetStatusText("Error reading work_unit.sah");
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

int StopThreshold(int refreshPosition)
{
    if (refreshPosition > 30)
        return 1;
    return 30 / std::max(refreshPosition, 1);
}

std::string FormatDuration(long seconds)
{
    return Format("%d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds % 3600 / 60),
                  static_cast<int>(seconds % 60));
}

double OperationsPerWorkUnit(double a)
{
    if (a < 0.2255)
        return 3.54e12 * std::exp(0.0327 * a);
    if (a <= 1.1274)
        return 3.74e12 * std::pow(a, -0.1075);
    return 3.37e12 * std::pow(a, -0.0065);
}

void InitAnalysisRow(WorkUnitRow& row, const std::string& shortName)
{
    row.cells.SetCell(kCellLocation, kAnalysisColumns[kCellLocation].kind, shortName);
    row.cells.SetCell(kCellStatus, kAnalysisColumns[kCellStatus].kind, kStatusStop);
    for (int cell = kCellPercent; cell < kAnalysisCellCount; ++cell)
        row.cells.SetCell(cell, kAnalysisColumns[cell].kind, " ");
}

namespace
{

// The look itself; LookAtLocation adds the derived cells to a look that decided.
bool LookAtState(WorkUnitRow& row, AnalysisFiles& files, int threshold, int64_t now, StatusSink& status)
{
    const std::string path = files.PathOf(row.path, kStateFile);
    FileLook look = files.Read(path, 0);
    switch (look.status) {
    case FileReadStatus::SharingViolation:
        return false; // the client is writing it: look again next time
    case FileReadStatus::OpenFailed:
        status.SetStatusText(look.errorText + " " + path);
        row.cells.ReplaceCell(kCellStatus, kStatusNotValid);
        BlankFigures(row);
        row.cells.ReplaceCell(kCellPercent, "");
        if (look.error == kErrorBadNetPath)
            row.cells.ReplaceCell(kCellStatus, kStatusErr53);
        else if (files.Opens(files.PathOf(row.path, kWorkUnitFile)))
            row.cells.ReplaceCell(kCellPercent, "0.000"); // a work unit without a state yet
        return true;
    case FileReadStatus::Empty:
        status.SetStatusText("state.sah file is empty for " + path);
        row.cells.ReplaceCell(kCellPercent, "0.000");
        row.cells.ReplaceCell(kCellStatus, kStatusNotValid);
        BlankFigures(row);
        return true;
    case FileReadStatus::OutOfMemory:
        status.SetStatusText(kOutOfMemory);
        return false;
    case FileReadStatus::ReadFailed:
        status.SetStatusText("Error reading state.sah");
        return false;
    case FileReadStatus::Ok:
        break;
    }

    if (row.stateTime == kStateTimeUnset)
        row.stateTime = look.lastWrite;
    // Unsigned on purpose: a last-write time earlier than the state time counts as a change.
    const uint64_t elapsed = (look.lastWrite - row.stateTime) / kFileTimeUnitsPerSecond;
    if (row.unchangedCount >= threshold) {
        row.cells.ReplaceCell(kCellStatus, kStatusStop);
        row.unchangedCount = 0;
        ParseState(look.text, row, false, now, files, status);
    } else if (elapsed != 0) {
        row.cells.ReplaceCell(kCellStatus, kStatusRun);
        row.unchangedCount = 0;
        row.stateTime = look.lastWrite;
        ParseState(look.text, row, true, now, files, status);
    } else {
        ++row.unchangedCount;
        return false;
    }
    return true;
}

} // namespace

bool LookAtLocation(WorkUnitRow& row, AnalysisFiles& files, int threshold, int64_t now, StatusSink& status)
{
    if (!LookAtState(row, files, threshold, now, status))
        return false;
    for (int cell = 0; cell < kAnalysisCellCount; ++cell)
        if (const auto derive = kAnalysisColumns[cell].derive)
            row.cells.ReplaceCell(cell, derive(row));
    return true;
}

void ParseState(const std::string& text, WorkUnitRow& row, bool running, int64_t now, AnalysisFiles& files,
                StatusSink& status)
{
    const std::optional<std::string> progress = FindValue(text, "prog=", status);
    if (!progress)
        return;
    const double percent = ToNumber(*progress) * 100;
    row.cells.ReplaceCell(kCellPercent, Fixed("%.3f", percent));

    const std::optional<std::string> cpuText = FindValue(text, "cpu=", status);
    if (!cpuText)
        return;
    // Whole seconds; a negative count from a damaged file is shown as none spent.
    const long cpu = std::max(ToInteger(*cpuText), 0L);
    row.cells.ReplaceCell(kCellCpuTime, FormatDuration(cpu), Format("%ld", cpu));
    row.cells.ReplaceCell(kCellCompletion, "", "0");

    if (percent != 0) {
        // A progress so large that it overflows to infinity makes the estimate 0 * infinity, which is
        // not a number and must not reach the integer conversion: no time is left then.
        const double estimate = std::trunc(cpu / percent * (100 - percent));
        const double left = std::isnan(estimate) ? 0.0 : std::clamp(estimate, 0.0, kLongestTimeLeft);
        const long secondsLeft = static_cast<long>(left);
        row.cells.ReplaceCell(kCellTimeLeft, FormatDuration(secondsLeft), Format("%ld", secondsLeft));
        if (running) {
            const int64_t completion = now + secondsLeft;
            row.cells.ReplaceCell(kCellCompletion, LocalDayAndTime(completion),
                                  Format("%lld", static_cast<long long>(completion)));
        }
    }
    // No CPU time yet means no measurable speed: the rates show 0 rather than a division by zero.
    row.cells.ReplaceCell(kCellPercentPerHour, Fixed("%.5f", cpu > 0 ? percent / (cpu * kHoursPerSecond) : 0.0));

    if (!ReadBestSignals(text, row.best, status))
        return;

    const std::optional<std::string> header = ReadWorkUnitHeader(row, files, status);
    if (!header)
        return;
    const std::optional<std::string> range = FindValue(*header, "angle_range=", status);
    if (range) {
        row.angleRange = ToNumber(*range);
        const double operations = OperationsPerWorkUnit(row.angleRange);
        const double mflops = cpu > 0 ? operations * (percent * 0.01) / cpu * 0.000001 : 0.0;
        row.cells.ReplaceCell(kCellMflops, Fixed("%.2f", mflops));
        row.cells.ReplaceCell(kCellAngleRange, Fixed("%.3f", row.angleRange));
    } else {
        // Without the angle range there is no estimate of the work: show neither figure.
        row.cells.ReplaceCell(kCellMflops, " ");
        row.cells.ReplaceCell(kCellAngleRange, " ");
    }

    if (files.Exists(files.PathOf(row.path, kResultFile))) {
        row.cells.ReplaceCell(kCellStatus, kStatusDone);
        row.unchangedCount = kLookAtOnce;
    }
}

std::string MinimisedTitle(const ListRow* row)
{
    if (!row || row->Text(kCellPercent).empty())
        return kProgramTitle;
    std::string title(row->Text(kCellPercent));
    title += "% ";
    title += row->Text(kCellCpuTime);
    return title;
}

std::string TrayTip(const ListRow& row)
{
    std::string tip(row.Text(kCellLocation));
    tip += ": ";
    if (!row.Text(kCellPercent).empty()) {
        tip += row.Text(kCellPercent);
        tip += "% ";
        tip += row.Text(kCellCpuTime);
    }
    if (tip.size() > kTrayTipCapacity)
        tip.resize(kTrayTipCapacity);
    return tip;
}
