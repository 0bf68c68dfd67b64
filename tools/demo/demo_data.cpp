// Writes the three demo locations: a running client, a finished one and one stopped long ago.
#include "demo_data.h"

#include <chrono>
#include <system_error>

namespace demo
{

namespace
{

struct LocationPlan {
    const char* folder;
    std::uint64_t seed;
    double mflops;   // machine speed: decides the CPU time per unit
    LineEnd lineEnd; // work_unit.sah, user_info.sah and SETILog.csv
    HeaderCase headerCase;
    const char* host;
    int workUnits; // records in SETILog.csv
    std::int64_t firstLogged, lastLogged;
    std::int64_t currentRecorded; // recording day of the unit now in work
    double prog;                  // 1 means finished: result.sah is written
    UserInfo user;
    std::int64_t stateTime; // last-write time of state.sah; 0 leaves it at now
};

std::vector<LocationPlan> Plans()
{
    UserInfo mira;
    mira.name = "Mira Okonkwo";
    mira.email = "mira.okonkwo@example.net";
    mira.country = "Canada";
    mira.id = 2318844;
    mira.registered = UnixFromCivil(1999, 5, 26, 8, 20, 0);

    UserInfo homeUser = mira;
    homeUser.results = 1487;
    homeUser.totalCpu = 32718842.125;
    homeUser.lastResult = UnixFromCivil(2002, 12, 20, 18, 4, 51);
    // The office copy was written by the same account a few results earlier.
    UserInfo officeUser = mira;
    officeUser.results = 1481;
    officeUser.totalCpu = 32591020.5;
    officeUser.lastResult = UnixFromCivil(2002, 11, 30, 9, 12, 7);

    UserInfo tobias;
    tobias.name = "Tobias Wren";
    tobias.email = "twren@example.org";
    tobias.country = "United Kingdom";
    tobias.id = 3107712;
    tobias.registered = UnixFromCivil(1999, 8, 30, 19, 2, 11);
    tobias.results = 341;
    tobias.totalCpu = 16395583.75;
    tobias.lastResult = UnixFromCivil(2001, 8, 10, 22, 40, 3);

    return {
        {kRunningLocation, 0x484F4D45ull, 260.0, LineEnd::kLf, HeaderCase::kLower, "athlon-1000", 520,
         UnixFromCivil(1999, 6, 1), UnixFromCivil(2002, 12, 20), UnixFromCivil(2002, 10, 14), 0.37204816, homeUser, 0},
        {kFinishedLocation, 0x4F464649ull, 180.0, LineEnd::kCrLf, HeaderCase::kLower, "Desk 3, second floor", 430,
         UnixFromCivil(2000, 1, 10), UnixFromCivil(2002, 11, 30), UnixFromCivil(2002, 9, 3), 1.0, officeUser, 0},
        {kStoppedLocation, 0x41545449ull, 75.0, LineEnd::kLf, HeaderCase::kUpper, "the \"old\" PII", 330,
         UnixFromCivil(1999, 9, 1), UnixFromCivil(2001, 8, 10), UnixFromCivil(2001, 5, 22), 0.61873390, tobias,
         UnixFromCivil(2001, 8, 16, 10, 31, 5)},
    };
}

std::string LogText(const LocationPlan& plan, Rng& rng)
{
    const LogStyle style{plan.lineEnd, plan.headerCase, plan.host};
    const std::int64_t earliest = UnixFromCivil(1999, 1, 2);
    const double slot = static_cast<double>(plan.lastLogged - plan.firstLogged) / plan.workUnits;
    std::string text = LogHeaderLine(style);
    for (int i = 0; i < plan.workUnits; ++i) {
        const auto logged = plan.firstLogged + static_cast<std::int64_t>((i + rng.Range(0.1, 0.9)) * slot);
        // Data reached the clients weeks to a year after the telescope recorded it.
        std::int64_t recorded = logged - static_cast<std::int64_t>(rng.Range(20.0, 420.0) * 86400.0);
        if (recorded < earliest)
            recorded = earliest + static_cast<std::int64_t>(rng.Range(0.0, 150.0) * 86400.0);
        const WorkUnit unit = WorkUnitFromName(MakeWorkUnitName(rng, recorded));
        text += LogRecordLine(style, unit, CpuSecondsFor(unit, plan.mflops), logged);
    }
    return text;
}

bool WriteLocation(const std::filesystem::path& dir, const LocationPlan& plan, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        *error = "cannot create " + dir.string() + ": " + ec.message();
        return false;
    }
    Rng rng(plan.seed);
    const WorkUnit unit = WorkUnitFromName(MakeWorkUnitName(rng, plan.currentRecorded));
    const double cpu = plan.prog * CpuSecondsFor(unit, plan.mflops);

    const std::pair<const char*, std::string> files[] = {
        {"work_unit.sah", WorkUnitSahText(unit, plan.lineEnd)},
        {"user_info.sah", UserInfoText(plan.user, plan.lineEnd)},
        {"SETILog.csv", LogText(plan, rng)},
        {"state.sah", StateSahText(unit, plan.prog, cpu)},
    };
    for (const auto& [name, text] : files) {
        if (!WriteFileAtomically(dir / name, text)) {
            *error = "cannot write " + (dir / name).string();
            return false;
        }
    }
    const std::filesystem::path result = dir / "result.sah";
    if (plan.prog >= 1.0) {
        if (!WriteFileAtomically(result, ResultSahText(unit, cpu))) {
            *error = "cannot write " + result.string();
            return false;
        }
    } else {
        // A result left from an earlier simulator run would make this location look finished.
        std::filesystem::remove(result, ec);
    }
    if (plan.stateTime != 0) {
        const auto sys = std::chrono::sys_seconds(std::chrono::seconds(plan.stateTime));
        std::filesystem::last_write_time(dir / "state.sah", std::chrono::file_clock::from_sys(sys), ec);
        if (ec) {
            *error = "cannot set the time of " + (dir / "state.sah").string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace

bool WriteDemo(const std::filesystem::path& outDir, std::string* error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    for (const LocationPlan& plan : Plans())
        if (!WriteLocation(outDir / plan.folder, plan, error))
            return false;
    return true;
}

} // namespace demo
