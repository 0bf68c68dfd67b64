// The Data Info description of a work unit: file reads, the position arithmetic and the row cells.
#include "core/analysis/work_unit_info.h"

#include <climits>
#include <cmath>

#include "core/common/program_texts.h"
#include "core/analysis/analysis.h"
#include "core/client/find_value.h"

namespace
{

constexpr uint32_t kWorkUnitHeaderBytes = 4096;

// Truncation toward zero that saturates instead of overflowing on absurd file values.
int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(value);
}

struct SexagesimalParts {
    int whole;
    int minutes;
    int seconds;
};

// The parts keep the value's sign, as modf splits a negative value into negative parts.
SexagesimalParts Split(double value)
{
    double whole = 0;
    const double fraction = std::modf(value, &whole);
    const double minutes = fraction * 0.6 * 100;
    double minutesWhole = 0;
    const double minutesFraction = std::modf(minutes, &minutesWhole);
    const double seconds = minutesFraction * 0.6 * 100;
    return {TruncateToInt(value), TruncateToInt(minutes), TruncateToInt(seconds)};
}

// Reads a client file for the description, reporting every failure but a sharing violation.
std::optional<std::string> ReadForDescription(ClientFileReader& files, const std::string& path, uint32_t maxBytes,
                                              const char* fileName, bool reportEmpty, StatusSink& status)
{
    FileLook look = files.Read(path, maxBytes);
    switch (look.status) {
    case FileReadStatus::Ok:
        break;
    case FileReadStatus::Empty:
        if (!reportEmpty)
            break;
        status.SetStatusText(Format("%s file is empty", fileName));
        return std::nullopt;
    case FileReadStatus::SharingViolation:
        return std::nullopt; // the client holds it: try again at the next refresh
    case FileReadStatus::OpenFailed:
        status.SetStatusText(Format("%s %s", look.errorText.c_str(), path.c_str()));
        return std::nullopt;
    case FileReadStatus::OutOfMemory:
        status.SetStatusText(kOutOfMemory);
        return std::nullopt;
    case FileReadStatus::ReadFailed:
        status.SetStatusText(Format("Error reading %s", fileName));
        return std::nullopt;
    }
    if (look.status == FileReadStatus::Empty)
        look.text.clear();
    return std::move(look.text);
}

void SetOptional(ListRow& row, int cell, int32_t kind, const std::optional<std::string>& text,
                 const std::optional<std::string>& key = std::nullopt)
{
    row.SetCell(cell, kind, text ? std::optional<std::string_view>(*text) : std::nullopt,
                key ? std::optional<std::string_view>(*key) : std::nullopt);
}

} // namespace

std::optional<std::string> ReadUserInfoText(ClientFileReader& files, const std::string& directory, StatusSink& status)
{
    return ReadForDescription(files, files.PathOf(directory, kUserInfoFile), 0, kUserInfoFile, true, status);
}

std::string PositionText(double rightAscension, double declination)
{
    const SexagesimalParts ra = Split(rightAscension);
    const SexagesimalParts dec = Split(declination);
    // The "+ " is fixed text: a negative declination shows as "+ -1 deg".
    return Format("%d hr %d min %d sec RA, + %d deg %d min %d sec Dec", ra.whole, ra.minutes, ra.seconds, dec.whole,
                  dec.minutes, dec.seconds);
}

std::string BaseFrequencyText(double hertz)
{
    return Format("%.9f GHz", hertz * 1e-9);
}

std::optional<std::string> RecordedOnText(std::string_view value)
{
    const std::string_view skipped = SkipBlanks(WithoutCarriageReturn(value));
    const size_t blank = skipped.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    // Past the blank and the opening parenthesis, and before the closing one. A value too short
    // for both gives "".
    const size_t start = blank + 2;
    const size_t end = skipped.size() - 1;
    if (start >= end)
        return std::string();
    return std::string(skipped.substr(start, end - start));
}

WorkUnitInfo DescribeWorkUnit(const Location& location, ClientFileReader& files, StatusSink& status)
{
    WorkUnitInfo info;
    info.shortName = location.shortName;
    // Only its presence counts: a location without a readable user file is not described.
    if (!ReadUserInfoText(files, location.path, status))
        return info;

    const std::string path = files.PathOf(location.path, kWorkUnitFile);
    std::optional<std::string> header =
        ReadForDescription(files, path, kWorkUnitHeaderBytes, kWorkUnitFile, false, status);
    if (!header)
        return info;
    // Keys beyond the header count as missing, whatever the reader handed over.
    if (header->size() > kWorkUnitHeaderBytes)
        header->resize(kWorkUnitHeaderBytes);
    const std::string& text = *header;

    const std::optional<std::string> raValue = FindValue(text, "start_ra=", status);
    if (!raValue)
        return info;
    const double ra = ToNumber(*raValue);
    const std::optional<std::string> decValue = FindValue(text, "start_dec=", status);
    if (!decValue)
        return info;
    const double dec = ToNumber(*decValue);
    info.position = PositionText(ra, dec);

    if (const std::optional<std::string> recorded = FindValue(text, "time_recorded=", status)) {
        info.recordedOn = RecordedOnText(*recorded);
        info.recordedOnKey = *recorded;
    }
    info.source = kArecibo;

    const std::optional<std::string> base = FindValue(text, "subband_base=", status);
    if (!base)
        return info;
    info.baseFrequency = BaseFrequencyText(ToNumber(*base));
    if (const std::optional<std::string> range = FindValue(text, "angle_range=", status))
        info.angleRange = std::string(WithoutCarriageReturn(*range));
    info.rightAscension = ra;
    info.declination = dec;
    info.colour = location.colour;
    return info;
}

void FillDataInfoRow(const WorkUnitInfo& info, ListRow& row)
{
    row.SetCell(kDataLocation, kTextCell, info.shortName);
    SetOptional(row, kDataFrom, kTextCell, info.position);
    SetOptional(row, kDataRecordedOn, kNumberCell, info.recordedOn, info.recordedOnKey);
    SetOptional(row, kDataSource, kTextCell, info.source);
    SetOptional(row, kDataBaseFrequency, kNumberCell, info.baseFrequency);
    SetOptional(row, kDataAngleRange, kNumberCell, info.angleRange);
    const auto number = [](const std::optional<double>& value) {
        return value ? std::optional<std::string>(Format("%g", *value)) : std::nullopt;
    };
    SetOptional(row, kDataRightAscension, kNumberCell, number(info.rightAscension));
    SetOptional(row, kDataDeclination, kNumberCell, number(info.declination));
    SetOptional(row, kDataColour, kNumberCell,
                info.colour ? std::optional<std::string>(Format("%ld", static_cast<long>(*info.colour)))
                            : std::nullopt);
}

SkyPoint SkyPointOfDataInfoRow(const ListRow& row)
{
    SkyPoint point{};
    SetSkyText(point.name, row.Text(kDataLocation));
    SetSkyText(point.recordedOn, row.Text(kDataRecordedOn));
    point.colour = static_cast<int32_t>(ToInteger(row.Text(kDataColour)));
    point.rightAscension = ToNumber(row.Text(kDataRightAscension));
    point.declination = ToNumber(row.Text(kDataDeclination));
    return point;
}
