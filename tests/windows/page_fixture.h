// A stand-in main window (the real template, a plain procedure) with tab pages, for page tests.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "control_input.h"
#include "resources/resource.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"
#include "kit/long_read.h"
#include "dialogs/sky_map.h"
#include "shell/page_table.h"
#include "shell/main_window.h"

inline void ResetSettingsKeys()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

// Handles every message waiting for this thread as the program's loop does.
inline void HandleWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            HandleMessage(msg);
    }
}

// Handles messages while the condition holds, for at most half a minute.
template <typename Condition> void HandleMessagesWhile(Condition condition)
{
    const DWORD start = GetTickCount();
    while (condition() && GetTickCount() - start < 30000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        HandleWaitingMessages();
    }
}

// Handles messages until the Completed list's rows are in (its read beside the window is done).
inline void WaitForCompletedLoad()
{
    HandleMessagesWhile(CompletedLoadRunning);
}

// Handles messages until every read of logs beside the window is done: a Completed load, every
// location's Sky Map points, the Work Unit Calendar's counts.
inline void WaitForLongReads()
{
    HandleMessagesWhile(LongReadsRunning);
}

// Handles messages until the Data Info and User Info rows are in (their reads beside the window are done).
inline void WaitForInfoReads()
{
    HandleMessagesWhile([] { return DataInfoReading() || UserInfoReading(); });
}

// Presses a key on a window as a user would and takes it through the program's loop step. The
// held keys (VK_CONTROL, VK_SHIFT) go into the thread's key state, which the program and the
// dialog navigation read and which a posted key message does not set; synthesised input would,
// but only reaches the window with the desktop's focus, which a headless run does not promise.
inline void PressKey(HWND target, UINT key, const std::vector<BYTE>& held = {}, bool systemKey = false)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    for (const BYTE k : held)
        state[k] = 0x80;
    SetKeyboardState(state);
    PostMessageA(target, systemKey ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    PostMessageA(target, systemKey ? WM_SYSKEYUP : WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    HandleWaitingMessages();
    for (const BYTE k : held)
        state[k] = 0;
    SetKeyboardState(state);
}

inline std::string ClipboardText()
{
    std::string text = "(no text)";
    if (!OpenClipboard(nullptr))
        return "(clipboard busy)";
    if (const HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

inline void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// Records each pop-up menu that opens while it lives, by its first item, its number of items and
// its top left corner, and closes it at once: its thread timer runs inside the menu's own loop.
class MenuWatch
{
public:
    struct Seen {
        std::string firstItem;
        int items;
        POINT at;
    };
    MenuWatch() : timer_(SetTimer(nullptr, 0, 30, CloseMenu)) { Menus().clear(); }
    ~MenuWatch() { KillTimer(nullptr, timer_); }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;
    static std::vector<Seen>& Menus()
    {
        static std::vector<Seen> menus;
        return menus;
    }

private:
    static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD)
    {
        const HWND menu = FindWindowA("#32768", nullptr);
        if (!menu || !IsWindowVisible(menu))
            return;
        char text[128] = {};
        const auto popup = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        if (popup)
            GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
        RECT rect{};
        GetWindowRect(menu, &rect);
        Menus().push_back({text, popup ? GetMenuItemCount(popup) : -1, {rect.left, rect.top}});
        EndMenu();
    }
    UINT_PTR timer_;
};

class PageFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsKeys();
        INITCOMMONCONTROLSEX classes{sizeof classes,
                                     ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        App().instance = GetModuleHandleA(nullptr);
        App().mainWindow = CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainProc, 0);
        ASSERT_NE(App().mainWindow, nullptr);
        App().statusImages = ImageList_LoadImageA(App().instance, MAKEINTRESOURCEA(IDB_STATUS), 30, 0, RGB(255, 255, 0),
                                                  IMAGE_BITMAP, LR_CREATEDIBSECTION);
        App().smallImages = ImageList_LoadImageA(App().instance, MAKEINTRESOURCEA(IDB_TREE), 16, 0, RGB(0, 0, 255),
                                                 IMAGE_BITMAP, LR_CREATEDIBSECTION);
    }
    void TearDown() override
    {
        // A page's button may have opened the sky map; it is a top-level window of its own.
        if (Sky().map)
            DestroyWindow(Sky().map);
        for (int tab = kTabCount - 1; tab >= 0; --tab)
            if (Tabs().pages[tab])
                DestroyWindow(Tabs().pages[tab]);
        DestroyWindow(App().mainWindow);
        ImageList_Destroy(App().statusImages);
        ImageList_Destroy(App().smallImages);
        App() = AppState();
        Sky() = SkyWindows();
        Tabs() = TabState();
        ResetSettingsKeys();
    }

    // Creates a page as a child of the stand-in main window and registers it in App().
    HWND AddPage(int tab, HWND (*create)(HWND))
    {
        Tabs().pages[tab] = create(App().mainWindow);
        return Tabs().pages[tab];
    }
    static void StoreString(const std::string& name, const std::string& text)
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteString(name.c_str(), text);
    }
    static void StoreNumber(const char* name, DWORD number)
    {
        SettingsStore store;
        ASSERT_TRUE(store.Open());
        store.WriteNumber(name, number);
    }
    static std::string StatusText()
    {
        char text[1100] = {};
        GetDlgItemTextA(App().mainWindow, IDC_MAIN_STATUS, text, sizeof text);
        return text;
    }

private:
    static INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
};
