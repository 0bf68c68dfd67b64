// A stand-in main window (the real template, a plain procedure) with tab pages, for page tests.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "resources/resource.h"
#include "settings/settings_store.h"
#include "ui/app_state.h"

inline void ResetSettingsKeys()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantorel");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel");
}

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
        if (App().skyMap)
            DestroyWindow(App().skyMap);
        for (int tab = kTabCount - 1; tab >= 0; --tab)
            if (App().pages[tab])
                DestroyWindow(App().pages[tab]);
        DestroyWindow(App().mainWindow);
        ImageList_Destroy(App().statusImages);
        ImageList_Destroy(App().smallImages);
        App() = AppState();
        ResetSettingsKeys();
    }

    // Creates a page as a child of the stand-in main window and registers it in App().
    HWND AddPage(int tab, HWND (*create)(HWND))
    {
        App().pages[tab] = create(App().mainWindow);
        return App().pages[tab];
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
