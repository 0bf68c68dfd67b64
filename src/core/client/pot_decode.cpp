// Pot texts to numbers: hexadecimal pairs for triplets and pulses, separated decimals for gaussians.
#include "core/client/pot_decode.h"

#include "core/client/find_value.h"

namespace
{

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

int HexPair(std::string_view text, size_t offset)
{
    if (offset >= text.size() || text.size() - offset < 2)
        return 0;
    const int high = HexDigit(text[offset]);
    const int low = HexDigit(text[offset + 1]);
    if (high < 0 || low < 0)
        return 0;
    return high * 16 + low;
}

HexPot HexPotOfText(std::string_view text)
{
    text = text.substr(0, kHexPotCapacity);
    HexPot pot(text.size() / 2);
    for (size_t i = 0; i < pot.size(); ++i)
        pot[i] = static_cast<uint8_t>(HexPair(text, 2 * i));
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
