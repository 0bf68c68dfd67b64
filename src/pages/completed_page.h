// The Completed Work Units tab: the history from SETILog.csv, per location and in total.
#pragma once

#include <windows.h>

#include "core/lists/list_row.h"
#include "kit/header_tips.h"
#include "resources/resource.h"

// The work-unit form's tips, and the totals form's while the list has its seven columns.
inline constexpr HeaderTipSource kCompletedTips{IDS_TIP_COMPLETED_UNITS, IDS_TIP_COMPLETED_TOTALS, 7, false};

HWND CreateCompletedPage(HWND parent);
// Empties the list and fills the location tree again (F5 and "Reload Locations").
void ReloadCompleted();
// Fills the location tree again from the stored locations (after the location list changed).
void FillCompletedTree();
// True while the list's rows are being read beside the window.
bool CompletedLoadRunning();
// The row the list shows at a position, or null past its end.
const WorkUnitRow* CompletedListRow(int index);
