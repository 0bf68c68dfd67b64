// The texts of list cells for readers rather than painters: text requests, Ctrl+C and Ctrl+A.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// What a cell shows, for whoever asks the list instead of looking at it (screen readers, label
// tips, the clipboard). A list without a source of its own gives its row record's cell text.
using CellTextSource = std::string (*)(HWND list, int item, int column);
void SetCellTextSource(HWND list, CellTextSource source);
void ForgetCellTextSource(HWND list);
std::string CellText(HWND list, int item, int column);

// Answers LVN_GETDISPINFO (the ANSI or the wide notice) with CellText; FALSE for other notices.
BOOL AnswerCellText(const NMHDR* header);

// Inserts an item carrying a row record whose every cell's text is asked for when needed
// (LPSTR_TEXTCALLBACK); the index of the new item, or -1.
int InsertRowItem(HWND list, int index, LPARAM data);

// The selected rows as tab-separated text, column titles first and columns in the order shown.
std::string SelectedRowsText(HWND list);
// Puts the selected rows on the clipboard as CF_TEXT; false when nothing could be put there.
bool CopySelectedRows(HWND list);

// Ctrl+C copies the selected rows; Ctrl+A selects every row of a list that allows several.
// True when the key was one of these.
bool HandleListShortcut(HWND list, WPARAM key);
