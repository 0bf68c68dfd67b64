// Fuzzes the Data Info description and the User Info statistics on arbitrary user_info.sah and work_unit.sah texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "../tests/native/client_files_fake.h"
#include "core/analysis/user_stats.h"
#include "core/analysis/work_unit_info.h"
#include "fuzz_check.h"

namespace
{

constexpr size_t kLongestNumberText = 330;

void CheckRow(const ListRow& row, std::initializer_list<int> formattedCells)
{
    for (const int cell : formattedCells)
        CheckFormatted(row.Text(cell), kLongestNumberText, "formatted cell not short and printable");
    for (int cell = 0; cell < row.Count(); ++cell)
        CheckNumberKey(row, cell);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("TZ", "UTC0", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // The current time comes from the system clock, not from a file: any time from 1970 to 2100.
    const int64_t now = input.ConsumeIntegralInRange<int64_t>(0, 4102444800);
    const std::string overrideText = input.ConsumeRandomLengthString(100);
    const bool overridden = input.ConsumeBool();
    const int64_t seconds = input.ConsumeIntegral<int64_t>();
    const std::string workUnit = input.ConsumeRandomLengthString(6000);
    const std::string userInfo = input.ConsumeRemainingBytesAsString();

    CheckFormatted(FormatCpuTime(seconds), 40, "CPU time text");
    (void)IsAcceptedOverride(overrideText);

    MemoryClientFiles files;
    files.files["C:\\seti\\user_info.sah"] = userInfo;
    files.files["C:\\seti\\work_unit.sah"] = workUnit;
    Location location;
    location.path = "C:\\seti";
    location.shortName = "Home";
    LatestStatus status;

    const WorkUnitInfo info = DescribeWorkUnit(location, files, status);
    for (const std::optional<double>& value : {info.rightAscension, info.declination})
        if (value)
            CheckFinite(*value, "sky position not finite");
    ListRow dataRow(kDataInfoCellCount);
    FillDataInfoRow(info, dataRow);
    CheckRow(dataRow, {kDataFrom, kDataBaseFrequency, kDataRightAscension, kDataDeclination, kDataColour});
    (void)SkyPointOfDataInfoRow(dataRow);

    const OverrideReader reader = [&](const std::string&) -> std::optional<std::string> {
        return overridden ? std::optional<std::string>(overrideText) : std::nullopt;
    };
    std::vector<UserStats> rows;
    rows.push_back(ComputeUserStats(location, files, reader, now, status));
    rows.push_back(rows.front());
    double rates = 0;
    for (const UserStats& stats : rows) {
        if (stats.rate) {
            CheckFinite(*stats.rate, "work units per day not finite");
            rates += *stats.rate;
        }
    }
    const UserStats total = GrandTotal(rows, rates);
    for (const UserStats& stats : {rows[0], rows[1], total}) {
        ListRow userRow(kUserInfoCellCount);
        FillUserInfoRow(stats, userRow);
        CheckRow(userRow, {kUserCompleted, kUserTotalCpu, kUserAverageCpu, kUserPerDay});
        (void)ButtonsForSelection(&userRow);
        const FutureStart start = FutureStartOfRow(userRow);
        CheckFinite(start.rate, "future rate not finite");
    }
    return 0;
}
