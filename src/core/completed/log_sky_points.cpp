// Sky Map points of completed work units, from list rows or from a log.
#include "core/completed/log_sky_points.h"

#include "core/client/find_value.h"
#include "core/common/out_of_memory.h"

SkyPoint SkyPointOfRow(const ListRow& row)
{
    SkyPoint point{};
    SetSkyText(point.name, row.Text(kCellWorkUnitName));
    SetSkyText(point.recordedOn, row.Text(kCellRecordedOn));
    point.colour = static_cast<int32_t>(ToInteger(row.Text(kCellColour)));
    point.rightAscension = ToNumber(row.Text(kCellStartRa));
    point.declination = ToNumber(row.Text(kCellStartDec));
    return point;
}

namespace
{

void ReadPoints(LogReader& reader, const LocationNode& node, SkyPointSet& points)
{
    if (!reader.ReadHeader())
        return;
    const int nameColumn = reader.FindColumn("name");
    const int timeRecordedColumn = reader.FindColumn("time_recorded");
    const int raColumn = reader.FindColumn("start_ra");
    const int decColumn = reader.FindColumn("start_dec");
    while (const LogRecord* record = reader.ReadLogRecord()) {
        if (!IsWorkUnitRecord(*record))
            continue;
        const auto timeRecorded = FieldAt(*record, timeRecordedColumn);
        if (!timeRecorded && timeRecordedColumn >= 0)
            continue; // a record cut short: no place to show, and the records after it still count
        SkyPoint& point = points.emplace_back(); // zero-filled
        SetSkyText(point.name, FieldAt(*record, nameColumn).value_or(std::string_view()));
        if (!timeRecorded)
            return; // no such column: the log ends at its first record
        SetSkyText(point.recordedOn, ReadableRecordingTime(*timeRecorded));
        point.rightAscension = ToNumber(FieldAt(*record, raColumn).value_or(std::string_view()));
        point.declination = ToNumber(FieldAt(*record, decColumn).value_or(std::string_view()));
        point.colour = node.colour;
    }
}

} // namespace

bool ReadLogSkyPoints(LogReader& reader, const LocationNode& node, SkyPointSet& points)
{
    return !RanOutOfMemory([&] { ReadPoints(reader, node, points); });
}
