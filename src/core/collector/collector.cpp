// Hoardix's steps from the greeting to the archived copy, each failure ending with its fixed message and status.
#include "core/collector/collector.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace
{

// The program's own texts, spelling included, as users and scripts have always seen them.
constexpr std::string_view kGreeting = "Hello, I am a Hoardix :-)))!\n\n";
constexpr std::string_view kUsage = "Please let me run, I'd collect the actual SETI@home result...\n\n"
                                    "I don't speak and don't unterstand any language, I can't help to You,\n"
                                    "but I know, what can I do with your SETI result.sah (v2.x file), if it is exist\n"
                                    "in the working diectory, and there is exist a data directory to my work...\n\n"
                                    "Bye!\n\n";
constexpr std::string_view kMsgNotFound = "I was not found the result.sah, there is a SETI@home working directory?\n"
                                          "If it is, the client is working or sleeping...\n";
constexpr std::string_view kMsgCannotOpen = "Can't open the result.sah, how can I work with it ...?\n\n";
constexpr std::string_view kMsgCannotQuery = "There is a problem with result.sah, I can't work with it...\n\n";
constexpr std::string_view kMsgNoMemory = "There is not enough memory!\n\n";
constexpr std::string_view kMsgReadFailed = "There is a problem during read process from result.sah!\n\n";
constexpr std::string_view kMsgNotResultFile = "This result.sah is not a SETI@home type file!\n\n";
constexpr std::string_view kMsgNoDataDirectory =
    "Can't open the data directory, why?\nPlease create it, and run me again!\n\n";
constexpr std::string_view kMsgCannotCreate = "Can't create a new datafile in the data directory...\n";
constexpr const char* kMsgWriteFailed = "There is a problem during write process to %s!\n\n";

constexpr const char* kSourceName = "result.sah";
constexpr const char* kDataDirectory = "data";
constexpr const char* kParentDirectory = "..";
constexpr std::string_view kResultMarker = "operation=send_result_get_user_stats";

int Fail(CollectorOutput& output, std::string_view message, int status)
{
    output.Print(message);
    return status;
}

// The marker must fill the first 36 bytes exactly; a shorter file, or a zero byte among them, can never match.
bool StartsWithMarker(const char* data, std::size_t size)
{
    return size >= kResultMarker.size() && std::memcmp(data, kResultMarker.data(), kResultMarker.size()) == 0;
}

// Reads the whole source into a fresh zero-filled buffer; the source is closed before the count is judged.
int ReadSource(CollectorOutput& output, CollectorPlatform& platform, std::unique_ptr<char[]>& buffer, std::size_t& size,
               std::int64_t& creationTime)
{
    if (!platform.OpenSource(kSourceName))
        return Fail(output, kMsgCannotOpen, kExitCannotOpen);
    std::uint64_t fileSize = 0;
    if (!platform.QuerySource(fileSize, creationTime)) {
        platform.CloseSource();
        return Fail(output, kMsgCannotQuery, kExitCannotOpen);
    }
    // A file larger than the address space can never be held in one block.
    if (fileSize != static_cast<std::size_t>(fileSize)) {
        platform.CloseSource();
        return Fail(output, kMsgNoMemory, kExitNoMemory);
    }
    size = static_cast<std::size_t>(fileSize);
    buffer.reset(new (std::nothrow) char[size]());
    if (!buffer) {
        platform.CloseSource();
        return Fail(output, kMsgNoMemory, kExitNoMemory);
    }
    std::size_t got = platform.ReadSource(buffer.get(), size);
    platform.CloseSource();
    if (got != size)
        return Fail(output, kMsgReadFailed, kExitReadFailed);
    return kExitOk;
}

// Replaces the archive only with a complete copy: the bytes go to a temporary file first, renamed over the
// archive once all of them are written, so a failed write never leaves a partial archive behind.
int WriteArchive(CollectorOutput& output, CollectorPlatform& platform, const char* archiveName, const char* data,
                 std::size_t size)
{
    bool created = false;
    if (!platform.ProbeWritable(archiveName, created))
        return Fail(output, kMsgCannotCreate, kExitCannotCreate);

    char tempName[64];
    std::snprintf(tempName, sizeof tempName, "%s.tmp", archiveName);
    if (platform.WriteWholeFile(tempName, data, size) && platform.MoveOver(tempName, archiveName))
        return kExitOk;

    platform.RemoveFile(tempName);
    if (created)
        platform.RemoveFile(archiveName);
    char message[128];
    std::snprintf(message, sizeof message, kMsgWriteFailed, archiveName);
    return Fail(output, message, kExitWriteFailed);
}

} // namespace

int RunCollector(int argc, CollectorOutput& output, CollectorPlatform& platform)
{
    output.Print(kGreeting);
    if (argc > 1)
        return Fail(output, kUsage, kExitUsage);
    if (!platform.FindFile(kSourceName))
        return Fail(output, kMsgNotFound, kExitNotFound);

    std::unique_ptr<char[]> buffer;
    std::size_t size = 0;
    std::int64_t creationTime = 0;
    if (int status = ReadSource(output, platform, buffer, size, creationTime); status != kExitOk)
        return status;
    if (!StartsWithMarker(buffer.get(), size))
        return Fail(output, kMsgNotResultFile, kExitNotResultFile);

    if (!platform.ChangeDirectory(kDataDirectory))
        return Fail(output, kMsgNoDataDirectory, kExitNoDataDirectory);
    // 64 bits, so creation times after 2038 keep their true number.
    char archiveName[32];
    std::snprintf(archiveName, sizeof archiveName, "r_%lld.sah", static_cast<long long>(creationTime));
    if (int status = WriteArchive(output, platform, archiveName, buffer.get(), size); status != kExitOk)
        return status;
    // Going back is a courtesy to whoever embeds the run; its outcome changes nothing.
    platform.ChangeDirectory(kParentDirectory);
    return kExitOk;
}
