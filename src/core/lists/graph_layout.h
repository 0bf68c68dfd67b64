// Geometry and captions of the signal graphs: where every line of a triplet, pulse or gaussian goes.
#pragma once

#include <string>
#include <vector>

#include "core/client/best_signals.h"
#include "core/client/pot_decode.h"

// The graph area inside a cell, 3 pixels in from each side. Lines of the graphs are drawn from a
// start point to an end point, the end point itself not painted.
struct GraphArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
inline constexpr int kGraphMargin = 3;
GraphArea GraphAreaOf(int cellLeft, int cellTop, int cellRight, int cellBottom);

struct GraphPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GraphPoint&) const = default;
};

struct GraphLine {
    GraphPoint from;
    GraphPoint to;
    bool operator==(const GraphLine&) const = default;
};

// Truncates toward zero like the graphs' scale arithmetic, but never overflows: a value that is
// not a number gives 0 and anything beyond the coordinate range is held at its edge.
int TruncCoordinate(double value);

// The triplet: red vertical bars up from the bottom and, above the three pulses, green marks from
// the top 10 pixels down. The bars keep 10 pixels free for the marks, so the two never overlap.
inline constexpr int kTripletMarkLength = 10;
struct TripletGraph {
    std::vector<GraphLine> bars;
    std::vector<GraphLine> marks;
};
TripletGraph LayOutTriplet(const GraphArea& area, const TripletPot& pot, const double markIndexes[3]);

// The pulse profile drawn twice side by side as one continuous red line from (left, bottom).
std::vector<GraphPoint> LayOutPulse(const GraphArea& area, const PulsePot& pot);

struct GaussianFit {
    double power = 0;
    double fftIndex = 0;
    double sigma = 0;
    double trueMean = 0;
};

// The gaussian: the red step line of the pot and, when asked for, the white fitted curve with its
// leading and trailing horizontal segments. Not drawn at all (text included) when the area has
// no width.
struct GaussianGraph {
    bool drawn = false;
    std::vector<GraphPoint> steps;
    std::vector<GraphPoint> fit; // empty when no fit was asked for or sigma is 0
};
GaussianGraph LayOutGaussian(const GraphArea& area, const GaussianPot& pot, const GaussianFit* fit);

// Texts of the cells.
std::string PeakText(const BestSignals& best);
std::string TripletText(const BestSignals& best);
std::string PulseText(const BestSignals& best);
std::string PulseResolutionText(const BestSignals& best);
std::string GaussianText(const BestSignals& best);

// What a graph cell says to whoever reads it rather than looks at it: its figures, the pulse's
// two lines joined. Empty when the signal is not there, as the cell is then plain black.
enum class GraphKind { Triplet, Pulse, Gaussian };
std::string GraphCaption(GraphKind kind, const BestSignals& best);
