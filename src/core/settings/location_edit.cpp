// A new location's defaults, the checks on the location dialog's fields and the texts of the list rows.
#include "core/settings/location_edit.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

LocationEntry NewLocationEntry()
{
    return LocationEntry{};
}

bool CanAcceptEntry(std::string_view shortName, std::string_view path)
{
    return !shortName.empty() && !path.empty();
}

const char* ShortNameProblem(std::string_view shortName)
{
    // The stored string's fields are separated by ';', so such a name would split the record.
    return shortName.find(';') == std::string_view::npos ? nullptr : kShortNameRefused;
}

std::string ColourText(int32_t colour)
{
    return std::to_string(colour);
}

int32_t ColourFromText(std::string_view text)
{
    const std::string copy(text);
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

const char* SwitchText(bool on)
{
    return on ? "Y" : "N";
}

std::array<std::string, kLocationColumnCount> LocationCells(const LocationEntry& entry)
{
    return {entry.shortName,
            entry.path,
            std::string(),
            SwitchText(entry.analysis),
            SwitchText(entry.datainfo),
            SwitchText(entry.userinfo),
            SwitchText(entry.completed)};
}

LocationEntry EntryFromCells(const std::array<std::string, kLocationColumnCount>& cells, std::string_view colourText)
{
    LocationEntry entry;
    entry.shortName = cells[kLocationColumnShortName];
    entry.path = cells[kLocationColumnPath];
    entry.colour = ColourFromText(colourText);
    entry.analysis = IsSwitchOn(cells[kLocationColumnAnalysis]);
    entry.datainfo = IsSwitchOn(cells[kLocationColumnDataInfo]);
    entry.userinfo = IsSwitchOn(cells[kLocationColumnUserInfo]);
    entry.completed = IsSwitchOn(cells[kLocationColumnCompleted]);
    return entry;
}

LocationEntry EntryFromLocation(const Location& location)
{
    LocationEntry entry;
    entry.shortName = location.shortName;
    entry.path = location.path;
    entry.colour = location.colour;
    entry.analysis = IsSwitchOn(location.analysis);
    entry.datainfo = IsSwitchOn(location.datainfo);
    entry.userinfo = IsSwitchOn(location.userinfo);
    entry.completed = IsSwitchOn(location.completed);
    return entry;
}

std::string StoredLocationText(const std::array<std::string, kLocationColumnCount>& cells, std::string_view colourText)
{
    Location location;
    location.path = cells[kLocationColumnPath];
    location.shortName = cells[kLocationColumnShortName];
    location.colour = ColourFromText(colourText);
    // The switch cells are written as the list shows them, so an unusual stored switch survives OK.
    location.analysis = cells[kLocationColumnAnalysis];
    location.datainfo = cells[kLocationColumnDataInfo];
    location.userinfo = cells[kLocationColumnUserInfo];
    location.completed = cells[kLocationColumnCompleted];
    return FormatLocation(location);
}
