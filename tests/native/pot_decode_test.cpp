// Pot texts decoded for the graphs: hexadecimal pairs, repeat counts and separated decimals.
#include <gtest/gtest.h>

#include <string>

#include "core/client/pot_decode.h"

namespace
{

TEST(PotDecode, HexPairsWithDamagedAndShortText)
{
    const struct {
        const char* text;
        size_t offset;
        int expected;
    } cases[] = {
        {"00", 0, 0},  {"ff", 0, 255}, {"FF", 0, 255}, {"7f80", 2, 128}, {"a", 0, 0}, // half a pair
        {"abc", 2, 0}, {"1g", 0, 0},   {"g1", 0, 0},   {" 1", 0, 0},     {"-1", 0, 0},
        {"0x", 0, 0},  {"12", 2, 0},   {"12", 99, 0},  {"\r\n", 0, 0},   {"9A", 0, 154},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexPair(c.text, c.offset), c.expected) << '"' << c.text << "\" @" << c.offset;
}

TEST(PotDecode, TripletCountsAndHeights)
{
    // Entry 0 count 0 (taken as 1), entry 1 count 1, entry 2 count 255, entry 3 damaged, then an
    // entry cut after its count, and the rest beyond the text.
    const TripletPot pot = DecodeTripletPot(HexPotOfText("0010"
                                                         "0120"
                                                         "ff30"
                                                         "zz40"
                                                         "03"));
    const struct {
        int index;
        int count;
        int height;
    } cases[] = {
        {0, 1, 0x10}, {1, 1, 0x20}, {2, 255, 0x30}, {3, 1, 0x40}, {4, 3, 0}, {5, 1, 0}, {254, 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pot[c.index].count, c.count) << c.index;
        EXPECT_EQ(pot[c.index].height, c.height) << c.index;
    }
}

TEST(PotDecode, TripletReadsExactly255EntriesOfAFullText)
{
    std::string text;
    for (int i = 0; i < 256; ++i)
        text += "02" + std::string(i == 254 ? "ee" : i == 255 ? "ff" : "11");
    const TripletPot pot = DecodeTripletPot(HexPotOfText(text));
    EXPECT_EQ(pot[254].height, 0xee);
    EXPECT_EQ(pot[254].count, 2);
    EXPECT_EQ(pot[0].height, 0x11);
}

TEST(PotDecode, PulseHeightsToTheEndOfTheTextAndNoFurther)
{
    std::string text(1024, '0');
    text.replace(0, 2, "fe");
    text.replace(1022, 2, "7c");
    text += "ff"; // a 513th height is never read, nor kept
    EXPECT_EQ(HexPotOfText(text).size(), kHexPotBytes);
    PulsePot pot = DecodePulsePot(HexPotOfText(text));
    EXPECT_EQ(pot[0], 0xfe);
    EXPECT_EQ(pot[1], 0);
    EXPECT_EQ(pot[511], 0x7c);

    EXPECT_EQ(HexPotOfText("0102030"), (HexPot{1, 2, 3})); // odd length: the half pair is not kept
    pot = DecodePulsePot(HexPotOfText("0102030"));         // and reads as 0
    EXPECT_EQ(pot[0], 1);
    EXPECT_EQ(pot[2], 3);
    EXPECT_EQ(pot[3], 0);
    EXPECT_EQ(pot[511], 0);

    pot = DecodePulsePot(HexPot());
    for (const int height : pot)
        ASSERT_EQ(height, 0);
}

TEST(PotDecode, GaussianValuesNeedTheirSeparator)
{
    const struct {
        std::string text;
        double first;
        double second;
        double third;
    } cases[] = {
        {"1.5\x01"
         "2.25\x01",
         1.5, 2.25, 0},
        {"1.5\x01"
         "2.25",
         1.5, 0, 0}, // the last value lacks its separator
        {"1.5\r\x01"
         "2.25\r\x01",
         1.5, 2.25, 0}, // carriage returns kept from the file
        {"\x01"
         "3\x01",
         0, 3, 0}, // an empty value is 0 and reading goes on
        {"abc\x01"
         "4\x01"
         "-2e1\x01",
         0, 4, -20}, // no number; an exponent; a negative
        {"inf\x01"
         "nan\x01"
         "7\x01",
         0, 0, 7}, // nothing that is not a finite number
        {"", 0, 0, 0},
        {"12", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const GaussianPot pot = DecodeGaussianPot(c.text);
        EXPECT_EQ(pot[0], c.first) << c.text;
        EXPECT_EQ(pot[1], c.second) << c.text;
        EXPECT_EQ(pot[2], c.third) << c.text;
    }
}

TEST(PotDecode, GaussianReadsAtMost64Values)
{
    std::string text;
    for (int i = 1; i <= 70; ++i)
        text += std::to_string(i) + '\x01';
    const GaussianPot pot = DecodeGaussianPot(text);
    EXPECT_EQ(pot[0], 1);
    EXPECT_EQ(pot[63], 64);
}

} // namespace
