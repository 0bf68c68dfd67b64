// Key lookup, its status messages, the number conversions and the error text format.
#include <gtest/gtest.h>

#include "client/error_text.h"
#include "client/find_value.h"

namespace {

struct LookupCase {
    const char* text;
    const char* key;
    std::optional<std::string> value;
    const char* status;  // the status line afterwards ("" when nothing was written)
};

TEST(FindValue, FirstOccurrenceUpToTheLineFeed)
{
    const LookupCase cases[] = {
        {"prog=0.5\r\ncpu=10\n", "prog=", "0.5\r", ""},
        {"total_cpu=99\ncpu=10\n", "cpu=", "99", ""},  // the match may sit inside a longer key
        {"a=1\nprog=\n", "prog=", "", ""},
        {"a=1\nprog=0.25", "prog=", std::nullopt, "Could not find end of \"prog=\" in file."},
        {"a=1\n", "prog=", std::nullopt, "Could not find \"prog=\" in file."},
        {"", "bg_pot 5=", std::nullopt, "Could not find \"bg_pot 5=\" in file."},
        {"x=prog=7\nprog=8\n", "prog=", "7", ""},  // also inside a value
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.text);
        LatestStatus status;
        EXPECT_EQ(FindValue(c.text, c.key, status), c.value);
        EXPECT_EQ(status.Text(), c.status);
    }
}

TEST(FindValue, CutsAnOverlongValueAtItsCapacity)
{
    const std::string text = "k=" + std::string(5000, 'v') + "\n";
    LatestStatus status;
    const auto value = FindValue(text, "k=", status);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), kValueCapacity);
}

TEST(FindValue, LatestMessageWins)
{
    LatestStatus status;
    FindValue("", "one=", status);
    FindValue("", "two=", status);
    EXPECT_EQ(status.Text(), "Could not find \"two=\" in file.");
    EXPECT_EQ(status.Count(), 2);
}

TEST(Conversions, ReadLikeTheCLibrary)
{
    const struct {
        const char* text;
        double number;
        long integer;
    } cases[] = {
        {"0.5\r", 0.5, 0},
        {"  1234.56", 1234.56, 1234},
        {"-7x", -7, -7},
        {"abc", 0, 0},
        {"", 0, 0},
        {"1e999", 0, 1},                     // overflow: never "inf" on screen
        {"nan", 0, 0},
        {"99999999999999999999999", 1e23, 0},  // integer overflow reads as 0, not as a wrapped value
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ToNumber(c.text), c.number);
        EXPECT_EQ(ToInteger(c.text), c.integer);
    }
}

TEST(Conversions, OptionalKeysGiveZeroAndStillReport)
{
    LatestStatus status;
    EXPECT_EQ(FindNumber("cpu=12.5\n", "prog=", status), 0.0);
    EXPECT_EQ(status.Text(), "Could not find \"prog=\" in file.");
    EXPECT_EQ(FindInteger("cpu=12.5\n", "cpu=", status), 12);
}

TEST(SkipBlanks, DropsOnlySpaces)
{
    EXPECT_EQ(SkipBlanks("   Arecibo"), "Arecibo");
    EXPECT_EQ(SkipBlanks("\tTab"), "\tTab");
    EXPECT_EQ(SkipBlanks("    "), "");
}

TEST(FormatErrorText, BothFormsAndTheTrailingLineEnd)
{
    EXPECT_EQ(FormatErrorText(2, "The system cannot find the file specified.\r\n"),
              "Error #2.  The system cannot find the file specified.");
    EXPECT_EQ(FormatErrorText(5, ""), "Error #5");
    EXPECT_EQ(FormatErrorText(87, "Text\r\n\r\n"), "Error #87.  Text\r\n");  // only one CR LF goes
    EXPECT_EQ(FormatErrorText(0xFFFFFFFFul, ""), "Error #-1");
    EXPECT_EQ(FormatErrorText(3, std::string(3000, 'x')).size(), kErrorTextCapacity);
}

}  // namespace
