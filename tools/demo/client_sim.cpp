// client_sim LOCATIONDIR [SECONDS_PER_STEP] [STEPS] [SPEEDUP]: keeps a demo location's state.sah moving.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "demo_data.h"

namespace
{

volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int)
{
    stopRequested = 1;
}

void InstallStopHandlers()
{
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Sleeps in short slices so a stop signal ends the wait within a tenth of a second.
void Wait(double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!stopRequested && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: client_sim LOCATIONDIR [SECONDS_PER_STEP=3] [STEPS=0 (forever)] [SPEEDUP=1]\n"
                             "SPEEDUP multiplies the CPU time each step adds, to watch a unit finish sooner.\n");
        return 2;
    }
    const std::filesystem::path location = argv[1];
    const double secondsPerStep = argc > 2 ? std::atof(argv[2]) : 3.0;
    const long steps = argc > 3 ? std::atol(argv[3]) : 0;
    const double speedup = argc > 4 ? std::atof(argv[4]) : 1.0;
    if (secondsPerStep <= 0 || steps < 0 || speedup <= 0) {
        std::fprintf(stderr, "client_sim: SECONDS_PER_STEP and SPEEDUP must be positive, STEPS not negative\n");
        return 2;
    }

    demo::SimState state;
    if (!demo::LoadSimState(location, &state)) {
        std::fprintf(stderr, "client_sim: %s holds no state.sah and work_unit.sah with a unit (run make_demo first)\n",
                     location.string().c_str());
        return 1;
    }
    InstallStopHandlers();
    std::printf("client_sim: %s, unit %s at %.3f%%\n", location.string().c_str(), state.unit.name.c_str(),
                state.prog * 100.0);
    std::fflush(stdout);

    for (long step = 0; !stopRequested && (steps == 0 || step < steps); ++step) {
        Wait(secondsPerStep);
        if (stopRequested)
            break;
        // A client at idle priority gets most of one processor.
        const double cpu = secondsPerStep * 0.98 * speedup;
        switch (demo::StepSimulation(location, &state, cpu, static_cast<std::int64_t>(std::time(nullptr)))) {
        case demo::StepResult::kFailed:
            std::fprintf(stderr, "client_sim: cannot update the files in %s\n", location.string().c_str());
            return 1;
        case demo::StepResult::kNewUnit:
            std::printf("client_sim: unit done, new unit %s\n", state.unit.name.c_str());
            std::fflush(stdout);
            break;
        case demo::StepResult::kWorking:
            break;
        }
    }
    std::printf("client_sim: stopped at %.3f%%\n", state.prog * 100.0);
    return 0;
}
