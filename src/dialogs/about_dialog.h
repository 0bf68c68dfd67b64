// The About dialog: version, version history, legal notice, home page and e-mail buttons.
#pragma once

#include <windows.h>

void ShowAboutDialog(HWND owner);
