// The clipboard text of list rows: titles first, tabs between cells, CR LF after every line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/lists/copy_text.h"

namespace
{

TEST(CopyText, TitlesThenRowsTabSeparated)
{
    using Rows = std::vector<std::vector<std::string>>;
    const struct {
        const char* name;
        std::vector<std::string> titles;
        Rows rows;
        std::string expected;
    } cases[] = {
        {"titles only", {"Location", "Status"}, {}, "Location\tStatus\r\n"},
        {"rows in the given order",
         {"Location", "Status"},
         {{"b", "Running"}, {"a", "Stopped"}},
         "Location\tStatus\r\nb\tRunning\r\na\tStopped\r\n"},
        {"empty cells keep their tabs", {"A", "B", "C"}, {{"", "x", ""}}, "A\tB\tC\r\n\tx\t\r\n"},
        {"short row padded, long row cut", {"A", "B"}, {{"1"}, {"1", "2", "3"}}, "A\tB\r\n1\t\r\n1\t2\r\n"},
        {"separators inside cells become spaces",
         {"Path\tname", "Note"},
         {{"C:\\a\tb", "two\r\nlines"}},
         "Path name\tNote\r\nC:\\a b\ttwo  lines\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TabSeparatedText(c.titles, c.rows), c.expected);
        // The size a copy reserves is the size of the text it makes, line by line.
        size_t size = TabSeparatedLineSize(c.titles, c.titles.size());
        for (const auto& row : c.rows)
            size += TabSeparatedLineSize(row, c.titles.size());
        EXPECT_EQ(size, c.expected.size());
    }
}

} // namespace
