// Sky Map points of completed work units: from the rows of the Completed list, or read
// straight from a location's log.
#pragma once

#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "core/lists/list_row.h"
#include "core/skymap/sky_point.h"

// The Sky Map's record of a work-unit row, from its cells; a work unit that stopped early has
// empty cells and gives the zero record, which the Sky Map does not draw.
SkyPoint SkyPointOfRow(const ListRow& row);

// Appends a point per work-unit record of the log the reader was started on, in the location's
// colour. A record too short to reach "time_recorded" gives no point, and the records after it go
// on; a log without a "time_recorded" column ends at its first record, which keeps only its name.
// False when memory ran out on the way: the points appended until then are left to be freed.
bool ReadLogSkyPoints(LogReader& reader, const LocationNode& node, SkyPointSet& points);
