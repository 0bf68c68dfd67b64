// The tab pages: one row each, in tab order. The main window, the keyboard's tab switch and
// start-up walk this table; a new page is one file pair and one row here.
#pragma once

#include <windows.h>

#include <iterator>

#include "pages/analysis_page.h"
#include "pages/analysis_refresh.h"
#include "pages/best_results_page.h"
#include "pages/completed_page.h"
#include "pages/data_info_page.h"
#include "pages/options_page.h"
#include "pages/user_info_page.h"
#include "resources/resource.h"

struct PageEntry {
    const char* title;
    HWND (*create)(HWND parent);
    int listId;                    // the page's report list (its traits say how start-up lays it out), 0 for none
    void (*toFront)() = nullptr;   // each time the page comes to the front
    void (*refresh)() = nullptr;   // F5 while the page is in front
    bool refreshedByTimer = false; // the refresh timer's tick refreshes the rows while the page is in front
    const char* hint = nullptr;    // the status line when the page comes to the front and does nothing else
};

inline constexpr PageEntry kPageTable[] = {
    {"Analysis", CreateAnalysisPage, IDC_ANALYSIS_LIST, nullptr, [] { RefreshAnalysis(true); }, true},
    {"Best Results", CreateBestResultsPage, IDC_BEST_LIST, nullptr, [] { RefreshAnalysis(true); }, true},
    // Data Info and User Info read their files whenever they come to the front or F5 is pressed.
    {"Data Info", CreateDataInfoPage, IDC_DATA_INFO_LIST, RefreshDataInfo, RefreshDataInfo},
    {"User Info", CreateUserInfoPage, IDC_USER_INFO_LIST, RefreshUserInfo, RefreshUserInfo},
    {"Completed Work Units", CreateCompletedPage, IDC_COMPLETED_LIST, nullptr, ReloadCompleted, false,
     "Hint: You can right click for more options."},
    {"Options", CreateOptionsPage, 0},
};
inline constexpr int kTabCount = static_cast<int>(std::size(kPageTable));

// Names of the rows the program and its tests refer to.
enum TabIndex { kTabAnalysis = 0, kTabBestResults, kTabDataInfo, kTabUserInfo, kTabCompleted, kTabOptions };

// The pages as the main window made them, and which is in front.
struct TabState {
    HWND pages[kTabCount] = {};
    HWND pageFocus[kTabCount] = {}; // the control of each page that had the focus when it was last in front
    int currentTab = kTabAnalysis;
};
TabState& Tabs();

// The report list of a tab page, or null for a page without one or before the pages exist.
HWND PageList(int tab);
