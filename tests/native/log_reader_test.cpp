// SETILog.csv reading: field splitting by the quoting rules, line ends, cut lines, columns, work-unit test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/common/byte_scan.h"
#include "core/completed/log_reader.h"

namespace
{

std::vector<std::string> Fields(const LogRecord& record)
{
    std::vector<std::string> fields;
    for (int i = 0; i < record.FieldCount(); ++i)
        fields.emplace_back(record.Field(i));
    return fields;
}

std::vector<std::string> Split(const std::string& line)
{
    LogRecord record;
    SplitLogLine(line, record);
    return Fields(record);
}

// Every line the reader would give for a file's bytes, split.
std::vector<std::vector<std::string>> ReadAll(const std::string& bytes, size_t chunk = 0)
{
    // A source that hands out a few bytes at a time, so line ends fall across reads.
    class SmallReads final : public LogByteSource
    {
    public:
        SmallReads(const std::string& bytes, size_t chunk) : bytes_(bytes), chunk_(chunk) {}
        size_t Read(char* buffer, size_t capacity) override
        {
            const size_t count = std::min({capacity, chunk_, bytes_.size() - used_});
            bytes_.copy(buffer, count, used_);
            used_ += count;
            return count;
        }

    private:
        std::string bytes_;
        size_t chunk_;
        size_t used_ = 0;
    };
    MemoryByteSource memory(bytes);
    SmallReads small(bytes, chunk);
    LogReader reader;
    reader.Start(chunk ? static_cast<LogByteSource&>(small) : memory);
    std::vector<std::vector<std::string>> records;
    while (const LogRecord* record = reader.ReadLogRecord())
        records.push_back(Fields(*record));
    return records;
}

using Row = std::vector<std::string>;

TEST(LogReader, SplitsByTheQuotingRules)
{
    const struct {
        const char* line;
        Row fields;
    } cases[] = {
        {"a,b,c\n", {"a", "b", "c"}},
        {"a,b,c", {"a", "b", "c"}},
        {"a,,c\n", {"a", "", "c"}},
        {"a,b,\n", {"a", "b", ""}}, // the line feed after a comma ends one more, empty field
        {"a,b,", {"a", "b"}},       // without a line feed the text is simply used up
        {"\n", {""}},
        {",\n", {"", ""}},
        {"\"x,y\",z\n", {"x,y", "z"}}, // a comma inside quotes stays in the field
        {"\"say \"\"hi\"\"\",z\n", {"say \"hi\"", "z"}},
        {"\"\",b\n", {"", "b"}}, // empty quoted field
        {"a,\"\"\n", {"a", ""}},
        {"a,\"\"", {"a", ""}},
        {"\"abc\"\n", {"abc"}},
        {"\"abc\"", {"abc\""}},              // a lone trailing quote without a line feed stays
        {"\"ab\" cd,e\n", {"ab\" cd", "e"}}, // quote + blank: the field goes on unquoted
        {"\"ab\" c\"d,e\n", {"ab\" c\"d", "e"}},
        {"\"a\"b\",c\n", {"a\"b", "c"}}, // any other single quote stays
        {"a,\"\n", {"a"}},               // a lone quote before the line feed ends the record
        {"\"\n", {}},
        {"\"open,field\n", {"open,field"}}, // a quoted field left open ends at the line end
        {"ab\"c,d\n", {"ab\"c", "d"}},      // quotes inside unquoted fields are text
        {" a , b \n", {" a ", " b "}},
        {"\"a\"\"\",b\n", {"a\"", "b"}},
        {"\"\"\"\",b\n", {"\"", "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.line), c.fields) << c.line;
}

// Line ends and commas are found eight and sixteen bytes at a time: a match at any offset of any
// length, among bytes that differ from it only in the high bit or by one, is the first one found.
TEST(LogReader, FindsTheFirstLineEndOrCommaAtEveryOffset)
{
    const char fillers[] = {'a', '\xac', '\x8a', '+', '-', '\0', '\xff', '\x0b', '\t'};
    for (size_t length = 0; length <= 40; ++length)
        for (size_t match = 0; match <= length; ++match)
            for (const char wanted : {',', '\n'}) {
                std::string text(length, ' ');
                for (size_t i = 0; i < length; ++i)
                    text[i] = fillers[(i * 7 + match) % sizeof fillers];
                if (match < length) {
                    text[match] = wanted;
                    text[length - 1] = wanted == ',' ? '\n' : ','; // a later match of the other byte
                }
                EXPECT_EQ(FindEitherByte(text.data(), length, ',', '\n'), match) << length << " " << match;
            }
}

TEST(LogReader, ReadsLinesAsText)
{
    // Carriage returns before line feeds belong to the line end, also across reads; a lone one stays.
    const std::string bytes = "h1,h2\r\nx1,x2\r\n\r\na\rb,c\r\nlast";
    const std::vector<Row> expected = {{"h1", "h2"}, {"x1", "x2"}, {""}, {"a\rb", "c"}, {"last"}};
    EXPECT_EQ(ReadAll(bytes), expected);
    for (size_t chunk : {1u, 2u, 3u, 7u})
        EXPECT_EQ(ReadAll(bytes, chunk), expected) << chunk;
    EXPECT_TRUE(ReadAll("").empty());
    EXPECT_EQ(ReadAll("\r"), std::vector<Row>({{"\r"}}));
}

TEST(LogReader, CutsLongLinesAndReadsTheRestAsTheNextRecord)
{
    const std::string first(kLogLineCapacity - 2, 'a');
    const std::vector<Row> records = ReadAll(first + ",bc,de\nnext\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], (Row{first, "b"})); // 4999 characters: the field "bc" is cut
    EXPECT_EQ(records[1], (Row{"c", "de"}));
    EXPECT_EQ(records[2], (Row{"next"}));

    // Exactly 4999 characters before the line feed: the line feed alone follows as a record.
    const std::string full(kLogLineCapacity, 'z');
    const std::vector<Row> exact = ReadAll(full + "\r\nnext");
    ASSERT_EQ(exact.size(), 3u);
    EXPECT_EQ(exact[0], Row{full});
    EXPECT_EQ(exact[1], Row{""});
    EXPECT_EQ(exact[2], Row{"next"});
}

TEST(LogReader, ColumnTableAndLookup)
{
    LogRecord header;
    SplitLogLine("Date,NAME,cpu,bs_Power,name\n", header);
    LogColumnTable table;
    LoadColumnTable(table, header);
    EXPECT_EQ(table, (LogColumnTable{"DATE", "NAME", "CPU", "BS_POWER", "NAME"}));

    LogRecord record;
    SplitLogLine("d,first,3725,1.5,second\n", record);
    EXPECT_EQ(FindField(table, record, "name").value_or("?"), "first"); // the first equal name wins
    EXPECT_EQ(FindField(table, record, "CPU").value_or("?"), "3725");
    EXPECT_EQ(FindField(table, record, "bS_pOwEr").value_or("?"), "1.5");
    EXPECT_FALSE(FindField(table, record, "bg_power"));
    // A record shorter than the header has no field under the later columns.
    SplitLogLine("d,first\n", record);
    EXPECT_FALSE(FindField(table, record, "cpu"));
    EXPECT_EQ(FindField(table, record, "date").value_or("?"), "d");
}

TEST(LogReader, ColumnTableLimits)
{
    // An empty name hides every column after it.
    LogRecord header;
    SplitLogLine("a,b,,c\n", header);
    LogColumnTable table;
    LoadColumnTable(table, header);
    EXPECT_EQ(table, (LogColumnTable{"A", "B"}));

    // A new header replaces the table whole, so no name of a wider header stays behind.
    SplitLogLine("z\n", header);
    LoadColumnTable(table, header);
    EXPECT_EQ(table, LogColumnTable{"Z"});

    // 120 columns: the first 100 are kept. Long names are cut to 39 characters in place.
    std::string line;
    for (int i = 0; i < 120; ++i)
        line += "c" + std::to_string(i) + ",";
    const std::string longName(45, 'q');
    line = longName + "," + line + "\n";
    SplitLogLine(line, header);
    LoadColumnTable(table, header);
    ASSERT_EQ(table.size(), kLogColumnCapacity);
    EXPECT_EQ(table[0], std::string(kLogColumnNameCapacity, 'Q'));
    EXPECT_EQ(table[99], "C98");

    std::string values;
    for (int i = 0; i < 121; ++i)
        values += "v" + std::to_string(i) + ",";
    LogRecord record;
    SplitLogLine(values + "\n", record);
    EXPECT_EQ(FindField(table, record, "c98").value_or("?"), "v99");
    EXPECT_FALSE(FindField(table, record, "c99"));
    EXPECT_FALSE(FindField(table, record, longName));
    EXPECT_EQ(FindField(table, record, std::string(kLogColumnNameCapacity, 'q')).value_or("?"), "v0");
}

TEST(LogReader, WorkUnitTest)
{
    const struct {
        const char* line;
        bool workUnit;
    } cases[] = {
        {"\n", false}, {",,,\n", false},   {"  , \" ,\"\"\n", false}, {"x,X,xx\n", false}, {"\t,\x01\n", false},
        {"a\n", true}, {",,5\n", true},    {",,.\n", true},           {"x,y\n", true},     {"\\\n", true},
        {"|\n", true}, {"\"\",`\n", true},
    };
    for (const auto& c : cases) {
        LogRecord record;
        SplitLogLine(c.line, record);
        EXPECT_EQ(IsWorkUnitRecord(record), c.workUnit) << c.line;
    }
}

TEST(LogReader, HeaderAndBlankLinesInAFile)
{
    LogReader reader;
    MemoryByteSource source("NAME,CPU\r\nwu1,10\r\n\r\n,,\r\nwu2,20\r\n");
    reader.Start(source);
    ASSERT_TRUE(reader.ReadHeader());
    std::vector<std::string> names;
    while (const LogRecord* record = reader.ReadLogRecord())
        if (IsWorkUnitRecord(*record))
            names.emplace_back(reader.FindField(*record, "name").value_or("?"));
    EXPECT_EQ(names, (std::vector<std::string>{"wu1", "wu2"}));

    MemoryByteSource empty("");
    reader.Start(empty);
    EXPECT_FALSE(reader.ReadHeader());
    EXPECT_TRUE(reader.Columns().empty());
}

} // namespace
