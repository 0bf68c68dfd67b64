// The client's date text (the part of a date value inside its parentheses) read as a calendar time.
#pragma once

#include <cstdint>
#include <string_view>

// Reads a text such as "Sat Jul 15 22:31:54 2000" (weekday, month, day, h:m:s, year) as local
// standard time, that is with the local zone's offset from UTC and no daylight-saving hour, and
// returns the seconds since 1970-01-01 00:00:00 UTC. The month must be one of the exact,
// case-sensitive three-letter names. Returns -1 for a text that cannot be read, a time the C
// library cannot convert, and a time outside the 32-bit range from 1970 on (so the result is the
// same on every platform whatever its C library accepts).
int32_t ParseClientDate(std::string_view text);
