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

    for (const TripletPotEntry& entry : DecodeTripletPot(text)) {
        FuzzCheck(entry.count >= 1 && entry.count <= 255, "triplet count outside 1 to 255");
        FuzzCheck(entry.height >= 0 && entry.height <= 255, "triplet height outside 0 to 255");
    }
    for (const int height : DecodePulsePot(text))
        FuzzCheck(height >= 0 && height <= 255, "pulse height outside 0 to 255");
    for (const double value : DecodeGaussianPot(text))
        CheckFinite(value, "gaussian pot value not finite");

    const std::string pot = GaussianPotFromLog(text);
    CheckCopied(pot, kGaussianPotCapacity, "gaussian pot from the log over its capacity");
    FuzzCheck(pot.empty() || pot.back() == kGaussianPotSeparator, "gaussian pot from the log ends inside a value");
    for (const double value : DecodeGaussianPot(pot))
        CheckFinite(value, "gaussian pot value not finite");
    return 0;
}
