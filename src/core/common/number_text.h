// Numbers as printf's "%.Nf", "%g" and "%d" would print them, without printf: the standard
// library's exact conversions give the same characters at a fraction of the cost, which matters
// when a list of 100,000 work units formats a million numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class NumberText
{
public:
    // "%.<precision>f" (precision 0 to 9).
    std::string_view Fixed(double value, int precision);
    // "%g": six significant digits, trailing zeros dropped, exponent form for very large or small.
    std::string_view General(double value);
    // "%lld".
    std::string_view Integer(int64_t value);

private:
    // The longest "%.9f" of a finite double: 309 digits, a sign, a point and 9 places.
    static constexpr size_t kCapacity = 330;
    char text_[kCapacity];
};
