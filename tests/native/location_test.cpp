// Location string parse, format round trip and the two walks over the stored list.
#include <gtest/gtest.h>

#include <map>

#include "core/settings/location.h"

namespace
{

constexpr char kCwd[] = "C:\\Work";

struct ParseCase {
    const char* text;
    const char* path;
    const char* name;
    int32_t colour;
    const char* switches; // analysis, datainfo, userinfo, completed
};

std::string Switches(const Location& l)
{
    return l.analysis + l.datainfo + l.userinfo + l.completed;
}

TEST(ParseLocation, ReadsEveryStoredForm)
{
    const ParseCase cases[] = {
        {"", kCwd, "SETI@home", 65535, "YYYY"},
        {"C:\\Client", kCwd, "SETI@home", 65535, "YYYY"}, // no separator: never taken as a path
        {"C:\\Client\\;Home", "C:\\Client", "Home", 65535, "YYYY"},
        {"C:\\Client\\\\;Home", "C:\\Client\\", "Home", 65535, "YYYY"}, // only one backslash goes
        {"C:\\Client;Home", "C:\\Client", "Home", 65535, "YYYY"},
        {"C:\\Client;Home;255", "C:\\Client", "Home", 255, "YYYY"},
        {"C:\\Client;Home;  -12abc", "C:\\Client", "Home", -12, "YYYY"},
        {"C:\\Client;Home;", "C:\\Client", "Home", 0, "YYYY"},
        {"C:\\Client;Home;99999999999", "C:\\Client", "Home", INT32_MAX, "YYYY"},
        {"C:\\Client;Home;255;N;Y;Y;Y", "C:\\Client", "Home", 255, "NYYY"},
        {"C:\\Client;Home;255;Y;N;Yes;no", "C:\\Client", "Home", 255, "YNYesno"},
        {";;0;Y;Y;Y;Y", "", "", 0, "YYYY"},
        // A path holding ';' as the locations dialog stores it: read from the right.
        {"C:\\My;Client;Home;42;Y;N;Y;N", "C:\\My;Client", "Home", 42, "YNYN"},
        {"\\\\srv\\a;b;c\\;Home;42;Y;N;Y;N", "\\\\srv\\a;b;c", "Home", 42, "YNYN"},
        // Three to five separators: read from the left, missing switches on.
        {"C:\\Client;Home;255;N", "C:\\Client", "Home", 255, "NYYY"},
        {"C:\\Client;Home;255;N;N", "C:\\Client", "Home", 255, "NNYY"},
        {"C:\\Client;Home;255;N;N;N", "C:\\Client", "Home", 255, "NNNY"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Location l = ParseLocation(c.text, kCwd);
        EXPECT_EQ(l.path, c.path);
        EXPECT_EQ(l.shortName, c.name);
        EXPECT_EQ(l.colour, c.colour);
        EXPECT_EQ(Switches(l), c.switches);
    }
}

TEST(ParseLocation, DefaultLocationDropsTheRootsBackslash)
{
    EXPECT_EQ(ParseLocation("", "C:\\").path, "C:");
}

TEST(ParseLocation, ReadsOnlyTheFirst1023Characters)
{
    const std::string path(1000, 'p'); // 1000 + 16 characters before the last field
    const Location l = ParseLocation(path + ";Home;255;Y;Y;Y;N-and-more-beyond-the-buffer", kCwd);
    EXPECT_EQ(l.path, path);
    EXPECT_EQ(l.completed, "N-and-m");
}

TEST(FormatLocation, RoundTripsThroughTheParse)
{
    Location l;
    l.path = "D:\\Seti;Clients\\One";
    l.shortName = "Den";
    l.colour = 0x00FF8040;
    l.analysis = "N";
    l.completed = "N";
    const std::string text = FormatLocation(l);
    EXPECT_EQ(text, "D:\\Seti;Clients\\One;Den;16744512;N;Y;Y;N");
    const Location back = ParseLocation(text, kCwd);
    EXPECT_EQ(back.path, l.path);
    EXPECT_EQ(back.shortName, l.shortName);
    EXPECT_EQ(back.colour, l.colour);
    EXPECT_EQ(Switches(back), "NYYN");
}

TEST(IsSwitchOn, LooksOnlyAtTheFirstCharacter)
{
    EXPECT_TRUE(IsSwitchOn("Y"));
    EXPECT_TRUE(IsSwitchOn("Yes"));
    EXPECT_FALSE(IsSwitchOn("y"));
    EXPECT_FALSE(IsSwitchOn(""));
    EXPECT_FALSE(IsSwitchOn("N"));
}

std::vector<std::string> Walk(LocationWalk walk, const std::map<int, std::string>& stored)
{
    std::vector<std::string> names;
    const int count = EnumerateLocations(
        walk,
        [&](int index) -> std::optional<std::string> {
            const auto found = stored.find(index);
            if (found == stored.end())
                return std::nullopt;
            return found->second;
        },
        kCwd, [&](const Location& l) { names.push_back(l.shortName + "@" + l.path); });
    EXPECT_EQ(count, static_cast<int>(names.size()));
    return names;
}

TEST(EnumerateLocations, StopRules)
{
    using V = std::vector<std::string>;
    const std::map<int, std::string> none;
    const std::map<int, std::string> onlySecond = {{2, "D:\\B;Bee"}};
    const std::map<int, std::string> gap = {{1, "D:\\A;Ay"}, {2, "D:\\B;Bee"}, {4, "D:\\D;Dee"}};

    EXPECT_EQ(Walk(LocationWalk::DefaultFirst, none), V{"SETI@home@C:\\Work"});
    EXPECT_EQ(Walk(LocationWalk::StoredOnly, none), V{});
    EXPECT_EQ(Walk(LocationWalk::DefaultFirst, onlySecond), (V{"SETI@home@C:\\Work", "Bee@D:\\B"}));
    EXPECT_EQ(Walk(LocationWalk::StoredOnly, onlySecond), V{});
    EXPECT_EQ(Walk(LocationWalk::DefaultFirst, gap), (V{"Ay@D:\\A", "Bee@D:\\B"}));
    EXPECT_EQ(Walk(LocationWalk::StoredOnly, gap), (V{"Ay@D:\\A", "Bee@D:\\B"}));
}

TEST(EnumerateLocations, WalksAThousandLocations)
{
    std::map<int, std::string> stored;
    for (int i = 1; i <= 1000; ++i)
        stored[i] = "C:\\L" + std::to_string(i) + ";N" + std::to_string(i);
    const auto names = Walk(LocationWalk::StoredOnly, stored);
    ASSERT_EQ(names.size(), 1000u);
    EXPECT_EQ(names.back(), "N1000@C:\\L1000");
}

} // namespace
