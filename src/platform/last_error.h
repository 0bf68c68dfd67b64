// The text of the operating system's last error, as status messages show it.
#pragma once

#include <windows.h>

#include <string>

// "Error #%d.  <system text>" or "Error #%d" for the given code (default: GetLastError()).
std::string LastErrorText(DWORD code);
std::string LastErrorText();
