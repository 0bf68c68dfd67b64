// Every resource id of Vantorel: dialogs and their controls, menus, strings, icons and bitmaps.
// Included by vantorel.rc (windres) and by the C++ code, so it holds only #define lines.
#ifndef VANTOREL_RESOURCES_RESOURCE_H
#define VANTOREL_RESOURCES_RESOURCE_H

// Icons and bitmaps.
#define IDI_VANTOREL 101 // program icon, 32x32 and 16x16
#define IDI_TRAY 106     // notification-area icon, 16x16
#define IDB_STATUS 105   // five 30x16 status images, mask yellow RGB(255,255,0)
#define IDB_TREE 200     // ten 16x16 tree images, mask blue RGB(0,0,255)
// The Sky Map's 965x482 star chart is the bitmap named "SKYMAP", which has no number.

// Images of IDB_STATUS, in bitmap order.
#define IMG_STATUS_RUN 0
#define IMG_STATUS_STOP 1
#define IMG_STATUS_DONE 2
#define IMG_STATUS_FILE_ERROR 3
#define IMG_STATUS_UNKNOWN 4

// Images of IDB_TREE used by the Completed Work Units tree.
#define IMG_TREE_LOCATION 0
#define IMG_TREE_ALL_LOCATIONS 1

// Main window (dialog 200).
#define IDD_MAIN 200
#define IDC_MAIN_STATUS 1001

// About dialog (dialog 100).
#define IDD_ABOUT 100
#define IDC_ABOUT_LEGAL 1006
#define IDC_ABOUT_HOME_PAGE 1008
#define IDC_ABOUT_EMAIL 1009
#define IDC_ABOUT_HISTORY 1013

// Analysis page (dialog 102).
#define IDD_ANALYSIS 102
#define IDC_ANALYSIS_REFRESH 1000
#define IDC_ANALYSIS_LIST 1002
#define IDC_ANALYSIS_HOME_PAGE 1008

// SETI Locations dialog (dialog 103).
#define IDD_LOCATIONS 103
#define IDC_LOCATIONS_LIST 1002
#define IDC_LOCATIONS_ADD 1003
#define IDC_LOCATIONS_DELETE 1004
#define IDC_LOCATIONS_EDIT 1005
#define IDC_LOCATIONS_OK 1009

// Show Work Units dialog (dialog 104); "Close" is IDOK.
#define IDD_SHOW_WORK_UNITS 104
#define IDC_SHOW_WU_LIST 1002
#define IDC_SHOW_WU_ALL 1003
#define IDC_SHOW_WU_NONE 1004

// Location dialog (dialog 108); OK and Cancel are IDOK and IDCANCEL.
#define IDD_LOCATION 108
#define IDC_LOCATION_COLOR_SWATCH 1004
#define IDC_LOCATION_ANALYSIS 1009
#define IDC_LOCATION_DATA_INFO 1010
#define IDC_LOCATION_USER_INFO 1011
#define IDC_LOCATION_COMPLETED 1012
#define IDC_LOCATION_SHORT_NAME 1017
#define IDC_LOCATION_PATH 1018
#define IDC_LOCATION_BROWSE 1019
#define IDC_LOCATION_CHOOSE_COLOR 1020

// Override Work Units Per Day dialog (dialog 114); OK and Cancel are IDOK and IDCANCEL.
#define IDD_OVERRIDE 114
#define IDC_OVERRIDE_PROMPT 1017
#define IDC_OVERRIDE_HINTS 1018
#define IDC_OVERRIDE_VALUE 1022

// Data Info page (dialog 201).
#define IDD_DATA_INFO 201
#define IDC_DATA_INFO_LIST 1002
#define IDC_DATA_INFO_SKY_MAP 1020

// Options page (dialog 202).
#define IDD_OPTIONS 202
#define IDC_OPTIONS_LOCATIONS 1002
#define IDC_OPTIONS_REFRESH_RATE 1006
#define IDC_OPTIONS_ABOUT 1011
#define IDC_OPTIONS_RATE_GROUP 1012
#define IDC_OPTIONS_COMMAND_GROUP 1013
#define IDC_OPTIONS_MINIMIZE_TO_TRAY 1014
#define IDC_OPTIONS_GRAND_TOTAL 1015
#define IDC_OPTIONS_COMMAND 1016
#define IDC_OPTIONS_ALERT 1017

// User Info page (dialog 203).
#define IDD_USER_INFO 203
#define IDC_USER_INFO_LIST 1002
#define IDC_USER_INFO_FUTURE 1021
#define IDC_USER_INFO_OVERRIDE 1022

// Completed Work Units page (dialog 204).
#define IDD_COMPLETED 204
#define IDC_COMPLETED_TREE 1001
#define IDC_COMPLETED_LIST 1002
#define IDC_COMPLETED_ROW_HEIGHT 1014
#define IDC_COMPLETED_ROW_LABEL 1015
#define IDC_COMPLETED_SHOW_TEXT 1019

// Best Results page (dialog 205).
#define IDD_BEST_RESULTS 205
#define IDC_BEST_REFRESH 1000
#define IDC_BEST_LIST 1002
#define IDC_BEST_ROW_HEIGHT 1014
#define IDC_BEST_ROW_LABEL 1015
#define IDC_BEST_SHOW_TEXT 1019

// Menus. Each is one pop-up at index 0 of the loaded menu (GetSubMenu(menu, 0)).
#define IDR_SKY_MAP_MENU 103        // "&Options": Show Work Units, Show Text, Circle Size
#define IDR_TRAY_MENU 131           // notification icon: Exit
#define IDR_COMPLETED_LIST_MENU 132 // Completed list: Sky Map
#define IDR_COMPLETED_TREE_MENU 133 // Completed tree: Sky Map, calendars, reload

// Menu commands.
#define ID_TRAY_EXIT 40001
#define ID_SKY_MAP 40002
#define ID_SHOW_WORK_UNITS 40004
#define ID_SHOW_TEXT 40005
#define ID_CIRCLE_LARGE 40007
#define ID_CIRCLE_SMALL 40008
#define ID_CALENDAR 40010
#define ID_RELOAD_LOCATIONS 40011
#define ID_FUTURE_CALENDAR 40012

// Header tooltip strings: column c of a list has the string base + c.
// An id without a string (for example IDS_TIP_DATA_INFO + 5) falls back to the list's default text.
#define IDS_TIP_ANALYSIS 2000         // 2000..2008
#define IDS_TIP_DATA_INFO 2100        // 2100..2104
#define IDS_TIP_USER_INFO 2200        // 2200..2206
#define IDS_TIP_COMPLETED_TOTALS 2300 // 2300..2306, the 7-column totals form
#define IDS_TIP_COMPLETED_UNITS 2307  // 2307..2318, the work-unit form
#define IDS_TIP_BEST_RESULTS 2323     // 2323..2327
#define IDS_TIP_LOCATIONS 2346        // 2346..2349

// Application manifest (RT_MANIFEST).
#define IDR_MANIFEST 1

#endif
