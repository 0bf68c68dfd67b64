// Line reading, field splitting, the column table and the work-unit test of SETILog.csv.
#include "core/completed/log_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "core/common/byte_scan.h"

namespace
{

constexpr size_t kChunkBytes = 64 * 1024;

// The characters that make a line a work unit. The set has neither x nor X.
constexpr char kWorkUnitCharacters[] =
    "abcdefghijklmnopqrstuvwzyABCDEFGHIJKLMNOPQRSTUVWZY1234567890!@#$%^&*()-=_+~`[]{};:<>./?\\|";

std::array<bool, 256> WorkUnitSet()
{
    std::array<bool, 256> set{};
    for (const char* c = kWorkUnitCharacters; *c; ++c)
        set[static_cast<unsigned char>(*c)] = true;
    return set;
}

std::string UpperCase(std::string_view text, size_t capacity)
{
    std::string upper(text.substr(0, capacity));
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// A quoted field from just after its opening quote; returns the position after the field.
size_t SplitQuotedField(std::string_view line, size_t pos, LogRecord& record)
{
    const size_t n = line.size();
    bool empty = true;
    auto add = [&](char c) {
        record.AddFieldChar(c);
        empty = false;
    };
    while (pos < n) {
        const char c = line[pos];
        // Lines are read one at a time, so the line end closes even a quoted field left open.
        if (c == '\n')
            return pos + 1;
        if (c != '"') {
            add(c);
            ++pos;
            continue;
        }
        if (pos + 1 == n) {
            // A quote ending a line without a line feed stays, unless the field is just "".
            if (!empty)
                add('"');
            return n;
        }
        const char next = line[pos + 1];
        if (next == '"') {
            add('"');
            pos += 2;
        } else if (next == ',' || next == '\n') {
            return pos + 2;
        } else if (next == ' ') {
            // The quote stays and the field goes on unquoted to the next comma or the line end.
            add('"');
            ++pos;
            while (pos < n && line[pos] != ',' && line[pos] != '\n')
                add(line[pos++]);
            return pos < n ? pos + 1 : n;
        } else {
            add('"');
            ++pos;
        }
    }
    return n;
}

} // namespace

std::string_view LogRecord::Field(int index) const
{
    if (index < 0 || index >= FieldCount())
        return {};
    const auto& [offset, length] = fields_[static_cast<size_t>(index)];
    return std::string_view(text_).substr(offset, length);
}

void LogRecord::Clear()
{
    text_.clear();
    fieldStart_ = 0;
    fields_.clear();
}

void LogRecord::AddField(std::string_view text)
{
    text_.append(text);
    EndField();
}

void LogRecord::EndField()
{
    fields_.emplace_back(static_cast<uint32_t>(fieldStart_), static_cast<uint32_t>(text_.size() - fieldStart_));
    fieldStart_ = text_.size();
}

void SplitLogLine(std::string_view line, LogRecord& record)
{
    record.Clear();
    const size_t n = line.size();
    size_t pos = 0;
    while (pos < n) {
        // A lone quote before the line feed ends the record and is ignored.
        if (line.substr(pos) == "\"\n")
            break;
        if (line[pos] == '"') {
            pos = SplitQuotedField(line, pos + 1, record);
        } else {
            // The field's characters go over in one piece: a full line holds thousands of them.
            const char* begin = line.data() + pos;
            const size_t end = pos + FindEitherByte(begin, n - pos, ',', '\n');
            record.AddFieldChars(line.substr(pos, end - pos));
            pos = end < n ? end + 1 : n;
        }
        record.EndField();
    }
}

void LoadColumnTable(LogColumnTable& table, const LogRecord& header)
{
    // Replaced whole: names left over from a wider header of an earlier file would otherwise
    // find fields under the wrong column.
    table.clear();
    for (int i = 0; i < header.FieldCount() && table.size() < kLogColumnCapacity; ++i) {
        const std::string_view name = header.Field(i);
        if (name.empty())
            break;
        table.push_back(UpperCase(name, kLogColumnNameCapacity));
    }
}

int FindColumn(const LogColumnTable& table, std::string_view name)
{
    const std::string wanted = UpperCase(name, kLogWantedNameCapacity);
    const auto found = std::find(table.begin(), table.end(), wanted);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

std::optional<std::string_view> FieldAt(const LogRecord& record, int column)
{
    if (column < 0 || column >= record.FieldCount())
        return std::nullopt;
    return record.Field(column);
}

std::optional<std::string_view> FindField(const LogColumnTable& table, const LogRecord& record, std::string_view name)
{
    return FieldAt(record, FindColumn(table, name));
}

bool IsWorkUnitRecord(const LogRecord& record)
{
    static const std::array<bool, 256> kSet = WorkUnitSet();
    for (int i = 0; i < record.FieldCount(); ++i)
        for (const char c : record.Field(i))
            if (kSet[static_cast<unsigned char>(c)])
                return true;
    return false;
}

size_t MemoryByteSource::Read(char* buffer, size_t capacity)
{
    const size_t count = std::min(capacity, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
}

LogReader::LogReader() : chunk_(kChunkBytes)
{
    line_.reserve(kLogLineCapacity + 1);
}

void LogReader::Start(LogByteSource& source)
{
    source_ = &source;
    chunkUsed_ = 0;
    chunkFilled_ = 0;
    sourceEnded_ = false;
    pending_ = -1;
}

int LogReader::RawByte()
{
    if (chunkUsed_ == chunkFilled_) {
        if (sourceEnded_ || !source_)
            return -1;
        chunkUsed_ = 0;
        chunkFilled_ = source_->Read(chunk_.data(), chunk_.size());
        if (chunkFilled_ == 0) {
            sourceEnded_ = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(chunk_[chunkUsed_++]);
}

int LogReader::NextByte()
{
    int c;
    if (pending_ >= 0) {
        c = pending_;
        pending_ = -1;
    } else {
        c = RawByte();
    }
    if (c == '\r') {
        const int next = RawByte();
        if (next == '\n')
            return '\n';
        pending_ = next;
    }
    return c;
}

const LogRecord* LogReader::ReadLogRecord()
{
    line_.clear();
    while (line_.size() < kLogLineCapacity) {
        if (pending_ < 0 && chunkUsed_ < chunkFilled_) {
            // Plain bytes up to the next carriage return or line feed are copied in one piece;
            // those two and the chunk's end go through NextByte, which knows the line-end rules.
            const char* begin = chunk_.data() + chunkUsed_;
            const size_t take = std::min(chunkFilled_ - chunkUsed_, kLogLineCapacity - line_.size());
            const size_t plain = FindEitherByte(begin, take, '\n', '\r');
            line_.append(begin, plain);
            chunkUsed_ += plain;
            if (line_.size() >= kLogLineCapacity)
                break;
        }
        const int c = NextByte();
        if (c < 0)
            break;
        line_.push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    if (line_.empty())
        return nullptr;
    SplitLogLine(line_, record_);
    return &record_;
}

bool LogReader::ReadHeader()
{
    const LogRecord* header = ReadLogRecord();
    if (!header) {
        columns_.clear();
        return false;
    }
    LoadColumnTable(*header);
    return true;
}
