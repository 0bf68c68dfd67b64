// Hoardix's steps over an in-memory file system, reaching the failures real files cannot easily produce.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/collector/collector.h"

namespace
{

const std::string kMarker = "operation=send_result_get_user_stats";
const std::string kGreeting = "Hello, I am a Hoardix :-)))!\n\n";

struct Faults {
    bool openFails = false;
    bool queryFails = false;
    bool hugeSize = false;
    size_t readShort = 0; // bytes fewer than the size that a read returns
    bool noData = false;
    bool probeFails = false;
    bool writeFails = false;
    bool moveFails = false;
};

class FakeOutput : public CollectorOutput
{
public:
    void Print(std::string_view text) override { text_ += text; }
    std::string text_;
};

class FakePlatform : public CollectorPlatform
{
public:
    FakePlatform(std::string source, Faults faults) : faults_(faults) { files_["result.sah"] = std::move(source); }
    bool FindFile(const char* name) override { return files_.count(name) > 0; }
    bool OpenSource(const char*) override
    {
        calls_.push_back("open");
        open_ = !faults_.openFails;
        return open_;
    }
    bool QuerySource(std::uint64_t& size, std::int64_t& creationTime) override
    {
        if (faults_.queryFails)
            return false;
        size = faults_.hugeSize ? ~0ull : files_["result.sah"].size();
        creationTime = 4102444800; // 2100-01-01: past 32 bits
        return true;
    }
    size_t ReadSource(char* buffer, size_t size) override
    {
        EXPECT_TRUE(open_);
        const std::string& bytes = files_["result.sah"];
        const size_t count = std::min(size, bytes.size()) - std::min(faults_.readShort, bytes.size());
        std::copy_n(bytes.data(), count, buffer);
        return count;
    }
    void CloseSource() override
    {
        calls_.push_back("close");
        open_ = false;
    }
    bool ChangeDirectory(const char* path) override
    {
        calls_.push_back(std::string("cd ") + path);
        return std::string(path) == ".." || !faults_.noData;
    }
    bool ProbeWritable(const char* name, bool& created) override
    {
        if (faults_.probeFails)
            return false;
        created = data_.count(name) == 0;
        data_.emplace(name, "");
        return true;
    }
    bool WriteWholeFile(const char* name, const char* bytes, size_t size) override
    {
        data_[name] = std::string(bytes, faults_.writeFails ? size / 2 : size);
        return !faults_.writeFails;
    }
    bool MoveOver(const char* from, const char* to) override
    {
        if (faults_.moveFails)
            return false;
        data_[to] = data_[from];
        data_.erase(from);
        return true;
    }
    void RemoveFile(const char* name) override { data_.erase(name); }

    Faults faults_;
    bool open_ = false;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> data_; // the data directory
    std::vector<std::string> calls_;
};

struct Case {
    const char* name;
    std::string source;
    Faults faults;
    int status;
    std::string message;
};

TEST(Collector, EachFailureHasItsMessageAndStatus)
{
    const std::string good = kMarker + "\r\nbody\x1a";
    const Case cases[] = {
        {"archived", good, {}, kExitOk, ""},
        {"open fails",
         good,
         {.openFails = true},
         kExitCannotOpen,
         "Can't open the result.sah, how can I work with it ...?\n\n"},
        {"query fails",
         good,
         {.queryFails = true},
         kExitCannotOpen,
         "There is a problem with result.sah, I can't work with it...\n\n"},
        {"no memory", good, {.hugeSize = true}, kExitNoMemory, "There is not enough memory!\n\n"},
        {"short read",
         good,
         {.readShort = 3},
         kExitReadFailed,
         "There is a problem during read process from result.sah!\n\n"},
        {"empty", "", {}, kExitNotResultFile, "This result.sah is not a SETI@home type file!\n\n"},
        {"marker cut",
         kMarker.substr(0, 35),
         {},
         kExitNotResultFile,
         "This result.sah is not a SETI@home type file!\n\n"},
        {"no data",
         good,
         {.noData = true},
         kExitNoDataDirectory,
         "Can't open the data directory, why?\nPlease create it, and run me again!\n\n"},
        {"cannot create",
         good,
         {.probeFails = true},
         kExitCannotCreate,
         "Can't create a new datafile in the data directory...\n"},
        {"write fails",
         good,
         {.writeFails = true},
         kExitWriteFailed,
         "There is a problem during write process to r_4102444800.sah!\n\n"},
        {"rename fails",
         good,
         {.moveFails = true},
         kExitWriteFailed,
         "There is a problem during write process to r_4102444800.sah!\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeOutput output;
        FakePlatform platform(c.source, c.faults);
        EXPECT_EQ(RunCollector(1, output, platform), c.status);
        EXPECT_EQ(output.text_, kGreeting + c.message);
        EXPECT_FALSE(platform.open_); // the source is always closed again
        if (c.status == kExitOk) {
            EXPECT_EQ(platform.data_, (std::map<std::string, std::string>{{"r_4102444800.sah", good}}));
            EXPECT_EQ(platform.calls_.back(), "cd ..");
        } else {
            // Nothing half written is ever left in the data directory.
            EXPECT_TRUE(platform.data_.empty());
        }
    }
}

TEST(Collector, FailedWriteKeepsTheEarlierArchive)
{
    FakeOutput output;
    FakePlatform platform(kMarker + "new", {.writeFails = true});
    platform.data_["r_4102444800.sah"] = kMarker + "old";
    EXPECT_EQ(RunCollector(1, output, platform), kExitWriteFailed);
    EXPECT_EQ(platform.data_, (std::map<std::string, std::string>{{"r_4102444800.sah", kMarker + "old"}}));
}

TEST(Collector, AnyArgumentGivesTheUsageAndTouchesNothing)
{
    FakeOutput output;
    FakePlatform platform(kMarker, {});
    EXPECT_EQ(RunCollector(2, output, platform), kExitUsage);
    EXPECT_EQ(output.text_.rfind(kGreeting + "Please let me run, I'd collect", 0), 0u);
    EXPECT_NE(output.text_.find("don't unterstand any language"), std::string::npos);
    EXPECT_TRUE(platform.calls_.empty());
}

} // namespace
