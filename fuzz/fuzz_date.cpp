// Fuzzes the client date parse and the recorded-on texts cut from a time_recorded value.
#include <cstdlib>
#include <string>

#include "core/client/client_date.h"
#include "core/analysis/work_unit_info.h"
#include "core/completed/completed_load.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A zone with daylight-saving rules, so the standard-time path is the one exercised.
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t when = ParseClientDate(text);
    FuzzCheck(when >= -1, "date before 1970 other than -1", text);

    if (const std::optional<std::string> recorded = RecordedOnText(text)) {
        FuzzCheck(recorded->size() <= text.size(), "recorded-on text longer than its value");
        if (ParseClientDate(*recorded) >= 0)
            FuzzCheck(recorded->find(' ') != std::string::npos, "a date without blanks parsed", *recorded);
    }
    const std::string_view readable = ReadableRecordingTime(text);
    FuzzCheck(readable.size() <= text.size(), "readable time longer than its value");
    FuzzCheck(readable.empty() || text.find(' ') != std::string_view::npos, "readable time from a value without blank");
    return 0;
}
