// make_bench_inputs OUTDIR: writes the deterministic benchmark inputs (logs, client files, sky points).
#include <cstdio>
#include <filesystem>
#include <string>

#include "demo_data.h"

namespace
{

namespace fs = std::filesystem;

// The first unit is recorded here; each later one a few hours on, as a busy machine logs them.
const std::int64_t kFirstRecorded = demo::UnixFromCivil(1999, 6, 1, 8, 0, 0);
constexpr std::int64_t kLogStep = 4 * 3600 + 1234;

bool Write(const fs::path& path, const std::string& text)
{
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (!demo::WriteFileAtomically(path, text)) {
        std::fprintf(stderr, "make_bench_inputs: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// A SETILog.csv of count units with every pot filled (the logging program writes them whole).
std::string LogText(int count, std::uint64_t seed)
{
    demo::Rng rng(seed);
    const demo::LogStyle style{demo::LineEnd::kCrLf, demo::HeaderCase::kLower, "bench-host"};
    std::string text = demo::LogHeaderLine(style);
    std::int64_t recorded = kFirstRecorded;
    for (int i = 0; i < count; ++i) {
        recorded += kLogStep + rng.Int(0, 3600);
        const demo::WorkUnit unit = demo::WorkUnitFromName(demo::MakeWorkUnitName(rng, recorded));
        const double cpu = demo::CpuSecondsFor(unit, 150 + rng.Int(0, 200));
        text += demo::LogRecordLine(style, unit, cpu, recorded + 86400 * 30 + static_cast<std::int64_t>(cpu));
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bench_inputs OUTDIR\n");
        return 2;
    }
    const fs::path out = argv[1];

    for (const int count : {10000, 100000})
        if (!Write(out / ("completed" + std::to_string(count)) / "SETILog.csv", LogText(count, 0xC0FFEEull + count)))
            return 1;

    // 200 client folders halfway through a unit each.
    demo::Rng rng(0xA11A15ull);
    for (int i = 0; i < 200; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "loc%03d", i);
        const demo::WorkUnit unit = demo::WorkUnitFromName(demo::MakeWorkUnitName(rng, kFirstRecorded + i * 7919));
        const double prog = rng.Range(0.05, 0.95);
        if (!Write(out / "analysis" / name / "state.sah", demo::StateSahText(unit, prog, 20000 * prog)) ||
            !Write(out / "analysis" / name / "work_unit.sah", demo::WorkUnitSahText(unit, demo::LineEnd::kCrLf)))
            return 1;
    }

    // A state.sah of 32 MiB whose header has only prog= and cpu=, then "b" to its end: every other
    // key the refresh looks for is searched through the whole text and not found.
    {
        std::string text = "prog=0.25000000\ncpu=3600.000000\n";
        text.resize(32u << 20, 'b');
        if (!Write(out / "largestate" / "state.sah", text))
            return 1;
    }

    // 100,000 points spread over the sky: "ra dec colour name|recorded", in runs of eight locations'
    // colours as the Completed tab hands them over.
    {
        constexpr int kLocationColours[] = {65535, 255, 65280, 16711680, 16776960, 16711935, 8421504, 33023};
        demo::Rng sky(0x5CA1ull);
        std::string text;
        text.reserve(100000 * 60);
        for (int i = 0; i < 100000; ++i) {
            char line[160];
            std::snprintf(line, sizeof line, "%.6f %.6f %d 13mr00aa.%d.%d|%s\n", sky.Range(0, 24), sky.Range(-30, 60),
                          kLocationColours[i / 12500], i, sky.Int(0, 9999),
                          demo::AscTime(kFirstRecorded + i * 600).c_str());
            text += line;
        }
        if (!Write(out / "skypoints.txt", text))
            return 1;
    }

    // 50 locations of 2,000 work units for the calendar.
    for (int i = 0; i < 50; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "cal%02d", i);
        if (!Write(out / "calendar" / name / "SETILog.csv", LogText(2000, 0xCA1ull + i)))
            return 1;
    }
    return 0;
}
