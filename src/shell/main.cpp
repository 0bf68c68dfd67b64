// Vantorel's entry point: start-up, the message loop, and what is released after it.
#include <windows.h>
#include <commctrl.h>

#include "kit/app_state.h"
#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    App().instance = instance;
    App().showCommand = showCommand;
    LoadImageLists(instance);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC =
        ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    if (!CreateMainWindow(instance, showCommand)) {
        ShutdownApp();
        return -1;
    }
    FinishStartup();
    const int exitCode = RunMessageLoop();
    ShutdownApp();
    return exitCode;
}
