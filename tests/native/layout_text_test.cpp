// Placement and column width texts, and the decision of how a window comes back at start-up.
#include <gtest/gtest.h>

#include "core/settings/layout_text.h"

namespace
{

TEST(PlacementText, FormatsEveryFieldInOrderAndReadsItBack)
{
    const struct {
        Placement placement;
        const char* text;
    } cases[] = {
        {{2, 1, -1, -1, -4, -23, 100, 120, 500, 400}, "2,1,-1,-1,-4,-23,100,120,500,400"},
        {{0, 3, -32000, -32000, -8, -8, 0, 0, 0, 0}, "0,3,-32000,-32000,-8,-8,0,0,0,0"},
        {{UINT32_MAX, UINT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN,
          INT32_MAX},
         "4294967295,4294967295,-2147483648,2147483647,-2147483648,2147483647,-2147483648,2147483647,"
         "-2147483648,2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatPlacement(c.placement), c.text);
        const std::optional<Placement> back = ParsePlacement(c.text);
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(*back == c.placement);
    }
}

TEST(PlacementText, ReadsWhatTheCLibraryScanWouldAssign)
{
    const Placement plain{2, 1, -1, -1, -4, -23, 100, 120, 500, 400};
    const struct {
        const char* text;
        std::optional<Placement> expected;
    } cases[] = {
        {" \t2, 1,\n-1,-1,  -4,-23,+100,120,500,400", plain}, // blanks before a number, a plus sign
        {"2,1,-1,-1,-4,-23,100,120,500,400 and more", plain}, // the rest after ten numbers is ignored
        {"2,1,-1,-1,-4,-23,100,120,500,400,7,8", plain},
        {"2,1,-1,-1,-4,-23,100,120,500,400px", plain},
        {"0002,01,-1,-1,-4,-23,100,120,500,400", plain},
        // A minus on an unsigned field wraps as %u does.
        {"2,-1,-1,-1,-4,-23,100,120,500,400", Placement{2, UINT32_MAX, -1, -1, -4, -23, 100, 120, 500, 400}},
        {"-4294967295,1,-1,-1,-4,-23,100,120,500,400", Placement{1, 1, -1, -1, -4, -23, 100, 120, 500, 400}},
        // Fewer than ten numbers, or something that is not a number where one belongs.
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"2,1,-1,-1,-4,-23,100,120,500", std::nullopt},
        {"2,1,-1,-1,-4,-23,100,120,500,", std::nullopt},
        {"2,1,-1,-1,-4,-23,100,120,500,-", std::nullopt},
        {"2,1,-1,-1,-4,-23,100,120,500,x", std::nullopt},
        {"a,1,-1,-1,-4,-23,100,120,500,400", std::nullopt},
        {"2;1;-1;-1;-4;-23;100;120;500;400", std::nullopt},
        {"2 ,1,-1,-1,-4,-23,100,120,500,400", std::nullopt}, // a literal comma skips no blanks
        {"2,1,- 1,-1,-4,-23,100,120,500,400", std::nullopt},
        {"0x2,1,-1,-1,-4,-23,100,120,500,400", std::nullopt},
        {"2,,1,-1,-1,-4,-23,100,120,500,400", std::nullopt},
        // Numbers too large for their field are refused rather than cut.
        {"4294967296,1,-1,-1,-4,-23,100,120,500,400", std::nullopt},
        {"-4294967296,1,-1,-1,-4,-23,100,120,500,400", std::nullopt},
        {"2,1,2147483648,-1,-4,-23,100,120,500,400", std::nullopt},
        {"2,1,-1,-2147483649,-4,-23,100,120,500,400", std::nullopt},
        {"2,1,-1,-1,-4,-23,100,120,500,99999999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Placement> parsed = ParsePlacement(c.text);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value());
        if (parsed) {
            EXPECT_EQ(FormatPlacement(*parsed), FormatPlacement(*c.expected));
        }
    }
}

constexpr int kMissing = -1;
constexpr const char* kNormal = "0,1,-1,-1,-1,-1,100,50,600,450";
constexpr const char* kMinimised = "2,2,-32000,-32000,-1,-1,100,50,600,450";
constexpr const char* kMinimisedFromNormal = "0,6,-32000,-32000,-1,-1,100,50,600,450";
constexpr const char* kMaximised = "0,3,-1,-1,-8,-8,100,50,600,450";
constexpr const char* kHidden = "0,0,-1,-1,-1,-1,100,50,600,450";
constexpr const char* kFarRight = "0,1,-1,-1,-1,-1,3000,50,3500,450";
constexpr const char* kAtRightEdge = "0,1,-1,-1,-1,-1,1024,50,1500,450";
constexpr const char* kJustInside = "0,1,-1,-1,-1,-1,1023,50,1500,450";
constexpr const char* kFarDown = "0,1,-1,-1,-1,-1,100,800,600,1200";
constexpr const char* kMinimisedFarRight = "2,2,-32000,-32000,-1,-1,3000,50,3500,450";
constexpr const char* kNineNumbers = "0,1,-1,-1,-1,-1,100,50,600";

TEST(PlacementRestore, DecidesEveryBranch)
{
    const struct {
        const char* text; // nullptr: the value is missing
        bool opened;
        bool main;
        int startup;
        int minimizeToTaskbar; // kMissing: the value is missing
        RestoreAction action;
        int show; // the ShowWindow command, or the show command of the applied placement
    } cases[] = {
        // Missing value: other windows come up normal, the main window follows its start-up command.
        {nullptr, true, false, 3, 1, RestoreAction::Show, 1},
        {nullptr, true, true, 1, kMissing, RestoreAction::Show, 1},
        {nullptr, true, true, 3, kMissing, RestoreAction::Show, 3},
        {nullptr, true, true, 2, kMissing, RestoreAction::Show, 6},
        {nullptr, true, true, 7, kMissing, RestoreAction::Show, 6},
        {nullptr, true, true, 10, kMissing, RestoreAction::Show, 1},
        {nullptr, true, true, 0, kMissing, RestoreAction::Show, 1},
        // The key cannot be opened, or the text is not ten numbers: as if missing.
        {kNormal, false, true, 3, kMissing, RestoreAction::Show, 3},
        {kNormal, false, false, 1, kMissing, RestoreAction::Show, 1},
        {kNineNumbers, true, true, 2, kMissing, RestoreAction::Show, 6},
        {kNineNumbers, true, false, 2, kMissing, RestoreAction::Show, 1},
        {"", true, true, 1, kMissing, RestoreAction::Show, 1},
        // Other windows: the placement as stored, wherever it lies and however the program started,
        // but never minimised: restored, or maximised when that is what the minimise left.
        {kNormal, true, false, 3, kMissing, RestoreAction::Apply, 1},
        {kMinimised, true, false, 1, 1, RestoreAction::Apply, 3},
        {kMinimisedFromNormal, true, false, 1, 1, RestoreAction::Apply, 1},
        {kMaximised, true, false, 2, kMissing, RestoreAction::Apply, 3},
        {kFarRight, true, false, 1, kMissing, RestoreAction::Apply, 1},
        // Main window: the start-up command overrides the stored show command.
        {kNormal, true, true, 1, kMissing, RestoreAction::Apply, 1},
        {kNormal, true, true, 3, kMissing, RestoreAction::Apply, 3},
        {kNormal, true, true, 2, kMissing, RestoreAction::Apply, 6},
        {kNormal, true, true, 7, 1, RestoreAction::Apply, 6},
        {kMaximised, true, true, 1, kMissing, RestoreAction::Apply, 3},
        // Left minimised: to the notification area only with "Minimize To Taskbar" exactly 1.
        {kMinimised, true, true, 1, 1, RestoreAction::ApplyHiddenThenMinimize, 0},
        {kMinimised, true, true, 5, 1, RestoreAction::ApplyHiddenThenMinimize, 0},
        {kMinimisedFarRight, true, true, 1, 1, RestoreAction::ApplyHiddenThenMinimize, 0},
        {kMinimised, true, true, 1, 0, RestoreAction::Apply, 2},
        {kMinimised, true, true, 1, kMissing, RestoreAction::Apply, 2},
        {kMinimised, true, true, 1, 2, RestoreAction::Apply, 2},
        {kMinimisedFarRight, true, true, 1, 0, RestoreAction::Apply, 2},
        {kMinimised, true, true, 3, 1, RestoreAction::Apply, 3},
        {kMinimised, true, true, 2, 1, RestoreAction::Apply, 6},
        // Off a 1024 x 768 screen: the stored place is ignored.
        {kFarRight, true, true, 1, kMissing, RestoreAction::Show, 1},
        {kFarRight, true, true, 2, kMissing, RestoreAction::Show, 6},
        {kFarRight, true, true, 3, kMissing, RestoreAction::Show, 3},
        {kAtRightEdge, true, true, 1, kMissing, RestoreAction::Show, 1},
        {kFarDown, true, true, 1, kMissing, RestoreAction::Show, 1},
        {kJustInside, true, true, 1, kMissing, RestoreAction::Apply, 1},
        // A hidden placement would leave the window unreachable: it comes back normal.
        {kHidden, true, false, 1, kMissing, RestoreAction::Apply, 1},
        {kHidden, true, true, 1, 1, RestoreAction::Apply, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.text ? c.text : "(missing)") << " opened=" << c.opened << " main="
                                        << c.main << " startup=" << c.startup << " tray=" << c.minimizeToTaskbar);
        RestoreInput input;
        input.storeOpened = c.opened;
        if (c.text)
            input.storedText = c.text;
        input.mainWindow = c.main;
        input.startupShowCommand = c.startup;
        if (c.minimizeToTaskbar != kMissing)
            input.minimizeToTaskbar = static_cast<uint32_t>(c.minimizeToTaskbar);
        input.screenWidth = 1024;
        input.screenHeight = 768;

        const RestoreDecision decision = DecideRestore(input);
        ASSERT_EQ(decision.action, c.action);
        if (c.action == RestoreAction::Show) {
            EXPECT_EQ(decision.showCommand, c.show);
            continue;
        }
        // Everything but the show command is applied as stored.
        Placement expected = *ParsePlacement(c.text);
        expected.showCommand = static_cast<uint32_t>(c.show);
        EXPECT_EQ(FormatPlacement(decision.placement), FormatPlacement(expected));
    }
}

TEST(ColumnWidths, GivesOneWidthPerColumn)
{
    const struct {
        const char* text;
        int columns;
        std::vector<int> widths;
    } cases[] = {
        {"100,50", 4, {100, 50, 50, 50}},
        {"120,60,70,80", 4, {120, 60, 70, 80}},
        {"120,60,70,80,90,100", 4, {120, 60, 70, 80}}, // pieces past the last column are ignored
        {"100,50", 0, {}},
        {"100,50", -1, {}},
        {"", 3, {50, 50, 50}},
        {"0,0", 2, {0, 0}},
        {"70000", 3, {4464, 50, 50}},
        {"131172", 1, {100}},
        // Read like atol: blanks, a sign, digits up to the first other character.
        {" 30px, +40,\t7.9", 3, {30, 40, 7}},
        // Pieces that are no width keep the default.
        {",80,", 3, {50, 80, 50}},
        {"abc,1", 2, {50, 1}},
        {"-10,20,-0", 3, {50, 20, 0}},
        {"-", 1, {50}},
        // Above 32767 the list view would take the width as negative; 65535 would mean autosize.
        {"32767,32768,65535,65536,65537", 5, {32767, 50, 50, 0, 1}},
        {"99999999999999999999", 1, {50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" on " << c.columns);
        EXPECT_EQ(ParseColumnWidths(c.text, c.columns), c.widths);
    }
}

TEST(ColumnWidths, FormatsAndReadsBack)
{
    const struct {
        std::vector<int> widths;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{120}, "120"},
        {{120, 60, 70, 80}, "120,60,70,80"},
        {{0, 32767, 5}, "0,32767,5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatColumnWidths(c.widths), c.text);
        EXPECT_EQ(ParseColumnWidths(FormatColumnWidths(c.widths), static_cast<int>(c.widths.size())), c.widths);
    }
}

} // namespace
