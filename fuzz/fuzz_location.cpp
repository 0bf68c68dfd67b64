// Fuzzes the stored location string parse, its format round trip and the walks over a stored list.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "fuzz_check.h"
#include "core/settings/location.h"
#include "core/settings/value_names.h"

namespace
{

void CheckLocation(const Location& location)
{
    CheckCopied(location.path, kLocationTextCapacity - 1, "path over the string's capacity");
    CheckCopied(location.shortName, kLocationTextCapacity - 1, "short name over the string's capacity");
    FuzzCheck(location.shortName.find(';') == std::string::npos, "short name holds a separator", location.shortName);
    for (const std::string* field : {&location.analysis, &location.datainfo, &location.userinfo, &location.completed})
        FuzzCheck(field->find(';') == std::string::npos, "switch holds a separator", *field);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string directory = input.ConsumeRandomLengthString(300);
    const bool stored = input.ConsumeBool();
    std::vector<std::optional<std::string>> values;
    while (input.remaining_bytes() > 0 && values.size() < 64) {
        if (input.ConsumeIntegralInRange<int>(0, 15) == 0)
            values.emplace_back();
        else
            values.emplace_back(input.ConsumeRandomLengthString(2048));
    }

    for (const std::optional<std::string>& value : values) {
        if (!value)
            continue;
        const Location location = ParseLocation(*value, directory);
        CheckLocation(location);
        // What the program writes back reads back the same, as long as it fits the store's buffer
        // and the one trailing backslash the parse drops is not part of the path.
        const std::string formatted = FormatLocation(location);
        if (formatted.size() < kLocationTextCapacity && (location.path.empty() || location.path.back() != '\\')) {
            const Location again = ParseLocation(formatted, directory);
            FuzzCheck(again.path == location.path && again.shortName == location.shortName &&
                          again.colour == location.colour && again.analysis == location.analysis &&
                          again.datainfo == location.datainfo && again.userinfo == location.userinfo &&
                          again.completed == location.completed,
                      "format does not read back", formatted);
        }
    }

    int handed = 0;
    const LocationReader reader = [&](int index) -> std::optional<std::string> {
        return index >= 1 && static_cast<size_t>(index) <= values.size() ? values[index - 1] : std::nullopt;
    };
    const int count = EnumerateLocations(stored ? LocationWalk::StoredOnly : LocationWalk::DefaultFirst, reader,
                                         directory, [&](const Location& location) {
                                             CheckLocation(location);
                                             ++handed;
                                         });
    FuzzCheck(count == handed && count <= static_cast<int>(values.size()) + 1, "walk count");
    return 0;
}
