// Geometry of the signal graphs: triplet bars and marks, the doubled pulse line, gaussian steps and fit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/lists/graph_layout.h"

namespace
{

constexpr int kLimit = 1 << 24;

GraphLine Bar(int x, int bottom, int height)
{
    return {{x, bottom}, {x, bottom - height}};
}

GraphLine Mark(int x, int top)
{
    return {{x, top}, {x, top + 10}};
}

// Entries written as count and height pairs at given indexes; every other entry is "0000".
std::string TripletText(std::initializer_list<std::pair<int, const char*>> entries)
{
    std::string text(255 * 4, '0');
    for (const auto& [index, entry] : entries)
        text.replace(index * 4, 4, entry);
    return text;
}

TEST(GraphLayout, CellShrinksToTheGraphArea)
{
    const GraphArea area = GraphAreaOf(10, 20, 90, 60);
    EXPECT_EQ(area.left, 13);
    EXPECT_EQ(area.top, 23);
    EXPECT_EQ(area.right, 87);
    EXPECT_EQ(area.bottom, 57);
    EXPECT_EQ(area.Width(), 74);
    EXPECT_EQ(area.Height(), 34);
}

TEST(GraphLayout, TruncationNeverOverflows)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int expected;
    } cases[] = {
        {1.9, 1}, {-1.9, -1}, {0.0, 0}, {std::nan(""), 0}, {inf, kLimit}, {-inf, -kLimit}, {1e300, kLimit},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncCoordinate(c.value), c.expected) << c.value;
}

// 256 pixels wide gives one column per entry; 54 high with a tallest entry of 44 gives one pixel
// per unit, leaving the 10 pixels at the top to the marks.
TEST(GraphLayout, TripletBarsAndMarksByTheirRepeatCounts)
{
    const GraphArea area{100, 10, 356, 64};
    const int L = area.left;
    const int B = area.bottom;
    const TripletPot pot =
        DecodeTripletPot(HexPotOfText(TripletText({{0, "012c"}, {1, "0010"}, {2, "0308"}, {100, "0120"}})));
    const double marks[3] = {1, 2, 100};
    const TripletGraph graph = LayOutTriplet(area, pot, marks);
    // Entry 1 (count 0, so once) and entry 100 (count 1) stand where the previous entry ended and
    // put their marks there; entry 2 (count 3) reaches its own column and marks that.
    const std::vector<GraphLine> bars = {Bar(L, B, 44), Bar(L, B, 16), Bar(L + 1, B, 8), Bar(L + 2, B, 8),
                                         Bar(L + 99, B, 32)};
    const std::vector<GraphLine> expectedMarks = {Mark(L, area.top), Mark(L + 2, area.top), Mark(L + 99, area.top)};
    EXPECT_EQ(graph.bars, bars);
    EXPECT_EQ(graph.marks, expectedMarks);
}

TEST(GraphLayout, TripletEntryFillsUpToItsOwnColumn)
{
    // 512 wide: two columns per entry; an entry covers the columns from the previous entry's
    // position up to just before its own.
    const GraphArea area{0, 0, 512, 54};
    const TripletPot pot = DecodeTripletPot(HexPotOfText(TripletText({{1, "012c"}})));
    const double marks[3] = {-1, -1, -1};
    const TripletGraph graph = LayOutTriplet(area, pot, marks);
    EXPECT_EQ(graph.bars, (std::vector<GraphLine>{Bar(0, 54, 44), Bar(1, 54, 44)}));
    EXPECT_TRUE(graph.marks.empty());
}

TEST(GraphLayout, TripletEdgeSizesAndEmptyPots)
{
    const double marks[3] = {0, 5, 254};
    const TripletPot tall = DecodeTripletPot(HexPotOfText(TripletText({{0, "0140"}, {254, "0180"}})));
    const TripletPot flat = DecodeTripletPot(HexPot());
    const struct {
        const char* name;
        GraphArea area;
        const TripletPot* pot;
        size_t bars;
        size_t marks;
    } cases[] = {
        {"all zero", {0, 0, 256, 54}, &flat, 0, 3},     // flat on the bottom, marks still shown
        {"one pixel wide", {0, 0, 1, 54}, &tall, 2, 3}, // everything in the one column
        {"no width", {0, 0, 0, 54}, &tall, 0, 0},
        {"negative width", {10, 0, 4, 54}, &tall, 0, 0},
        {"no room above the marks", {0, 0, 256, 10}, &tall, 0, 3},
        {"no height", {0, 5, 256, 5}, &tall, 0, 0},
    };
    for (const auto& c : cases) {
        const TripletGraph graph = LayOutTriplet(c.area, *c.pot, marks);
        EXPECT_EQ(graph.bars.size(), c.bars) << c.name;
        EXPECT_EQ(graph.marks.size(), c.marks) << c.name;
        for (const GraphLine& line : graph.bars) {
            EXPECT_EQ(line.from.x, c.area.left) << c.name;
            EXPECT_GE(line.to.y, c.area.top + 10) << c.name;
        }
    }
}

TEST(GraphLayout, PulseOfEqualHeightsRunsAlongTheTopTwice)
{
    const GraphArea area{5, 2, 1029, 56}; // 1024 wide: each copy 512 columns, one per height
    PulsePot pot;
    pot.fill(0x80);
    const std::vector<GraphPoint> points = LayOutPulse(area, pot);
    ASSERT_EQ(points.size(), 1025u);
    EXPECT_EQ(points[0], (GraphPoint{5, 56}));
    EXPECT_EQ(points[1], (GraphPoint{5, 2}));
    EXPECT_EQ(points[512], (GraphPoint{516, 2}));
    EXPECT_EQ(points[513], (GraphPoint{517, 2})); // the second copy goes on where the first stopped
    EXPECT_EQ(points[1024], (GraphPoint{1028, 2}));
    for (size_t i = 1; i < points.size(); ++i)
        ASSERT_EQ(points[i].y, 2) << i;
}

TEST(GraphLayout, PulsePeakInBothCopies)
{
    const GraphArea area{0, 0, 2048, 50}; // two columns per height
    PulsePot pot{};
    pot[5] = 200;
    pot[6] = 100;
    const std::vector<GraphPoint> points = LayOutPulse(area, pot);
    EXPECT_EQ(points[1 + 5], (GraphPoint{10, 0}));
    EXPECT_EQ(points[1 + 6], (GraphPoint{12, 25}));
    EXPECT_EQ(points[1 + 7], (GraphPoint{14, 50}));
    EXPECT_EQ(points[513 + 5], (GraphPoint{1034, 0}));
}

TEST(GraphLayout, PulseEdgeSizesAndEmptyPots)
{
    PulsePot zero{};
    PulsePot some{};
    some[0] = 10;
    const struct {
        const char* name;
        GraphArea area;
        const PulsePot* pot;
        size_t points;
        int onlyX; // -1: any
        int onlyY;
    } cases[] = {
        {"all zero is flat on the bottom", {0, 0, 100, 40}, &zero, 1025, -1, 40},
        {"one pixel wide", {7, 0, 8, 40}, &some, 1025, 7, -1},
        {"no width", {7, 0, 7, 40}, &some, 0, -1, -1},
        {"no height", {0, 40, 100, 40}, &some, 0, -1, -1},
    };
    for (const auto& c : cases) {
        const std::vector<GraphPoint> points = LayOutPulse(c.area, *c.pot);
        EXPECT_EQ(points.size(), c.points) << c.name;
        for (const GraphPoint& point : points) {
            if (c.onlyX >= 0) {
                ASSERT_EQ(point.x, c.onlyX) << c.name;
            }
            if (c.onlyY >= 0) {
                ASSERT_EQ(point.y, c.onlyY) << c.name;
            }
        }
    }
}

GaussianPot KnownGaussianPot()
{
    GaussianPot pot;
    pot.fill(27);
    pot[10] = 54;
    return pot;
}

// 128 wide: two columns per value; 54 high with a largest value of 54: one pixel per unit.
TEST(GraphLayout, GaussianStepsAndFittedCurve)
{
    const GraphArea area{0, 0, 128, 54};
    const GaussianFit fit{20, 32, 4, 10};
    const GaussianGraph graph = LayOutGaussian(area, KnownGaussianPot(), &fit);
    ASSERT_TRUE(graph.drawn);
    ASSERT_EQ(graph.steps.size(), 129u);
    EXPECT_EQ(graph.steps[0], (GraphPoint{1, 54}));
    EXPECT_EQ(graph.steps[1], (GraphPoint{1, 27}));
    EXPECT_EQ(graph.steps[2], (GraphPoint{3, 27}));
    EXPECT_EQ(graph.steps[21], (GraphPoint{21, 0}));
    EXPECT_EQ(graph.steps[22], (GraphPoint{23, 0}));
    EXPECT_EQ(graph.steps[128], (GraphPoint{129, 27}));

    ASSERT_EQ(graph.fit.size(), 66u);
    // Far from the centre the curve lies on the mean: 10 units up.
    EXPECT_EQ(graph.fit[0], (GraphPoint{0, 44})); // leading segment from the area's left edge
    EXPECT_EQ(graph.fit[1], (GraphPoint{2, 44}));
    EXPECT_EQ(graph.fit[33], (GraphPoint{66, 24})); // the centre: power + mean = 30
    EXPECT_EQ(graph.fit[37], (GraphPoint{74, 32})); // 4 = one sigma off: 20 e^-0.5 + 10 = 22.13
    EXPECT_EQ(graph.fit[64], (GraphPoint{128, 44}));
    EXPECT_EQ(graph.fit[65], (GraphPoint{130, 44})); // reaches W / 64 beyond the right edge
}

TEST(GraphLayout, GaussianEdgeCases)
{
    const GaussianFit fit{20, 32, 4, 10};
    const GaussianFit noSigma{20, 32, 0, 10};
    const GaussianFit huge{1e308, 32, 4, 1e308};
    const GaussianPot zero{};
    const GaussianPot known = KnownGaussianPot();
    const struct {
        const char* name;
        GraphArea area;
        const GaussianPot* pot;
        const GaussianFit* fit;
        bool drawn;
        size_t steps;
        size_t fitPoints;
        int lowestFitY; // every fit point at this y, or -1
    } cases[] = {
        {"sigma 0 leaves the curve out", {0, 0, 128, 54}, &known, &noSigma, true, 129, 0, -1},
        {"no curve asked for", {0, 0, 128, 54}, &known, nullptr, true, 129, 0, -1},
        {"all zero: both flat on the bottom", {0, 0, 128, 54}, &zero, &fit, true, 129, 66, 54},
        {"values beyond range stay finite", {0, 0, 128, 54}, &known, &huge, true, 129, 66, 54 - kLimit},
        {"no width: nothing, not even text", {0, 0, 0, 54}, &known, &fit, false, 0, 0, -1},
        {"no height: text only", {0, 54, 128, 54}, &known, &fit, true, 0, 0, -1},
        {"one pixel wide", {0, 0, 1, 54}, &known, &fit, true, 129, 66, -1},
    };
    for (const auto& c : cases) {
        const GaussianGraph graph = LayOutGaussian(c.area, *c.pot, c.fit);
        EXPECT_EQ(graph.drawn, c.drawn) << c.name;
        EXPECT_EQ(graph.steps.size(), c.steps) << c.name;
        EXPECT_EQ(graph.fit.size(), c.fitPoints) << c.name;
        for (const GraphPoint& point : graph.fit) {
            if (c.lowestFitY != -1) {
                EXPECT_EQ(point.y, c.lowestFitY) << c.name;
            }
        }
        for (const GraphPoint& point : graph.steps) {
            if (c.pot == &zero) {
                EXPECT_EQ(point.y, c.area.bottom) << c.name;
            }
        }
    }
    // One pixel wide: the 64 steps share the columns right of the left edge.
    const GaussianGraph narrow = LayOutGaussian({0, 0, 1, 54}, known, &fit);
    EXPECT_EQ(narrow.steps.front().x, 1);
    EXPECT_EQ(narrow.steps.back().x, 2);
    EXPECT_EQ(narrow.fit.back().x, 1);
}

TEST(GraphLayout, CellTexts)
{
    BestSignals best;
    EXPECT_EQ(PeakText(best), "0.00");
    EXPECT_EQ(PulseResolutionText(best), "Resolution 0.000 Hz, Period 0.000 Hz");
    EXPECT_EQ(GaussianText(best), "Power 0.00, Score 0.0000, Fit 0.000");
    // What a reader is told of a graph cell: nothing while the signal is absent (the cell is plain
    // black), else its figures whatever Show Text says.
    for (const GraphKind kind : {GraphKind::Triplet, GraphKind::Pulse, GraphKind::Gaussian})
        EXPECT_EQ(GraphCaption(kind, best), "");
    best.spikePower = 12.5;
    best.tripletPower = 1.5;
    best.tripletScore = 2.25;
    best.pulsePower = 3.25;
    best.pulseScore = 0.5;
    best.pulseFftLength = 8;
    best.pulsePeriod = 1.5;
    best.gaussianPower = 3;
    best.gaussianChiSquare = 1.5;
    EXPECT_EQ(PeakText(best), "12.50");
    EXPECT_EQ(TripletText(best), "Power 1.50, Score 2.2500");
    EXPECT_EQ(PulseText(best), "Power 3.250, Score 0.5000");
    EXPECT_EQ(PulseResolutionText(best), "Resolution 1220.703 Hz, Period 1.500 Hz");
    EXPECT_EQ(GaussianText(best), "Power 3.00, Score 2.0000, Fit 1.500");
    EXPECT_EQ(GraphCaption(GraphKind::Triplet, best), "Power 1.50, Score 2.2500");
    EXPECT_EQ(GraphCaption(GraphKind::Pulse, best),
              "Power 3.250, Score 0.5000, Resolution 1220.703 Hz, Period 1.500 Hz");
    EXPECT_EQ(GraphCaption(GraphKind::Gaussian, best), "Power 3.00, Score 2.0000, Fit 1.500");
    best.pulseFftLength = -4;
    EXPECT_EQ(PulseResolutionText(best), "Resolution 0.000 Hz, Period 1.500 Hz");
    // A fit without power is not drawn, so it says nothing either.
    best.gaussianPower = 0;
    EXPECT_EQ(GraphCaption(GraphKind::Gaussian, best), "");
}

} // namespace
