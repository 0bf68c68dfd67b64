// Fuzzes the work-unit name key and the texts formatted from numbers a file holds (times, positions, rates).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "core/client/find_value.h"
#include "core/analysis/work_unit_info.h"
#include "core/completed/completed_load.h"
#include "fuzz_check.h"

namespace
{

constexpr size_t kShortText = 100;
// "%.9f GHz" of the largest finite frequency: 300 digits before the point.
constexpr size_t kLongestNumberText = 330;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int64_t seconds = input.ConsumeIntegral<int64_t>();
    const std::string first = input.ConsumeRandomLengthString(64);
    const std::string second = input.ConsumeRandomLengthString(64);
    const std::string name = input.ConsumeRemainingBytesAsString();

    // The name key: eight characters of date, then the name from its seventh character on.
    const std::string dateKey = RecordingDateKey(name);
    FuzzCheck(dateKey.size() >= 6 && dateKey.size() <= 8, "date key not six to eight characters", dateKey);
    const std::string sortKey = NameSortKey(name);
    FuzzCheck(sortKey.compare(0, dateKey.size(), dateKey) == 0, "sort key does not begin with the date key");
    FuzzCheck(sortKey.size() == dateKey.size() + (name.size() > 6 ? name.size() - 6 : 0), "sort key length");

    CheckFormatted(CpuTimeText(seconds), kShortText, "CPU time text");
    CheckFinite(PercentPerHour(seconds), "percent per hour");
    CheckFinite(DailyRate(seconds, input.ConsumeIntegral<int64_t>()), "daily rate");

    // Numbers as a file spells them: every conversion of a finite value is finite and its text short.
    const double a = ToNumber(first);
    const double b = ToNumber(second);
    CheckFormatted(SkyPositionText(a, b), kShortText, "sky position text");
    CheckFormatted(PositionText(a, b), kShortText, "position text");
    CheckFormatted(BaseFrequencyText(a), kLongestNumberText, "base frequency text");
    CheckFinite(GaussianScore(a, b), "gaussian score");
    CheckFormatted(TopGaussianText(a, b), 3 * kLongestNumberText, "top gaussian text");
    return 0;
}
