// The analysis refresh: every location's state read into the Analysis and Best Results rows.
#pragma once

// Rebuild deletes every row first and creates them again from the stored locations.
void RefreshAnalysis(bool rebuild);
