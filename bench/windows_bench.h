// What the window benchmarks share: the platform's name, the stand-in main window, the clock, file lines.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#ifdef _WIN64
inline constexpr char kPlatform[] = "win64";
#else
inline constexpr char kPlatform[] = "win32";
#endif

// The stand-in main window the pages live in, shown so that painting really happens.
void CreateMainWindow();
void PumpMessages();
LARGE_INTEGER Now();
double Seconds(LARGE_INTEGER from, LARGE_INTEGER to);
std::vector<std::string> ReadLines(const std::string& path);

// The Sky Map workload: opening, full paints, repaints after a scroll step and an uncovering.
void BenchSkyMap(const std::string& inputs);

// From here on every client file the refreshes read waits 3 ms first, as on a healthy share.
void ReadClientFilesSlowly();
