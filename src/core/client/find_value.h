// Key lookup in the client's key=value files, and the number conversions used on the values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/status_sink.h"

// A value is cut to this many characters; client values are single lines far below it.
inline constexpr size_t kValueCapacity = 2047;

// The offset of the key's first occurrence in the text, or npos: what text.find(key) gives, in a
// time linear in the text's size whatever the text and the key hold. Only places that end with
// the key's last character are compared; the text between is scanned eight bytes at a time.
size_t FindKey(std::string_view text, std::string_view key);

// The text after the first occurrence of key (which includes its '=') up to the next line feed.
// The key may match anywhere, also inside a longer key. A carriage return before the line feed
// stays in the value. A missing key or a missing line end writes its message to the status line.
std::optional<std::string> FindValue(std::string_view text, std::string_view key, StatusSink& status);

// A text to look up many keys in, as FindValue does. The places of each run of eight characters
// are chained once by a hash of those characters, so looking up a key of eight characters or
// more visits only the places that begin as it does, instead of scanning the text: a state.sah
// is searched for about a hundred keys, most of them beginning with "b". Shorter keys, a text
// over 1 MiB (the index would take four bytes a character), a text whose index finds no memory,
// and the rest of a text whose chain holds many places almost holding the key are searched as
// FindValue searches, so no lookup takes more than a time linear in the text's size.
class KeyedText
{
public:
    explicit KeyedText(std::string_view text);
    std::string_view Text() const { return text_; }
    // The offset of the key's first occurrence, or npos; what text.find(key) gives.
    size_t Find(std::string_view key) const;

private:
    std::string_view text_;
    std::vector<uint32_t> first_; // by hash: the first place, or none; empty: no index
    std::vector<uint32_t> next_;  // by place: the next place of the same hash, or none
};

std::optional<std::string> FindValue(const KeyedText& text, std::string_view key, StatusSink& status);
double FindNumber(const KeyedText& text, std::string_view key, StatusSink& status);

// Decimal conversions as the C library's atof and atol read: leading blanks, then as much as fits.
// Values that overflow or are not finite read as 0 so no display ever shows "inf" or "nan".
double ToNumber(std::string_view value);
long ToInteger(std::string_view value);

// Lookups for keys that are optional to their caller: 0 when missing (the message is still written).
double FindNumber(std::string_view text, std::string_view key, StatusSink& status);
long FindInteger(std::string_view text, std::string_view key, StatusSink& status);

// A value as text for showing or naming: without the carriage return that a file with CR LF line
// ends leaves at its end, so the same value reads the same from either kind of file.
std::string_view WithoutCarriageReturn(std::string_view value);

// Drops leading space characters (only ' ') before a value is shown.
std::string_view SkipBlanks(std::string_view value);
