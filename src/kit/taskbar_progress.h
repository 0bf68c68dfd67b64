// A long load's progress on the program's taskbar button, where the system offers one. Where it
// does not (an older system, no taskbar), nothing is shown and nothing fails.
#pragma once

#include <windows.h>

#include <cstdint>

void ShowTaskbarProgress(HWND window, uint64_t done, uint64_t total);
void EndTaskbarProgress(HWND window);
