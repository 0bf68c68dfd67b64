// The location dialog: one location's short name, folder, circle colour and tab switches.
#pragma once

#include <windows.h>

enum class LocationDialogMode { Adding, Editing };

// Opens the dialog modally over the owner's location list (control 1002 of the owner). Adding puts
// a new row at the top of that list on OK; editing changes the list's selected row.
INT_PTR ShowLocationDialog(HWND owner, LocationDialogMode mode);
