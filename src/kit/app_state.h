// The process-wide state the program defines: instance, main window, tab pages, image lists, timer, tray flags.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <new>
#include <string>
#include <string_view>

#include "core/common/program_texts.h"
#include "core/common/status_sink.h"

enum TabIndex { kTabAnalysis = 0, kTabBestResults, kTabDataInfo, kTabUserInfo, kTabCompleted, kTabOptions, kTabCount };

// Private window messages.
inline constexpr UINT kMessageTrayIcon = WM_APP + 999; // main window: notification icon mouse message
inline constexpr UINT kMessageHide = WM_APP + 1000;    // main window: hide (also the Data Info sky map request)
inline constexpr UINT kMessageFutureCalendar = WM_APP + 1001;

inline constexpr UINT_PTR kRefreshTimerId = 1105;
inline constexpr UINT kTrayIconId = 1;
inline constexpr int kDefaultRefreshRate = 10;

struct AppState {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWNORMAL;
    HWND mainWindow = nullptr;
    HWND tabControl = nullptr;
    HWND pages[kTabCount] = {};
    HWND pageFocus[kTabCount] = {}; // the control of each page that had the focus when it was last in front
    int currentTab = kTabAnalysis;
    HIMAGELIST statusImages = nullptr;
    HIMAGELIST smallImages = nullptr;
    UINT_PTR refreshTimer = 0;
    bool inTray = false;
    bool tickedInTray = false;
    std::string trayTip;     // the notification icon's tip, given again when the taskbar is made anew
    UINT taskbarCreated = 0; // the message the shell broadcasts when it makes the taskbar anew
    HWND skyMap = nullptr;   // the open Sky Map window, one at a time
    HWND skyPick = nullptr;  // the open Show Work Units dialog, whose checks the Sky Map draws
    int skyShowText = 1;     // Sky Map labels on; kept for the run when the settings key cannot be opened
    int skyCircleSize = 1;   // 1 large circles, 2 small
};

// The one instance.
AppState& App();

// The report list (control 1002) of a tab page, or null before the pages exist.
HWND PageList(int tab);

// Writes one line into the main window's status line (control 1001); an empty text clears it.
void SetStatusText(std::string_view text);

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

// The refresh period position of the Options page's trackbar (1 to 300 seconds, 301 never).
int RefreshPosition();
