// Every registry value name the program reads or writes, spelled once.
#pragma once

// Some names carry old spelling mistakes; stored settings depend on them, so they stay.
inline constexpr char kSettingsSubKey[] = "SOFTWARE\\Vantorel\\";

inline constexpr char kValueLocationFormat[] = "Location%d";
inline constexpr char kValueRunBeforeRefresh[] = "Run Before Analysis Refesh";
inline constexpr char kValueRefreshRate[] = "Refresh Rate";
inline constexpr char kValueMinimizeToTaskbar[] = "Minimize To Taskbar";
inline constexpr char kValueShowGrandTotal[] = "Show Grand Total in User Info Tab";
inline constexpr char kValueWorkUnitsPerDaySuffix[] = " work units per day";
inline constexpr char kValueWindowPosition[] = "Window Position";
inline constexpr char kValueCalendarWindowPosition[] = "Calendar Window Position";
inline constexpr char kValueFwuCalendarWindowPosition[] = "FWU Calendar Window Position";
inline constexpr char kValueSkyWindowPosition[] = "Sky Window Position";
inline constexpr char kValueSkyPickPosition[] = "Sky Window WU Pick Position";
inline constexpr char kValueAnalysisColumnWidths[] = "Analysis Column Widths";
inline constexpr char kValueBestColumnWidths[] = "Best Column Widths";
inline constexpr char kValueDataInfoColumnWidths[] = "Data Info Column Widths";
inline constexpr char kValueUserInfoColumnWidths[] = "User Info Column Widths";
inline constexpr char kValueBestRowHeight[] = "Best Row Height";
inline constexpr char kValueShowGraphText[] = "Show Graph Text";
inline constexpr char kValueCompletedRowHeight[] = "Completed WU Row Height";
inline constexpr char kValueShowGraphTextCompleted[] = "Show Graph Text-Completed WU";
inline constexpr char kValueSkyShowText[] = "Sky Window Show Text";
inline constexpr char kValueSkyCircleSize[] = "Sky Window Circle Size";
inline constexpr char kValueAlertOnStatusChange[] = "Alert On Status Change";

// Caller buffer sizes of the stored texts (terminator included).
inline constexpr size_t kLocationTextCapacity = 1024;
inline constexpr size_t kWidthsTextCapacity = 1024;
inline constexpr size_t kCommandTextCapacity = 1024;
inline constexpr size_t kPlacementTextCapacity = 100;
