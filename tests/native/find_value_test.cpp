// Key lookup, its status messages, the number conversions and the error text format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/client/error_text.h"
#include "core/client/find_value.h"

namespace
{

struct LookupCase {
    const char* text;
    const char* key;
    std::optional<std::string> value;
    const char* status; // the status line afterwards ("" when nothing was written)
};

TEST(FindValue, FirstOccurrenceUpToTheLineFeed)
{
    const LookupCase cases[] = {
        {"prog=0.5\r\ncpu=10\n", "prog=", "0.5\r", ""},
        {"total_cpu=99\ncpu=10\n", "cpu=", "99", ""}, // the match may sit inside a longer key
        {"a=1\nprog=\n", "prog=", "", ""},
        {"a=1\nprog=0.25", "prog=", std::nullopt, "Could not find end of \"prog=\" in file."},
        {"a=1\n", "prog=", std::nullopt, "Could not find \"prog=\" in file."},
        {"", "bg_pot 5=", std::nullopt, "Could not find \"bg_pot 5=\" in file."},
        {"x=prog=7\nprog=8\n", "prog=", "7", ""}, // also inside a value
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.text);
        LatestStatus status;
        EXPECT_EQ(FindValue(c.text, c.key, status), c.value);
        EXPECT_EQ(status.Text(), c.status);
        // The indexed text finds the same, with the same message.
        LatestStatus indexedStatus;
        EXPECT_EQ(FindValue(KeyedText(c.text), c.key, indexedStatus), c.value);
        EXPECT_EQ(indexedStatus.Text(), c.status);
    }
    // Keys at the very end, one character short, in a text too large to index, and after a long
    // chain of places that hold all but the key's last character.
    const std::string large = std::string(2 << 20, 'k') + "key=1\n";
    const std::string chain = std::string(100000, 'k') + "kkkkkkkkey=1\n";
    for (const std::string& text : {std::string("xkey=1\n"), std::string("key"), large, chain}) {
        SCOPED_TRACE(text.size());
        for (const char* key : {"key=", "key=1\n", "key=1\nx", "k", "", "kkkkkkkkey=", "kkkkkkkkkk=", "kkkkkkkkkk"}) {
            EXPECT_EQ(KeyedText(text).Find(key), text.find(key)) << key;
            EXPECT_EQ(FindKey(text, key), text.find(key)) << key;
        }
    }
}

// Both lookups answer as the standard search on texts and keys of few characters, where keys
// repeat themselves and places almost hold them most often: every text of up to 12 characters
// of "ab" with every key of up to 6, then texts made of runs and repeats with keys of up to 600
// characters cut from them, some with a changed end.
TEST(FindValue, LookupsAnswerAsTheStandardSearch)
{
    const auto expectSame = [](const std::string& text, const KeyedText& keyed, const std::string& key) {
        const size_t expected = text.find(key);
        EXPECT_EQ(FindKey(text, key), expected) << '"' << text << "\" \"" << key << '"';
        EXPECT_EQ(keyed.Find(key), expected) << '"' << text << "\" \"" << key << '"';
    };
    // Every string of up to n characters of "ab", in order of length.
    const auto strings = [](size_t n) {
        std::vector<std::string> all{""};
        for (size_t i = 0; i < all.size() && all[i].size() < n; ++i)
            for (const char c : {'a', 'b'})
                all.push_back(all[i] + c);
        return all;
    };
    const std::vector<std::string> keys = strings(6);
    for (const std::string& text : strings(12)) {
        const KeyedText keyed(text);
        for (const std::string& key : keys)
            expectSame(text, keyed, key);
    }

    std::mt19937 random(26);
    for (int i = 0; i < 300; ++i) {
        std::string text;
        const size_t size = random() % 3000 + 8;
        while (text.size() < size) {
            if (random() % 2 && !text.empty()) // a repeat of what came a little before
                text += text.substr(text.size() - std::min<size_t>(text.size(), random() % 12 + 1));
            else // a run of one character
                text.append(random() % 20 + 1, "ab="[random() % 3]);
        }
        const KeyedText keyed(text);
        for (int k = 0; k < 40; ++k) {
            const size_t length = k % 4 == 0 ? random() % 600 + 1 : random() % 24 + 1;
            std::string key = text.substr(random() % text.size(), length);
            if (random() % 2)
                key.back() = "ab="[random() % 3];
            expectSame(text, keyed, key);
        }
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
        {"0.5\r", 0.5, 0}, {"  1234.56", 1234.56, 1234},         {"-7x", -7, -7}, {"abc", 0, 0}, {"", 0, 0},
        {"1e999", 0, 1},                                         // overflow: never "inf" on screen
        {"nan", 0, 0},     {"99999999999999999999999", 1e23, 0}, // integer overflow reads as 0, not as a wrapped value
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ToNumber(c.text), c.number);
        EXPECT_EQ(ToInteger(c.text), c.integer);
    }
}

// ToNumber reads most texts without strtod; it must still give strtod's value, bit for bit, for
// every text: signs, blanks, hexadecimal, exponents, infinities, cuts and garbage, chosen and generated.
TEST(Conversions, NumbersEqualStrtodBitForBit)
{
    const auto strtodValue = [](const std::string& text) {
        const double number = std::strtod(text.substr(0, kValueCapacity).c_str(), nullptr);
        return std::isfinite(number) ? number : 0.0;
    };
    const auto expectSame = [&](const std::string& text) {
        const double expected = strtodValue(text);
        const double actual = ToNumber(text);
        EXPECT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0)
            << '"' << text << "\" gives " << actual << ", strtod " << expected;
    };
    const char* const chosen[] = {
        "0",
        "-0",
        "+0",
        " \t\n\v\f\r+1.5",
        "+-1",
        "-+1",
        "--1",
        "++1",
        "0x1p3",
        "-0X1A",
        "0x",
        "1e",
        "1e+",
        "1e-5x",
        ".5",
        "5.",
        "-.5e-3",
        "1e-310",
        "1e-400",
        "-1e400",
        "inf",
        "-Infinity",
        "nan(1)",
        "1,5",
        "1.5\x01",
        "2451617.12345 (Mon)",
        "1420585937.5",
        "  -",
        "e5",
        "0.000000000000000000001e30",
        "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863276687817154045895"
        "35143824642343213268894641827684675467035375169860499105765512820762454900903893289440758685084551339423045832"
        "36903222948165808559332123348274797826204144723168738177180919299881250404026184124858368",
        "4.9406564584124654e-324",
        "2.4703282292062327e-324",
        "2.4703282292062328e-324",
    };
    for (const char* text : chosen)
        expectSame(text);
    // A value is read only up to its capacity.
    expectSame(std::string(kValueCapacity - 1, '9') + "e-9999");
    expectSame("1" + std::string(kValueCapacity + 10, '0'));

    std::mt19937 random(1208);
    const std::string alphabet = " +-.0123456789eExXpinfa\t,";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 14);
        for (int k = 0; k < length; ++k)
            text += alphabet[random() % alphabet.size()];
        expectSame(text);
        // And plain numbers of every magnitude, as the client writes them.
        char number[64];
        std::snprintf(number, sizeof number, "%.*g", static_cast<int>(random() % 18 + 1),
                      std::ldexp(static_cast<double>(random()), static_cast<int>(random() % 400) - 200));
        expectSame(number);
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
    EXPECT_EQ(FormatErrorText(87, "Text\r\n\r\n"), "Error #87.  Text\r\n"); // only one CR LF goes
    EXPECT_EQ(FormatErrorText(0xFFFFFFFFul, ""), "Error #-1");
    EXPECT_EQ(FormatErrorText(3, std::string(3000, 'x')).size(), kErrorTextCapacity);
}

} // namespace
