// The Sky Map's circles and labels stamped straight into a 32-bit picture from ink masks: the pixels
// the system sets when it draws one circle outline or one character, captured once.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/skymap/sky_projection.h"

// Pixels (dx .. dx + length - 1, dy) from the place a mask is stamped at.
struct InkRun {
    int dy;
    int dx;
    int length;
};

// The pixels a drawing sets, as runs along its rows, with the box around them.
struct InkMask {
    std::vector<InkRun> runs;
    PixelBox box{0, 0, 0, 0}; // empty when there is no ink
};

// The ink of the pixels for which inked(x, y) holds in a width x height area, taken relative to
// (originX, originY).
template <typename Inked> InkMask InkOf(int width, int height, int originX, int originY, Inked inked)
{
    InkMask mask;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width;) {
            if (!inked(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && inked(x, y))
                ++x;
            mask.runs.push_back({y - originY, start - originX, x - start});
        }
    for (const InkRun& run : mask.runs) {
        const PixelBox runBox{run.dx, run.dy, run.dx + run.length, run.dy + 1};
        if (mask.box.left == mask.box.right) {
            mask.box = runBox;
            continue;
        }
        mask.box = {std::min(mask.box.left, runBox.left), std::min(mask.box.top, runBox.top),
                    std::max(mask.box.right, runBox.right), std::max(mask.box.bottom, runBox.bottom)};
    }
    return mask;
}

// Top-down rows of 32-bit pixels, blue in the low byte, then green, then red, as a 32-bit
// device-independent bitmap keeps them.
struct PixelImage {
    uint32_t* pixels;
    int width;
    int height;
};

// The picture's pixel of a colour value (red in the low byte, then green, then blue).
constexpr uint32_t PixelOf(uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Sets the mask's pixels to `pixel` with its origin at (x, y); what falls outside the image is left out.
void StampInk(const PixelImage& image, const InkMask& ink, int x, int y, uint32_t pixel);

// The label font as ink: every character of the single-byte code page, drawn at the origin (its
// pen position, on the top of the line). The metrics measure a line for placing it; the pen
// moves on by each character's pen advance, which is what the system's line drawing moves it
// by and need not be the measured advance.
struct GlyphInk {
    LabelMetrics metrics;
    int penAdvance[256] = {};
    InkMask glyph[256];
};

// Stamps a line of text with its top left corner at (x, y), each character at the sum of the pen
// advances before it, as the system writes a line.
void StampText(const PixelImage& image, const GlyphInk& glyphs, std::string_view text, int x, int y, uint32_t pixel);

// Everything a point's mark is stamped from: the circle outline of each size (the two small
// ellipses in one mask), with its origin at the circle's anchor, and the label font.
struct SkyInk {
    InkMask largeCircle;
    InkMask smallCircle;
    GlyphInk labels;
};

// Stamps a planned mark: its circle, then its label lines, in its colour.
void StampSkyMark(const PixelImage& image, const SkyInk& ink, const SkyMark& mark);
