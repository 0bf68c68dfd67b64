// Pre-refresh commands for the tests: the slow command beside the test program, and a pump that
// dispatches messages while a refresh waits for its command.
#pragma once

#include <windows.h>

#include <string>

#include "pages/analysis_refresh.h"

// The command line of slow_command.exe, which runs until flagPath exists and logs to logPath.
inline std::string SlowCommandLine(const std::string& flagPath, const std::string& logPath)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path = self;
    path.resize(path.find_last_of('\\') + 1);
    return "\"" + path + "slow_command.exe\" \"" + flagPath + "\" \"" + logPath + "\"";
}

// Dispatches messages until no refresh waits for its command; false if one still waits after a
// minute (a hung command, not a slow machine).
inline bool PumpWhileCommandRuns()
{
    const DWORD start = GetTickCount();
    while (AnalysisRefreshWaiting()) {
        if (GetTickCount() - start > 60000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

// A refresh as the timer, F5 or a button starts it, and the messages up to its end: by then every
// location's read is in (a read that answers promptly always comes back within the grace period).
inline void RefreshAndWait(bool rebuild)
{
    RefreshAnalysis(rebuild);
    PumpWhileCommandRuns();
}
