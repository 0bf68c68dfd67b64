// Decoding of the pot texts (power over time) that the signal graphs draw.
#pragma once

#include <array>
#include <string_view>

#include "core/client/best_signals.h"

inline constexpr int kTripletPotEntries = 255;
inline constexpr int kPulsePotEntries = 512;

// One triplet pot entry: how many graph columns it repeats over, and its height.
struct TripletPotEntry {
    int count = 1;
    int height = 0;
};

using TripletPot = std::array<TripletPotEntry, kTripletPotEntries>;
using PulsePot = std::array<int, kPulsePotEntries>;
using GaussianPot = std::array<double, kGaussianPotValues>;

// The two-digit hexadecimal number at a character offset. A pair that runs past the end of the
// text, or holds anything but hexadecimal digits, reads as 0: the client writes only digits, so
// anything else is damage and must not lift the graph.
int HexPair(std::string_view text, size_t offset);

// The pot of a hexadecimal text: the first kHexPotCapacity characters read pair by pair as
// HexPair reads them (a damaged pair is 0); a last digit without its pair is left out, as the
// graphs read nothing there either.
HexPot HexPotOfText(std::string_view text);

// Two bytes per entry: the repeat count, then the height. A count of 0 is taken as 1; entries
// past the pot's end are 0 high.
TripletPot DecodeTripletPot(const HexPot& pot);

// One byte per height; heights past the pot's end are 0.
PulsePot DecodePulsePot(const HexPot& pot);

// Decimal values, each ended by kGaussianPotSeparator; a value without its separator is not read,
// and values not read are 0.
GaussianPot DecodeGaussianPot(std::string_view text);
