// A long read of SETILog.csv files beside the window: it runs on the system's thread pool while the
// window answers. Once it has lasted a grace period its progress shows on the status line
// ("Reading SETILog.csv of Home: 45%") and on the taskbar button; a read can be stopped (Escape
// stops every one), and a stopped read hands nothing back.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/background_reads.h"
#include "platform/worker.h"

// How long a read runs before it shows its progress, and how long a refresh waits for its reads
// before it names whom it waits for. A quarter second: a healthy share answers a refresh's few
// files in milliseconds, so a refresh ends as soon as they are in, as one on the window thread
// did; a share that takes longer holds back only its own row, and the user sees the others
// without a noticeable wait.
inline constexpr DWORD kReadGraceMilliseconds = 250;

// The work of a read: it reads the logs, telling the progress which one (by its place among the
// names the read was started with) and how far, and heeds the progress's stop.
using LongReadWork = std::function<std::unique_ptr<WorkResult>(ReadProgress& progress)>;
// What becomes of the result, on the window thread. A work that failed (ran out of memory) hands
// over a result with failed set that is of no other kind.
using LongReadDone = std::function<void(std::unique_ptr<WorkResult> result)>;

class LongRead
{
public:
    LongRead();
    LongRead(const LongRead&) = delete;
    LongRead& operator=(const LongRead&) = delete;
    ~LongRead();

    // Stops a read of this one under way and starts the work; names are the short names of its
    // logs. stopped runs when StopLongReads stops it. Where no window can be had for the answer,
    // done gets a failed result before this returns.
    void Start(std::vector<std::string> names, LongReadWork work, LongReadDone done,
               std::function<void()> stopped = {});
    // Stops the read: its result is dropped, its progress leaves the status line and the taskbar.
    void Stop();
    bool Running() const { return run_ != nullptr; }

private:
    struct Run;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnFinished(LPARAM lParam);
    static void OnTick();
    void ForgetRun();
    friend void StopLongReads();

    std::unique_ptr<Run> run_;
};

// True while any long read runs.
bool LongReadsRunning();
// Stops every long read that runs, telling each its stopped.
void StopLongReads();
