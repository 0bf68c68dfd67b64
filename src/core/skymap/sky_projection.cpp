// The Sky Map's arithmetic, kept apart from the window so that every pixel rule can be tested.
#include "core/skymap/sky_projection.h"

#include <cmath>
#include <cstring>

namespace
{

constexpr double kOneThirtieth = 0.03333333333333333;
constexpr double kPixelsPerHour = 40;
constexpr double kPixelsPerDegreeStep = 80; // per 30 degrees, with kOneThirtieth
constexpr int kZeroHourX = 482;
constexpr int kEquatorY = 241;

// Truncation toward zero. Positions read from files may be anything: values far off the chart are
// held at a distance that stays off it, and a value that is not a number counts as 0, so the
// conversion to an integer is always defined.
int Truncate(double value)
{
    constexpr double kFarOff = 1e6;
    if (std::isnan(value))
        return 0;
    if (value > kFarOff)
        return static_cast<int>(kFarOff);
    if (value < -kFarOff)
        return static_cast<int>(-kFarOff);
    return static_cast<int>(value);
}

constexpr char kLineBreak[] = "\r\n";
constexpr char kBlankLine[] = "\r\n\r\n";

} // namespace

ChartPoint ProjectSky(double rightAscension, double declination)
{
    ChartPoint at{};
    if (rightAscension < 12)
        at.x = Truncate(kZeroHourX - rightAscension * kPixelsPerHour);
    else
        at.x = kZeroHourX + Truncate((24 - rightAscension) * kPixelsPerHour);
    if (declination > 0)
        at.y = Truncate(kEquatorY - declination * kOneThirtieth * kPixelsPerDegreeStep);
    else
        at.y = Truncate(std::fabs(declination) * kOneThirtieth * kPixelsPerDegreeStep + kEquatorY);
    return at;
}

bool HasSkyPosition(const SkyPoint& point)
{
    return point.recordedOn[0] != '\0' || point.rightAscension != 0 || point.declination != 0;
}

CircleShape CircleShapeAt(ChartPoint at, int circleSize)
{
    CircleShape shape{};
    if (circleSize == kCircleLarge) {
        shape.boxes[0] = {at.x - 3, at.y - 4, at.x + 7, at.y + 6};
        shape.count = 1;
    } else {
        shape.boxes[0] = {at.x - 1, at.y - 2, at.x + 4, at.y + 3};
        shape.boxes[1] = {at.x, at.y - 1, at.x + 3, at.y + 2};
        shape.count = 2;
    }
    shape.anchorX = shape.boxes[0].left;
    shape.anchorY = shape.boxes[0].top;
    return shape;
}

ChartPoint LabelPlace(const CircleShape& shape, int line, int textWidth, int charHeight)
{
    return {shape.anchorX + 5 - textWidth / 2, shape.anchorY - (2 - line) * charHeight};
}

int TextWidth(const LabelMetrics& metrics, std::string_view text)
{
    int width = 0;
    for (const char c : text)
        width += metrics.advance[static_cast<unsigned char>(c)];
    return width;
}

bool PlanSkyMark(const SkyPoint& point, int circleSize, const LabelMetrics* labels, SkyMark& mark)
{
    if (!HasSkyPosition(point))
        return false;
    mark.shape = CircleShapeAt(ProjectSky(point.rightAscension, point.declination), circleSize);
    // Only the colour bytes: a high byte would make the system read the value as a palette index.
    mark.colour = static_cast<uint32_t>(point.colour) & 0x00FFFFFF;
    mark.labelCount = 0;
    if (!labels)
        return true;
    // The fields are fixed arrays; a record that lacks its terminator is read to its end only.
    const std::string_view texts[] = {
        std::string_view(point.name, strnlen(point.name, sizeof point.name)),
        std::string_view(point.recordedOn, strnlen(point.recordedOn, sizeof point.recordedOn))};
    for (int line = 0; line < 2; ++line) {
        const int width = TextWidth(*labels, texts[line]);
        mark.labels[mark.labelCount++] = {texts[line], LabelPlace(mark.shape, line, width, labels->height), width};
    }
    return true;
}

bool MarkTouches(const SkyMark& mark, int lineHeight, const PixelBox& area)
{
    const auto touches = [&area](const PixelBox& box) {
        return box.left < area.right && area.left < box.right && box.top < area.bottom && area.top < box.bottom;
    };
    if (touches(mark.shape.boxes[0]))
        return true;
    for (int i = 0; i < mark.labelCount; ++i) {
        const SkyLabel& label = mark.labels[i];
        if (touches({label.at.x, label.at.y, label.at.x + label.width, label.at.y + lineHeight}))
            return true;
    }
    return false;
}

bool HitsPoint(ChartPoint at, int mx, int my, int sx, int sy)
{
    return at.x - 2 <= mx + sx && mx + sx <= at.x + 4 && at.y - sy - 3 <= my && my <= at.y - sy + 3;
}

SkyTip BuildSkyTip(const SkyPoint* points, size_t count, int mx, int my, int sx, int sy)
{
    SkyTip tip;
    bool full = false;
    for (size_t i = 0; i < count; ++i) {
        const SkyPoint& point = points[i];
        if (!HasSkyPosition(point))
            continue;
        if (!HitsPoint(ProjectSky(point.rightAscension, point.declination), mx, my, sx, sy))
            continue;
        tip.hit = true;
        if (full)
            continue;
        // The fields are fixed arrays; a record that lacks its terminator is read to its end only.
        const size_t nameLength = strnlen(point.name, sizeof point.name);
        const size_t recordedLength = strnlen(point.recordedOn, sizeof point.recordedOn);
        const size_t entryLength = nameLength + 2 + recordedLength;
        // The final blank line is cut off, so an entry needs room for its text without it.
        if (tip.text.size() + entryLength > kSkyTipCapacity - 1) {
            full = true;
            continue;
        }
        tip.text.append(point.name, nameLength).append(kLineBreak);
        tip.text.append(point.recordedOn, recordedLength).append(kBlankLine);
    }
    if (tip.hit && tip.text.size() >= std::strlen(kBlankLine))
        tip.text.resize(tip.text.size() - std::strlen(kBlankLine));
    return tip;
}

int LargestScrollPosition(int contentSize, int clientSize)
{
    const int largest = contentSize - 1 - clientSize;
    return largest > 0 ? largest : 0;
}

int ScrollAmount(int request, int thumbPosition, int position)
{
    switch (request) {
    case kScrollLineBack:
        return -5;
    case kScrollLineForward:
        return 5;
    case kScrollPageBack:
        return -50;
    case kScrollPageForward:
        return 50;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
        return thumbPosition - position;
    }
    return 0;
}

int ScrolledPosition(int position, int amount, int largest)
{
    const long long moved = static_cast<long long>(position) + amount;
    if (moved < 0)
        return 0;
    return moved > largest ? largest : static_cast<int>(moved);
}

WindowSize SkyWindowSize(int workAreaRight, int frameWidth, int frameHeight, int captionHeight)
{
    WindowSize size{};
    size.width = workAreaRight < kChartWidth ? workAreaRight : kChartWidth + 3 * frameWidth;
    size.height = kChartHeight + 3 * frameHeight + captionHeight;
    return size;
}

int CentredStart(int areaStart, int areaLength, int length)
{
    return areaStart + (areaLength - length) / 2;
}

WorkUnitPickLayout LayOutWorkUnitPick(int width, int height, int buttonWidth, int buttonHeight)
{
    WorkUnitPickLayout layout{};
    const int buttonTop = height - buttonHeight;
    layout.list = {0, 0, width, height - buttonHeight - 3};
    layout.showAll = {0, buttonTop, buttonWidth, height};
    layout.showNone = {buttonWidth, buttonTop, 2 * buttonWidth, height};
    layout.close = {width - buttonWidth, buttonTop, width, height};
    layout.columnWidth = width - 4;
    return layout;
}
