// One step of the simulated client: more progress and CPU time, and a new unit when one is done.
#include "demo_data.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace demo
{

namespace
{

// Replaces the value of the line that starts with key, keeping the line's own ending.
bool ReplaceLineValue(std::string& text, const std::string& key, const std::string& value)
{
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.compare(at, key.size(), key) == 0) {
            const std::size_t start = at + key.size();
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            if (end > start && text[end - 1] == '\r')
                --end;
            text.replace(start, end - start, value);
            return true;
        }
        const std::size_t next = text.find('\n', at);
        if (next == std::string::npos)
            break;
        at = next + 1;
    }
    return false;
}

LineEnd LineEndOf(const std::string& text)
{
    const std::size_t lf = text.find('\n');
    return lf != std::string::npos && lf > 0 && text[lf - 1] == '\r' ? LineEnd::kCrLf : LineEnd::kLf;
}

std::string Trimmed(std::string value)
{
    while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
        value.pop_back();
    return value;
}

bool LogFinishedUnit(const std::filesystem::path& location, const SimState& state, std::int64_t now)
{
    const std::filesystem::path log = location / "SETILog.csv";
    LogStyle style;
    style.host = "simulated";
    const std::optional<std::string> existing = ReadWholeFile(log);
    if (existing && !existing->empty()) {
        style.lineEnd = LineEndOf(*existing);
        style.headerCase = (*existing)[0] >= 'A' && (*existing)[0] <= 'Z' ? HeaderCase::kUpper : HeaderCase::kLower;
        if (existing->back() != '\n' && !AppendToFile(log, style.lineEnd == LineEnd::kCrLf ? "\r\n" : "\n"))
            return false;
    } else if (!AppendToFile(log, LogHeaderLine(style))) {
        return false;
    }
    return AppendToFile(log, LogRecordLine(style, state.unit, state.cpu, now));
}

bool CountInUserInfo(const std::filesystem::path& location, const SimState& state, std::int64_t now)
{
    const std::filesystem::path path = location / "user_info.sah";
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        return false;
    const long results = std::atol(FindKeyValue(*text, "nresults=").value_or("0").c_str()) + 1;
    const double total = std::atof(FindKeyValue(*text, "total_cpu=").value_or("0").c_str()) + state.cpu;
    char number[64];
    std::snprintf(number, sizeof number, "%ld", results);
    ReplaceLineValue(*text, "nresults=", number);
    std::snprintf(number, sizeof number, "%ld", results + 1);
    ReplaceLineValue(*text, "nwus=", number);
    std::snprintf(number, sizeof number, "%.6f", total);
    ReplaceLineValue(*text, "total_cpu=", number);
    ReplaceLineValue(*text, "last_result_time=", ClientDate(now));
    return WriteFileAtomically(path, *text);
}

bool StartNewUnit(const std::filesystem::path& location, SimState* state)
{
    const std::filesystem::path path = location / "work_unit.sah";
    const std::optional<std::string> old = ReadWholeFile(path);
    const LineEnd lineEnd = old ? LineEndOf(*old) : LineEnd::kLf;
    // The next unit follows from the finished one, so a rerun of the demo repeats itself.
    Rng rng(state->unit.seed + 1);
    const std::int64_t first = UnixFromCivil(1999, 1, 2);
    const std::int64_t span = UnixFromCivil(2002, 12, 30) - first;
    const std::int64_t recorded = first + static_cast<std::int64_t>(rng.Next() % static_cast<std::uint64_t>(span));
    state->unit = WorkUnitFromName(MakeWorkUnitName(rng, recorded));
    state->prog = 0;
    state->cpu = 0;
    return WriteFileAtomically(path, WorkUnitSahText(state->unit, lineEnd));
}

} // namespace

std::optional<std::string> FindKeyValue(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::size_t start = at + key.size();
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos)
        return std::nullopt;
    return text.substr(start, end - start);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool LoadSimState(const std::filesystem::path& location, SimState* state)
{
    const std::optional<std::string> stateText = ReadWholeFile(location / "state.sah");
    const std::optional<std::string> unitText = ReadWholeFile(location / "work_unit.sah");
    if (!stateText || !unitText)
        return false;
    const std::optional<std::string> prog = FindKeyValue(*stateText, "prog=");
    const std::optional<std::string> cpu = FindKeyValue(*stateText, "cpu=");
    const std::optional<std::string> name = FindKeyValue(*unitText, "name=");
    if (!prog || !cpu || !name || Trimmed(*name).empty())
        return false;
    state->unit = WorkUnitFromName(Trimmed(*name));
    state->prog = std::clamp(std::atof(prog->c_str()), 0.0, 1.0);
    state->cpu = std::max(0.0, std::atof(cpu->c_str()));
    // The machine's speed follows from the work done so far; CpuSecondsFor(unit, 1) is the time
    // at one Mflops, so dividing by the expected total gives the speed.
    if (state->prog > 0.001 && state->cpu > 1.0)
        state->mflops = CpuSecondsFor(state->unit, 1.0) / (state->cpu / state->prog);
    return true;
}

StepResult StepSimulation(const std::filesystem::path& location, SimState* state, double cpuSeconds, std::int64_t now)
{
    const double total = CpuSecondsFor(state->unit, state->mflops);
    state->cpu += cpuSeconds;
    state->prog = std::min(1.0, state->cpu / total);
    StepResult result = StepResult::kWorking;
    if (state->prog >= 1.0) {
        if (!LogFinishedUnit(location, *state, now) || !CountInUserInfo(location, *state, now) ||
            !StartNewUnit(location, state))
            return StepResult::kFailed;
        result = StepResult::kNewUnit;
    }
    if (!WriteFileAtomically(location / "state.sah", StateSahText(state->unit, state->prog, state->cpu)))
        return StepResult::kFailed;
    return result;
}

} // namespace demo
