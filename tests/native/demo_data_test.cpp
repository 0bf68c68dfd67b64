// Checks that the demo locations hold the client files in the forms the monitor reads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "demo_data.h"

namespace fs = std::filesystem;

namespace
{

fs::path FreshDir(const std::string& tag)
{
    const fs::path dir = fs::temp_directory_path() / ("vantorel_demo_" + tag + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    return dir;
}

std::string Read(const fs::path& path)
{
    const auto text = demo::ReadWholeFile(path);
    EXPECT_TRUE(text.has_value()) << path;
    return text.value_or("");
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

std::size_t CountOccurrences(const std::string& text, const std::string& key)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
        ++count;
    return count;
}

// CSV fields: a quoted field may hold commas, and a doubled quote stands for one quote.
std::vector<std::string> SplitCsv(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

bool IsHex(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The gaussian graph text the monitor assembles: each value followed by the byte 0x01.
std::string GaussianText(const std::vector<std::string>& values)
{
    std::string text;
    for (const std::string& v : values)
        text += v + '\x01';
    return text;
}

struct ClientDateParts {
    double julian = 0;
    int year = 0, month = 0, day = 0;
    std::int64_t seconds = 0;
};

// Julian date, a blank, "(Www Mmm dd hh:mm:ss yyyy)"; fails the test on any other form.
ClientDateParts ParseClientDate(const std::string& value)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    ClientDateParts parts;
    const std::size_t blank = value.find(' ');
    EXPECT_NE(blank, std::string::npos) << value;
    if (blank == std::string::npos)
        return parts;
    parts.julian = std::atof(value.substr(0, blank).c_str());
    const std::string date = value.substr(blank + 1);
    EXPECT_EQ(date.size(), 26u) << value;
    EXPECT_EQ(date.front(), '(');
    EXPECT_EQ(date.back(), ')');
    if (date.size() != 26)
        return parts;
    for (int m = 0; m < 12; ++m)
        if (date.compare(5, 3, kMonths[m]) == 0)
            parts.month = m + 1;
    parts.day = std::atoi(date.substr(9, 2).c_str());
    parts.year = std::atoi(date.substr(21, 4).c_str());
    const int h = std::atoi(date.substr(12, 2).c_str()), mi = std::atoi(date.substr(15, 2).c_str()),
              s = std::atoi(date.substr(18, 2).c_str());
    EXPECT_EQ(date.substr(14, 1) + date.substr(17, 1), "::") << value;
    EXPECT_GE(parts.month, 1) << value;
    parts.seconds = demo::UnixFromCivil(parts.year, parts.month, parts.day, h, mi, s);
    // The Julian date and the date text name the same moment (five decimals: under a second).
    EXPECT_NEAR(parts.julian, parts.seconds / 86400.0 + 2440587.5, 0.00001) << value;
    return parts;
}

const char* const kLocations[] = {demo::kRunningLocation, demo::kFinishedLocation, demo::kStoppedLocation};

class DemoDataTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir_ = FreshDir("shared");
        std::string error;
        ASSERT_TRUE(demo::WriteDemo(dir_, &error)) << error;
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }
    static fs::path dir_;
};
fs::path DemoDataTest::dir_;

std::vector<std::string> StateKeys()
{
    std::vector<std::string> keys = {
        "prog=",          "cpu=",           "bs_power=",      "bg_chisq=",      "bg_true_mean=",  "bg_power=",
        "bg_fft_ind=",    "bg_sigma=",      "bp_score=",      "bp_power=",      "bp_mean=",       "bp_period=",
        "bp_freq_bin=",   "bp_time_bin=",   "bp_chirp_rate=", "bp_fft_len=",    "bp_pot=",        "bt_score=",
        "bt_power=",      "bt_mean=",       "bt_period=",     "bt_bperiod=",    "bt_tpotind0_0=", "bt_tpotind0_1=",
        "bt_tpotind1_0=", "bt_tpotind1_1=", "bt_tpotind2_0=", "bt_tpotind2_1=", "bt_time_bin=",   "bt_chirp_rate=",
        "bt_scale=",      "bt_fft_len=",    "bt_pot="};
    for (int i = 0; i < 64; ++i)
        keys.push_back("bg_pot " + std::to_string(i) + "=");
    return keys;
}

} // namespace

TEST(DemoDataDeterminism, TwoRunsWriteIdenticalFiles)
{
    const fs::path a = FreshDir("a"), b = FreshDir("b");
    std::string error;
    ASSERT_TRUE(demo::WriteDemo(a, &error)) << error;
    ASSERT_TRUE(demo::WriteDemo(b, &error)) << error;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(a))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), a));
    std::size_t filesInB = 0;
    for (const auto& entry : fs::recursive_directory_iterator(b))
        filesInB += entry.is_regular_file();
    EXPECT_EQ(files.size(), filesInB);
    EXPECT_EQ(files.size(), 13u); // four files per location and one result.sah
    for (const fs::path& file : files)
        EXPECT_TRUE(Read(a / file) == Read(b / file)) << file;
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST_F(DemoDataTest, OnlyTheFinishedLocationHasAResultAndTheStoppedOneIsOld)
{
    for (const char* location : kLocations) {
        const fs::path result = dir_ / location / "result.sah";
        const bool finished = std::strcmp(location, demo::kFinishedLocation) == 0;
        EXPECT_EQ(fs::exists(result), finished) << location;
        const double prog = std::atof(demo::FindKeyValue(Read(dir_ / location / "state.sah"), "prog=")->c_str());
        if (finished) {
            EXPECT_EQ(Read(result).substr(0, 36), "operation=send_result_get_user_stats");
            EXPECT_EQ(prog, 1.0);
        } else {
            EXPECT_TRUE(prog > 0.0 && prog < 1.0) << location;
        }
    }
    const auto old = fs::last_write_time(dir_ / demo::kStoppedLocation / "state.sah");
    const auto written = fs::last_write_time(dir_ / demo::kRunningLocation / "state.sah");
    EXPECT_GT(written - old, std::chrono::hours(24 * 365));
}

TEST_F(DemoDataTest, StateFilesHoldEveryKeyOnceAtALineStart)
{
    for (const char* location : kLocations) {
        const std::string text = Read(dir_ / location / "state.sah");
        EXPECT_EQ(text.find('\r'), std::string::npos) << location;
        ASSERT_EQ(text.back(), '\n') << location;
        for (const std::string& key : StateKeys()) {
            // The monitor takes the first occurrence anywhere, so a key must not hide inside another.
            EXPECT_EQ(CountOccurrences(text, key), 1u) << location << " " << key;
            const std::size_t at = text.find(key);
            ASSERT_NE(at, std::string::npos) << location << " " << key;
            EXPECT_TRUE(at == 0 || text[at - 1] == '\n') << location << " " << key;
            EXPECT_FALSE(demo::FindKeyValue(text, key)->empty()) << location << " " << key;
        }
    }
}

TEST_F(DemoDataTest, StatePotsFitTheirCapacitiesAndLookLikeSignals)
{
    for (const char* location : kLocations) {
        const std::string text = Read(dir_ / location / "state.sah");
        const std::string pulse = *demo::FindKeyValue(text, "bp_pot=");
        EXPECT_EQ(pulse.size(), 1024u) << location;
        EXPECT_TRUE(IsHex(pulse)) << location;
        const std::string triplet = *demo::FindKeyValue(text, "bt_pot=");
        EXPECT_EQ(triplet.size(), 1020u) << location;
        EXPECT_TRUE(IsHex(triplet)) << location;
        // Each triplet mark names an entry that stands out of the noise.
        for (int k = 0; k < 3; ++k) {
            const int mark = std::atoi(demo::FindKeyValue(text, "bt_tpotind" + std::to_string(k) + "_0=")->c_str());
            ASSERT_TRUE(mark >= 0 && mark < 255) << location;
            EXPECT_GE(std::stoi(triplet.substr(mark * 4 + 2, 2), nullptr, 16), 0x70) << location << " mark " << k;
        }
        std::vector<std::string> values;
        std::vector<double> numbers;
        for (int i = 0; i < 64; ++i) {
            values.push_back(*demo::FindKeyValue(text, "bg_pot " + std::to_string(i) + "="));
            numbers.push_back(std::atof(values.back().c_str()));
        }
        EXPECT_LE(GaussianText(values).size(), 1023u) << location;
        // A hump: the peak stands near the fitted centre and well above the edges.
        const int centre = std::atoi(demo::FindKeyValue(text, "bg_fft_ind=")->c_str());
        const auto peak = std::max_element(numbers.begin(), numbers.end()) - numbers.begin();
        EXPECT_LE(std::abs(peak - centre), 6) << location;
        EXPECT_GT(numbers[peak], 1.5 * (numbers.front() + numbers.back()) / 2) << location;
    }
}

TEST_F(DemoDataTest, WorkUnitHeadersSitInTheFirst4096BytesWithTheLocationsLineEnds)
{
    for (const char* location : kLocations) {
        const std::string text = Read(dir_ / location / "work_unit.sah");
        EXPECT_GT(text.size(), 4096u) << location; // the monitor reads only the start
        const std::string head = text.substr(0, 4096);
        for (const char* key : {"start_ra=", "start_dec=", "time_recorded=", "subband_base=", "angle_range="}) {
            EXPECT_EQ(CountOccurrences(text, key), 1u) << location << " " << key;
            ASSERT_TRUE(demo::FindKeyValue(head, key).has_value()) << location << " " << key;
        }
        const bool crlf = std::strcmp(location, demo::kFinishedLocation) == 0;
        for (const std::string& line : SplitLines(text))
            ASSERT_EQ(!line.empty() && line.back() == '\r', crlf) << location << ": " << line;
        auto value = [&](const char* key) {
            std::string v = *demo::FindKeyValue(head, key);
            if (crlf)
                v.pop_back();
            return v;
        };
        const double ra = std::atof(value("start_ra=").c_str()), dec = std::atof(value("start_dec=").c_str());
        EXPECT_TRUE(ra >= 0 && ra < 24) << ra;
        EXPECT_TRUE(dec >= -30 && dec <= 40) << dec;
        EXPECT_GT(std::atof(value("angle_range=").c_str()), 0.0);
        EXPECT_NEAR(std::atof(value("subband_base=").c_str()), 1.419e9, 2e6);
        const ClientDateParts recorded = ParseClientDate(value("time_recorded="));
        EXPECT_TRUE(recorded.year >= 1999 && recorded.year <= 2002) << recorded.year;
    }
}

TEST_F(DemoDataTest, UserInfoKeysAreFoundWhereTheMonitorLooks)
{
    std::map<std::string, long> resultsByName;
    for (const char* location : kLocations) {
        std::string text = Read(dir_ / location / "user_info.sah");
        const bool crlf = std::strcmp(location, demo::kFinishedLocation) == 0;
        EXPECT_EQ(text.find("\r\n") != std::string::npos, crlf) << location;
        for (const char* key : {"name=", "nresults=", "total_cpu=", "register_time="}) {
            const std::size_t at = text.find(key);
            ASSERT_NE(at, std::string::npos) << location << " " << key;
            EXPECT_TRUE(at == 0 || text[at - 1] == '\n') << location << " " << key; // not show_name=
        }
        std::string name = *demo::FindKeyValue(text, "name="), date = *demo::FindKeyValue(text, "register_time=");
        if (crlf) {
            name.pop_back();
            date.pop_back();
        }
        const long results = std::atol(demo::FindKeyValue(text, "nresults=")->c_str());
        const double cpu = std::atof(demo::FindKeyValue(text, "total_cpu=")->c_str());
        EXPECT_GT(results, 0);
        EXPECT_GT(cpu / results, 3600.0) << location; // hours per unit, as clients of the time took
        EXPECT_EQ(ParseClientDate(date).year, 1999) << location;
        resultsByName[name] = std::max(resultsByName[name], results);
    }
    // Two locations share a user, so the grand total has a duplicate to fold.
    EXPECT_EQ(resultsByName.size(), 2u);
}

TEST_F(DemoDataTest, LogsHaveEqualFieldCountsAndRecordingDatesFrom1999To2002)
{
    static const char* const kCodes[] = {"ja", "fe", "mr", "ap", "my", "jn", "jl", "au", "se", "oc", "no", "de"};
    const char* const required[] = {"date",          "name",          "cpu",        "bs_power", "bg_power",
                                    "bg_chisq",      "bg_pot",        "bp_power",   "bp_score", "bp_period",
                                    "bp_fft_len",    "bp_pot",        "bt_power",   "bt_score", "bt_tpotind0_0",
                                    "bt_tpotind1_0", "bt_tpotind2_0", "bt_pot",     "start_ra", "start_dec",
                                    "time_recorded", "subband_base",  "angle_range"};
    for (const char* location : kLocations) {
        const std::string text = Read(dir_ / location / "SETILog.csv");
        std::vector<std::string> lines = SplitLines(text);
        const bool crlf = std::strcmp(location, demo::kFinishedLocation) == 0;
        for (std::string& line : lines) {
            ASSERT_LT(line.size(), 5000u) << location; // the monitor's line buffer
            ASSERT_EQ(!line.empty() && line.back() == '\r', crlf) << location;
            if (crlf)
                line.pop_back();
        }
        ASSERT_GE(lines.size(), 301u) << location;
        EXPECT_LE(lines.size(), 601u) << location;
        std::vector<std::string> header = SplitCsv(lines[0]);
        ASSERT_LE(header.size(), 100u) << location; // the monitor's column table
        std::map<std::string, std::size_t> column;
        for (std::size_t i = 0; i < header.size(); ++i) {
            EXPECT_LT(header[i].size(), 40u) << header[i];
            std::string lower = header[i];
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            column.emplace(lower, i);
        }
        for (const char* name : required)
            ASSERT_TRUE(column.count(name)) << location << " " << name;

        for (std::size_t r = 1; r < lines.size(); ++r) {
            const std::vector<std::string> f = SplitCsv(lines[r]);
            ASSERT_EQ(f.size(), header.size()) << location << " line " << r + 1;
            const std::string& name = f[column["name"]];
            const ClientDateParts recorded = ParseClientDate(f[column["time_recorded"]]);
            ASSERT_TRUE(recorded.year >= 1999 && recorded.year <= 2002) << name;
            // The name's first six characters are the recording day, month code and year.
            ASSERT_GE(name.size(), 6u);
            EXPECT_EQ(std::atoi(name.substr(0, 2).c_str()), recorded.day) << name;
            EXPECT_EQ(name.substr(2, 2), kCodes[recorded.month - 1]) << name;
            EXPECT_EQ(std::atoi(name.substr(4, 2).c_str()), recorded.year % 100) << name;
            EXPECT_GT(std::atof(f[column["cpu"]].c_str()), 3600.0) << name;
            const double ra = std::atof(f[column["start_ra"]].c_str()), dec = std::atof(f[column["start_dec"]].c_str());
            EXPECT_TRUE(ra >= 0 && ra < 24 && dec >= -30 && dec <= 40) << name;
            EXPECT_GT(std::atof(f[column["bg_power"]].c_str()), 0.0) << name;
            EXPECT_GT(std::atof(f[column["bg_chisq"]].c_str()), 0.0) << name;
            const std::string& pulse = f[column["bp_pot"]];
            const std::string& triplet = f[column["bt_pot"]];
            EXPECT_TRUE(pulse.size() <= 1024 && IsHex(pulse) && triplet.size() <= 1024 && IsHex(triplet)) << name;
            // The log keeps the gaussian pot as blank-separated numbers; the monitor makes each blank a separator.
            std::vector<std::string> words;
            for (std::size_t at = 0, end; at <= f[column["bg_pot"]].size(); at = end + 1) {
                end = f[column["bg_pot"]].find(' ', at);
                if (end == std::string::npos)
                    end = f[column["bg_pot"]].size();
                words.push_back(f[column["bg_pot"]].substr(at, end - at));
            }
            EXPECT_LE(words.size(), 64u) << name;
            EXPECT_LE(GaussianText(words).size(), 1023u) << name;
        }
    }
}

TEST_F(DemoDataTest, SimulatorAdvancesAndStartsANewUnitWhenDone)
{
    const fs::path office = FreshDir("sim");
    fs::copy(dir_ / demo::kFinishedLocation, office);
    fs::remove(office / "result.sah");
    // Rewind the finished unit to half way, as a running client would hold it.
    demo::SimState state;
    ASSERT_TRUE(demo::LoadSimState(office, &state));
    const std::string firstUnit = state.unit.name;
    const double total = demo::CpuSecondsFor(state.unit, state.mflops);
    EXPECT_NEAR(state.cpu, total, 1.0);
    state.cpu = total / 2;
    const std::size_t logLines = SplitLines(Read(office / "SETILog.csv")).size();
    const long results = std::atol(demo::FindKeyValue(Read(office / "user_info.sah"), "nresults=")->c_str());

    ASSERT_EQ(demo::StepSimulation(office, &state, 60.0, 1700000000), demo::StepResult::kWorking);
    demo::SimState reread;
    ASSERT_TRUE(demo::LoadSimState(office, &reread));
    EXPECT_EQ(reread.unit.name, firstUnit);
    EXPECT_NEAR(reread.cpu, total / 2 + 60.0, 1e-3);
    EXPECT_NEAR(reread.prog, (total / 2 + 60.0) / total, 1e-7);
    EXPECT_NEAR(reread.mflops, state.mflops, state.mflops * 1e-4); // the speed survives a restart

    ASSERT_EQ(demo::StepSimulation(office, &state, total, 1700000300), demo::StepResult::kNewUnit);
    ASSERT_TRUE(demo::LoadSimState(office, &reread));
    EXPECT_NE(reread.unit.name, firstUnit);
    EXPECT_EQ(reread.prog, 0.0);
    EXPECT_EQ(Read(office / "work_unit.sah").find("\r\n") != std::string::npos, true); // line ends kept

    const std::vector<std::string> lines = SplitLines(Read(office / "SETILog.csv"));
    ASSERT_EQ(lines.size(), logLines + 1);
    EXPECT_EQ(SplitCsv(lines.back()).size(), SplitCsv(lines.front()).size());
    EXPECT_EQ(lines.back().back(), '\r');
    EXPECT_EQ(SplitCsv(lines.back())[1], firstUnit);
    const std::string user = Read(office / "user_info.sah");
    EXPECT_EQ(*demo::FindKeyValue(user, "nresults="), std::to_string(results + 1) + "\r");
    for (const auto& entry : fs::directory_iterator(office))
        EXPECT_NE(entry.path().extension(), ".new") << entry.path(); // no temporary file left behind
    fs::remove_all(office);
}
