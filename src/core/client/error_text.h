// The program's rendering of an operating-system error code and its system text.
#pragma once

#include <string>
#include <string_view>

inline constexpr size_t kErrorTextCapacity = 1024; // characters, without the terminator

// "Error #%d.  %s" when the system has a text for the code, else "Error #%d"; one trailing
// CR LF is removed and the result is cut to kErrorTextCapacity characters.
std::string FormatErrorText(unsigned long code, std::string_view systemText);
