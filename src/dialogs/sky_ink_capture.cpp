// Captures the Sky Map's circle outlines and label characters from the system's own drawing.
#include "dialogs/sky_ink_capture.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/dib_section.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"

namespace
{

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
// Only the colour bytes of a pixel count: the system may leave anything in the fourth.
constexpr uint32_t kColourBits = 0xFFFFFF;

// A 32-bit top-down bitmap in a memory DC to draw in and read back.
class Scratch
{
public:
    Scratch(int width, int height) : width_(width), height_(height), bitmap_(CreatePixelBitmap(width, height, pixels_))
    {
        if (dc_.get() && bitmap_)
            selected_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~Scratch()
    {
        if (selected_)
            SelectObject(dc_.get(), selected_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool Valid() const { return selected_ != nullptr && pixels_ != nullptr; }
    HDC Dc() const { return dc_.get(); }
    PixelImage Image() { return {pixels_, width_, height_}; }
    void Clear()
    {
        GdiFlush();
        std::fill_n(pixels_, static_cast<size_t>(width_) * static_cast<size_t>(height_), kBlack);
    }
    uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x] & kColourBits; }
    // The white pixels as ink from the origin; false when any pixel is neither black nor white,
    // which is what a smoothed drawing leaves.
    bool Ink(int originX, int originY, InkMask& ink) const
    {
        GdiFlush();
        for (size_t i = 0; i < static_cast<size_t>(width_) * static_cast<size_t>(height_); ++i)
            if ((pixels_[i] & kColourBits) != kBlack && (pixels_[i] & kColourBits) != kWhite)
                return false;
        ink = InkOf(width_, height_, originX, originY, [this](int x, int y) { return At(x, y) == kWhite; });
        return true;
    }
    // Whether the white pixels are exactly the inks, each at its origin.
    bool HoldsExactly(std::initializer_list<std::pair<const InkMask*, ChartPoint>> inks) const
    {
        GdiFlush();
        std::vector<bool> expected(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        for (const auto& [ink, at] : inks)
            for (const InkRun& run : ink->runs) {
                const int y = at.y + run.dy;
                if (y < 0 || y >= height_ || at.x + run.dx < 0 || at.x + run.dx + run.length > width_)
                    return false;
                for (int x = at.x + run.dx; x < at.x + run.dx + run.length; ++x)
                    expected[static_cast<size_t>(y) * width_ + x] = true;
            }
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if ((At(x, y) == kWhite) != expected[static_cast<size_t>(y) * width_ + x])
                    return false;
        return true;
    }
    bool SameAs(const Scratch& other) const
    {
        GdiFlush();
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) != other.At(x, y))
                    return false;
        return true;
    }

private:
    int width_;
    int height_;
    CompatibleDc dc_{nullptr};
    uint32_t* pixels_ = nullptr;
    UniqueGdiObject bitmap_;
    HGDIOBJ selected_ = nullptr;
};

// The circle of one size drawn as the Sky Map draws it around the point at (x, y); returns its shape.
CircleShape DrawCircle(HDC hdc, int circleSize, int x, int y, COLORREF colour)
{
    const CircleShape shape = CircleShapeAt({x, y}, circleSize);
    UniqueGdiObject pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selectedPen(hdc, pen.get());
    const SelectedObject brush(hdc, GetStockObject(HOLLOW_BRUSH));
    for (int i = 0; i < shape.count; ++i)
        Ellipse(hdc, shape.boxes[i].left, shape.boxes[i].top, shape.boxes[i].right, shape.boxes[i].bottom);
    return shape;
}

void DrawText(HDC hdc, const std::string& text, int x, int y, COLORREF colour)
{
    SetTextColor(hdc, colour);
    TextOutA(hdc, x, y, text.data(), static_cast<int>(text.size()));
}

bool CaptureCircles(SkyInk& ink, int pad)
{
    Scratch scratch(4 * pad, 4 * pad);
    if (!scratch.Valid())
        return false;
    for (const int size : {kCircleLarge, kCircleSmall}) {
        scratch.Clear();
        const CircleShape shape = DrawCircle(scratch.Dc(), size, 2 * pad, 2 * pad, RGB(255, 255, 255));
        if (!scratch.Ink(shape.anchorX, shape.anchorY, size == kCircleLarge ? ink.largeCircle : ink.smallCircle))
            return false;
    }
    return true;
}

// Where the system's line drawing puts the pen after a character: a line of the character and a
// reference character must come out as both inks side by side, the reference that far on.
// Searched from the measured advance outwards; -1 when no place gives that line.
int PenAdvance(Scratch& scratch, const GlyphInk& glyphs, int code, int reference, int pad)
{
    scratch.Clear();
    DrawText(scratch.Dc(), std::string{static_cast<char>(code), static_cast<char>(reference)}, pad, pad,
             RGB(255, 255, 255));
    const int measured = glyphs.metrics.advance[code];
    for (int distance = 0; distance <= pad; ++distance)
        for (const int advance : {measured - distance, measured + distance})
            if (scratch.HoldsExactly(
                    {{&glyphs.glyph[code], {pad, pad}}, {&glyphs.glyph[reference], {pad + advance, pad}}}))
                return advance;
    return -1;
}

bool CaptureGlyphs(GlyphInk& glyphs, int pad)
{
    const int widest = *std::max_element(std::begin(glyphs.metrics.advance), std::end(glyphs.metrics.advance));
    Scratch scratch(4 * pad + 3 * widest, 2 * pad + glyphs.metrics.height);
    if (!scratch.Valid())
        return false;
    const SelectedObject font(scratch.Dc(), GetStockObject(ANSI_VAR_FONT));
    SetBkMode(scratch.Dc(), TRANSPARENT);
    // A label never holds the terminator, so character 0 is never drawn.
    for (int code = 1; code < 256; ++code) {
        scratch.Clear();
        DrawText(scratch.Dc(), std::string(1, static_cast<char>(code)), pad, pad, RGB(255, 255, 255));
        if (!scratch.Ink(pad, pad, glyphs.glyph[code]))
            return false;
    }
    // The reference is the first character with ink from 'H' on: a plain upright letter in any font.
    int reference = 'H';
    while (reference < 255 && glyphs.glyph[reference].runs.empty())
        ++reference;
    for (int code = 1; code < 256; ++code) {
        glyphs.penAdvance[code] = PenAdvance(scratch, glyphs, code, reference, pad);
        if (glyphs.penAdvance[code] < 0)
            return false;
    }
    return true;
}

// Draws lines of every character and circles of both sizes at odd places in two colours, once
// through the system and once from the ink, and compares the two pictures pixel by pixel.
bool StampsAsTheSystemDraws(const SkyInk& ink, int pad)
{
    std::string characters;
    for (int code = 1; code < 256; ++code)
        characters += static_cast<char>(code);
    const int lineWidth = TextWidth(ink.labels.metrics, characters);
    const int lineHeight = ink.labels.metrics.height;
    const int width = lineWidth / 2 + 4 * pad;
    const int height = 4 * (lineHeight + pad);
    Scratch drawn(width, height);
    Scratch stamped(width, height);
    if (!drawn.Valid() || !stamped.Valid())
        return false;
    drawn.Clear();
    stamped.Clear();
    const SelectedObject font(drawn.Dc(), GetStockObject(ANSI_VAR_FONT));
    SetBkMode(drawn.Dc(), TRANSPARENT);
    const COLORREF colours[] = {RGB(255, 128, 0), RGB(64, 160, 255)};
    // Two lines overlap half way, the second starting left of the picture, so the cut at its edge
    // and characters over characters of another colour are compared too.
    const std::string halves[] = {characters.substr(0, characters.size() / 2), characters};
    const ChartPoint places[] = {{pad + 1, pad + 3}, {1 - lineWidth / 2, pad + lineHeight / 2}};
    for (int i = 0; i < 2; ++i) {
        DrawText(drawn.Dc(), halves[i], places[i].x, places[i].y, colours[i]);
        StampText(stamped.Image(), ink.labels, halves[i], places[i].x, places[i].y, PixelOf(colours[i]));
        const CircleShape shape = DrawCircle(drawn.Dc(), i == 0 ? kCircleLarge : kCircleSmall, pad + 7 * i + 1,
                                             height - pad - 2 * i, colours[i]);
        StampInk(stamped.Image(), i == 0 ? ink.largeCircle : ink.smallCircle, shape.anchorX, shape.anchorY,
                 PixelOf(colours[i]));
    }
    return drawn.SameAs(stamped);
}

} // namespace

LabelMetrics MeasureLabelFont(HDC hdc)
{
    LabelMetrics metrics;
    TEXTMETRICA text{};
    GetTextMetricsA(hdc, &text);
    metrics.height = text.tmHeight;
    INT advance[256] = {};
    if (GetCharWidth32A(hdc, 0, 255, advance)) {
        std::copy(std::begin(advance), std::end(advance), metrics.advance);
        return metrics;
    }
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        SIZE extent{};
        GetTextExtentPoint32A(hdc, &c, 1, &extent);
        metrics.advance[code] = extent.cx;
    }
    return metrics;
}

std::unique_ptr<SkyInk> CaptureSkyInk()
{
    CPINFO codePage{};
    if (!GetCPInfo(CP_ACP, &codePage) || codePage.MaxCharSize != 1)
        return nullptr;
    auto ink = std::make_unique<SkyInk>();
    {
        CompatibleDc dc(nullptr);
        if (!dc.get())
            return nullptr;
        const SelectedObject font(dc.get(), GetStockObject(ANSI_VAR_FONT));
        ink->labels.metrics = MeasureLabelFont(dc.get());
    }
    // Room around a character or circle for anything that stands out of its cell.
    const int pad = std::max(ink->labels.metrics.height, 16);
    if (!CaptureCircles(*ink, pad) || !CaptureGlyphs(ink->labels, pad) || !StampsAsTheSystemDraws(*ink, pad))
        return nullptr;
    return ink;
}
