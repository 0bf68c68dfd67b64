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

TripletPot DecodeTripletPot(std::string_view text)
{
    TripletPot pot{};
    for (size_t i = 0; i < pot.size(); ++i) {
        const int count = HexPair(text, i * 4);
        pot[i].count = count == 0 ? 1 : count;
        pot[i].height = HexPair(text, i * 4 + 2);
    }
    return pot;
}

PulsePot DecodePulsePot(std::string_view text)
{
    PulsePot pot{};
    for (size_t i = 0; i < pot.size(); ++i)
        pot[i] = HexPair(text, i * 2);
    return pot;
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
