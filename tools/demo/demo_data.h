// Demo client directories: deterministic work units, signals and the text forms of the client's files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace demo
{

// xorshift64*: written out so the demo is byte-identical on every library version.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    std::uint64_t Next();
    double Uniform();                   // [0, 1)
    double Range(double lo, double hi); // [lo, hi)
    int Int(int lo, int hi);            // [lo, hi]
    double Bell();                      // sum of uniforms, roughly normal, mean 0, sd 1

private:
    std::uint64_t state_;
};

std::uint64_t HashText(const std::string& text);

enum class LineEnd { kLf, kCrLf };

// Seconds since 1970 (UTC) <-> calendar; no time zone is involved anywhere.
std::int64_t UnixFromCivil(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// "Mon Mar  5 10:20:30 2000", the C library's asctime layout without its line feed.
std::string AscTime(std::int64_t unixSeconds);
// A client date value: Julian date, a blank, the date text in parentheses.
std::string ClientDate(std::int64_t unixSeconds);
// "2000-03-15 14:22:10", the logging program's "date" column.
std::string LogDate(std::int64_t unixSeconds);

// Floating-point operations for a whole work unit of angle range a (the monitor's Mflops table).
double OperationsPerWorkUnit(double angleRange);

struct WorkUnit {
    std::string name;          // "13mr00aa.1234.5678.123.45": recording day, month code, year
    std::int64_t recorded = 0; // recording time, seconds since 1970
    double startRa = 0, startDec = 0, endRa = 0, endDec = 0, angleRange = 0;
    int subbandNumber = 0;
    double subbandBase = 0; // hertz
    std::uint64_t seed = 0; // everything not in the name derives from it
};

// A name for a unit recorded at the given time; the rest of the name comes from rng.
std::string MakeWorkUnitName(Rng& rng, std::int64_t recorded);
// The whole unit follows from its name, so the simulator can pick up a unit that make_demo wrote.
WorkUnit WorkUnitFromName(const std::string& name);

struct Spike {
    double power = 0, score = 0, chirpRate = 0;
    int bin = 0, fftInd = 0, fftLen = 0;
};
struct Gaussian {
    double power = 0, chisq = 0, trueMean = 0, sigma = 0, chirpRate = 0;
    int fftInd = 0, fftLen = 0, bin = 0;
    std::vector<double> pot; // 64 values, empty when none found yet
};
struct Pulse {
    double power = 0, score = 0, mean = 0, period = 0, chirpRate = 0;
    int freqBin = 0, timeBin = 0, fftLen = 0;
    std::string pot; // 512 two-digit hexadecimal heights
};
struct Triplet {
    double power = 0, score = 0, mean = 0, period = 0, bperiod = 0, chirpRate = 0, scale = 0;
    int tpotind[3][2] = {};
    int freqBin = 0, timeBin = 0, fftLen = 0;
    std::string pot; // 255 entries of count and height, four hexadecimal digits each
};
struct Signals {
    Spike spike;
    Gaussian gaussian;
    Pulse pulse;
    Triplet triplet;
};

// The best signals the client holds after working through the fraction prog of the unit;
// they improve at a few fixed points, so a running client shows them change now and then.
Signals SignalsAt(const WorkUnit& unit, double prog);

// Texts of the client files. state.sah is always LF; the others take the location's line end.
std::string StateSahText(const WorkUnit& unit, double prog, double cpuSeconds);
std::string WorkUnitSahText(const WorkUnit& unit, LineEnd lineEnd);

struct UserInfo {
    std::string name, email, country;
    std::int64_t id = 0, registered = 0, lastResult = 0;
    long results = 0;
    double totalCpu = 0;
};
std::string UserInfoText(const UserInfo& user, LineEnd lineEnd);
std::string ResultSahText(const WorkUnit& unit, double cpuSeconds);

enum class HeaderCase { kLower, kUpper };
struct LogStyle {
    LineEnd lineEnd = LineEnd::kLf;
    HeaderCase headerCase = HeaderCase::kLower;
    std::string host; // written quoted when it holds a comma or a quote
};
std::string LogHeaderLine(const LogStyle& style);
std::string LogRecordLine(const LogStyle& style, const WorkUnit& unit, double cpuSeconds, std::int64_t logged);

// One simulated machine: its speed decides the CPU time of a unit.
double CpuSecondsFor(const WorkUnit& unit, double mflops);

// Writes text to a temporary file next to path and renames it over path, so a reader never
// sees half a file. Returns false (and leaves no temporary file) on failure.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& text);
bool AppendToFile(const std::filesystem::path& path, const std::string& text);

// The three demo locations, as subfolders of outDir.
inline constexpr const char* kRunningLocation = "Home";
inline constexpr const char* kFinishedLocation = "Office";
inline constexpr const char* kStoppedLocation = "Attic";

// Fills outDir with the three locations; on failure error says what went wrong.
bool WriteDemo(const std::filesystem::path& outDir, std::string* error);

// The client simulator's state and one step of it.
struct SimState {
    WorkUnit unit;
    double prog = 0;
    double cpu = 0;
    double mflops = 200; // machine speed, kept across units
};
// Reads prog, cpu and the unit name from the location; false when they are not there.
bool LoadSimState(const std::filesystem::path& location, SimState* state);
enum class StepResult { kWorking, kNewUnit, kFailed };
// Adds cpuSeconds of work and rewrites state.sah. When the unit is finished it is logged in
// SETILog.csv, counted in user_info.sah, and a new unit starts at prog 0 in work_unit.sah.
// now (seconds since 1970) is the logging time.
StepResult StepSimulation(const std::filesystem::path& location, SimState* state, double cpuSeconds, std::int64_t now);

// The value after the first occurrence of key up to the line feed, as the monitor looks it up.
std::optional<std::string> FindKeyValue(const std::string& text, const std::string& key);
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

} // namespace demo
