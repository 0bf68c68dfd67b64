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
    while (const LogRecord* record = reader.ReadLogRecord()) {
        if (!IsWorkUnitRecord(*record))
            continue;
        SkyPoint& point = points.emplace_back(); // zero-filled
        SetSkyText(point.name, reader.FindField(*record, "name").value_or(std::string_view()));
        const auto timeRecorded = reader.FindField(*record, "time_recorded");
        if (!timeRecorded)
            return;
        SetSkyText(point.recordedOn, ReadableRecordingTime(*timeRecorded));
        point.rightAscension = ToNumber(reader.FindField(*record, "start_ra").value_or(std::string_view()));
        point.declination = ToNumber(reader.FindField(*record, "start_dec").value_or(std::string_view()));
        point.colour = node.colour;
    }
}

} // namespace

bool ReadLogSkyPoints(LogReader& reader, const LocationNode& node, SkyPointSet& points)
{
    return !RanOutOfMemory([&] { ReadPoints(reader, node, points); });
}
