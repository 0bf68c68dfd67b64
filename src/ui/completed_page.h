// The Completed Work Units tab: the history from SETILog.csv.
#pragma once

#include <windows.h>

HWND CreateCompletedPage(HWND parent);
// Reloads the tree and the list (F5).
void ReloadCompleted();
