// Pot texts to numbers: hexadecimal pairs for triplets and pulses, separated decimals for gaussians.
#include "core/client/pot_decode.h"

#include <array>
#include <cstdint>

#include "core/client/find_value.h"

namespace
{

// The value of every byte as a hexadecimal digit, or -1: a pot holds a thousand of them per row.
constexpr auto kHexDigits = [] {
    std::array<int8_t, 256> digits{};
    for (int c = 0; c < 256; ++c)
        digits[c] = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
    return digits;
}();

int PairValue(char high, char low)
{
    const int highDigit = kHexDigits[static_cast<unsigned char>(high)];
    const int lowDigit = kHexDigits[static_cast<unsigned char>(low)];
    return highDigit < 0 || lowDigit < 0 ? 0 : highDigit * 16 + lowDigit;
}

} // namespace

int HexPair(std::string_view text, size_t offset)
{
    if (offset >= text.size() || text.size() - offset < 2)
        return 0;
    return PairValue(text[offset], text[offset + 1]);
}

HexPot HexPotOfText(std::string_view text)
{
    text = text.substr(0, kHexPotCapacity);
    HexPot pot(text.size() / 2);
    for (size_t i = 0; i < pot.size(); ++i)
        pot[i] = static_cast<uint8_t>(PairValue(text[2 * i], text[2 * i + 1]));
    return pot;
}

TripletPot DecodeTripletPot(const HexPot& pot)
{
    const auto at = [&pot](size_t index) { return index < pot.size() ? int{pot[index]} : 0; };
    TripletPot entries{};
    for (size_t i = 0; i < entries.size(); ++i) {
        const int count = at(2 * i);
        entries[i].count = count == 0 ? 1 : count;
        entries[i].height = at(2 * i + 1);
    }
    return entries;
}

PulsePot DecodePulsePot(const HexPot& pot)
{
    PulsePot heights{};
    for (size_t i = 0; i < heights.size() && i < pot.size(); ++i)
        heights[i] = pot[i];
    return heights;
}

GaussianPot DecodeGaussianPot(std::string_view text)
{
    GaussianPot pot{};
    size_t position = 0;
    for (double& value : pot) {
        const size_t separator = text.find(kGaussianPotSeparator, position);
        if (separator == std::string_view::npos)
            break;
        value = ToNumber(text.substr(position, separator - position));
        position = separator + 1;
    }
    return pot;
}
