// The looks of an analysis refresh, which read every location's files beside the window thread,
// and what the refresh they belong to shares with them.
#pragma once

#include <windows.h>

struct WorkUnitRow;

namespace refresh
{

// Messages of the refresh's own message-only window.
inline constexpr UINT kMessageLookDone = WM_APP + 2;
inline constexpr UINT_PTR kGraceTimer = 1;

// Starts one look per row of the Analysis list, except rows whose look is still out from an
// earlier refresh. The refresh ends (EndRefresh) when every look has come back or the grace
// period is over, whichever is first; with nothing to read it ends before this returns.
void StartLooks(int selected, bool madeRows);
// True from StartLooks until the refresh ends.
bool LooksUnderWay();
// True while any look is out, of this refresh or an earlier one.
bool AnyReadOut();
// A look came back (kMessageLookDone), or the grace period ended (WM_TIMER kGraceTimer).
void OnLookDone(LPARAM result);
void OnGraceOver();
// The Analysis rows are being freed: looks still out are for rows that will be gone, and are
// dropped when they come back. With close set, no read counts as out any more either.
void ForgetLookedRows(bool close);

// Given by the refresh: its message-only window, the row at a list position, the title and tip
// after a refresh, and what follows the end of a refresh (a refresh asked for meanwhile).
HWND RefreshWindow();
WorkUnitRow* RowAt(HWND list, int index);
void UpdateTitleAndTip(HWND analysis, int remembered);
void EndRefresh();

} // namespace refresh
