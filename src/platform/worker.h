// Work that waits on the file system, run beside the window thread on the system's thread pool.
// A job only reads and parses; what it found goes back to a window as a posted message, and the
// window thread applies it. Nothing waits for a job: a window that is gone when the result comes
// back never sees it, and the result is freed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

// What a job hands back: a result of the caller's own kind, made before the job is queued, so that
// whatever becomes of the job its answer carries what the caller put in it (a key, a number).
struct WorkResult {
    virtual ~WorkResult() = default;
    bool failed = false;      // the job threw: what it filled in counts for nothing
    bool outOfMemory = false; // it threw because memory ran out
};

// Fills the result in, beside the window thread.
using Work = std::function<void(WorkResult& result)>;

// Queues the work on the result; the result is then posted to window as message, with the result
// in lParam, for TakeWorkResult. Where no pool thread can be had, the work runs here and its result
// is posted all the same. False when the result cannot be posted (no window): then it is freed.
// Throws std::bad_alloc, on the calling thread, when there is no memory to queue the work.
bool RunBeside(HWND window, UINT message, std::unique_ptr<WorkResult> result, Work work);

// The same for a result of a kind of its own, which the work fills in as that kind.
template <typename Result, typename Fill>
bool RunBeside(HWND window, UINT message, std::unique_ptr<Result> result, Fill fill)
{
    return RunBeside(window, message, std::unique_ptr<WorkResult>(std::move(result)),
                     Work([fill = std::move(fill)](WorkResult& made) { fill(static_cast<Result&>(made)); }));
}

// Takes over the result a RunBeside message carries.
std::unique_ptr<WorkResult> TakeWorkResult(LPARAM lParam);
