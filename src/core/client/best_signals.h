// The best spike, gaussian, pulse and triplet of a work unit, as the client records them in state.sah.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/status_sink.h"

// Capacities of the pot texts, in characters.
inline constexpr size_t kGaussianPotCapacity = 1023;
inline constexpr size_t kHexPotCapacity = 1024;
// A pulse or triplet pot kept as the values of its two-digit hexadecimal numbers, one byte each:
// half the text's size, and what the graphs read. HexPotOfText (pot_decode.h) makes one.
using HexPot = std::vector<uint8_t>;
inline constexpr size_t kHexPotBytes = kHexPotCapacity / 2;
inline constexpr int kGaussianPotValues = 64;
inline constexpr char kGaussianPotSeparator = '\x01';

struct BestSignals {
    double gaussianTrueMean = 0;
    double gaussianPower = 0;
    double gaussianFftIndex = 0;
    double gaussianSigma = 0;
    std::string gaussianPot; // decimal values, each followed by kGaussianPotSeparator
    double spikePower = 0;
    double gaussianChiSquare = 0;
    double pulseScore = 0;
    double pulsePower = 0;
    double pulseMean = 0;
    double pulsePeriod = 0;
    double pulseFreqBin = 0;
    double pulseTimeBin = 0;
    double pulseChirpRate = 0;
    double pulseFftLength = 0;
    HexPot pulsePot;
    double tripletScore = 0;
    double tripletPower = 0;
    double tripletMean = 0;
    double tripletPeriod = 0;
    double tripletBasePeriod = 0;
    double tripletPotIndex[3][2] = {};
    double tripletTimeBin = 0;
    double tripletChirpRate = 0;
    double tripletScale = 0;
    double tripletFftLength = 0;
    HexPot tripletPot;
};

// Reads every best-signal key of a state.sah text in record order. Returns false when the
// required "bs_power=" or "bg_chisq=" is missing: the fields read until then are kept and the
// rest keep their previous values. Pot texts too long for their capacity are cut, the gaussian
// pot only at a whole value so no number is ever half read; the hexadecimal pots are kept as bytes.
bool ReadBestSignals(std::string_view stateText, BestSignals& signals, StatusSink& status);
