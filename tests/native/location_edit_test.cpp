// The location dialogs' decisions: defaults of a new location, field checks, colour texts and the stored row text.
#include <gtest/gtest.h>

#include <climits>

#include "core/settings/location.h"
#include "core/settings/location_edit.h"

namespace
{

using Cells = std::array<std::string, kLocationColumnCount>;

TEST(LocationEdit, NewLocationIsYellowAndShownEverywhere)
{
    const LocationEntry entry = NewLocationEntry();
    EXPECT_EQ(entry.colour, 65535);
    EXPECT_TRUE(entry.analysis && entry.datainfo && entry.userinfo && entry.completed);
    EXPECT_TRUE(entry.shortName.empty());
    EXPECT_TRUE(entry.path.empty());
    EXPECT_FALSE(CanAcceptEntry(entry.shortName, entry.path));
    const Cells cells = LocationCells(entry);
    EXPECT_EQ(cells, (Cells{"", "", "", "Y", "Y", "Y", "Y"}));
}

TEST(LocationEdit, FieldChecks)
{
    struct Case {
        const char* shortName;
        const char* path;
        bool canAccept;
        bool refused;
    };
    const Case cases[] = {
        {"", "", false, false},
        {"Home", "", false, false},
        {"", "C:\\Client", false, false},
        {"Home", "C:\\Client", true, false},
        {"A;B", "C:\\Client", true, true},
        {";", "C:\\Client", true, true},
        {"Home;", "C:\\Client", true, true},
        {"Home", "C:\\My;Client", true, false}, // the path is stored as typed
        {" ", " ", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CanAcceptEntry(c.shortName, c.path), c.canAccept) << c.shortName << "|" << c.path;
        const char* problem = ShortNameProblem(c.shortName);
        EXPECT_EQ(problem != nullptr, c.refused) << c.shortName;
        if (problem) {
            EXPECT_STREQ(problem, "Short name cannot contain a ;");
        }
    }
}

TEST(LocationEdit, ColourTextsRoundTrip)
{
    struct Case {
        const char* text;
        int32_t colour;
    };
    const Case cases[] = {
        {"65535", 65535},
        {"0", 0},
        {"255", 255},
        {"16777215", 0xFFFFFF},
        {"-1", -1},
        {"  42", 42},
        {"+7", 7},
        {"12abc", 12},
        {"", 0},
        {"abc", 0},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColourFromText(c.text), c.colour) << c.text;
    for (const int32_t colour : {0, 65535, 0xFFFFFF, -1, INT32_MIN, INT32_MAX})
        EXPECT_EQ(ColourFromText(ColourText(colour)), colour);
    EXPECT_EQ(ColourText(-5), "-5");
}

TEST(LocationEdit, CellsAndEntriesConvertBothWays)
{
    LocationEntry entry;
    entry.shortName = "Attic";
    entry.path = "D:\\Seti";
    entry.colour = 255;
    entry.analysis = false;
    entry.userinfo = false;
    const Cells cells = LocationCells(entry);
    EXPECT_EQ(cells, (Cells{"Attic", "D:\\Seti", "", "N", "Y", "N", "Y"}));
    const LocationEntry back = EntryFromCells(cells, "255");
    EXPECT_EQ(back.shortName, "Attic");
    EXPECT_EQ(back.path, "D:\\Seti");
    EXPECT_EQ(back.colour, 255);
    EXPECT_FALSE(back.analysis);
    EXPECT_TRUE(back.datainfo);
    EXPECT_FALSE(back.userinfo);
    EXPECT_TRUE(back.completed);
    // Switch cells that are not exactly "Y": only the first character counts.
    const LocationEntry loose = EntryFromCells(Cells{"a", "b", "", "Yes", "y", "", "YN"}, "x");
    EXPECT_TRUE(loose.analysis);
    EXPECT_FALSE(loose.datainfo);
    EXPECT_FALSE(loose.userinfo);
    EXPECT_TRUE(loose.completed);
    EXPECT_EQ(loose.colour, 0);
}

TEST(LocationEdit, StoredTextReadsBackAsTheRow)
{
    struct Case {
        Cells cells;
        const char* colourText;
        const char* stored;
    };
    const Case cases[] = {
        {{"Home", "C:\\Client", "", "Y", "Y", "N", "Y"}, "65535", "C:\\Client;Home;65535;Y;Y;N;Y"},
        {{"Home", "C:\\My;Client", "", "Y", "Y", "Y", "Y"}, "255", "C:\\My;Client;Home;255;Y;Y;Y;Y"},
        {{"Odd", "C:\\a;b;c;d;e", "", "N", "N", "N", "N"}, "-1", "C:\\a;b;c;d;e;Odd;-1;N;N;N;N"},
        // Unusual stored switches are written back unchanged.
        {{"X", "C:\\X", "", "Yes", "", "n", "Y"}, "0", "C:\\X;X;0;Yes;;n;Y"},
    };
    for (const Case& c : cases) {
        const std::string stored = StoredLocationText(c.cells, c.colourText);
        EXPECT_EQ(stored, c.stored);
        const Location parsed = ParseLocation(stored, "C:\\Cwd");
        EXPECT_EQ(parsed.path, c.cells[kLocationColumnPath]) << stored;
        EXPECT_EQ(parsed.shortName, c.cells[kLocationColumnShortName]) << stored;
        EXPECT_EQ(parsed.colour, ColourFromText(c.colourText)) << stored;
        EXPECT_EQ(parsed.analysis, c.cells[kLocationColumnAnalysis]) << stored;
        EXPECT_EQ(parsed.completed, c.cells[kLocationColumnCompleted]) << stored;
        const LocationEntry entry = EntryFromLocation(parsed);
        EXPECT_EQ(LocationCells(entry)[kLocationColumnPath], c.cells[kLocationColumnPath]);
    }
}

} // namespace
