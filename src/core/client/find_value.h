// Key lookup in the client's key=value files, and the number conversions used on the values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/common/status_sink.h"

// A value is cut to this many characters; client values are single lines far below it.
inline constexpr size_t kValueCapacity = 2047;

// The text after the first occurrence of key (which includes its '=') up to the next line feed.
// The key may match anywhere, also inside a longer key. A carriage return before the line feed
// stays in the value. A missing key or a missing line end writes its message to the status line.
std::optional<std::string> FindValue(std::string_view text, std::string_view key, StatusSink& status);

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
