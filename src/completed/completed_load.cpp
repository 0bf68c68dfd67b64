// Conversions of SETILog.csv values into the Completed tab's rows, totals and texts.
#include "completed/completed_load.h"

#include <climits>
#include <cmath>

#include "client/find_value.h"
#include "common/status_sink.h"

namespace {

constexpr double kHoursPerSecond = 0.0002777777777777778;
constexpr double kSecondsPerDay = 86400;

struct MonthCode {
    const char* code;
    const char* month;
};

constexpr MonthCode kMonthCodes[] = {
    {"ja", "01"}, {"fe", "02"}, {"mr", "03"}, {"ap", "04"}, {"my", "05"}, {"jn", "06"},
    {"jl", "07"}, {"au", "08"}, {"se", "09"}, {"oc", "10"}, {"no", "11"},
};

// Truncation toward zero that stays defined for values beyond the int range.
int TruncateToInt(double value)
{
    const double whole = std::trunc(value);
    if (!(whole > INT_MIN))
        return whole != whole ? 0 : INT_MIN;
    if (whole >= INT_MAX)
        return INT_MAX;
    return static_cast<int>(whole);
}

// Whole units, minutes and seconds of a value in hours or degrees; each part keeps its sign.
struct Sexagesimal {
    int whole;
    int minutes;
    int seconds;
};

Sexagesimal Split(double value)
{
    const double whole = std::trunc(value);
    const double minutes = (value - whole) * 0.6 * 100;
    const double wholeMinutes = std::trunc(minutes);
    const double seconds = (minutes - wholeMinutes) * 0.6 * 100;
    return {TruncateToInt(whole), TruncateToInt(wholeMinutes), TruncateToInt(seconds)};
}

std::string_view Characters(std::string_view text, size_t from, size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

// A pulse or triplet pot beyond the pot's capacity is cut there; the graphs read whole pairs.
std::string HexPotFromLog(std::string_view pot)
{
    return std::string(pot.substr(0, kHexPotCapacity));
}

void SetNumberCell(ListRow& cells, int index, const std::string& text, bool sortByText)
{
    if (sortByText)
        cells.SetCell(index, kNumberCell, text, text);
    else
        cells.SetCell(index, kNumberCell, text);
}

// Reads the triplet and pulse values that the file has; missing ones stay 0.
void ReadTripletAndPulse(const LogReader& reader, const LogRecord& record, BestSignals& best)
{
    struct NumberColumn {
        const char* name;
        double* field;
    };
    const NumberColumn triplet[] = {
        {"bt_power", &best.tripletPower},
        {"bt_score", &best.tripletScore},
        {"bt_tpotind0_0", &best.tripletPotIndex[0][0]},
        {"bt_tpotind1_0", &best.tripletPotIndex[1][0]},
        {"bt_tpotind2_0", &best.tripletPotIndex[2][0]},
    };
    const NumberColumn pulse[] = {
        {"bp_power", &best.pulsePower},
        {"bp_score", &best.pulseScore},
        {"bp_period", &best.pulsePeriod},
        {"bp_fft_len", &best.pulseFftLength},
    };
    if (const auto pot = reader.FindField(record, "bt_pot"))
        best.tripletPot = HexPotFromLog(*pot);
    for (const NumberColumn& column : triplet)
        if (const auto value = reader.FindField(record, column.name))
            *column.field = ToNumber(*value);
    for (const NumberColumn& column : pulse)
        if (const auto value = reader.FindField(record, column.name))
            *column.field = ToNumber(*value);
    if (const auto pot = reader.FindField(record, "bp_pot"))
        best.pulsePot = HexPotFromLog(*pot);
}

}  // namespace

std::optional<std::string> LogFileName(std::string_view folder)
{
    std::string name(folder);
    name += '\\';
    name += kLogFileName;
    if (name.size() > kLogPathCapacity)
        return std::nullopt;
    return name;
}

std::string RecordingDateKey(std::string_view name)
{
    const long year = ToInteger(Characters(name, 4, 2));
    std::string key = year == 98 ? "1998" : year == 99 ? "1999" : "2000";
    const std::string_view code = Characters(name, 2, 2);
    const char* month = "12";
    for (const MonthCode& entry : kMonthCodes)
        if (code == entry.code)
            month = entry.month;
    key += month;
    key += Characters(name, 0, 2);
    return key;
}

std::string NameSortKey(std::string_view name)
{
    std::string key = RecordingDateKey(name);
    key += Characters(name, 6, std::string_view::npos);
    return key;
}

std::string CpuTimeText(int64_t seconds)
{
    const uint64_t magnitude = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
    return Format("%s%llu:%02u:%02u", seconds < 0 ? "-" : "", static_cast<unsigned long long>(magnitude / 3600),
                  static_cast<unsigned>(magnitude % 3600 / 60), static_cast<unsigned>(magnitude % 60));
}

double PercentPerHour(int64_t seconds)
{
    return seconds == 0 ? 0.0 : 100.0 / (static_cast<double>(seconds) * kHoursPerSecond);
}

double GaussianScore(double power, double chiSquare)
{
    if (chiSquare == 0)
        return 0.0;
    // A huge power over a tiny chi-square overflows; the cells must never show "inf".
    const double score = power / chiSquare;
    return std::isfinite(score) ? score : 0.0;
}

std::string SkyPositionText(double rightAscension, double declination)
{
    const Sexagesimal ra = Split(rightAscension);
    const Sexagesimal dec = Split(declination);
    return Format("%d hr %d min %d sec RA, + %d deg %d min %d sec Dec", ra.whole, ra.minutes, ra.seconds, dec.whole,
                  dec.minutes, dec.seconds);
}

std::string ReadableRecordingTime(std::string_view timeRecorded)
{
    const size_t blank = timeRecorded.find(' ');
    if (blank == std::string_view::npos)
        return {};
    // Without the opening parenthesis and without the field's last character, the closing one.
    const std::string_view rest = timeRecorded.substr(blank + 1);
    if (rest.size() < 2)
        return {};
    return std::string(rest.substr(1, rest.size() - 2));
}

std::string GaussianPotFromLog(std::string_view bgPot)
{
    if (bgPot.empty())
        return {};
    std::string pot(bgPot);
    for (char& c : pot)
        if (c == ' ')
            c = kGaussianPotSeparator;
    pot += kGaussianPotSeparator;
    if (pot.size() > kGaussianPotCapacity) {
        const size_t last = pot.rfind(kGaussianPotSeparator, kGaussianPotCapacity - 1);
        pot.resize(last == std::string::npos ? 0 : last + 1);
    }
    return pot;
}

double DailyRate(int64_t cpuSum, int64_t count)
{
    if (count <= 0)
        return 0.0;
    // The average is taken in whole seconds; below one second there is no meaningful rate.
    const int64_t average = cpuSum / count;
    return average < 1 ? 0.0 : kSecondsPerDay / static_cast<double>(average);
}

bool FillWorkUnitRow(const LogReader& reader, const LogRecord& record, int32_t colour, WorkUnitRow& row,
                     int64_t& cpuSum)
{
    ListRow& cells = row.cells;
    BestSignals& best = row.best;
    auto field = [&](const char* name) { return reader.FindField(record, name); };

    cells.SetCell(kCellDateLogged, kTextCell, field("date").value_or(""));
    // A missing name, CPU time or peak leaves its cells empty; the values after them still count.
    if (const auto name = field("name"))
        cells.SetCell(kCellWorkUnitName, kTextCell, *name, NameSortKey(*name));
    else
        cells.SetCell(kCellWorkUnitName, kTextCell, "");
    if (const auto cpu = field("cpu")) {
        const int64_t seconds = ToInteger(*cpu);
        cpuSum += seconds;
        SetNumberCell(cells, kCellCpuTime, CpuTimeText(seconds), true);
        SetNumberCell(cells, kCellPercentPerHour, Format("%.5f", PercentPerHour(seconds)), false);
    } else {
        SetNumberCell(cells, kCellCpuTime, "", false);
        SetNumberCell(cells, kCellPercentPerHour, "", false);
    }
    if (const auto peak = field("bs_power"))
        SetNumberCell(cells, kCellPeak, Format("%.2f", ToNumber(*peak)), true);
    else
        SetNumberCell(cells, kCellPeak, "", false);

    const auto power = field("bg_power");
    if (!power)
        return false;
    best.gaussianPower = ToNumber(*power);
    if (const auto pot = field("bg_pot"))
        best.gaussianPot = GaussianPotFromLog(*pot);
    ReadTripletAndPulse(reader, record, best);
    SetNumberCell(cells, kCellTriplet, Format("%g", best.tripletScore), true);
    SetNumberCell(cells, kCellPulses, Format("%g", best.pulseScore), true);

    const auto chiSquare = field("bg_chisq");
    if (!chiSquare)
        return false;
    best.gaussianChiSquare = ToNumber(*chiSquare);
    SetNumberCell(cells, kCellGaussian, Format("%g", GaussianScore(best.gaussianPower, best.gaussianChiSquare)), true);

    const auto ra = field("start_ra");
    if (!ra)
        return false;
    const auto dec = field("start_dec");
    if (!dec)
        return false;
    const double rightAscension = ToNumber(*ra);
    cells.SetCell(kCellFrom, kNumberCell, SkyPositionText(rightAscension, ToNumber(*dec)),
                  Format("%g", rightAscension));

    const auto recorded = field("time_recorded");
    if (!recorded)
        return false;
    if (recorded->find(' ') != std::string_view::npos)
        cells.SetCell(kCellRecordedOn, kNumberCell, ReadableRecordingTime(*recorded), *recorded);

    const auto base = field("subband_base");
    if (!base)
        return false;
    SetNumberCell(cells, kCellBaseFrequency, Format("%.9f GHz", ToNumber(*base) * 1e-9), false);
    const auto angle = field("angle_range");
    if (!angle)
        return false;
    SetNumberCell(cells, kCellAngleRange, Format("%.3f", ToNumber(*angle)), false);

    cells.SetCell(kCellStartRa, kNumberCell, *ra);
    cells.SetCell(kCellStartDec, kNumberCell, *dec);
    cells.SetCell(kCellColour, kNumberCell, Format("%ld", static_cast<long>(colour)));
    return true;
}

DetailLoad LoadDetail(LogReader& reader, LocationNode& node)
{
    DetailLoad load;
    if (reader.ReadHeader()) {
        while (const LogRecord* record = reader.ReadLogRecord()) {
            if (!IsWorkUnitRecord(*record))
                continue;
            auto row = std::make_unique<WorkUnitRow>(std::string(), kCompletedCellCount);
            if (FillWorkUnitRow(reader, *record, node.colour, *row, load.cpuSum))
                ++load.count;
            load.rows.push_back(std::move(row));
        }
    }
    node.count = load.count;
    node.perDay = DailyRate(load.cpuSum, load.count);
    return load;
}

LocationTotals LoadTotals(LogReader& reader)
{
    LocationTotals totals;
    if (!reader.ReadHeader())
        return totals;
    while (const LogRecord* record = reader.ReadLogRecord()) {
        if (!IsWorkUnitRecord(*record))
            continue;
        ++totals.count;
        // A missing column adds nothing: no CPU time, no peak, no gaussian candidate.
        if (const auto cpu = reader.FindField(*record, "cpu"))
            totals.cpuSum += ToInteger(*cpu);
        if (const auto peak = reader.FindField(*record, "bs_power")) {
            const double value = ToNumber(*peak);
            if (value > totals.topPeak)
                totals.topPeak = value;
        }
        const auto power = reader.FindField(*record, "bg_power");
        const auto chiSquare = reader.FindField(*record, "bg_chisq");
        if (power && chiSquare) {
            const double powerValue = ToNumber(*power);
            const double fit = ToNumber(*chiSquare);
            const double score = GaussianScore(powerValue, fit);
            if (score > totals.topScore) {
                totals.topPower = powerValue;
                totals.topFit = fit;
                totals.topScore = score;
            }
        }
    }
    totals.dailyRate = DailyRate(totals.cpuSum, totals.count);
    return totals;
}

void AddToGrandTotal(LocationTotals& grand, const LocationTotals& location)
{
    grand.count += location.count;
    grand.cpuSum += location.cpuSum;
    if (location.topPeak > grand.topPeak)
        grand.topPeak = location.topPeak;
    if (location.topScore > grand.topScore) {
        grand.topPower = location.topPower;
        grand.topFit = location.topFit;
        grand.topScore = location.topScore;
    }
    grand.dailyRate += location.dailyRate;
}

std::string TopGaussianText(double power, double fit)
{
    return Format("score %.4f,  power %1.2f,  fit %2.3f", GaussianScore(power, fit), power, fit);
}

std::unique_ptr<WorkUnitRow> MakeTotalsRow(std::string_view name, const LocationTotals& totals)
{
    auto row = std::make_unique<WorkUnitRow>(std::string(), kTotalsCellCount);
    ListRow& cells = row->cells;
    const int64_t average = totals.AverageCpu();
    cells.SetCell(kTotalsLocation, kTextCell, name);
    cells.SetCell(kTotalsWorkUnits, kNumberCell, Format("%d", totals.count));
    SetNumberCell(cells, kTotalsCpuTime, CpuTimeText(totals.cpuSum), true);
    SetNumberCell(cells, kTotalsAverageCpu, CpuTimeText(average), true);
    cells.SetCell(kTotalsPercentPerHour, kNumberCell, Format("%.5f", PercentPerHour(average)));
    cells.SetCell(kTotalsTopPeak, kNumberCell, Format("%.2f", totals.topPeak));
    cells.SetCell(kTotalsTopGaussian, kTextCell, TopGaussianText(totals.topPower, totals.topFit));
    return row;
}
