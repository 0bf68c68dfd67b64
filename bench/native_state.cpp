// native_bench, state.sah part: ParseState over 200 locations against a memchr line scan of their files.
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

} // namespace

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
