// Jobs on the system's thread pool, their results posted back to a window.
#include "platform/worker.h"

#include <new>
#include <utility>

namespace
{

struct Job {
    HWND window;
    UINT message;
    Work work;
    // Made before the job is queued, so that a job that ran out of memory can still say so.
    std::unique_ptr<WorkResult> fallback;
};

void Post(const Job& job, std::unique_ptr<WorkResult> result)
{
    // A window that is gone refuses the message, and the result is freed here.
    if (PostMessageA(job.window, job.message, 0, reinterpret_cast<LPARAM>(result.get())))
        result.release();
}

DWORD WINAPI RunJob(PVOID context)
{
    const std::unique_ptr<Job> job(static_cast<Job*>(context));
    // Below the window thread: where both share a processor, the window answers first.
    const HANDLE thread = GetCurrentThread();
    const int priority = GetThreadPriority(thread);
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    // Nothing may leave the thread; the window is told of every job, whatever became of it.
    std::unique_ptr<WorkResult> result;
    bool outOfMemory = false;
    try {
        result = job->work();
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (...) {
        // Nothing else is thrown on purpose: the job hands back no findings.
    }
    if (!result) {
        result = std::move(job->fallback);
        result->outOfMemory = outOfMemory;
    }
    Post(*job, std::move(result));
    if (priority != THREAD_PRIORITY_ERROR_RETURN)
        SetThreadPriority(thread, priority);
    return 0;
}

} // namespace

bool RunBeside(HWND window, UINT message, Work work)
{
    auto job = std::make_unique<Job>(Job{window, message, std::move(work), std::make_unique<WorkResult>()});
    // A job may wait for a slow share for long: the pool is told, so it adds threads rather than
    // letting the other jobs queue behind it.
    if (!QueueUserWorkItem(RunJob, job.get(), WT_EXECUTELONGFUNCTION))
        return false;
    job.release();
    return true;
}

std::unique_ptr<WorkResult> TakeWorkResult(LPARAM lParam)
{
    return std::unique_ptr<WorkResult>(reinterpret_cast<WorkResult*>(lParam));
}
