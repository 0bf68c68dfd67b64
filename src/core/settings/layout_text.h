// Window placement and column width texts as stored in the settings, and the start-up placement decision.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fields of a window placement record, without its length.
struct Placement {
    uint32_t flags = 0;
    uint32_t showCommand = 0;
    int32_t minX = 0;
    int32_t minY = 0;
    int32_t maxX = 0;
    int32_t maxY = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const Placement&) const = default;
};

// Show commands as the window manager numbers them.
inline constexpr int kShowHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinimize = 6;
inline constexpr int kShowMinNoActive = 7;
inline constexpr int kShowForceMinimize = 11;
// The placement flag that a window minimised from the maximised state carries.
inline constexpr uint32_t kRestoreToMaximized = 2;

// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" in field order.
std::string FormatPlacement(const Placement& placement);

// Reads the ten numbers the way a sscanf of the format above reads them: blanks before each
// number, a sign on any number ("-1" for an unsigned field wraps to 4294967295), and anything
// after the tenth number is ignored. A blank before a comma, a missing number, or a number too
// large for its field refuses the whole text.
std::optional<Placement> ParsePlacement(std::string_view text);

struct RestoreInput {
    bool storeOpened = false;
    std::optional<std::string> storedText; // the value as read; nothing when it is missing
    bool mainWindow = false;
    int startupShowCommand = kShowNormal;
    std::optional<uint32_t> minimizeToTaskbar; // "Minimize To Taskbar", nothing when missing
    int screenWidth = 0;
    int screenHeight = 0;
};

enum class RestoreAction {
    Show,                    // ShowWindow with showCommand
    Apply,                   // set the placement as given (its show command included)
    ApplyHiddenThenMinimize, // set the placement hidden, then post SC_MINIMIZE to go to the tray
};

struct RestoreDecision {
    RestoreAction action = RestoreAction::Show;
    int showCommand = kShowNormal; // for Show
    Placement placement;           // for Apply and ApplyHiddenThenMinimize
};

// What RestorePlacement does with a window, decided from the stored text and the start-up state.
RestoreDecision DecideRestore(const RestoreInput& input);

// Widths in column order, "%d" joined by ",".
std::string FormatColumnWidths(const std::vector<int>& widths);

inline constexpr int kDefaultColumnWidth = 50;

// One width per column. Piece i is read like atol (blanks, a sign, digits up to the first other
// character) and taken modulo 65536. Columns without a piece get 50, and so does a piece that is
// no width: one without digits, a negative number, or a result above 32767, which the list view
// would read as a negative number (65535 would mean "size to contents"). Pieces beyond the last
// column are ignored.
std::vector<int> ParseColumnWidths(std::string_view text, int columnCount);
