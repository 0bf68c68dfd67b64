// The disk as a share that takes 3 ms for every file it reads, for the refresh workload.
#include <memory>
#include <string>

#include "bench/windows_bench.h"
#include "platform/client_file.h"

namespace
{

class SlowFiles final : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* name) override { return disk.PathOf(directory, name); }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        Sleep(3);
        return disk.Read(path, maxBytes);
    }
    bool Opens(const std::string& path) override { return disk.Opens(path); }
    bool Exists(const std::string& path) override { return disk.Exists(path); }

private:
    DiskClientFiles disk;
};

} // namespace

void ReadClientFilesSlowly()
{
    ClientFilesSource() = [] { return std::unique_ptr<AnalysisFiles>(std::make_unique<SlowFiles>()); };
}
