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
#include <utility>

#include "core/common/byte_scan.h"

namespace
{

constexpr uint32_t kNone = UINT32_MAX;
// Texts up to this size are indexed: four bytes of index per character.
constexpr size_t kLargestIndexedText = 1 << 20;
constexpr size_t kHashedPrefix = 8;
constexpr int kHashBits = 12;
// A lookup in the index compares at most this many characters per character of text it has
// passed, and this many more, before it searches the rest of the text instead.
constexpr size_t kComparedPerCharacter = 2;
constexpr size_t kComparedAtStart = 64;

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

// The two-way search of Crochemore and Perrin (1991), moving from one place whose last character
// is the key's to the next. The key is cut at a critical point into a left and a right part; at
// each place the right part is compared forwards, then the left part backwards. A mismatch in the
// right part moves the key past it, and a mismatch in the left part by the key's period,
// remembering for a periodic key how much of its start is known to match. So no comparison goes
// back over a character the right part matched, and a search compares about twice the text's
// length at most, whatever the key and the text hold, in constant memory. The places between are
// passed by a scan for the key's last character eight bytes at a time.
class KeySearcher
{
public:
    explicit KeySearcher(std::string_view key) : key_(key)
    {
        // The critical cut is the start of the later of the key's two greatest suffixes, one under
        // each order of the bytes; its period is the right part's, which may be less than the key's.
        const auto [cutUp, periodUp] = MaximalSuffix(false);
        const auto [cutDown, periodDown] = MaximalSuffix(true);
        cut_ = cutUp > cutDown ? cutUp : cutDown;
        period_ = cutUp > cutDown ? periodUp : periodDown;
        if (std::memcmp(key.data(), key.data() + period_, cut_) == 0) {
            // The whole key has that period: after a move by it, its first size - period
            // characters are known to match.
            known_ = key.size() - period_;
        } else {
            // Not periodic there: no place before this far on can hold the key.
            period_ = std::max(cut_, key.size() - cut_) + 1;
            known_ = 0;
        }
    }

    // The offset of the key's first occurrence in the text, or npos. For a key of one character
    // or more.
    size_t FindIn(std::string_view text) const
    {
        const size_t size = key_.size();
        const size_t last = size - 1;
        const char end = key_[last];
        size_t at = 0;
        size_t known = 0; // the characters at the place's start known to match the key's
        while (text.size() - at >= size) {
            if (text[at + last] != end) {
                // Right after a move by the period, no place before the known part's end can hold
                // the key either: its last character would have been the key's.
                const size_t from = at + std::max<size_t>(known, 1) + last;
                if (from >= text.size())
                    break;
                at = from + FindEitherByte(text.data() + from, text.size() - from, end, end) - last;
                known = 0;
                continue;
            }
            size_t right = std::max(cut_, known);
            while (right < size && text[at + right] == key_[right])
                ++right;
            if (right < size) {
                at += right - cut_ + 1;
                known = 0;
                continue;
            }
            size_t left = cut_;
            while (left > known && text[at + left - 1] == key_[left - 1])
                --left;
            if (left <= known)
                return at;
            at += period_;
            known = known_;
        }
        return std::string_view::npos;
    }

private:
    // The start of the key's greatest suffix, bytes compared as unsigned (down: in the reverse
    // order), and that suffix's period.
    std::pair<size_t, size_t> MaximalSuffix(bool down) const
    {
        const size_t size = key_.size();
        size_t start = 0;  // the greatest suffix so far
        size_t other = 1;  // a later suffix compared with it
        size_t offset = 0; // how far the two agree
        size_t period = 1;
        while (other + offset < size) {
            const unsigned char a = static_cast<unsigned char>(key_[start + offset]);
            const unsigned char b = static_cast<unsigned char>(key_[other + offset]);
            if (a == b) {
                if (offset + 1 == period) {
                    other += period;
                    offset = 0;
                } else {
                    ++offset;
                }
            } else if ((a > b) != down) {
                // The later suffix is less: the greatest one's period reaches past it.
                other += offset + 1;
                offset = 0;
                period = other - start;
            } else {
                // The later suffix is greater and becomes the greatest.
                start = other;
                other = start + 1;
                offset = 0;
                period = 1;
            }
        }
        return {start, period};
    }

    std::string_view key_;
    size_t cut_ = 0;    // where the right part begins
    size_t period_ = 1; // the move after the right part matched and the left part did not
    size_t known_ = 0;  // the characters known to match after that move
};

} // namespace

size_t FindKey(std::string_view text, std::string_view key)
{
    if (key.empty())
        return 0;
    if (key.size() > text.size())
        return std::string_view::npos;
    return KeySearcher(key).FindIn(text);
}

std::optional<std::string> FindValue(std::string_view text, std::string_view key, StatusSink& status)
{
    return ValueAt(text, FindKey(text, key), key, status);
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
        return FindKey(text_, key);
    size_t compared = 0;
    for (uint32_t at = first_[PrefixHash(key.data())]; at != kNone; at = next_[at]) {
        // Places only grow, so once the key no longer fits after one it fits after none.
        if (text_.size() - at < key.size())
            break;
        size_t matched = 0;
        while (matched < key.size() && text_[at + matched] == key[matched])
            ++matched;
        if (matched == key.size())
            return at;
        // A chain of places that almost hold the key (in a text of one character repeated, say)
        // costs up to the key's length at each of them: once the comparisons outrun the text
        // passed, the rest of the text is searched instead, which no text makes slow.
        compared += matched + 1;
        if (compared > kComparedPerCharacter * at + kComparedAtStart) {
            const size_t found = FindKey(text_.substr(at + 1), key);
            return found == std::string_view::npos ? found : at + 1 + found;
        }
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
