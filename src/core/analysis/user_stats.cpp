// User statistics from user_info.sah: counts, CPU times, the registration date and the daily rate.
#include "core/analysis/user_stats.h"

#include <climits>
#include <cmath>
#include <set>

#include "core/client/client_date.h"
#include "core/client/find_value.h"
#include "core/settings/value_names.h"

namespace
{

constexpr double kHoursPerSecond = 0.0002777777777777778;
constexpr char kZeroTime[] = "0:00:00";

// atol/atoi as a 32-bit system reads them: a value outside 32 bits reads 0, as ToInteger does
// with values outside long.
int32_t ToInt32(std::string_view value)
{
    const long number = ToInteger(value);
    return number < INT32_MIN || number > INT32_MAX ? 0 : static_cast<int32_t>(number);
}

std::string Number(int64_t value)
{
    return Format("%lld", static_cast<long long>(value));
}

const std::string& NameOf(const UserStats& stats)
{
    static const std::string kNoName;
    return stats[kUserName].text ? *stats[kUserName].text : kNoName;
}

long CountOf(const UserStats& stats)
{
    return stats[kUserCompleted].text ? ToInteger(*stats[kUserCompleted].text) : 0;
}

// A repeated user's row shows its rate only; its CPU key stays so the column still sorts.
void BlankRepeatedUser(UserStats& stats)
{
    for (UserInfoCell cell : {kUserCompleted, kUserTotalCpu, kUserAverageCpu, kUserRegisterTime}) {
        StatField& field = stats[cell];
        if (!field.text)
            continue;
        field.text->assign(1, kBlankCell[0]); // gcc 12 warns falsely on assigning the literal
        if (cell != kUserTotalCpu)
            field.key.reset();
    }
}

void SetField(ListRow& row, UserInfoCell cell, int32_t kind, const StatField& field)
{
    row.SetCell(cell, kind, field.text ? std::optional<std::string_view>(*field.text) : std::nullopt,
                field.key ? std::optional<std::string_view>(*field.key) : std::nullopt);
}

} // namespace

std::string OverrideValueName(std::string_view registeredName)
{
    return std::string(registeredName) + kValueWorkUnitsPerDaySuffix;
}

std::string FormatCpuTime(int64_t seconds)
{
    return Format("%lld:%02d:%02d", static_cast<long long>(seconds / 3600), static_cast<int>(seconds % 3600 / 60),
                  static_cast<int>(seconds % 3600 % 60));
}

UserStats ComputeUserStats(const Location& location, ClientFileReader& files, const OverrideReader& readOverride,
                           int64_t now, StatusSink& status)
{
    UserStats stats;
    stats[kUserLocation] = {location.shortName, location.shortName};
    const std::optional<std::string> text = ReadUserInfoText(files, location.path, status);
    if (!text)
        return stats;

    std::optional<std::string> name = FindValue(*text, "name=", status);
    if (!name)
        return stats;
    // The same user reads the same from a file with CR LF line ends: for the grand total and for
    // the name of the stored override.
    name = std::string(WithoutCarriageReturn(*name));
    stats[kUserName].text = *name;

    const std::optional<std::string> results = FindValue(*text, "nresults=", status);
    if (!results)
        return stats;
    const int32_t count = ToInt32(*results);
    stats[kUserCompleted].text = Number(count);

    const std::optional<std::string> cpu = FindValue(*text, "total_cpu=", status);
    if (!cpu)
        return stats;
    const int32_t total = ToInt32(*cpu);
    stats[kUserTotalCpu] = {FormatCpuTime(total), Number(total)};
    // 64-bit, so even a damaged file's INT32_MIN / -1 cannot overflow.
    const int64_t average = count != 0 ? static_cast<int64_t>(total) / count : 0;
    stats[kUserAverageCpu] = {count != 0 ? FormatCpuTime(average) : kZeroTime, Number(average)};

    std::optional<std::string> registered = FindValue(*text, "register_time=", status);
    if (!registered)
        return stats;
    registered = std::string(WithoutCarriageReturn(*registered));
    std::optional<int32_t> registeredAt;
    if (const size_t paren = registered->find('('); paren != std::string::npos) {
        // The last character is the closing parenthesis.
        const std::string_view trimmed = std::string_view(*registered).substr(0, registered->size() - 1);
        const std::string dateText(paren + 1 <= trimmed.size() ? trimmed.substr(paren + 1) : std::string_view());
        stats[kUserRegisterTime].text = dateText;
        registeredAt = ParseClientDate(dateText);
    }

    const std::string overrideText = readOverride ? readOverride(OverrideValueName(*name)).value_or("") : "";
    double rate = 0;
    if (!overrideText.empty()) {
        rate = ToNumber(overrideText);
        stats[kUserPerDay] = {Format("%g", rate), Format("%g", rate)};
    } else if (registeredAt) {
        // The hours since registration; a registration that is not in the past gives no rate.
        const double hours = static_cast<double>(now - *registeredAt) * kHoursPerSecond;
        rate = hours > 0 ? static_cast<double>(static_cast<int64_t>(count) * 24) / hours : 0.0;
        stats[kUserPerDay] = {Format("%.2f", rate), Format("%g", rate)};
    } else {
        return stats; // no registration date and no override: nothing to count from
    }
    stats.rate = rate;
    return stats;
}

UserStats GrandTotal(std::vector<UserStats>& listOrder, double sumOfRates)
{
    std::set<std::string> handled;
    int64_t totalUnits = 0;
    for (size_t i = 0; i < listOrder.size(); ++i) {
        const std::string name = NameOf(listOrder[i]);
        if (!handled.insert(name).second)
            continue;
        long largest = 0;
        size_t kept = listOrder.size();
        for (size_t j = i; j < listOrder.size(); ++j) {
            if (NameOf(listOrder[j]) == name && CountOf(listOrder[j]) > largest) {
                largest = CountOf(listOrder[j]);
                kept = j;
            }
        }
        totalUnits += largest;
        for (size_t j = i; j < listOrder.size(); ++j)
            if (j != kept && NameOf(listOrder[j]) == name)
                BlankRepeatedUser(listOrder[j]);
    }

    int64_t totalSeconds = 0;
    for (const UserStats& stats : listOrder) {
        if (stats[kUserCompleted].text == kBlankCell)
            continue;
        if (stats[kUserTotalCpu].key)
            totalSeconds += ToInteger(*stats[kUserTotalCpu].key);
    }

    UserStats total;
    total[kUserLocation] = {kGrandTotalName, kGrandTotalKey};
    total[kUserCompleted].text = Number(totalUnits);
    total[kUserTotalCpu].text = FormatCpuTime(totalSeconds);
    total[kUserAverageCpu].text = totalUnits != 0 ? FormatCpuTime(totalSeconds / totalUnits) : kZeroTime;
    const std::string perDay = Format("%.2f", std::isfinite(sumOfRates) ? sumOfRates : 0.0);
    total[kUserPerDay] = {perDay, perDay};
    total.rate = sumOfRates;
    return total;
}

void FillUserInfoRow(const UserStats& stats, ListRow& row)
{
    SetField(row, kUserLocation, kTextCell, stats[kUserLocation]);
    SetField(row, kUserName, kTextCell, stats[kUserName]);
    SetField(row, kUserCompleted, kNumberCell, stats[kUserCompleted]);
    SetField(row, kUserTotalCpu, kNumberCell, stats[kUserTotalCpu]);
    SetField(row, kUserAverageCpu, kNumberCell, stats[kUserAverageCpu]);
    SetField(row, kUserPerDay, kNumberCell, stats[kUserPerDay]);
    SetField(row, kUserRegisterTime, kTextCell, stats[kUserRegisterTime]);
}

bool IsAcceptedOverride(std::string_view text)
{
    return text.empty() || text == "0" || ToNumber(text) > 0;
}

UserInfoButtons ButtonsForSelection(const ListRow* selected)
{
    if (!selected)
        return {};
    const bool hasName = !selected->Text(kUserName).empty();
    // A repeated user's blanked row counts nothing, so it projects nothing.
    return {selected->Text(kUserCompleted) != kBlankCell, hasName};
}

FutureStart FutureStartOfRow(const ListRow& row)
{
    return {ToInteger(row.Text(kUserCompleted)), ToNumber(row.Text(kUserPerDay))};
}
