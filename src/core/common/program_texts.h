// Texts the whole program shares, spelled once.
#pragma once

// The main window's title, and the title of every message box.
inline constexpr char kProgramTitle[] = "Vantorel";
// The status line's message when memory runs out.
inline constexpr char kOutOfMemory[] = "Out of memory";
// The status line's message when another program holds the clipboard open.
inline constexpr char kClipboardBusy[] = "Could not open the clipboard";
