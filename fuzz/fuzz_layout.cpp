// Fuzzes the stored window placement and column-width texts and the start-up placement decision.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_check.h"
#include "core/settings/layout_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int columnCount = input.ConsumeIntegralInRange<int>(-2, 40);
    RestoreInput restore;
    restore.storeOpened = input.ConsumeBool();
    restore.mainWindow = input.ConsumeBool();
    restore.startupShowCommand = input.ConsumeIntegralInRange<int>(-1, 12);
    if (input.ConsumeBool())
        restore.minimizeToTaskbar = input.ConsumeIntegral<uint32_t>();
    restore.screenWidth = input.ConsumeIntegral<int>();
    restore.screenHeight = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    if (const std::optional<Placement> placement = ParsePlacement(text)) {
        const std::string formatted = FormatPlacement(*placement);
        CheckFormatted(formatted, 120, "placement text");
        const std::optional<Placement> again = ParsePlacement(formatted);
        FuzzCheck(again && *again == *placement, "placement does not read back", formatted);
    }
    restore.storedText = text;
    const RestoreDecision decision = DecideRestore(restore);
    FuzzCheck(decision.action != RestoreAction::Show || decision.showCommand >= 0, "negative show command");

    const std::vector<int> widths = ParseColumnWidths(text, columnCount);
    FuzzCheck(widths.size() == static_cast<size_t>(std::max(columnCount, 0)), "one width per column");
    for (const int width : widths)
        FuzzCheck(width >= 0 && width <= 32767, "width outside 0 to 32767");
    const std::string formatted = FormatColumnWidths(widths);
    CheckFormatted(formatted, widths.size() * 6, "column widths text");
    FuzzCheck(ParseColumnWidths(formatted, columnCount) == widths, "column widths do not read back", formatted);
    return 0;
}
