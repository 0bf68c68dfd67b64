// Hoardix: run in a client's working directory, it archives result.sah into data/r_<creation time>.sah.
#include <cstdio>

#include "core/collector/collector.h"
#include "collector/collector_platform.h"

namespace
{

// Each message is flushed at once, so the text before a failure is out even if the process is killed.
class StdoutOutput : public CollectorOutput
{
public:
    void Print(std::string_view text) override
    {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
};

} // namespace

// The negative status is returned as it is: Windows keeps it whole, POSIX systems keep its low 8 bits
// (-666 reads as 102, -1 as 255).
int main(int argc, char**)
{
    StdoutOutput output;
    std::unique_ptr<CollectorPlatform> platform = CreateSystemPlatform();
    return RunCollector(argc, output, *platform);
}
