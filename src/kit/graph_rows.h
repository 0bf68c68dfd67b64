// The controls under a list of graph rows that Best Results and Completed share: the row height
// slider with its label, and the Show Text box, with their stored values.
#pragma once

#include <windows.h>

struct GraphRowControls {
    int listId;
    int sliderId;
    int labelId;
    int showTextId;
    const char* rowHeightValue; // the stored row height
    const char* showTextValue;  // the stored Show Text switch
};

inline constexpr int kRowHeightUnknown = -1;

struct GraphRowState {
    int rowHeight = kRowHeightUnknown;
    int showText = 1;
};

// The row height, measured at the first request (the list asks while the dialog creates it);
// from then on it changes only through the slider.
int GraphRowHeight(HWND page, const GraphRowControls& controls, GraphRowState& state);
// Sets the slider's range and position, the label and the Show Text box from the stored values.
// Any stored Show Text other than 1 shows the text but leaves the box clear.
void InitGraphRowControls(HWND page, const GraphRowControls& controls, GraphRowState& state);
// Follows the slider: the label and the list's row height. False when the height is unchanged.
bool OnGraphSliderMoved(HWND page, const GraphRowControls& controls, GraphRowState& state);
// Stores the box's new state. When it cannot be stored nothing changes and the box goes back.
bool StoreShowText(HWND page, const GraphRowControls& controls, GraphRowState& state);
// Stores the slider's position as the row height (when the page is destroyed).
void SaveGraphRowHeight(HWND page, const GraphRowControls& controls);
