// One column of a report list as a table row: its title, alignment and first sort direction.
#pragma once

// Alignment codes of a column.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignCenter = 6;

// A column that starts descending (ascending 0) sorts ascending at its first click.
struct ColumnSpec {
    const char* title;
    int alignment;
    int ascending = 1;
};
