// Placement and column width texts: format, parse, and the restore decision for a window.
#include "core/settings/layout_text.h"

#include <cinttypes>
#include <cstdio>

namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A decimal number as sscanf and atol read one: leading blanks, an optional sign, digits.
struct Decimal {
    bool negative = false;
    uint64_t magnitude = 0; // capped just above 32 bits: larger numbers fit no field here
    bool found = false;     // at least one digit
};

constexpr uint64_t kMagnitudeCap = uint64_t{1} << 33;

Decimal ScanDecimal(std::string_view text, size_t& pos)
{
    Decimal number;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos] == '-';
        ++pos;
    }
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        number.found = true;
        if (number.magnitude < kMagnitudeCap)
            number.magnitude = number.magnitude * 10 + static_cast<uint64_t>(text[pos] - '0');
        ++pos;
    }
    return number;
}

bool ScanUnsigned(std::string_view text, size_t& pos, uint32_t& value)
{
    const Decimal number = ScanDecimal(text, pos);
    if (!number.found || number.magnitude > UINT32_MAX)
        return false;
    const auto magnitude = static_cast<uint32_t>(number.magnitude);
    // A minus sign negates in unsigned arithmetic, as the C library's %u does.
    value = number.negative ? 0u - magnitude : magnitude;
    return true;
}

bool ScanSigned(std::string_view text, size_t& pos, int32_t& value)
{
    const Decimal number = ScanDecimal(text, pos);
    const uint64_t limit = number.negative ? uint64_t{1} << 31 : INT32_MAX;
    if (!number.found || number.magnitude > limit)
        return false;
    value = number.negative ? static_cast<int32_t>(-static_cast<int64_t>(number.magnitude))
                            : static_cast<int32_t>(number.magnitude);
    return true;
}

// A literal in a scanf format matches only itself: no blanks are skipped before it.
bool ScanComma(std::string_view text, size_t& pos)
{
    if (pos >= text.size() || text[pos] != ',')
        return false;
    ++pos;
    return true;
}

int DefaultShowCommand(const RestoreInput& input)
{
    if (!input.mainWindow)
        return kShowNormal;
    switch (input.startupShowCommand) {
    case kShowMaximized:
        return kShowMaximized;
    case kShowMinimized:
    case kShowMinNoActive:
        return kShowMinimize;
    default:
        return kShowNormal;
    }
}

// The width of one stored piece, or nothing when the piece holds no usable width.
std::optional<int> PieceWidth(std::string_view piece)
{
    size_t pos = 0;
    Decimal number = ScanDecimal(piece, pos);
    if (!number.found || (number.negative && number.magnitude != 0))
        return std::nullopt;
    // atol stops at the largest long; on the 32-bit target that is 2^31 - 1.
    if (number.magnitude > INT32_MAX)
        number.magnitude = INT32_MAX;
    const auto width = static_cast<int>(number.magnitude % 65536);
    // The list view takes the width as a signed 16-bit number.
    if (width > INT16_MAX)
        return std::nullopt;
    return width;
}

} // namespace

std::string FormatPlacement(const Placement& p)
{
    char text[128];
    std::snprintf(text, sizeof text,
                  "%" PRIu32 ",%" PRIu32 ",%" PRId32 ",%" PRId32 ",%" PRId32 ",%" PRId32 ",%" PRId32 ",%" PRId32
                  ",%" PRId32 ",%" PRId32,
                  p.flags, p.showCommand, p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return text;
}

std::optional<Placement> ParsePlacement(std::string_view text)
{
    Placement p;
    size_t pos = 0;
    int32_t* const signedFields[] = {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom};
    if (!ScanUnsigned(text, pos, p.flags) || !ScanComma(text, pos) || !ScanUnsigned(text, pos, p.showCommand))
        return std::nullopt;
    for (int32_t* field : signedFields) {
        if (!ScanComma(text, pos) || !ScanSigned(text, pos, *field))
            return std::nullopt;
    }
    return p;
}

namespace
{

bool IsMinimizedShow(uint32_t showCommand)
{
    return showCommand == kShowMinimized || showCommand == kShowMinimize || showCommand == kShowMinNoActive ||
           showCommand == kShowForceMinimize;
}

} // namespace

RestoreDecision DecideRestore(const RestoreInput& input)
{
    RestoreDecision shown;
    shown.action = RestoreAction::Show;
    shown.showCommand = DefaultShowCommand(input);
    if (!input.storeOpened || !input.storedText)
        return shown;
    const std::optional<Placement> stored = ParsePlacement(*input.storedText);
    if (!stored)
        return shown;

    RestoreDecision applied;
    applied.action = RestoreAction::Apply;
    applied.placement = *stored;
    Placement& placement = applied.placement;
    // The window manager never reports a hidden placement; a stored one is damage, and applying
    // it would leave the window invisible with no way to bring it back.
    if (placement.showCommand == kShowHide)
        placement.showCommand = kShowNormal;
    if (!input.mainWindow) {
        // A window closed while minimised would come back as a taskbar button alone, or as
        // nothing at all for an owned window: it opens restored, maximised if it was before.
        if (IsMinimizedShow(placement.showCommand))
            placement.showCommand = (placement.flags & kRestoreToMaximized) ? kShowMaximized : kShowNormal;
        return applied;
    }

    if (input.startupShowCommand == kShowMaximized)
        placement.showCommand = kShowMaximized;
    else if (input.startupShowCommand == kShowMinimized || input.startupShowCommand == kShowMinNoActive)
        placement.showCommand = kShowMinimize;

    if (placement.showCommand == kShowMinimized) {
        // Left minimised with "Minimize To Taskbar" on: start in the notification area.
        if (input.minimizeToTaskbar == 1u) {
            applied.action = RestoreAction::ApplyHiddenThenMinimize;
            placement.showCommand = kShowHide;
        }
        return applied;
    }
    // A window whose left or top edge lies at or past the screen's far side could not be seen
    // (a screen since made smaller): show it at its template position instead.
    if (placement.left >= input.screenWidth || placement.top >= input.screenHeight)
        return shown;
    return applied;
}

std::string FormatColumnWidths(const std::vector<int>& widths)
{
    std::string text;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(widths[i]);
    }
    return text;
}

std::vector<int> ParseColumnWidths(std::string_view text, int columnCount)
{
    std::vector<int> widths(columnCount > 0 ? static_cast<size_t>(columnCount) : 0, kDefaultColumnWidth);
    size_t start = 0;
    for (size_t column = 0; column < widths.size() && start <= text.size(); ++column) {
        size_t end = text.find(',', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (const std::optional<int> width = PieceWidth(text.substr(start, end - start)))
            widths[column] = *width;
        start = end + 1;
    }
    return widths;
}
