// Reads the best signals and their graph data from the client's state text.
#include "core/client/best_signals.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

#include "core/client/find_value.h"
#include "core/client/pot_decode.h"

namespace
{

struct NumberKey {
    const char* key;
    double BestSignals::*field;
};

constexpr NumberKey kGaussianKeys[] = {
    {"bg_true_mean=", &BestSignals::gaussianTrueMean},
    {"bg_power=", &BestSignals::gaussianPower},
    {"bg_fft_ind=", &BestSignals::gaussianFftIndex},
    {"bg_sigma=", &BestSignals::gaussianSigma},
};

constexpr NumberKey kPulseKeys[] = {
    {"bp_score=", &BestSignals::pulseScore},
    {"bp_power=", &BestSignals::pulsePower},
    {"bp_mean=", &BestSignals::pulseMean},
    {"bp_period=", &BestSignals::pulsePeriod},
    {"bp_freq_bin=", &BestSignals::pulseFreqBin},
    {"bp_time_bin=", &BestSignals::pulseTimeBin},
    {"bp_chirp_rate=", &BestSignals::pulseChirpRate},
    {"bp_fft_len=", &BestSignals::pulseFftLength},
};

constexpr NumberKey kTripletKeys[] = {
    {"bt_score=", &BestSignals::tripletScore},        {"bt_power=", &BestSignals::tripletPower},
    {"bt_mean=", &BestSignals::tripletMean},          {"bt_period=", &BestSignals::tripletPeriod},
    {"bt_bperiod=", &BestSignals::tripletBasePeriod},
};

constexpr const char* kTripletPotIndexKeys[3][2] = {
    {"bt_tpotind0_0=", "bt_tpotind0_1="},
    {"bt_tpotind1_0=", "bt_tpotind1_1="},
    {"bt_tpotind2_0=", "bt_tpotind2_1="},
};

constexpr NumberKey kTripletTailKeys[] = {
    {"bt_time_bin=", &BestSignals::tripletTimeBin},
    {"bt_chirp_rate=", &BestSignals::tripletChirpRate},
    {"bt_scale=", &BestSignals::tripletScale},
    {"bt_fft_len=", &BestSignals::tripletFftLength},
};

template <size_t N>
void ReadNumbers(const KeyedText& text, const NumberKey (&keys)[N], BestSignals& signals, StatusSink& status)
{
    for (const NumberKey& entry : keys)
        signals.*entry.field = FindNumber(text, entry.key, status);
}

std::string ReadGaussianPot(const KeyedText& text, StatusSink& status)
{
    std::string pot;
    // "bg_pot %d=", made without a format call for each of the 64 values
    constexpr char kPrefix[] = "bg_pot ";
    char key[16] = {};
    std::copy(std::begin(kPrefix), std::end(kPrefix) - 1, key);
    for (int i = 0; i < kGaussianPotValues; ++i) {
        char* end = std::to_chars(key + sizeof kPrefix - 1, key + sizeof key - 1, i).ptr;
        *end++ = '=';
        const std::optional<std::string> value =
            FindValue(text, std::string_view(key, static_cast<size_t>(end - key)), status);
        if (!value || pot.size() + value->size() + 1 > kGaussianPotCapacity)
            break;
        pot += *value;
        pot += kGaussianPotSeparator;
    }
    return pot;
}

HexPot ReadHexPot(const KeyedText& text, const char* key, StatusSink& status)
{
    return HexPotOfText(FindValue(text, key, status).value_or(std::string()));
}

} // namespace

bool ReadBestSignals(std::string_view state, BestSignals& signals, StatusSink& status)
{
    const KeyedText stateText(state);
    const std::optional<std::string> spike = FindValue(stateText, "bs_power=", status);
    if (!spike)
        return false;
    signals.spikePower = ToNumber(*spike);

    const std::optional<std::string> chiSquare = FindValue(stateText, "bg_chisq=", status);
    if (!chiSquare)
        return false;
    signals.gaussianChiSquare = ToNumber(*chiSquare);

    signals.gaussianPot = ReadGaussianPot(stateText, status);
    ReadNumbers(stateText, kGaussianKeys, signals, status);
    ReadNumbers(stateText, kPulseKeys, signals, status);
    signals.pulsePot = ReadHexPot(stateText, "bp_pot=", status);
    ReadNumbers(stateText, kTripletKeys, signals, status);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            signals.tripletPotIndex[i][j] = FindNumber(stateText, kTripletPotIndexKeys[i][j], status);
    ReadNumbers(stateText, kTripletTailKeys, signals, status);
    signals.tripletPot = ReadHexPot(stateText, "bt_pot=", status);
    return true;
}
