// The description of a location's current work unit from the header of work_unit.sah.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/client/file_look.h"
#include "core/common/status_sink.h"
#include "core/settings/location.h"
#include "core/skymap/sky_point.h"
#include "core/lists/list_row.h"

// The client's files as the Data Info and User Info tabs read them: the program reads the disk,
// tests read memory.
// Reads user_info.sah whole. A failure writes its message (none for a sharing violation) and
// gives nothing.
std::optional<std::string> ReadUserInfoText(ClientFileReader& files, const std::string& directory, StatusSink& status);

inline constexpr char kArecibo[] = "Arecibo Radio Observatory";

// Every field but the short name is absent until the description fills it.
struct WorkUnitInfo {
    std::string shortName;
    std::optional<std::string> position;
    std::optional<std::string> recordedOn;
    std::optional<std::string> recordedOnKey; // the whole time_recorded value: its Julian date sorts
    std::optional<std::string> source;
    std::optional<std::string> baseFrequency;
    std::optional<std::string> angleRange;
    std::optional<double> rightAscension; // hours
    std::optional<double> declination;    // degrees
    std::optional<int32_t> colour;
};

// "%d hr %d min %d sec RA, + %d deg %d min %d sec Dec" from decimal hours and degrees. Each part
// comes from a truncated floating-point product, so 2.75 h reads 2 hr 44 min 59 sec, and the parts
// of a negative value keep its sign after the fixed "+ ".
std::string PositionText(double rightAscension, double declination);

// "%.9f GHz" of a frequency in Hz.
std::string BaseFrequencyText(double hertz);

// The date text inside a client date value "<julian> (<date text>)": from two characters after
// the first blank (leading blanks skipped) to before the value's last character. Nothing when the
// value holds no blank.
std::optional<std::string> RecordedOnText(std::string_view value);

// Describes one location from its user_info.sah (which must be readable) and the first 4096 bytes
// of its work_unit.sah. Failures go to the status line and end the description; what was filled
// before stays.
WorkUnitInfo DescribeWorkUnit(const Location& location, ClientFileReader& files, StatusSink& status);

// Cells of a Data Info row; 6 to 8 are not shown and carry what the sky map needs.
enum DataInfoCell {
    kDataLocation = 0,
    kDataFrom,
    kDataRecordedOn,
    kDataSource,
    kDataBaseFrequency,
    kDataAngleRange,
    kDataRightAscension,
    kDataDeclination,
    kDataColour,
    kDataInfoCellCount
};

// Fills a fresh row of kDataInfoCellCount cells; absent fields leave their cells without text.
void FillDataInfoRow(const WorkUnitInfo& info, ListRow& row);

// The sky map's record of a Data Info row: short name, recorded-on text, colour and position.
SkyPoint SkyPointOfDataInfoRow(const ListRow& row);
