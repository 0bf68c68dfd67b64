// Invariant checks shared by the fuzz targets: a broken invariant aborts so libFuzzer keeps the input.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/lists/list_row.h"

// Aborts with a message naming the broken invariant.
[[noreturn]] inline void FuzzFail(const char* what, std::string_view text = {})
{
    std::fprintf(stderr, "invariant broken: %s [%.*s]\n", what, static_cast<int>(text.size() > 200 ? 200 : text.size()),
                 text.data());
    std::abort();
}

inline void FuzzCheck(bool ok, const char* what, std::string_view text = {})
{
    if (!ok)
        FuzzFail(what, text);
}

// A text that the program formatted from numbers: short, printable, and never an infinity or
// not-a-number spelled out.
inline void CheckFormatted(std::string_view text, size_t capacity, const char* what)
{
    FuzzCheck(text.size() <= capacity, what, text);
    for (const char c : text)
        FuzzCheck(c >= 0x20 && c < 0x7f, what, text);
    FuzzCheck(text.find("inf") == std::string_view::npos && text.find("nan") == std::string_view::npos, what, text);
}

// A copied text (from a file or a setting): at most capacity characters.
inline void CheckCopied(std::string_view text, size_t capacity, const char* what)
{
    FuzzCheck(text.size() <= capacity, what, text);
}

// ToNumber reads decimal texts without strtod: its value must be strtod's, bit for bit.
inline void CheckNumberLikeStrtod(std::string_view text, double number, size_t capacity)
{
    const std::string copy(text.substr(0, capacity));
    double expected = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(expected))
        expected = 0.0;
    FuzzCheck(std::memcmp(&expected, &number, sizeof number) == 0, "number differs from strtod", text);
}

inline void CheckFinite(double value, const char* what)
{
    FuzzCheck(std::isfinite(value), what);
}

// A sort key of a number cell holds only '.', '/' and digits.
inline void CheckNumberKey(const ListRow& row, int cell)
{
    if (row.Kind(cell) != kNumberCell)
        return;
    for (const char c : row.Second(cell))
        FuzzCheck(c >= '.' && c <= '9', "number key outside . / 0-9", row.Second(cell));
}
