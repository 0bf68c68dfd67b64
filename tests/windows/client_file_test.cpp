// Reading client files with real sharing rules, sizes and times.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>
#include <vector>

#include "platform/client_file.h"
#include "platform/last_error.h"
#include "platform/unique_handle.h"
#include "platform/worker.h"
#include "temp_dir.h"

namespace
{

TEST(ClientFile, ReadsWholeFileAndItsLastWriteTime)
{
    TempDir dir;
    const std::string path = dir.Write("state.sah", "prog=0.5\r\ncpu=10\n");
    const ULONGLONG time = 126000000000000000ull; // 2000-04-14
    ASSERT_TRUE(SetLastWriteTime(path, time));

    ClientFile file;
    ASSERT_EQ(file.Read(path), FileReadStatus::Ok);
    EXPECT_EQ(file.Text(), "prog=0.5\r\ncpu=10\n");
    EXPECT_EQ(file.LastWriteTime(), time);

    // The file was closed at once: it can be deleted right away.
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(ClientFile, ReportsEachKindOfFailure)
{
    TempDir dir;
    const std::string empty = dir.Write("empty.sah", "");
    CreateDirectoryA(dir.File("folder.sah").c_str(), nullptr);

    ClientFile file;
    EXPECT_EQ(file.Read(empty), FileReadStatus::Empty);
    EXPECT_EQ(file.Read(dir.File("missing.sah")), FileReadStatus::OpenFailed);
    EXPECT_EQ(file.Error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(LastErrorText(file.Error()).rfind("Error #2.  ", 0), 0u);
    EXPECT_EQ(file.Read(dir.File("folder.sah")), FileReadStatus::OpenFailed);
    EXPECT_EQ(file.Text(), "");
}

TEST(ClientFile, SharingViolationOnlyWhenTheWriterDeniesSharing)
{
    TempDir dir;
    const std::string path = dir.Write("state.sah", "prog=0.1\n");

    {
        UniqueFile writer(
            CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        ClientFile file;
        EXPECT_EQ(file.Read(path), FileReadStatus::SharingViolation);
        EXPECT_EQ(file.Error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(ClientFileExists(path));
    }
    {
        // A client writing with sharing does not stop the read.
        UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        ClientFile file;
        EXPECT_EQ(file.Read(path), FileReadStatus::Ok);
        EXPECT_EQ(file.Text(), "prog=0.1\n");
        // result.sah is only looked for with read sharing, so a writer holding it hides it.
        EXPECT_FALSE(ClientFileExists(path));
    }
    EXPECT_TRUE(ClientFileExists(path));
}

TEST(ClientFile, HeaderReadStopsAt4096Bytes)
{
    TempDir dir;
    // Appended, not added: GCC 12 gives a false -Warray-bounds for the sum once the headers are precompiled.
    std::string header(5000, 'x');
    header += "\nstart_ra=1.5\n";
    const std::string path = dir.Write("work_unit.sah", header);
    ClientFile file;
    ASSERT_EQ(file.Read(path, kWorkUnitHeaderBytes), FileReadStatus::Ok);
    EXPECT_EQ(file.Text().size(), 4096u);
    ASSERT_EQ(file.Read(path), FileReadStatus::Ok);
    EXPECT_EQ(file.Text().size(), 5014u);
}

TEST(ClientFile, TextEndsAtTheFirstZeroByte)
{
    TempDir dir;
    const std::string path = dir.Write("state.sah", std::string("prog=0.5\n\0cpu=10\n", 17));
    ClientFile file;
    ASSERT_EQ(file.Read(path), FileReadStatus::Ok);
    EXPECT_EQ(file.Text(), "prog=0.5\n");
}

TEST(ClientFile, FilePast4GiBIsRefusedNotReadAsItsLowPart)
{
    TempDir dir;
    const std::string path = dir.File("state.sah");
    {
        UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(writer);
        // 4 GiB + 16 bytes, sparse: the low 32 bits of the size alone would say 16.
        LARGE_INTEGER end;
        end.QuadPart = (1ll << 32) + 16;
        ASSERT_TRUE(SetFilePointerEx(writer.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(writer.get()));
    }
    ClientFile file;
    EXPECT_EQ(file.Read(path), FileReadStatus::OutOfMemory);
    EXPECT_EQ(file.Text(), "");
}

TEST(LastErrorText, KnownAndUnknownCodes)
{
    // The system's wording differs between versions; the frame around it does not.
    const std::string notFound = LastErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(notFound.rfind("Error #2.  ", 0), 0u);
    EXPECT_GT(notFound.size(), 12u);
    EXPECT_NE(notFound.back(), '\n');
    EXPECT_EQ(LastErrorText(0x2FFFFFFF), "Error #805306367");
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(LastErrorText().rfind("Error #5.  ", 0), 0u);
}

} // namespace

namespace
{

constexpr UINT kResultMessage = WM_APP + 7;
std::vector<std::unique_ptr<WorkResult>> arrived;
std::atomic<int> resultsFreed{0};

struct Found final : WorkResult {
    DWORD thread = 0;
    ~Found() override { ++resultsFreed; }
};

LRESULT CALLBACK CollectResults(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kResultMessage)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    arrived.push_back(TakeWorkResult(lParam));
    return 0;
}

HWND ResultWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CollectResults;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VantorelWorkerTest";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Pumps the thread's messages until done() or five seconds have passed.
template <typename Done> bool PumpUntil(Done done)
{
    const DWORD start = GetTickCount();
    MSG msg{};
    while (!done() && GetTickCount() - start < 5000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(1);
    }
    return done();
}

TEST(RunBeside, EveryJobAnswersOnTheWindowThreadAndNoneWaitsForAWindowThatIsGone)
{
    arrived.clear();
    const HWND window = ResultWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(RunBeside(window, kResultMessage, std::make_unique<Found>(),
                          [](Found& found) { found.thread = GetCurrentThreadId(); }));
    ASSERT_TRUE(
        RunBeside(window, kResultMessage, std::make_unique<WorkResult>(), [](WorkResult&) { throw std::bad_alloc(); }));
    ASSERT_TRUE(RunBeside(window, kResultMessage, std::make_unique<WorkResult>(), [](WorkResult&) { throw 42; }));
    ASSERT_TRUE(PumpUntil([] { return arrived.size() == 3; }));
    int found = 0;
    int outOfMemory = 0;
    for (const auto& result : arrived) {
        if (const auto* own = dynamic_cast<const Found*>(result.get())) {
            ++found;
            EXPECT_NE(own->thread, GetCurrentThreadId()) << "the job must run beside the window thread";
        }
        outOfMemory += result->outOfMemory;
    }
    EXPECT_EQ(found, 1);
    EXPECT_EQ(outOfMemory, 1) << "only the job that ran out of memory says so";

    // A job still reading when its window goes: nothing waits for it, and its result is freed.
    const UniqueKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE gate = release.get();
    resultsFreed = 0;
    ASSERT_TRUE(RunBeside(window, kResultMessage, std::make_unique<Found>(),
                          [gate](Found&) { WaitForSingleObject(gate, INFINITE); }));
    EXPECT_TRUE(DestroyWindow(window));
    SetEvent(gate);
    EXPECT_TRUE(PumpUntil([] { return resultsFreed == 1; }));
    EXPECT_EQ(arrived.size(), 3u);
    arrived.clear();
}

} // namespace
