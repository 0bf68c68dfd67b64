// Tab-separated text of list rows for the clipboard.
#include "core/lists/copy_text.h"

namespace
{

void AppendCell(std::string& out, const std::string& cell)
{
    for (const char c : cell)
        out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
}

} // namespace

void AppendTabSeparatedLine(std::string& out, const std::vector<std::string>& cells, size_t columns)
{
    for (size_t i = 0; i < columns; ++i) {
        if (i > 0)
            out += '\t';
        if (i < cells.size())
            AppendCell(out, cells[i]);
    }
    out += "\r\n";
}

size_t TabSeparatedLineSize(const std::vector<std::string>& cells, size_t columns)
{
    // A cell keeps its length (a tab or line break becomes one space); tabs between, CR LF after.
    size_t size = (columns > 0 ? columns - 1 : 0) + 2;
    for (size_t i = 0; i < columns && i < cells.size(); ++i)
        size += cells[i].size();
    return size;
}

std::string TabSeparatedText(const std::vector<std::string>& titles, const std::vector<std::vector<std::string>>& rows)
{
    std::string out;
    AppendTabSeparatedLine(out, titles, titles.size());
    for (const auto& row : rows)
        AppendTabSeparatedLine(out, row, titles.size());
    return out;
}
