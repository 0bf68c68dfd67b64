// Watched client directories: the stored location string, its parse and the two walks over the list.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int32_t kDefaultCircleColour = 65535; // yellow, 0x00BBGGRR
inline constexpr char kDefaultShortName[] = "SETI@home";

struct Location {
    std::string path; // never ends in a backslash
    std::string shortName;
    int32_t colour = kDefaultCircleColour;
    // Switch texts as stored; a switch is on when its first character is 'Y'.
    std::string analysis = "Y";
    std::string datainfo = "Y";
    std::string userinfo = "Y";
    std::string completed = "Y";
};

bool IsSwitchOn(std::string_view value);

// Splits a stored location string. Strings with no ';' give the default location at
// currentDirectory. With six or more separators the last six fields are short name, colour and
// the four switches and everything before them is the path, so a path holding ';' reads back as
// stored. With three to five separators the fields are read from the left (path, short name,
// colour, then as many switches as there are) and missing switches are on.
Location ParseLocation(std::string_view text, std::string_view currentDirectory);

// The seven-field form written back to the store.
std::string FormatLocation(const Location& location);

enum class LocationWalk {
    DefaultFirst, // a missing "Location1" stands for the default location; stops at the next gap
    StoredOnly,   // stops at the first missing value; no default location
};

// Reads the stored text of "Location<index>", or nothing when that value is missing.
using LocationReader = std::function<std::optional<std::string>(int index)>;

// Hands each location to the consumer in stored order and returns how many were handed over.
int EnumerateLocations(LocationWalk walk, const LocationReader& read, std::string_view currentDirectory,
                       const std::function<void(const Location&)>& consumer);
