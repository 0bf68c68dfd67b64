// Fuzzes the three pot decoders and the gaussian pot as read from a log column.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/client/pot_decode.h"
#include "core/completed/completed_load.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const size_t offset = input.ConsumeIntegral<size_t>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const int pair = HexPair(text, offset);
    FuzzCheck(pair >= 0 && pair <= 255, "hex pair outside 0 to 255");

    // Kept as bytes, a pot must give the graphs what its text's pairs say, as far as the text is read.
    const HexPot bytes = HexPotOfText(text);
    FuzzCheck(bytes.size() <= kHexPotBytes, "hexadecimal pot over its capacity");
    const std::string_view read = std::string_view(text).substr(0, kHexPotCapacity);
    const TripletPot triplet = DecodeTripletPot(bytes);
    for (size_t i = 0; i < triplet.size(); ++i) {
        const int count = HexPair(read, 4 * i);
        FuzzCheck(triplet[i].count == (count == 0 ? 1 : count), "triplet count differs from its text");
        FuzzCheck(triplet[i].height == HexPair(read, 4 * i + 2), "triplet height differs from its text");
    }
    const PulsePot pulse = DecodePulsePot(bytes);
    for (size_t i = 0; i < pulse.size(); ++i)
        FuzzCheck(pulse[i] == HexPair(read, 2 * i), "pulse height differs from its text");
    for (const double value : DecodeGaussianPot(text))
        CheckFinite(value, "gaussian pot value not finite");

    const std::string pot = GaussianPotFromLog(text);
    CheckCopied(pot, kGaussianPotCapacity, "gaussian pot from the log over its capacity");
    FuzzCheck(pot.empty() || pot.back() == kGaussianPotSeparator, "gaussian pot from the log ends inside a value");
    for (const double value : DecodeGaussianPot(pot))
        CheckFinite(value, "gaussian pot value not finite");
    return 0;
}
