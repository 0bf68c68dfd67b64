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
    std::unique_ptr<WorkResult> result;
};

// Fills the job's result in and posts it; nothing leaves, whatever the work throws.
void Carry(Job& job)
{
    try {
        job.work(*job.result);
    } catch (const std::bad_alloc&) {
        job.result->failed = true;
        job.result->outOfMemory = true;
    } catch (...) {
        // Nothing else is thrown on purpose: the job hands back no findings.
        job.result->failed = true;
    }
    // A window that is gone refuses the message, and the result is freed with the job.
    if (PostMessageA(job.window, job.message, 0, reinterpret_cast<LPARAM>(job.result.get())))
        job.result.release();
}

DWORD WINAPI RunJob(PVOID context)
{
    const std::unique_ptr<Job> job(static_cast<Job*>(context));
    // Below the window thread: where both share a processor, the window answers first.
    const HANDLE thread = GetCurrentThread();
    const int priority = GetThreadPriority(thread);
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    Carry(*job);
    if (priority != THREAD_PRIORITY_ERROR_RETURN)
        SetThreadPriority(thread, priority);
    return 0;
}

} // namespace

bool RunBeside(HWND window, UINT message, std::unique_ptr<WorkResult> result, Work work)
{
    if (!window)
        return false;
    auto job = std::make_unique<Job>(Job{window, message, std::move(work), std::move(result)});
    // A job may wait for a slow share for long: the pool is told, so it adds threads rather than
    // letting the other jobs queue behind it.
    if (QueueUserWorkItem(RunJob, job.get(), WT_EXECUTELONGFUNCTION)) {
        job.release();
        return true;
    }
    // Without the pool the job runs here, as it always could.
    Carry(*job);
    return job->result == nullptr;
}

std::unique_ptr<WorkResult> TakeWorkResult(LPARAM lParam)
{
    return std::unique_ptr<WorkResult>(reinterpret_cast<WorkResult*>(lParam));
}
