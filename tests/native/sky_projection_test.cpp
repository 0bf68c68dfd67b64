// Tests of the Sky Map's projection, hit test, tip text and scroll arithmetic.
#include "core/skymap/sky_projection.h"
#include "core/skymap/sky_ink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace
{

SkyPoint Point(const std::string& name, const std::string& recordedOn, double ra, double dec)
{
    SkyPoint point{};
    SetSkyText(point.name, name);
    SetSkyText(point.recordedOn, recordedOn);
    point.rightAscension = ra;
    point.declination = dec;
    return point;
}

TEST(SkyProjectionTest, RightAscensionAndDeclinationToPixels)
{
    const struct {
        double ra;
        double dec;
        int x;
        int y;
    } cases[] = {
        {0, 0, 482, 241},         {6, 0, 242, 241},           {11.99, 0, 2, 241}, {12, 0, 962, 241},
        {18, 0, 722, 241},        {24, 0, 482, 241},          {0, 90, 482, 1},    {0, -0.0, 482, 241},
        {0, -90, 482, 481},       {0, 30, 482, 161},          {0, -30, 482, 321}, {23.999, 45.5, 482, 119},
        {0.0125, 0.01, 481, 240}, {12.0125, -0.01, 961, 241},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ra << " h " << c.dec << " deg");
        const ChartPoint at = ProjectSky(c.ra, c.dec);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}

TEST(SkyProjectionTest, NonsensePositionsStayDefined)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ChartPoint far = ProjectSky(-1e300, 1e300);
    EXPECT_GT(far.x, kChartWidth);
    EXPECT_LT(far.y, 0);
    const ChartPoint notANumber = ProjectSky(nan, nan);
    EXPECT_EQ(notANumber.x, 482);
    EXPECT_EQ(notANumber.y, 0);
}

TEST(SkyProjectionTest, OnlyTheZeroRecordHasNoPosition)
{
    EXPECT_FALSE(HasSkyPosition(Point("name only", "", 0, 0)));
    EXPECT_FALSE(HasSkyPosition(Point("", "", 0, -0.0)));
    EXPECT_TRUE(HasSkyPosition(Point("", "Mon Mar 13 10:20:30 2000", 0, 0)));
    EXPECT_TRUE(HasSkyPosition(Point("", "", 0.001, 0)));
    EXPECT_TRUE(HasSkyPosition(Point("", "", 0, -1)));
}

TEST(SkyProjectionTest, CircleBoxesAndLabels)
{
    const CircleShape large = CircleShapeAt({100, 50}, kCircleLarge);
    ASSERT_EQ(large.count, 1);
    EXPECT_EQ(large.boxes[0].left, 97);
    EXPECT_EQ(large.boxes[0].top, 46);
    EXPECT_EQ(large.boxes[0].right, 107);
    EXPECT_EQ(large.boxes[0].bottom, 56);
    const CircleShape small = CircleShapeAt({100, 50}, kCircleSmall);
    ASSERT_EQ(small.count, 2);
    EXPECT_EQ((std::make_tuple(small.boxes[0].left, small.boxes[0].top, small.boxes[0].right, small.boxes[0].bottom)),
              std::make_tuple(99, 48, 104, 53));
    EXPECT_EQ((std::make_tuple(small.boxes[1].left, small.boxes[1].top, small.boxes[1].right, small.boxes[1].bottom)),
              std::make_tuple(100, 49, 103, 52));
    // Any size other than 1 draws the small pair.
    EXPECT_EQ(CircleShapeAt({0, 0}, 7).count, 2);

    // Name on top, recorded-on text below it, both centred on anchor + 5 with whole-number halves.
    const ChartPoint name = LabelPlace(large, 0, 41, 13);
    EXPECT_EQ(name.x, 97 + 5 - 20);
    EXPECT_EQ(name.y, 46 - 26);
    const ChartPoint recorded = LabelPlace(small, 1, 40, 13);
    EXPECT_EQ(recorded.x, 99 + 5 - 20);
    EXPECT_EQ(recorded.y, 48 - 13);
}

TEST(SkyProjectionTest, MarkPlansTheCircleLabelsAndColourBytes)
{
    LabelMetrics metrics;
    metrics.height = 13;
    for (int& advance : metrics.advance)
        advance = 5;
    metrics.advance[static_cast<unsigned char>('W')] = 9;
    SkyPoint point = Point("WW1", "Mon", 6, 0);
    point.colour = static_cast<int32_t>(0xFF3366CCu); // a high byte would be read as a palette index
    SkyMark mark{};
    ASSERT_TRUE(PlanSkyMark(point, kCircleLarge, &metrics, mark));
    EXPECT_EQ(mark.colour, 0x3366CCu);
    EXPECT_EQ(std::make_tuple(mark.shape.anchorX, mark.shape.anchorY), std::make_tuple(239, 237));
    ASSERT_EQ(mark.labelCount, 2);
    EXPECT_EQ(std::make_tuple(mark.labels[0].text, mark.labels[0].width, mark.labels[0].at.x, mark.labels[0].at.y),
              std::make_tuple(std::string_view("WW1"), 23, 239 + 5 - 11, 237 - 26));
    EXPECT_EQ(std::make_tuple(mark.labels[1].width, mark.labels[1].at.y), std::make_tuple(15, 237 - 13));
    // Boxes are right and bottom exclusive: the circle covers (239..248, 237..246), the name
    // (233..255, 211..223), the recorded-on text (237..251, 224..236).
    const struct {
        PixelBox area;
        bool touches;
    } areas[] = {
        {{256, 0, 400, 480}, false},  {{248, 246, 249, 247}, true}, {{0, 0, 233, 480}, false},
        {{232, 211, 234, 212}, true}, {{0, 0, 400, 211}, false},    {{0, 247, 400, 480}, false},
    };
    for (const auto& a : areas)
        EXPECT_EQ(MarkTouches(mark, metrics.height, a.area), a.touches) << a.area.left << "," << a.area.top;

    ASSERT_TRUE(PlanSkyMark(point, kCircleSmall, nullptr, mark));
    EXPECT_EQ(mark.labelCount, 0);
    EXPECT_FALSE(PlanSkyMark(Point("no position", "", 0, 0), kCircleLarge, &metrics, mark));
}

// Ink stamped anywhere around a small image, half off every edge or wholly off it, sets exactly the
// pixels of the mask that fall inside and writes nothing outside (AddressSanitizer watches).
TEST(SkyProjectionTest, InkIsStampedClippedToTheImage)
{
    const char* const pattern[] = {"#..##", ".#...", "#####", "....#"};
    const auto inked = [&pattern](int x, int y) { return pattern[y][x] == '#'; };
    const InkMask ink = InkOf(5, 4, 1, 2, inked);
    EXPECT_EQ(std::make_tuple(ink.box.left, ink.box.top, ink.box.right, ink.box.bottom), std::make_tuple(-1, -2, 4, 2));
    constexpr int kWidth = 7;
    constexpr int kHeight = 6;
    for (int y = -5; y <= kHeight + 2; ++y)
        for (int x = -6; x <= kWidth + 2; ++x) {
            std::vector<uint32_t> pixels(kWidth * kHeight, 0);
            StampInk({pixels.data(), kWidth, kHeight}, ink, x, y, 7);
            for (int py = 0; py < kHeight; ++py)
                for (int px = 0; px < kWidth; ++px) {
                    const int mx = px - x + 1;
                    const int my = py - y + 2;
                    const bool expected = mx >= 0 && mx < 5 && my >= 0 && my < 4 && inked(mx, my);
                    ASSERT_EQ(pixels[py * kWidth + px], expected ? 7u : 0u) << "at " << x << "," << y;
                }
        }

    // A line moves on by each character's pen advance, whatever the measured advance says.
    GlyphInk glyphs;
    const InkMask dot = InkOf(1, 1, 0, 0, [](int, int) { return true; });
    for (int code = 0; code < 256; ++code) {
        glyphs.glyph[code] = dot;
        glyphs.penAdvance[code] = code == 'a' ? 3 : 1;
        glyphs.metrics.advance[code] = 2;
    }
    std::vector<uint32_t> line(10, 0);
    StampText({line.data(), 10, 1}, glyphs, "aab", 1, 0, 5);
    EXPECT_EQ(line, (std::vector<uint32_t>{0, 5, 0, 0, 5, 0, 0, 5, 0, 0}));
    EXPECT_EQ(PixelOf(0x00112233u), 0x00332211u);
}

TEST(SkyProjectionTest, HitAreaAroundThePointFollowsTheScrollPosition)
{
    const ChartPoint at{482, 241};
    const struct {
        int mx, my, sx, sy;
        bool hit;
    } cases[] = {
        {480, 238, 0, 0, true},     {486, 244, 0, 0, true},      {479, 241, 0, 0, false},
        {487, 241, 0, 0, false},    {482, 237, 0, 0, false},     {482, 245, 0, 0, false},
        {380, 141, 100, 100, true}, {482, 241, 100, 100, false}, {378, 141, 100, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mx << "," << c.my << " scrolled " << c.sx << "," << c.sy);
        EXPECT_EQ(HitsPoint(at, c.mx, c.my, c.sx, c.sy), c.hit);
    }
}

TEST(SkyProjectionTest, TipListsEveryPointUnderTheMouseInSetOrder)
{
    const SkyPoint points[] = {
        Point("first", "Mon Mar 13 10:20:30 2000", 0, 0),
        Point("elsewhere", "Tue", 6, 0),
        Point("second", "Wed", 0.01, 0.5),
        Point("no position", "", 0, 0),
    };
    const SkyTip tip = BuildSkyTip(points, std::size(points), 482, 241, 0, 0);
    EXPECT_TRUE(tip.hit);
    EXPECT_EQ(tip.text, "first\r\nMon Mar 13 10:20:30 2000\r\n\r\nsecond\r\nWed");

    const SkyTip none = BuildSkyTip(points, std::size(points), 300, 241, 0, 0);
    EXPECT_FALSE(none.hit);
    EXPECT_EQ(none.text, "");
    EXPECT_FALSE(BuildSkyTip(points, 0, 482, 241, 0, 0).hit);
}

TEST(SkyProjectionTest, TipLeavesOutEntriesThatWouldOverflowItsBuffer)
{
    // Each entry is 299 + 2 + 51 characters plus the 4-character separator: two fit, a third
    // would need 356 * 3 - 4 = 1064 characters.
    SkyPointSet points(5, SkyPoint{});
    for (size_t i = 0; i < points.size(); ++i) {
        SetSkyText(points[i].name, std::string(299, static_cast<char>('a' + i)));
        SetSkyText(points[i].recordedOn, std::string(51, '9'));
        points[i].rightAscension = 1;
    }
    const SkyTip tip = BuildSkyTip(points.data(), points.size(), 442, 241, 0, 0);
    EXPECT_TRUE(tip.hit);
    EXPECT_LE(tip.text.size(), kSkyTipCapacity - 1);
    EXPECT_EQ(tip.text.size(), 352u * 2 + 4);
    EXPECT_EQ(tip.text.substr(0, 3), "aaa");
    EXPECT_EQ(tip.text.substr(356, 3), "bbb");
    EXPECT_EQ(tip.text.find('c'), std::string::npos);

    // Short entries fill the buffer up to the last whole one.
    SkyPointSet many(400, SkyPoint{});
    for (SkyPoint& point : many) {
        SetSkyText(point.name, "wu");
        SetSkyText(point.recordedOn, "x");
    }
    for (SkyPoint& point : many)
        point.rightAscension = 1;
    const SkyTip full = BuildSkyTip(many.data(), many.size(), 442, 241, 0, 0);
    EXPECT_LE(full.text.size(), kSkyTipCapacity - 1);
    EXPECT_GT(full.text.size(), kSkyTipCapacity - 1 - 9);
    EXPECT_EQ(full.text.substr(full.text.size() - 9), "\r\n\r\nwu\r\nx"); // ends on a whole entry
}

TEST(SkyProjectionTest, ScrollArithmetic)
{
    EXPECT_EQ(LargestScrollPosition(kChartWidth, 500), 464);
    EXPECT_EQ(LargestScrollPosition(kChartWidth, 964), 0);
    EXPECT_EQ(LargestScrollPosition(kChartWidth, 2000), 0);
    EXPECT_EQ(LargestScrollPosition(kChartHeight, 300), 181);

    const struct {
        int request, thumb, position, largest, expected;
    } cases[] = {
        {kScrollLineForward, 0, 0, 464, 5},      {kScrollLineBack, 0, 5, 464, 0},
        {kScrollLineBack, 0, 3, 464, 0},         {kScrollPageForward, 0, 100, 464, 150},
        {kScrollPageBack, 0, 100, 464, 50},      {kScrollPageForward, 0, 440, 464, 464},
        {kScrollThumbTrack, 300, 100, 464, 300}, {kScrollThumbPosition, 12, 100, 464, 12},
        {kScrollThumbTrack, 900, 100, 464, 464}, {8 /* end scroll */, 300, 100, 464, 100},
        {kScrollLineForward, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "request " << c.request << " from " << c.position);
        EXPECT_EQ(ScrolledPosition(c.position, ScrollAmount(c.request, c.thumb, c.position), c.largest), c.expected);
    }
}

TEST(SkyProjectionTest, WindowSizeAndCentring)
{
    const WindowSize wide = SkyWindowSize(1280, 4, 4, 19);
    EXPECT_EQ(wide.width, 977);
    EXPECT_EQ(wide.height, 482 + 12 + 19);
    EXPECT_EQ(SkyWindowSize(800, 4, 4, 19).width, 800);
    EXPECT_EQ(CentredStart(0, 1280, 977), 151);
    EXPECT_EQ(CentredStart(30, 800, 803), 29); // integer division toward zero
}

} // namespace

namespace
{

TEST(SkyProjectionTest, WorkUnitPickLayoutKeepsTheButtonsOnTheBottomEdge)
{
    const WorkUnitPickLayout layout = LayOutWorkUnitPick(300, 200, 75, 23);
    EXPECT_EQ(std::make_tuple(layout.list.left, layout.list.top, layout.list.right, layout.list.bottom),
              std::make_tuple(0, 0, 300, 174));
    EXPECT_EQ(std::make_tuple(layout.showAll.left, layout.showAll.top, layout.showAll.right, layout.showAll.bottom),
              std::make_tuple(0, 177, 75, 200));
    EXPECT_EQ(std::make_tuple(layout.showNone.left, layout.showNone.right), std::make_tuple(75, 150));
    EXPECT_EQ(std::make_tuple(layout.close.left, layout.close.top, layout.close.right), std::make_tuple(225, 177, 300));
    EXPECT_EQ(layout.columnWidth, 296);
}

} // namespace
