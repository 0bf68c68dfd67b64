// Reading client files with real sharing rules, sizes and times.
#include <gtest/gtest.h>

#include "platform/client_file.h"
#include "platform/last_error.h"
#include "platform/unique_handle.h"
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
