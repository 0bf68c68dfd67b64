// Work that waits on the file system, run beside the window thread on the system's thread pool.
// A job only reads and parses; what it found goes back to a window as a posted message, and the
// window thread applies it. Nothing waits for a job: a window that is gone when the result comes
// back never sees it, and the result is freed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

// What a job hands back: its own kind of result. A job that ran out of memory hands back a plain
// one with outOfMemory set, one that failed otherwise (or returned none) a plain one without.
struct WorkResult {
    virtual ~WorkResult() = default;
    bool outOfMemory = false;
};

using Work = std::function<std::unique_ptr<WorkResult>()>;

// Queues the work; its result (never null) is posted to window as message with the result in
// lParam, for TakeWorkResult. False when the work could not be queued: then it never runs. Throws
// std::bad_alloc, on the calling thread, when there is no memory to queue it.
bool RunBeside(HWND window, UINT message, Work work);

// Takes over the result a RunBeside message carries.
std::unique_ptr<WorkResult> TakeWorkResult(LPARAM lParam);
