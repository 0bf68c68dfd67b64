// What the location dialogs decide: a new location's defaults, the checks on its fields and the row texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/location.h"

inline constexpr char kShortNameRefused[] = "Short name cannot contain a ;";
// Both fields of the location dialog hold at most this many characters, so a text is stored whole.
inline constexpr int kLocationFieldMaxLength = 499;

// The columns of the SETI Locations list, in order.
enum LocationColumn : int {
    kLocationColumnShortName = 0,
    kLocationColumnPath,
    kLocationColumnColour, // an empty cell; the colour is the list's own text of this sub-item
    kLocationColumnAnalysis,
    kLocationColumnDataInfo,
    kLocationColumnUserInfo,
    kLocationColumnCompleted,
    kLocationColumnCount
};

// What the location dialog shows and edits.
struct LocationEntry {
    std::string shortName;
    std::string path;
    int32_t colour = kDefaultCircleColour;
    bool analysis = true;
    bool datainfo = true;
    bool userinfo = true;
    bool completed = true;
};

// A location being added: no texts, yellow circles, shown in every tab.
LocationEntry NewLocationEntry();

// OK of the location dialog may be pressed only while both fields hold text.
bool CanAcceptEntry(std::string_view shortName, std::string_view path);

// Nothing when the short name can be stored, else the message that refuses it. The path is not
// checked: a ';' in it reads back as stored because the stored string is split from the right.
const char* ShortNameProblem(std::string_view shortName);

// The colour as the list keeps it (signed decimal) and back (leading blanks and a sign allowed,
// reading stops at the first non-digit, 0 when there is no number).
std::string ColourText(int32_t colour);
int32_t ColourFromText(std::string_view text);

const char* SwitchText(bool on);

// The seven cell texts of a list row: cell 2 is always empty.
std::array<std::string, kLocationColumnCount> LocationCells(const LocationEntry& entry);
// The entry behind a list row: its cells and the list's own colour text.
LocationEntry EntryFromCells(const std::array<std::string, kLocationColumnCount>& cells, std::string_view colourText);
LocationEntry EntryFromLocation(const Location& location);

// The stored seven-field location string of a list row.
std::string StoredLocationText(const std::array<std::string, kLocationColumnCount>& cells, std::string_view colourText);
