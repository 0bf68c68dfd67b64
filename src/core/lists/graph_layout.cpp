// The arithmetic of the signal graphs: scales, bar and line positions, the fitted gaussian, captions.
#include "core/lists/graph_layout.h"

#include <algorithm>
#include <cmath>

#include "core/common/status_sink.h"

namespace
{

// Far beyond any list row, yet small enough that no sum of two coordinates overflows.
constexpr double kCoordinateLimit = 1 << 24;

// The triplet spreads 255 entries over 256 steps, the pulse 512 heights over half the width
// and the gaussian 64 values over the width.
constexpr double kTripletStep = 0.00390625;
constexpr double kPulseStep = 0.001953125;
constexpr double kGaussianStep = 0.015625;

constexpr double kPulseResolutionBase = 9765.625;

} // namespace

GraphArea GraphAreaOf(int cellLeft, int cellTop, int cellRight, int cellBottom)
{
    return {cellLeft + kGraphMargin, cellTop + kGraphMargin, cellRight - kGraphMargin, cellBottom - kGraphMargin};
}

int TruncCoordinate(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

TripletGraph LayOutTriplet(const GraphArea& area, const TripletPot& pot, const double markIndexes[3])
{
    TripletGraph graph;
    const int width = area.Width();
    const int height = area.Height();
    if (width <= 0 || height <= 0)
        return graph;
    int largest = 0;
    for (const TripletPotEntry& entry : pot)
        largest = std::max(largest, entry.height);
    // A pot of nothing but zeros (or a row too low for the marks) lies flat on the bottom.
    const double sx = width * kTripletStep;
    const double sy =
        largest > 0 && height > kTripletMarkLength ? static_cast<double>(height - kTripletMarkLength) / largest : 0.0;
    const int bottom = area.bottom;
    int x = area.left;
    for (int i = 0; i < kTripletPotEntries; ++i) {
        const int h = TruncCoordinate(pot[i].height * sy);
        const int s = area.left + TruncCoordinate(i * sx);
        const bool marked = i == markIndexes[0] || i == markIndexes[1] || i == markIndexes[2];
        const auto bar = [&](int at) {
            if (h != 0)
                graph.bars.push_back({{at, bottom}, {at, bottom - h}});
        };
        const auto mark = [&](int at) { graph.marks.push_back({{at, area.top}, {at, area.top + kTripletMarkLength}}); };
        // The first repeat draws from where the previous entry ended up to this entry's own
        // position; every further repeat stands on that position again, so one bar there
        // paints what all of them would. The mark goes with the last repeat.
        bar(x);
        if (pot[i].count == 1 && marked)
            mark(x);
        for (int column = x + 1; column < s; ++column)
            bar(column);
        x = s;
        if (pot[i].count > 1) {
            bar(x);
            if (marked)
                mark(x);
        }
    }
    return graph;
}

std::vector<GraphPoint> LayOutPulse(const GraphArea& area, const PulsePot& pot)
{
    std::vector<GraphPoint> points;
    const int height = area.Height();
    if (area.Width() <= 0 || height <= 0)
        return points;
    const int largest = *std::max_element(pot.begin(), pot.end());
    const int half = area.Width() / 2;
    const double sx = half * kPulseStep;
    const double sy = largest > 0 ? static_cast<double>(height) / largest : 0.0;
    const int bottom = area.bottom;
    points.reserve(1 + 2 * pot.size());
    points.push_back({area.left, bottom});
    // The second copy starts where the first one ended, so the line never breaks.
    for (const int start : {area.left, area.left + TruncCoordinate(kPulsePotEntries * sx)}) {
        int x = start;
        for (int j = 0; j < kPulsePotEntries; ++j) {
            points.push_back({x, bottom - TruncCoordinate(pot[j] * sy)});
            x = start + TruncCoordinate((j + 1) * sx);
        }
    }
    return points;
}

GaussianGraph LayOutGaussian(const GraphArea& area, const GaussianPot& pot, const GaussianFit* fit)
{
    GaussianGraph graph;
    const double sx = area.Width() * kGaussianStep;
    if (!(sx > 0))
        return graph;
    graph.drawn = true;
    const int height = area.Height();
    if (height <= 0)
        return graph;
    double largest = 0.0;
    for (const double value : pot)
        largest = std::max(largest, value);
    const double sy = largest > 0 ? height / largest : 0.0;
    const int left = area.left;
    const int bottom = area.bottom;

    int x = left + 1;
    graph.steps.reserve(1 + 2 * pot.size());
    graph.steps.push_back({x, bottom});
    for (int j = 0; j < kGaussianPotValues; ++j) {
        const int y = bottom - TruncCoordinate(sy * pot[j]);
        graph.steps.push_back({x, y});
        x = left + 1 + TruncCoordinate((j + 1) * sx);
        graph.steps.push_back({x, y});
    }

    // A sigma of 0 would divide by zero: there is no curve to fit then.
    if (!fit || fit->sigma == 0)
        return graph;
    graph.fit.reserve(kGaussianPotValues + 2);
    graph.fit.push_back({left, 0});
    for (int j = 0; j < kGaussianPotValues; ++j) {
        const double distance = std::fabs(j - fit->fftIndex) / fit->sigma;
        const double value = fit->power * std::exp(-0.5 * distance * distance) + fit->trueMean;
        graph.fit.push_back({left + TruncCoordinate((j + 1) * sx), bottom - TruncCoordinate(sy * value)});
    }
    graph.fit.front().y = graph.fit[1].y;
    graph.fit.push_back({left + TruncCoordinate((kGaussianPotValues + 1) * sx), graph.fit.back().y});
    return graph;
}

std::string PeakText(const BestSignals& best)
{
    return Format("%.2f", best.spikePower);
}

std::string TripletText(const BestSignals& best)
{
    return Format("Power %.2f, Score %.4f", best.tripletPower, best.tripletScore);
}

std::string PulseText(const BestSignals& best)
{
    return Format("Power %.3f, Score %.4f", best.pulsePower, best.pulseScore);
}

std::string PulseResolutionText(const BestSignals& best)
{
    const double resolution = best.pulseFftLength > 0 ? kPulseResolutionBase / best.pulseFftLength : 0.0;
    return Format("Resolution %.3f Hz, Period %.3f Hz", resolution, best.pulsePeriod);
}

std::string GaussianText(const BestSignals& best)
{
    const double score = best.gaussianChiSquare != 0 ? best.gaussianPower / best.gaussianChiSquare : 0.0;
    return Format("Power %1.2f, Score %.4f, Fit %2.3f", best.gaussianPower, score, best.gaussianChiSquare);
}

std::string GraphCaption(GraphKind kind, const BestSignals& best)
{
    switch (kind) {
    case GraphKind::Triplet:
        return best.tripletScore != 0 ? TripletText(best) : std::string();
    case GraphKind::Pulse:
        return best.pulsePower != 0 ? PulseText(best) + ", " + PulseResolutionText(best) : std::string();
    case GraphKind::Gaussian:
        return best.gaussianPower != 0 ? GaussianText(best) : std::string();
    }
    return {};
}
