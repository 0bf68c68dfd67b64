// The analysis refresh: every location's state read into the Analysis and Best Results rows.
#pragma once

// Rebuild deletes every row first and creates them again from the stored locations. With a
// pre-refresh command the refresh returns while the command runs and finishes when it has
// ended; a refresh asked for meanwhile starts nothing but one refresh after that.
void RefreshAnalysis(bool rebuild);

// True while a refresh waits for its pre-refresh command.
bool AnalysisRefreshWaiting();

// Gives up waiting for a running pre-refresh command (closing, the end of the session): its
// handles are closed and its refresh dropped; the command itself is left to finish.
void StopWaitingForCommand();
