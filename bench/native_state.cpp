// native_bench, state.sah part: ParseState over 200 locations against a memchr line scan of their files,
// and a refresh of one 32 MiB state.sah against reading it.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "core/analysis/analysis.h"

std::string ReadAll(const std::string& path);
size_t CountLines(const std::vector<const std::string*>& texts);

namespace
{

constexpr char kPlatform[] = "native";

// The work unit files of the parsed states, served from memory.
class MemoryFiles final : public AnalysisFiles
{
public:
    std::map<std::string, std::string> files;

    std::string PathOf(const std::string& directory, const char* fileName) override
    {
        return directory + "/" + fileName;
    }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        FileLook look;
        const auto found = files.find(path);
        if (found == files.end())
            return look;
        look.status = FileReadStatus::Ok;
        look.text = maxBytes && found->second.size() > maxBytes ? found->second.substr(0, maxBytes) : found->second;
        return look;
    }
    bool Opens(const std::string& path) override { return files.count(path) > 0; }
    bool Exists(const std::string& path) override { return files.count(path) > 0; }
};

// The location's files read from disk as the refresh reads them, each read a newer write.
class DiskFiles final : public AnalysisFiles
{
public:
    std::string PathOf(const std::string& directory, const char* fileName) override
    {
        return directory + "/" + fileName;
    }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        FileLook look;
        look.text = ReadAll(path);
        if (look.text.empty())
            return look;
        if (maxBytes && look.text.size() > maxBytes)
            look.text.resize(maxBytes);
        look.status = FileReadStatus::Ok;
        look.lastWrite = lastWrite_ += 10000000;
        return look;
    }
    bool Opens(const std::string& path) override { return !ReadAll(path).empty(); }
    bool Exists(const std::string& path) override { return Opens(path); }

private:
    uint64_t lastWrite_ = 130000000000000000ull;
};

} // namespace

// A look at a location whose state.sah is 32 MiB: its header holds prog= and cpu= only, and the
// best signals' keys after them are searched through the whole text and not found. The refresh
// (reading the file and parsing it) against reading the same file.
void BenchLargeState(const std::string& inputs)
{
    const std::string folder = inputs + "/largestate";
    DiskFiles files;
    const std::string path = files.PathOf(folder, kStateFile);
    const size_t size = ReadAll(path).size();
    if (size == 0) {
        std::fprintf(stderr, "native_bench: no state.sah under %s\n", folder.c_str());
        return;
    }
    LatestStatus status;
    std::string percent;
    const auto look = [&] {
        WorkUnitRow row(folder, kAnalysisCellCount);
        InitAnalysisRow(row, "bench");
        LookAtLocation(row, files, StopThreshold(5), 1000000000, status);
        percent = row.cells.Text(kCellPercent);
    };
    // The read and the refresh in turns, so that a busy moment of the machine weighs on both.
    double read = 1e300;
    double refresh = 1e300;
    for (int i = 0; i < 7; ++i) {
        read = std::min(read, BestSeconds(1, [&] { ReadAll(path); }));
        refresh = std::min(refresh, BestSeconds(1, look));
    }
    if (percent != "25.000" || status.Text() != "Could not find \"bs_power=\" in file.")
        std::fprintf(stderr, "native_bench: the large state.sah gave %s%%, \"%s\"\n", percent.c_str(),
                     status.Text().c_str());
    // The parse alone, of the text already in memory: what the lookups add to the read.
    const std::string text = ReadAll(path);
    const double parse = BestSeconds(5, [&] {
        WorkUnitRow row(folder, kAnalysisCellCount);
        InitAnalysisRow(row, "bench");
        ParseState(text, row, true, 1000000000, files, status);
    });
    char note[160];
    std::snprintf(note, sizeof note, "%.1f MB: read %.0f MB/s, refresh %.0f MB/s, parse alone %.1f ms",
                  static_cast<double>(size) / 1e6, static_cast<double>(size) / 1e6 / read,
                  static_cast<double>(size) / 1e6 / refresh, parse * 1000);
    PrintResult(kPlatform, "Refresh of a 32 MiB state.sah, keys absent", refresh, read, 2, note);
}

void BenchParseState(const std::string& inputs)
{
    MemoryFiles files;
    std::vector<std::string> folders;
    std::vector<const std::string*> states;
    for (int i = 0; i < 200; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/analysis/loc%03d", i);
        folders.push_back(inputs + name);
        for (const char* file : {kStateFile, kWorkUnitFile})
            files.files[files.PathOf(folders.back(), file)] = ReadAll(files.PathOf(folders.back(), file));
    }
    for (const std::string& folder : folders)
        states.push_back(&files.files[files.PathOf(folder, kStateFile)]);
    if (states.front()->empty()) {
        std::fprintf(stderr, "native_bench: no state.sah under %s/analysis\n", inputs.c_str());
        return;
    }
    std::vector<const std::string*> scanned = states;
    for (const std::string& folder : folders)
        scanned.push_back(&files.files[files.PathOf(folder, kWorkUnitFile)]);
    const double scan = BestSeconds(50, [&] { CountLines(scanned); });
    LatestStatus status;
    const double parse = BestSeconds(10, [&] {
        for (size_t i = 0; i < folders.size(); ++i) {
            WorkUnitRow row(folders[i], kAnalysisCellCount);
            InitAnalysisRow(row, "bench");
            ParseState(*states[i], row, true, 1000000000, files, status);
        }
    });
    char note[160];
    std::snprintf(note, sizeof note, "%.0f state.sah/s (with their work_unit.sah)",
                  static_cast<double>(folders.size()) / parse);
    PrintResult(kPlatform, "ParseState x 200", parse, scan, 0, note);
}
