// Number formatting through std::to_chars, equal to the printf formats it stands for.
#include "core/common/number_text.h"

#include <charconv>
#include <cmath>

namespace
{

// What printf prints for values to_chars spells differently: infinities and not-a-number.
std::string_view NonFinite(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    return value < 0 ? "-inf" : "inf";
}

} // namespace

std::string_view NumberText::Fixed(double value, int precision)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    const int places = precision < 0 ? 0 : precision > 9 ? 9 : precision;
    const auto result = std::to_chars(text_, text_ + kCapacity, value, std::chars_format::fixed, places);
    return {text_, static_cast<size_t>(result.ptr - text_)};
}

std::string_view NumberText::General(double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    const auto result = std::to_chars(text_, text_ + kCapacity, value, std::chars_format::general, 6);
    return {text_, static_cast<size_t>(result.ptr - text_)};
}

std::string_view NumberText::Integer(int64_t value)
{
    const auto result = std::to_chars(text_, text_ + kCapacity, value);
    return {text_, static_cast<size_t>(result.ptr - text_)};
}
