// The row painter of the lists that show signal graphs beside plain text cells.
#pragma once

#include <windows.h>

#include <string>

#include "core/lists/list_row.h"

// Which columns of a list are painted how; -1 for a kind the list does not have. Every other
// column is a plain text cell of the row.
struct SignalRowStyle {
    int peakColumn = -1; // bs_power as "%.2f", painted whenever the row's cell text is not empty
    int tripletColumn = -1;
    int pulseColumn = -1;
    int gaussianColumn = -1;
    bool showText = true;           // figures over the graphs
    bool fittedCurve = false;       // the white fitted gaussian over the pot
    bool cellGrid = false;          // grey lines down both edges of every cell
    bool skipEmptyGaussian = false; // no step line for an empty gaussian pot
};

// The text a cell of the row shows: its own text, the Peak figure, or a graph's caption (given
// whether or not the style puts it on the graph).
std::string SignalCellText(const WorkUnitRow& row, const SignalRowStyle& style, int column);

// Paints one row of an owner-drawn list (WM_DRAWITEM) from its WorkUnitRow, touching only the
// columns the clip box shows.
void PaintSignalRow(const DRAWITEMSTRUCT& draw, const WorkUnitRow& row, const SignalRowStyle& style);
