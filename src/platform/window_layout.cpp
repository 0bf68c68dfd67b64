// Window placements and list column widths, read from and written to the settings store.
#include "platform/window_layout.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/settings/layout_text.h"
#include "platform/settings_store.h"

namespace
{

Placement FromWindowPlacement(const WINDOWPLACEMENT& wp)
{
    Placement p;
    p.flags = wp.flags;
    p.showCommand = wp.showCmd;
    p.minX = wp.ptMinPosition.x;
    p.minY = wp.ptMinPosition.y;
    p.maxX = wp.ptMaxPosition.x;
    p.maxY = wp.ptMaxPosition.y;
    p.left = wp.rcNormalPosition.left;
    p.top = wp.rcNormalPosition.top;
    p.right = wp.rcNormalPosition.right;
    p.bottom = wp.rcNormalPosition.bottom;
    return p;
}

WINDOWPLACEMENT ToWindowPlacement(const Placement& p)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = p.flags;
    wp.showCmd = p.showCommand;
    wp.ptMinPosition = {p.minX, p.minY};
    wp.ptMaxPosition = {p.maxX, p.maxY};
    wp.rcNormalPosition = {p.left, p.top, p.right, p.bottom};
    return wp;
}

HWND HeaderOf(HWND list)
{
    return reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
}

// Keeps the list and its header from repainting while several columns change, and repaints
// both once when the scope ends.
class RedrawOff
{
public:
    RedrawOff(HWND list, HWND header) : list_(list), header_(header)
    {
        SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
        if (header_ != nullptr)
            SendMessageA(header_, WM_SETREDRAW, FALSE, 0);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;
    ~RedrawOff()
    {
        if (header_ != nullptr) {
            SendMessageA(header_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(header_, nullptr, TRUE);
        }
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }

private:
    HWND list_;
    HWND header_;
};

} // namespace

bool SavePlacement(HWND hwnd, const char* valueName)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd, &wp))
        return false;
    SettingsStore store;
    return store.Open() && store.WriteString(valueName, FormatPlacement(FromWindowPlacement(wp)));
}

void RestorePlacement(HWND hwnd, const char* valueName, bool mainWindow, int startupShowCommand)
{
    RestoreInput input;
    input.mainWindow = mainWindow;
    input.startupShowCommand = startupShowCommand;
    input.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    input.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    {
        SettingsStore store;
        input.storeOpened = store.Open();
        std::string text;
        if (store.ReadString(valueName, text, kPlacementTextCapacity))
            input.storedText = text;
        DWORD minimizeToTaskbar = 0;
        if (mainWindow && store.ReadNumber(kValueMinimizeToTaskbar, minimizeToTaskbar))
            input.minimizeToTaskbar = minimizeToTaskbar;
    }

    const RestoreDecision decision = DecideRestore(input);
    if (decision.action != RestoreAction::Show) {
        const WINDOWPLACEMENT wp = ToWindowPlacement(decision.placement);
        if (SetWindowPlacement(hwnd, &wp)) {
            if (decision.action == RestoreAction::ApplyHiddenThenMinimize)
                PostMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        // A placement the system refuses must not leave the window unseen.
        input.storedText.reset();
    }
    ShowWindow(hwnd, DecideRestore(input).showCommand);
}

bool SaveColumnWidths(HWND list, const char* valueName)
{
    const HWND header = HeaderOf(list);
    if (header == nullptr)
        return false;
    const auto count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    if (count < 0)
        return false;
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(count));
    for (int column = 0; column < count; ++column) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        if (!SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
            return false;
        widths.push_back(item.cxy);
    }
    SettingsStore store;
    return store.Open() && store.WriteString(valueName, FormatColumnWidths(widths));
}

void RestoreColumnWidths(HWND list, const char* valueName, void (*sizeToContents)(HWND list))
{
    std::string text;
    bool stored = false;
    {
        SettingsStore store;
        stored = store.Open() && store.ReadString(valueName, text, kWidthsTextCapacity);
    }
    if (!stored) {
        if (sizeToContents != nullptr)
            sizeToContents(list);
        return;
    }

    const HWND header = HeaderOf(list);
    const int count = header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    if (count <= 0)
        return;
    RedrawOff redrawOff(list, header);
    const std::vector<int> widths = ParseColumnWidths(text, count);
    for (int column = 0; column < count; ++column)
        SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     MAKELPARAM(widths[static_cast<size_t>(column)], 0));
}
