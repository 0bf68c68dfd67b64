// The Override Work Units Per Day dialog (114): the daily rate a registered name is projected with.
#pragma once

#include <windows.h>

#include <string>

inline constexpr char kOverrideNotValid[] = "The number you entered is not valid. Please re-enter.";

// Shows the dialog modally for a registered name. Returns 1 when OK stored a value (the caller
// refreshes its list) and 0 when cancelled.
INT_PTR ShowOverrideDialog(HWND owner, const std::string& registeredName);
