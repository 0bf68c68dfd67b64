// native_bench INPUTDIR: the portable core's log splitting and conversion and state.sah parsing, timed
// against a memchr line scan of the same bytes.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"

namespace
{

constexpr char kPlatform[] = "native";

} // namespace

// The whole file in one read into a block of its size, as the program reads a client's file;
// empty when it cannot be read.
std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    if (size <= 0 || !in.seekg(0))
        return std::string();
    std::string text(static_cast<size_t>(size), '\0');
    if (!in.read(text.data(), size))
        return std::string();
    return text;
}

// The floor: finding every line end, the least any reader of the bytes must do.
size_t CountLines(const std::vector<const std::string*>& texts)
{
    size_t lines = 0;
    for (const std::string* text : texts) {
        const char* at = text->data();
        const char* end = at + text->size();
        while (const void* found = std::memchr(at, '\n', static_cast<size_t>(end - at))) {
            ++lines;
            at = static_cast<const char*>(found) + 1;
        }
    }
    return lines;
}

namespace
{

// Only splitting: every record read and tested, nothing converted.
size_t SplitOnly(const std::string& text)
{
    LogReader reader;
    MemoryByteSource source(text);
    reader.Start(source);
    reader.ReadHeader();
    size_t records = 0;
    while (const LogRecord* record = reader.ReadLogRecord())
        records += IsWorkUnitRecord(*record) ? 1 : 0;
    return records;
}

void BenchLog(const std::string& inputs, int count)
{
    const std::string text = ReadAll(inputs + "/completed" + std::to_string(count) + "/SETILog.csv");
    if (text.empty()) {
        std::fprintf(stderr, "native_bench: no log of %d units under %s\n", count, inputs.c_str());
        return;
    }
    const int repeats = count >= 100000 ? 2 : 5;
    size_t lines = 0;
    const double scan = BestSeconds(repeats * 4, [&] { lines = CountLines({&text}); });
    size_t records = 0;
    const double split = BestSeconds(repeats, [&] { records = SplitOnly(text); });
    int32_t converted = 0;
    const double load = BestSeconds(repeats, [&] {
        LogReader reader;
        MemoryByteSource source(text);
        reader.Start(source);
        LocationNode node;
        const DetailLoad detail = LoadDetail(reader, node);
        converted = detail.count;
    });
    const double megabytes = static_cast<double>(text.size()) / 1e6;
    char note[200];
    std::snprintf(note, sizeof note, "%zu records, %.1f MB: %.0f records/s, %.0f MB/s (scan %.0f MB/s)", records,
                  megabytes, static_cast<double>(records) / split, megabytes / split, megabytes / scan);
    PrintResult(kPlatform, ("SETILog split, N=" + std::to_string(count)).c_str(), split, scan, 0, note);
    std::snprintf(note, sizeof note, "%d units: %.0f records/s, %.0f MB/s", converted,
                  static_cast<double>(converted) / load, megabytes / load);
    PrintResult(kPlatform, ("SETILog split+convert, N=" + std::to_string(count)).c_str(), load, scan, 0, note);
    if (lines != records + 1 || converted != count)
        std::fprintf(stderr, "native_bench: %zu lines, %zu records, %d converted of %d\n", lines, records, converted,
                     count);
}

} // namespace

// In native_state.cpp: its row cells share names with the completed rows.
void BenchParseState(const std::string& inputs);
void BenchLargeState(const std::string& inputs);

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: native_bench INPUTDIR\n");
        return 2;
    }
    const std::string inputs = argv[1];
    BenchLog(inputs, 10000);
    BenchLog(inputs, 100000);
    BenchParseState(inputs);
    BenchLargeState(inputs);
    return 0;
}
