// Stamping captured ink into a 32-bit picture: circle outlines, label lines, whole marks.
#include "core/skymap/sky_ink.h"

#include <cstddef>

void StampInk(const PixelImage& image, const InkMask& ink, int x, int y, uint32_t pixel)
{
    const PixelBox& box = ink.box;
    if (box.left == box.right)
        return;
    const PixelBox at{x + box.left, y + box.top, x + box.right, y + box.bottom};
    if (at.right <= 0 || at.bottom <= 0 || at.left >= image.width || at.top >= image.height)
        return;
    const auto row = [&image](int rowY) { return image.pixels + static_cast<ptrdiff_t>(rowY) * image.width; };
    if (at.left >= 0 && at.top >= 0 && at.right <= image.width && at.bottom <= image.height) {
        // Wholly inside, as nearly every mark is: no run needs cutting.
        for (const InkRun& run : ink.runs)
            std::fill_n(row(y + run.dy) + x + run.dx, run.length, pixel);
        return;
    }
    for (const InkRun& run : ink.runs) {
        const int rowY = y + run.dy;
        if (rowY < 0 || rowY >= image.height)
            continue;
        const int from = std::max(x + run.dx, 0);
        const int to = std::min(x + run.dx + run.length, image.width);
        if (from < to)
            std::fill_n(row(rowY) + from, to - from, pixel);
    }
}

void StampText(const PixelImage& image, const GlyphInk& glyphs, std::string_view text, int x, int y, uint32_t pixel)
{
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        StampInk(image, glyphs.glyph[code], x, y, pixel);
        x += glyphs.penAdvance[code];
    }
}

void StampSkyMark(const PixelImage& image, const SkyInk& ink, const SkyMark& mark)
{
    const uint32_t pixel = PixelOf(mark.colour);
    const InkMask& circle = mark.shape.count == 1 ? ink.largeCircle : ink.smallCircle;
    StampInk(image, circle, mark.shape.anchorX, mark.shape.anchorY, pixel);
    for (int i = 0; i < mark.labelCount; ++i)
        StampText(image, ink.labels, mark.labels[i].text, mark.labels[i].at.x, mark.labels[i].at.y, pixel);
}
