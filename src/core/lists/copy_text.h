// The text a list puts on the clipboard: its column titles and the chosen rows, tab-separated.
#pragma once

#include <string>
#include <vector>

// One line per row after a line of titles, cells separated by tabs and lines ended by CR LF, as
// spreadsheets and editors take them. A tab or line break inside a cell becomes a space, so every
// line keeps one cell per column; a row shorter than the titles gets empty cells.
std::string TabSeparatedText(const std::vector<std::string>& titles, const std::vector<std::vector<std::string>>& rows);
// One such line appended to out, for a caller that makes its rows one at a time.
void AppendTabSeparatedLine(std::string& out, const std::vector<std::string>& cells, size_t columns);
// The length of that line, for a caller that reserves the whole text before it makes it.
size_t TabSeparatedLineSize(const std::vector<std::string>& cells, size_t columns);
