// The Sky Map's arithmetic: chart projection, circle boxes, label places, hit test, tip text, scrolling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/skymap/sky_point.h"

inline constexpr int kChartWidth = 965;
inline constexpr int kChartHeight = 482;
// The tip text buffer, terminator included.
inline constexpr size_t kSkyTipCapacity = 1024;

inline constexpr int kCircleLarge = 1;
inline constexpr int kCircleSmall = 2;

struct ChartPoint {
    int x;
    int y;
};

// A pixel rectangle, right and bottom exclusive.
struct PixelBox {
    int left;
    int top;
    int right;
    int bottom;
};

// Right ascension (hours) and declination (degrees) to chart pixels: right ascension grows to the
// left from 0 h at x = 482, both side edges are 12 h; +90 degrees at y = 1, -90 degrees at y = 481.
ChartPoint ProjectSky(double rightAscension, double declination);

// A point with no recorded-on text at exactly 0 h, 0 degrees is the zero-filled record of a work
// unit that has no position: it is neither drawn nor listed in tips.
bool HasSkyPosition(const SkyPoint& point);

// The ellipse boxes of a point's circle: one for large circles, two concentric ones for small.
// The anchor is the first box's top left corner, from which the labels are placed.
struct CircleShape {
    PixelBox boxes[2];
    int count;
    int anchorX;
    int anchorY;
};
CircleShape CircleShapeAt(ChartPoint at, int circleSize);

// Top left corner of a label line (0: name, 1: recorded on) of the given width, centred on
// anchorX + 5, the two lines stacked above the circle.
ChartPoint LabelPlace(const CircleShape& shape, int line, int textWidth, int charHeight);

// The label font's line height and the advance of every character of the single-byte code page.
struct LabelMetrics {
    int height = 0;
    int advance[256] = {};
};
// The width of a line of text: the sum of its characters' advances.
int TextWidth(const LabelMetrics& metrics, std::string_view text);

// What drawing one point puts on the chart: its circle and, with labels, its two text lines, all
// in the point's colour.
struct SkyLabel {
    std::string_view text; // a view into the point's own field
    ChartPoint at;         // top left corner
    int width;
};
struct SkyMark {
    uint32_t colour; // red in the low byte, then green, then blue; the high byte cleared
    CircleShape shape;
    SkyLabel labels[2];
    int labelCount;
};
// Plans the mark of a point: false for a point without a position, which is not drawn. The labels
// are planned when label metrics are given.
bool PlanSkyMark(const SkyPoint& point, int circleSize, const LabelMetrics* labels, SkyMark& mark);
// Whether a planned mark touches the area: its first ellipse box or a label's box (a label's box
// is its width by the line height).
bool MarkTouches(const SkyMark& mark, int lineHeight, const PixelBox& area);

// Whether the mouse at client (mx, my) with the scroll position (sx, sy) is over a projected point.
bool HitsPoint(ChartPoint at, int mx, int my, int sx, int sy);

// The tip for the mouse position: each point under it gives its name and recorded-on text, the
// entries separated by a blank line, in set order. Entries that would not fit the 1024-byte
// buffer are left out, from the first one that does not fit.
struct SkyTip {
    bool hit = false;
    std::string text;
};
SkyTip BuildSkyTip(const SkyPoint* points, size_t count, int mx, int my, int sx, int sy);

// Scrolling along one axis. The largest position is content - 1 - client, at least 0.
int LargestScrollPosition(int contentSize, int clientSize);
// Scroll-bar request codes (the system's numbers, the same for both bars).
enum ScrollRequest {
    kScrollLineBack = 0,
    kScrollLineForward = 1,
    kScrollPageBack = 2,
    kScrollPageForward = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
};
// The pixels a request moves by: 5 per line, 50 per page, to the thumb for thumb requests.
int ScrollAmount(int request, int thumbPosition, int position);
// The position after moving by amount, kept between 0 and largest.
int ScrolledPosition(int position, int amount, int largest);

// The window's outer size: the chart plus three frame widths (or the work area's right edge when
// that is narrower) and the chart's height plus three frame heights and a caption.
struct WindowSize {
    int width;
    int height;
};
WindowSize SkyWindowSize(int workAreaRight, int frameWidth, int frameHeight, int captionHeight);
// The start of a length centred in an area, in whole pixels.
int CentredStart(int areaStart, int areaLength, int length);

// The Show Work Units dialog's layout for a client of width x height: the list above, "Show All"
// and "Show None" side by side at the bottom left, "Close" at the bottom right, the buttons keeping
// their size, and the list's single column as wide as the client less 4 pixels.
struct WorkUnitPickLayout {
    PixelBox list;
    PixelBox showAll;
    PixelBox showNone;
    PixelBox close;
    int columnWidth;
};
WorkUnitPickLayout LayOutWorkUnitPick(int width, int height, int buttonWidth, int buttonHeight);
