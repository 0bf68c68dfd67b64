// Key lookup and value conversions shared by every reader of the client's files.
#include "core/client/find_value.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace
{

constexpr uint32_t kNone = UINT32_MAX;
// Texts up to this size are indexed: four bytes of index per character.
constexpr size_t kLargestIndexedText = 1 << 20;
constexpr size_t kHashedPrefix = 8;
constexpr int kHashBits = 12;

// A hash of the eight characters at a place. Both the index and a lookup compute it the same way,
// and a lookup compares the whole key, so any byte order gives the same answers.
uint32_t PrefixHash(const char* at)
{
    uint64_t word;
    std::memcpy(&word, at, kHashedPrefix);
    return static_cast<uint32_t>((word * 0x9E3779B97F4A7C15ull) >> (64 - kHashBits));
}

// The value after a key found at an offset (or not found), with the messages of a failed lookup.
std::optional<std::string> ValueAt(std::string_view text, size_t found, std::string_view key, StatusSink& status)
{
    if (found == std::string_view::npos) {
        status.SetStatusText(Format("Could not find \"%.*s\" in file.", static_cast<int>(key.size()), key.data()));
        return std::nullopt;
    }
    const size_t start = found + key.size();
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
        status.SetStatusText(
            Format("Could not find end of \"%.*s\" in file.", static_cast<int>(key.size()), key.data()));
        return std::nullopt;
    }
    return std::string(text.substr(start, std::min(end - start, kValueCapacity)));
}

} // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view key, StatusSink& status)
{
    return ValueAt(text, text.find(key), key, status);
}

KeyedText::KeyedText(std::string_view text) : text_(text)
{
    if (text.size() < kHashedPrefix || text.size() > kLargestIndexedText)
        return;
    try {
        first_.assign(size_t{1} << kHashBits, kNone);
        next_.resize(text.size() - kHashedPrefix + 1);
    } catch (const std::bad_alloc&) {
        first_.clear(); // searched whole instead
        return;
    }
    // From the end, so that every chain runs from the first place on.
    for (size_t at = next_.size(); at-- > 0;) {
        uint32_t& first = first_[PrefixHash(text.data() + at)];
        next_[at] = first;
        first = static_cast<uint32_t>(at);
    }
}

size_t KeyedText::Find(std::string_view key) const
{
    if (key.size() < kHashedPrefix || first_.empty())
        return text_.find(key);
    for (uint32_t at = first_[PrefixHash(key.data())]; at != kNone; at = next_[at]) {
        // Places only grow, so once the key no longer fits after one it fits after none.
        if (text_.size() - at < key.size())
            break;
        size_t matched = 0;
        while (matched < key.size() && text_[at + matched] == key[matched])
            ++matched;
        if (matched == key.size())
            return at;
    }
    return std::string_view::npos;
}

std::optional<std::string> FindValue(const KeyedText& text, std::string_view key, StatusSink& status)
{
    return ValueAt(text.Text(), text.Find(key), key, status);
}

double FindNumber(const KeyedText& text, std::string_view key, StatusSink& status)
{
    const std::optional<std::string> value = FindValue(text, key, status);
    return value ? ToNumber(*value) : 0.0;
}

namespace
{

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

double StrtodNumber(std::string_view value)
{
    const std::string copy(value);
    return std::strtod(copy.c_str(), nullptr);
}

} // namespace

double ToNumber(std::string_view value)
{
    value = value.substr(0, kValueCapacity);
    // strtod's leading blanks and sign are read here and the rest by from_chars, which gives
    // strtod's value for every decimal text at a small part of its cost (a list of 100,000 work
    // units converts one and a half million numbers). Hexadecimal texts and anything from_chars
    // refuses or finds out of range go to strtod itself.
    size_t at = 0;
    while (at < value.size() && IsCSpace(value[at]))
        ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-'))
        negative = value[at++] == '-';
    const std::string_view rest = value.substr(at);
    double number = 0;
    const bool hexadecimal = rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
    const bool secondSign = !rest.empty() && (rest[0] == '+' || rest[0] == '-');
    if (secondSign)
        return 0.0; // "+-1": strtod reads nothing
    if (hexadecimal || std::from_chars(rest.data(), rest.data() + rest.size(), number).ec != std::errc()) {
        number = StrtodNumber(value);
        negative = false;
    }
    if (negative)
        number = -number;
    return std::isfinite(number) ? number : 0.0;
}

long ToInteger(std::string_view value)
{
    const std::string copy(value.substr(0, kValueCapacity));
    errno = 0;
    const long long number = std::strtoll(copy.c_str(), nullptr, 10);
    if (errno == ERANGE || number > LONG_MAX || number < LONG_MIN)
        return 0;
    return static_cast<long>(number);
}

double FindNumber(std::string_view text, std::string_view key, StatusSink& status)
{
    const std::optional<std::string> value = FindValue(text, key, status);
    return value ? ToNumber(*value) : 0.0;
}

long FindInteger(std::string_view text, std::string_view key, StatusSink& status)
{
    const std::optional<std::string> value = FindValue(text, key, status);
    return value ? ToInteger(*value) : 0;
}

std::string_view WithoutCarriageReturn(std::string_view value)
{
    if (!value.empty() && value.back() == '\r')
        value.remove_suffix(1);
    return value;
}

std::string_view SkipBlanks(std::string_view value)
{
    const size_t first = value.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : value.substr(first);
}
