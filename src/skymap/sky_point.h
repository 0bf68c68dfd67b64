// One work unit to draw on the sky map, as the Data Info and Completed tabs hand it over.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

struct SkyPoint {
    char name[300];         // first label line: work unit name or location short name
    char recordedOn[52];    // second label line: the readable recording date and time
    int32_t colour;         // 0x00BBGGRR
    double rightAscension;  // hours, 0 to 24
    double declination;     // degrees, -90 to +90
};

// A point set: value-initialised points are zero-filled, so unset texts are empty.
using SkyPointSet = std::vector<SkyPoint>;

// Copies a text into one of the fixed fields, cut to leave room for the terminator.
template <size_t N>
void SetSkyText(char (&field)[N], std::string_view text)
{
    const size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}
