// Long reads beside the window. Their results and the progress timer go to a message-only window
// of their own, so that a read needs no window of its starter to route them.
#include "kit/long_read.h"

#include <algorithm>
#include <utility>

#include "kit/app_state.h"
#include "kit/taskbar_progress.h"

namespace
{

constexpr char kWindowClass[] = "VantorelLongReads";
constexpr UINT kMessageFinished = WM_APP + 1;
constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressTick = 100;

// What a read hands back: the work's result, and the read's number to find its read by.
struct Finished final : WorkResult {
    int number = 0;
    std::unique_ptr<WorkResult> result;
};

int gNextNumber = 0;

// The reads that run, the oldest first. Never freed: a read owned by a static of the program may
// still run when the program ends, and its end must find the list.
std::vector<LongRead*>& RunningReads()
{
    static auto* reads = new std::vector<LongRead*>;
    return *reads;
}

} // namespace

struct LongRead::Run {
    int number = 0;
    std::shared_ptr<ReadProgress> progress;
    std::vector<std::string> names;
    LongReadDone done;
    std::function<void()> stopped;
    DWORD started = 0;
    ProgressPace pace;
    std::string progressText; // what the status line was last given of this read's progress
};

LRESULT CALLBACK LongRead::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMessageFinished) {
        RunGuarded([lParam] { OnFinished(lParam); });
        return 0;
    }
    if (message == WM_TIMER && wParam == kProgressTimer) {
        RunGuarded(OnTick);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace
{

// The one window of every read, made on the window thread at the first read; null when it cannot be.
HWND ReadsWindow(WNDPROC proc)
{
    static HWND window = [proc] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                               nullptr);
    }();
    return window;
}

} // namespace

LongRead::LongRead() = default;

LongRead::~LongRead()
{
    Stop();
}

void LongRead::Start(std::vector<std::string> names, LongReadWork work, LongReadDone done,
                     std::function<void()> stopped)
{
    Stop();
    auto run = std::make_unique<Run>();
    run->number = ++gNextNumber;
    run->progress = std::make_shared<ReadProgress>();
    run->names = std::move(names);
    run->done = std::move(done);
    run->stopped = std::move(stopped);
    run->started = GetTickCount();
    auto finished = std::make_unique<Finished>();
    finished->number = run->number;
    const std::shared_ptr<ReadProgress> progress = run->progress;
    RunningReads().push_back(this);
    run_ = std::move(run);
    const HWND window = ReadsWindow(WindowProc);
    if (RunBeside(window, kMessageFinished, std::move(finished),
                  [progress, work](Finished& made) { made.result = work(*progress); })) {
        SetTimer(window, kProgressTimer, kProgressTick, nullptr);
        return;
    }
    // No window to answer to: the read ends as one that could not be made.
    const LongReadDone tell = std::move(run_->done);
    ForgetRun();
    auto failed = std::make_unique<WorkResult>();
    failed->failed = true;
    failed->outOfMemory = true;
    tell(std::move(failed));
}

void LongRead::ForgetRun()
{
    std::vector<LongRead*>& reads = RunningReads();
    reads.erase(std::remove(reads.begin(), reads.end(), this), reads.end());
    const std::unique_ptr<Run> run = std::move(run_);
    const bool progressShown =
        std::any_of(reads.begin(), reads.end(), [](const LongRead* read) { return !read->run_->progressText.empty(); });
    if (!run->progressText.empty()) {
        // The progress goes; what the read's starter says at its end replaces it.
        if (CurrentStatusText() == run->progressText)
            SetStatusText("");
        if (!progressShown)
            EndTaskbarProgress(App().mainWindow);
    }
    if (reads.empty()) {
        if (const HWND window = ReadsWindow(WindowProc))
            KillTimer(window, kProgressTimer);
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
}

void LongRead::Stop()
{
    if (!run_)
        return;
    run_->progress->stop = true;
    ForgetRun();
}

void LongRead::OnFinished(LPARAM lParam)
{
    std::unique_ptr<WorkResult> taken = TakeWorkResult(lParam);
    auto* finished = dynamic_cast<Finished*>(taken.get());
    if (!finished)
        return;
    const std::vector<LongRead*>& reads = RunningReads();
    const auto read = std::find_if(reads.begin(), reads.end(), [finished](const LongRead* candidate) {
        return candidate->run_->number == finished->number;
    });
    if (read == reads.end())
        return; // a read that was stopped, or that another has replaced
    const LongReadDone done = std::move((*read)->run_->done);
    (*read)->ForgetRun();
    if (finished->failed || !finished->result)
        done(std::move(taken));
    else
        done(std::move(finished->result));
}

void LongRead::OnTick()
{
    // The newest read that has run past its grace shows its progress.
    const DWORD now = GetTickCount();
    const std::vector<LongRead*>& reads = RunningReads();
    for (auto read = reads.rbegin(); read != reads.rend(); ++read) {
        Run& run = *(*read)->run_;
        if (now - run.started < kReadGraceMilliseconds)
            continue;
        const int source = run.progress->source;
        if (source < 0 || static_cast<size_t>(source) >= run.names.size())
            return;
        const uint64_t done = run.progress->bytesRead;
        const uint64_t total = run.progress->totalBytes;
        if (!run.pace.Due(PercentRead(done, total), now))
            return;
        run.progressText = LoadProgressText(run.names[static_cast<size_t>(source)], done, total);
        SetStatusText(run.progressText);
        ShowTaskbarProgress(App().mainWindow, done, total);
        return;
    }
}

bool LongReadsRunning()
{
    return !RunningReads().empty();
}

void StopLongReads()
{
    while (!RunningReads().empty()) {
        LongRead* read = RunningReads().back();
        const std::function<void()> stopped = std::move(read->run_->stopped);
        read->Stop();
        if (stopped)
            stopped();
    }
}
