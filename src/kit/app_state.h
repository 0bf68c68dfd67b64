// The program context every window shares: instance, main window, status line, image lists,
// refresh timer and period, tray flags. It knows the main window and its tab control as windows,
// not which pages they hold.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <new>
#include <string>
#include <string_view>

#include "core/common/program_texts.h"
#include "core/common/status_sink.h"

// The main window's notification icon mouse message.
inline constexpr UINT kMessageTrayIcon = WM_APP + 999;

inline constexpr UINT_PTR kRefreshTimerId = 1105;
inline constexpr UINT kTrayIconId = 1;
inline constexpr int kDefaultRefreshRate = 10;

struct AppState {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWNORMAL;
    HWND mainWindow = nullptr;
    HWND tabControl = nullptr; // the pages lie over its display area
    HIMAGELIST statusImages = nullptr;
    HIMAGELIST smallImages = nullptr;
    UINT_PTR refreshTimer = 0;
    int refreshPosition = kDefaultRefreshRate; // the refresh period's position (1 to 300 seconds, 301 never)
    bool inTray = false;
    bool tickedInTray = false;
    std::string trayTip;     // the notification icon's tip, given again when the taskbar is made anew
    UINT taskbarCreated = 0; // the message the shell broadcasts when it makes the taskbar anew
};

// The one instance.
AppState& App();

// Writes one line into the main window's status line (control 1001); an empty text clears it.
void SetStatusText(std::string_view text);
// What the status line shows now.
std::string CurrentStatusText();

// Runs a piece of the program's own work (a step of the message loop or of start-up) so that no
// exception leaves it: running out of memory is told on the status line ("Out of memory" fits in a
// string without a heap block) and the window goes on either way.
template <typename Work> void RunGuarded(Work&& work) noexcept
{
    try {
        work();
    } catch (const std::bad_alloc&) {
        SetStatusText(kOutOfMemory);
    } catch (...) {
        // Nothing else is thrown on purpose; the step is dropped and the program goes on.
    }
}

// The status line as a sink for the portable core.
class StatusLine final : public StatusSink
{
public:
    void SetStatusText(std::string_view text) override { ::SetStatusText(text); }
};

// The refresh period's position as the user last set it, 1 to 301 (never).
int RefreshPosition();
