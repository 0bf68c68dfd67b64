// The analysis refresh: every location's state read into the Analysis and Best Results rows.
#pragma once

// Rebuild deletes every row first and creates them again from the stored locations. With a
// pre-refresh command the refresh returns while the command runs and goes on when it has ended.
// Each location's files are then read beside the window; the refresh ends when every read is in or
// a grace period is over, and a read still out then is put in when it comes back. A refresh asked
// for before the end starts nothing but one refresh after it.
void RefreshAnalysis(bool rebuild);

// True from the start of a refresh to its end: while it waits for its pre-refresh command or for
// the reads of its grace period.
bool AnalysisRefreshWaiting();

// True while a location's read is out, from a refresh that has ended or not.
bool AnalysisReadsOut();

// The Analysis rows are about to be freed (the page is going): reads still out for them are
// dropped when they come back.
void ForgetAnalysisLooks();

// Gives up waiting for a running pre-refresh command (closing, the end of the session): its
// handles are closed and its refresh dropped; the command itself is left to finish.
void StopWaitingForCommand();
