// Fuzzes value lookup, ParseState and ReadBestSignals on arbitrary state.sah and work_unit.sah texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <map>

#include "core/analysis/analysis.h"
#include "core/client/best_signals.h"
#include "core/client/find_value.h"
#include "fuzz_check.h"

namespace
{

// The longest text a "%.5f" of the largest finite double prints (309 digits, a sign, a point, 5 places).
constexpr size_t kLongestNumberText = 320;

class FuzzFiles : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* fileName) override
    {
        return directory + "\\" + fileName;
    }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        const auto found = files.find(path);
        if (found == files.end()) {
            FileLook missing;
            missing.error = 2;
            missing.errorText = "Error #2.";
            return missing;
        }
        FileLook look = found->second;
        if (maxBytes && look.text.size() > maxBytes)
            look.text.resize(maxBytes);
        return look;
    }
    bool Opens(const std::string& path) override { return files.count(path) > 0; }
    bool Exists(const std::string& path) override { return files.count(path) > 0; }

    std::map<std::string, FileLook> files;
};

void CheckSignals(const BestSignals& best)
{
    CheckCopied(best.gaussianPot, kGaussianPotCapacity, "gaussian pot over its capacity");
    FuzzCheck(best.pulsePot.size() <= kHexPotBytes, "pulse pot over its capacity");
    FuzzCheck(best.tripletPot.size() <= kHexPotBytes, "triplet pot over its capacity");
    for (const double value :
         {best.gaussianTrueMean, best.gaussianPower, best.spikePower, best.gaussianChiSquare, best.pulseScore,
          best.pulsePower, best.tripletScore, best.tripletPower, best.tripletPotIndex[2][1], best.tripletFftLength})
        CheckFinite(value, "best signal not finite");
    // Only whole values are kept: every piece of the gaussian pot ends with its separator.
    FuzzCheck(best.gaussianPot.empty() || best.gaussianPot.back() == kGaussianPotSeparator,
              "gaussian pot ends inside a value");
}

void CheckRow(const WorkUnitRow& row)
{
    const std::string_view statusText = row.cells.Text(kCellStatus);
    FuzzCheck(statusText == kStatusRun || statusText == kStatusStop || statusText == kStatusDone ||
                  statusText == kStatusNotValid || statusText == kStatusErr53,
              "unknown status", statusText);
    for (int cell = kCellPercent; cell < kAnalysisCellCount; ++cell) {
        CheckFormatted(row.cells.Text(cell), kLongestNumberText, "analysis cell not short and printable");
        CheckNumberKey(row.cells, cell);
    }
    CheckFinite(row.angleRange, "angle range not finite");
    CheckSignals(row.best);
    CheckFormatted(MinimisedTitle(&row.cells), 2 * kLongestNumberText + 2, "minimised title");
    FuzzCheck(TrayTip(row.cells).size() <= kTrayTipCapacity, "tray tip over its capacity");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("TZ", "UTC0", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool resultPresent = input.ConsumeBool();
    const bool twoLooks = input.ConsumeBool();
    const uint64_t secondWrite = input.ConsumeIntegral<uint64_t>();
    // The current time comes from the system clock, not from a file: any time from 1970 to 2100.
    const int64_t now = input.ConsumeIntegralInRange<int64_t>(0, 4102444800);
    const std::string workUnit = input.ConsumeRandomLengthString(8192);
    const long duration = input.ConsumeIntegral<long>();
    const std::string key = input.ConsumeRandomLengthString(40);
    const std::string state = input.ConsumeRemainingBytesAsString();

    LatestStatus status;
    // Both lookups answer as the standard search, for the key given and for one of up to 1,023
    // characters cut out of the text: found there or, with its last character changed, almost.
    std::string inner = state.substr(state.empty() ? 0 : secondWrite % state.size(), (secondWrite >> 32) % 1024);
    if (!inner.empty() && (secondWrite >> 16) % 2)
        inner.back() = static_cast<char>(inner.back() + 1);
    const KeyedText keyed(state);
    for (const std::string& wanted : {key, inner}) {
        const size_t expected = std::string_view(state).find(wanted);
        FuzzCheck(keyed.Find(wanted) == expected, "indexed lookup differs", wanted);
        FuzzCheck(FindKey(state, wanted) == expected, "lookup differs from the standard search", wanted);
    }
    // The raw lookups and conversions on their own.
    if (const std::optional<std::string> value = FindValue(state, key.empty() ? "prog=" : key, status)) {
        CheckCopied(*value, kValueCapacity, "value over its capacity");
        FuzzCheck(value->find('\n') == std::string::npos, "value holds a line feed", *value);
        CheckFinite(ToNumber(*value), "ToNumber not finite");
        CheckNumberLikeStrtod(*value, ToNumber(*value), kValueCapacity);
        CheckNumberLikeStrtod(key, ToNumber(key), kValueCapacity);
        (void)ToInteger(*value);
        (void)SkipBlanks(*value);
        CheckFinite(OperationsPerWorkUnit(ToNumber(*value)), "operations per work unit not finite");
    }
    CheckFormatted(FormatDuration(duration), 40, "duration text");
    BestSignals signals;
    ReadBestSignals(state, signals, status);
    CheckSignals(signals);

    // Whole looks at a location: a first look parses as stopped, a second with a newer write as running.
    FuzzFiles files;
    FileLook stateLook;
    stateLook.status = FileReadStatus::Ok;
    stateLook.text = state;
    stateLook.lastWrite = 130000000000000000ull;
    files.files["C:\\Home\\state.sah"] = stateLook;
    FileLook workUnitLook;
    workUnitLook.status = workUnit.empty() ? FileReadStatus::Empty : FileReadStatus::Ok;
    workUnitLook.text = workUnit;
    files.files["C:\\Home\\work_unit.sah"] = workUnitLook;
    if (resultPresent)
        files.files["C:\\Home\\result.sah"] = workUnitLook;

    WorkUnitRow row("C:\\Home", kAnalysisCellCount);
    InitAnalysisRow(row, "Home");
    LookAtLocation(row, files, StopThreshold(60), now, status);
    CheckRow(row);
    if (twoLooks) {
        files.files["C:\\Home\\state.sah"].lastWrite = secondWrite;
        LookAtLocation(row, files, StopThreshold(5), now, status);
        CheckRow(row);
    }
    ParseState(state, row, true, now, files, status);
    CheckRow(row);
    FuzzCheck(status.Text().size() <= 200, "status message too long", status.Text());
    return 0;
}
