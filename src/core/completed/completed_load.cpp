// Conversions of SETILog.csv values into the Completed tab's rows, totals and texts.
#include "core/completed/completed_load.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cmath>

#include "core/client/find_value.h"
#include "core/client/pot_decode.h"
#include "core/common/number_text.h"
#include "core/common/out_of_memory.h"
#include "core/common/status_sink.h"

namespace
{

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

// CPU seconds added without overflow: a damaged log can hold any number, and sums of such
// numbers stay at the largest or smallest count instead of wrapping around.
int64_t AddSeconds(int64_t sum, int64_t seconds)
{
    int64_t result = 0;
    if (__builtin_add_overflow(sum, seconds, &result))
        return seconds > 0 ? INT64_MAX : INT64_MIN;
    return result;
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

// The header names of the columns a work-unit row is made from, in CompletedColumn order.
constexpr const char* kCompletedColumnNames[kCompletedColumnCount] = {
    "date",          "name",      "cpu",           "bs_power",     "bg_power",      "bg_pot",
    "bg_chisq",      "bt_pot",    "bt_power",      "bt_score",     "bt_tpotind0_0", "bt_tpotind1_0",
    "bt_tpotind2_0", "bp_power",  "bp_score",      "bp_period",    "bp_fft_len",    "bp_pot",
    "start_ra",      "start_dec", "time_recorded", "subband_base", "angle_range",
};

// Room for a typical row's cell texts, so its buffer is allocated once.
constexpr size_t kWorkUnitRowTextBytes = 384;

// A number cell sorted by its text: the text itself is the sort key.
void SetSortedByText(ListRow& cells, int index, std::string_view text)
{
    cells.SetCell(index, kNumberCell, text, text);
}

void SetNumberCell(ListRow& cells, int index, std::string_view text)
{
    cells.SetCell(index, kNumberCell, text);
}

// Appends the decimal digits of a number.
void AppendInteger(std::string& text, long long value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// "%s%llu:%02u:%02u" into a buffer large enough for any 64-bit count of seconds.
std::string_view FormatCpuTime(char (&buffer)[32], int64_t seconds)
{
    const uint64_t magnitude = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
    char* at = buffer;
    if (seconds < 0)
        *at++ = '-';
    at = std::to_chars(at, buffer + sizeof buffer, magnitude / 3600).ptr;
    for (const uint64_t part : {magnitude % 3600 / 60, magnitude % 60}) {
        *at++ = ':';
        *at++ = static_cast<char>('0' + part / 10);
        *at++ = static_cast<char>('0' + part % 10);
    }
    return {buffer, static_cast<size_t>(at - buffer)};
}

} // namespace

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
    char buffer[32];
    return std::string(FormatCpuTime(buffer, seconds));
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
    // "%d hr %d min %d sec RA, + %d deg %d min %d sec Dec", built piece by piece.
    const std::pair<int, const char*> pieces[] = {{ra.whole, " hr "},          {ra.minutes, " min "},
                                                  {ra.seconds, " sec RA, + "}, {dec.whole, " deg "},
                                                  {dec.minutes, " min "},      {dec.seconds, " sec Dec"}};
    std::string text;
    text.reserve(64);
    for (const auto& [number, words] : pieces) {
        AppendInteger(text, number);
        text += words;
    }
    return text;
}

std::string_view ReadableRecordingTime(std::string_view timeRecorded)
{
    const size_t blank = timeRecorded.find(' ');
    if (blank == std::string_view::npos)
        return {};
    // Without the opening parenthesis and without the field's last character, the closing one.
    const std::string_view rest = timeRecorded.substr(blank + 1);
    if (rest.size() < 2)
        return {};
    return rest.substr(1, rest.size() - 2);
}

std::string GaussianPotFromLog(std::string_view bgPot)
{
    if (bgPot.empty())
        return {};
    // Sized once: a list of work units keeps one of these per row.
    std::string pot;
    pot.reserve(bgPot.size() + 1);
    pot.assign(bgPot);
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

CompletedColumns FindCompletedColumns(const LogReader& reader)
{
    CompletedColumns columns{};
    for (int column = 0; column < kCompletedColumnCount; ++column)
        columns.at[column] = reader.FindColumn(kCompletedColumnNames[column]);
    return columns;
}

namespace
{

// The fields of one record by column.
struct RecordFields {
    const CompletedColumns& columns;
    const LogRecord& record;
    std::optional<std::string_view> operator()(CompletedColumn column) const
    {
        return FieldAt(record, columns.at[column]);
    }
};

// Date, name, CPU time with its rate, and peak: a missing one leaves its cells empty, and the
// values after them still count.
void FillLeadingCells(const RecordFields& field, ListRow& cells, NumberText& number, int64_t& cpuSum)
{
    cells.SetCell(kCellDateLogged, kTextCell, field(kColumnDate).value_or(""));
    if (const auto name = field(kColumnName))
        cells.SetCell(kCellWorkUnitName, kTextCell, *name, NameSortKey(*name));
    else
        cells.SetCell(kCellWorkUnitName, kTextCell, "");
    if (const auto cpu = field(kColumnCpu)) {
        const int64_t seconds = ToInteger(*cpu);
        cpuSum = AddSeconds(cpuSum, seconds);
        char cpuText[32];
        SetSortedByText(cells, kCellCpuTime, FormatCpuTime(cpuText, seconds));
        SetNumberCell(cells, kCellPercentPerHour, number.Fixed(PercentPerHour(seconds), 5));
    } else {
        SetNumberCell(cells, kCellCpuTime, "");
        SetNumberCell(cells, kCellPercentPerHour, "");
    }
    if (const auto peak = field(kColumnPeak))
        SetSortedByText(cells, kCellPeak, number.Fixed(ToNumber(*peak), 2));
    else
        SetNumberCell(cells, kCellPeak, "");
}

// The signals; false when the record stops before its gaussian power or chi-square.
bool FillSignalCells(const RecordFields& field, WorkUnitRow& row, NumberText& number)
{
    ListRow& cells = row.cells;
    BestSignals& best = row.best;
    const auto power = field(kColumnGaussianPower);
    if (!power)
        return false;
    best.gaussianPower = ToNumber(*power);
    if (const auto pot = field(kColumnGaussianPot))
        best.gaussianPot = GaussianPotFromLog(*pot);
    // The triplet and pulse values the file has; missing ones stay 0.
    if (const auto pot = field(kColumnTripletPot))
        best.tripletPot = HexPotOfText(*pot);
    const std::pair<CompletedColumn, double*> numbers[] = {
        {kColumnTripletPower, &best.tripletPower},
        {kColumnTripletScore, &best.tripletScore},
        {kColumnTripletIndex0, &best.tripletPotIndex[0][0]},
        {kColumnTripletIndex1, &best.tripletPotIndex[1][0]},
        {kColumnTripletIndex2, &best.tripletPotIndex[2][0]},
        {kColumnPulsePower, &best.pulsePower},
        {kColumnPulseScore, &best.pulseScore},
        {kColumnPulsePeriod, &best.pulsePeriod},
        {kColumnPulseFftLength, &best.pulseFftLength},
    };
    for (const auto& [column, value] : numbers)
        if (const auto text = field(column))
            *value = ToNumber(*text);
    if (const auto pot = field(kColumnPulsePot))
        best.pulsePot = HexPotOfText(*pot);
    SetSortedByText(cells, kCellTriplet, number.General(best.tripletScore));
    SetSortedByText(cells, kCellPulses, number.General(best.pulseScore));

    const auto chiSquare = field(kColumnGaussianChiSquare);
    if (!chiSquare)
        return false;
    best.gaussianChiSquare = ToNumber(*chiSquare);
    SetSortedByText(cells, kCellGaussian, number.General(GaussianScore(best.gaussianPower, best.gaussianChiSquare)));
    return true;
}

} // namespace

bool FillWorkUnitRow(const CompletedColumns& columns, const LogRecord& record, int32_t colour, WorkUnitRow& row,
                     int64_t& cpuSum)
{
    const RecordFields field{columns, record};
    ListRow& cells = row.cells;
    NumberText number;
    cells.Reserve(kWorkUnitRowTextBytes);
    FillLeadingCells(field, cells, number, cpuSum);
    if (!FillSignalCells(field, row, number))
        return false;

    const auto ra = field(kColumnStartRa);
    if (!ra)
        return false;
    const auto dec = field(kColumnStartDec);
    if (!dec)
        return false;
    const double rightAscension = ToNumber(*ra);
    cells.SetCell(kCellFrom, kNumberCell, SkyPositionText(rightAscension, ToNumber(*dec)),
                  number.General(rightAscension));

    const auto recorded = field(kColumnTimeRecorded);
    if (!recorded)
        return false;
    if (recorded->find(' ') != std::string_view::npos)
        cells.SetCell(kCellRecordedOn, kNumberCell, ReadableRecordingTime(*recorded), *recorded);

    const auto base = field(kColumnSubbandBase);
    if (!base)
        return false;
    std::string frequency(number.Fixed(ToNumber(*base) * 1e-9, 9));
    frequency += " GHz";
    SetNumberCell(cells, kCellBaseFrequency, frequency);
    const auto angle = field(kColumnAngleRange);
    if (!angle)
        return false;
    SetNumberCell(cells, kCellAngleRange, number.Fixed(ToNumber(*angle), 3));

    SetNumberCell(cells, kCellStartRa, *ra);
    SetNumberCell(cells, kCellStartDec, *dec);
    SetNumberCell(cells, kCellColour, number.Integer(colour));
    return true;
}

DetailLoad LoadDetail(LogReader& reader, LocationNode& node)
{
    DetailLoad load;
    load.outOfMemory = RanOutOfMemory([&] {
        if (!reader.ReadHeader())
            return;
        const CompletedColumns columns = FindCompletedColumns(reader);
        while (const LogRecord* record = reader.ReadLogRecord()) {
            if (!IsWorkUnitRecord(*record))
                continue;
            auto row = std::make_unique<WorkUnitRow>(std::string(), kCompletedCellCount);
            if (FillWorkUnitRow(columns, *record, node.colour, *row, load.cpuSum))
                ++load.count;
            load.rows.push_back(std::move(row));
        }
    });
    if (load.outOfMemory) {
        // A part of a history would show as the whole of it: none is kept, and the memory it
        // took is given back at once.
        decltype(load.rows)().swap(load.rows);
        load.count = 0;
        load.cpuSum = 0;
        return load;
    }
    node.count = load.count;
    node.perDay = DailyRate(load.cpuSum, load.count);
    return load;
}

namespace
{

void ReadTotals(LogReader& reader, LocationTotals& totals)
{
    if (!reader.ReadHeader())
        return;
    const int cpuColumn = reader.FindColumn("cpu");
    const int peakColumn = reader.FindColumn("bs_power");
    const int powerColumn = reader.FindColumn("bg_power");
    const int chiSquareColumn = reader.FindColumn("bg_chisq");
    while (const LogRecord* record = reader.ReadLogRecord()) {
        if (!IsWorkUnitRecord(*record))
            continue;
        ++totals.count;
        // A missing column adds nothing: no CPU time, no peak, no gaussian candidate.
        if (const auto cpu = FieldAt(*record, cpuColumn))
            totals.cpuSum = AddSeconds(totals.cpuSum, ToInteger(*cpu));
        if (const auto peak = FieldAt(*record, peakColumn)) {
            const double value = ToNumber(*peak);
            if (value > totals.topPeak)
                totals.topPeak = value;
        }
        const auto power = FieldAt(*record, powerColumn);
        const auto chiSquare = FieldAt(*record, chiSquareColumn);
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
}

} // namespace

LocationTotals LoadTotals(LogReader& reader)
{
    LocationTotals totals;
    if (RanOutOfMemory([&] { ReadTotals(reader, totals); })) {
        totals = LocationTotals();
        totals.outOfMemory = true;
        return totals;
    }
    totals.dailyRate = DailyRate(totals.cpuSum, totals.count);
    return totals;
}

void AddToGrandTotal(LocationTotals& grand, const LocationTotals& location)
{
    grand.count = static_cast<int32_t>(std::clamp<int64_t>(int64_t{grand.count} + location.count, 0, INT32_MAX));
    grand.cpuSum = AddSeconds(grand.cpuSum, location.cpuSum);
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
    SetSortedByText(cells, kTotalsCpuTime, CpuTimeText(totals.cpuSum));
    SetSortedByText(cells, kTotalsAverageCpu, CpuTimeText(average));
    cells.SetCell(kTotalsPercentPerHour, kNumberCell, Format("%.5f", PercentPerHour(average)));
    cells.SetCell(kTotalsTopPeak, kNumberCell, Format("%.2f", totals.topPeak));
    cells.SetCell(kTotalsTopGaussian, kTextCell, TopGaussianText(totals.topPower, totals.topFit));
    return row;
}
