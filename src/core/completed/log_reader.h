// Reading SETILog.csv: lines split into fields by its quoting rules, the header's column table, lookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Longest line text read as one record; the rest of a longer line is read as the next record.
inline constexpr size_t kLogLineCapacity = 4999;
// The column table keeps at most this many names of at most this many characters.
inline constexpr size_t kLogColumnCapacity = 100;
inline constexpr size_t kLogColumnNameCapacity = 39;
// A wanted column name is compared on at most this many characters.
inline constexpr size_t kLogWantedNameCapacity = 255;

// One line split into fields. The field texts are kept back to back in the record itself, so a
// copy stays valid, but the reader reuses its one record for every line.
class LogRecord
{
public:
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // Field i, or an empty text past the last field.
    std::string_view Field(int index) const;

    void Clear();
    void AddField(std::string_view text);
    void AddFieldChar(char c) { text_.push_back(c); }
    void AddFieldChars(std::string_view text) { text_.append(text); }
    // Closes the field whose characters were added since the last close.
    void EndField();

private:
    std::string text_;
    size_t fieldStart_ = 0;
    std::vector<std::pair<uint32_t, uint32_t>> fields_; // offset and length in text_
};

// Splits one line (with its line feed, if it has one) into fields.
void SplitLogLine(std::string_view line, LogRecord& record);

// The column names of a header line, upper-cased, in header order, up to the first empty name.
using LogColumnTable = std::vector<std::string>;

// Replaces the table with the header's names: at most 100, each cut to 39 characters, ending
// before the first empty name.
void LoadColumnTable(LogColumnTable& table, const LogRecord& header);

// The position of a column name in the table (compared without regard to case; the first equal
// name wins), or -1 when no column has that name.
int FindColumn(const LogColumnTable& table, std::string_view name);
// The field at a column position, or nothing for -1 or a record too short to reach it.
std::optional<std::string_view> FieldAt(const LogRecord& record, int column);
// The field under a column name, or nothing when no column has that name or the record is too
// short to reach it. Readers of many records find their columns once and use FieldAt.
std::optional<std::string_view> FindField(const LogColumnTable& table, const LogRecord& record, std::string_view name);

// Whether any field holds a character of the work-unit set (letters but x and X, digits and
// punctuation): blank lines and lines of commas, blanks or quotes are not work units.
bool IsWorkUnitRecord(const LogRecord& record);

// Where the bytes of a file come from: the Win32 layer reads the file, tests feed memory.
class LogByteSource
{
public:
    virtual ~LogByteSource() = default;
    // Fills up to capacity bytes and returns how many; 0 at the end.
    virtual size_t Read(char* buffer, size_t capacity) = 0;
    // The bytes there are to read, as far as known when reading starts (0: unknown).
    virtual uint64_t Size() const { return 0; }
};

class MemoryByteSource final : public LogByteSource
{
public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    size_t Read(char* buffer, size_t capacity) override;

private:
    std::string_view bytes_;
};

// The one reader of SETILog.csv files: it owns the line buffer, the record and the column table,
// so only one file is read at a time. Lines are read as text: a carriage return directly before a
// line feed belongs to the line end.
class LogReader
{
public:
    LogReader();

    // Starts reading a new file from its first byte. The column table stays until the header of
    // the new file is loaded.
    void Start(LogByteSource& source);
    // The next line split into fields, or null when no line is left. Valid until the next call.
    const LogRecord* ReadLogRecord();

    void LoadColumnTable(const LogRecord& header) { ::LoadColumnTable(columns_, header); }
    const LogColumnTable& Columns() const { return columns_; }
    std::optional<std::string_view> FindField(const LogRecord& record, std::string_view name) const
    {
        return ::FindField(columns_, record, name);
    }
    int FindColumn(std::string_view name) const { return ::FindColumn(columns_, name); }

    // Reads the first line as the header and loads it into the column table; false for an empty file.
    bool ReadHeader();

private:
    // The next byte with carriage return + line feed read as one line feed; -1 at the end.
    int NextByte();
    int RawByte();

    LogByteSource* source_ = nullptr;
    std::vector<char> chunk_;
    size_t chunkUsed_ = 0;
    size_t chunkFilled_ = 0;
    bool sourceEnded_ = true;
    int pending_ = -1; // a byte read ahead after a carriage return
    std::string line_;
    LogRecord record_;
    LogColumnTable columns_;
};
