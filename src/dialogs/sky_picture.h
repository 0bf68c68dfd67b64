// The Sky Map's picture: the chart with the circles and labels of the points drawn, composed once in
// a memory bitmap so that painting, scrolling and uncovering only copy from it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "core/skymap/sky_point.h"

struct SkyInk;

// What the picture shows: the points (the picked ones, in pick order, while the Show Work Units
// dialog is open), their circle size and whether the two label lines are drawn.
struct SkyScene {
    const SkyPointSet* points = nullptr;
    const std::vector<const SkyPoint*>* picked = nullptr; // null: every point of the set, in set order
    int circleSize = 1;
    bool showText = true;
};

// Draws the chart, the black beyond it and the scene's points through the system's drawing calls,
// with chart (0, 0) at the DC's origin, touching only what meets `area` (chart pixels). A missing
// chart leaves its part black.
void DrawSkyScene(HDC hdc, HBITMAP chart, const SkyScene& scene, const RECT& area);

// How a picture draws its points: from ink captured from the system's drawing where that gives
// the same pixels (the usual case), or through the system's drawing calls one by one.
enum class SkyDrawing { Stamped, System };

class SkyPicture
{
public:
    explicit SkyPicture(SkyDrawing drawing = SkyDrawing::Stamped);
    ~SkyPicture();
    SkyPicture(const SkyPicture&) = delete;
    SkyPicture& operator=(const SkyPicture&) = delete;

    // Whether the picture shows this circle size and text setting over at least width x height,
    // and nothing has changed since it was composed.
    bool Shows(int circleSize, bool showText, int width, int height) const;
    // Composes the scene over at least the chart, the screen and width x height; false when no
    // bitmap could be made (the picture is then empty).
    bool Compose(HBITMAP chart, const SkyScene& scene, int width, int height);
    // The points or the picks changed: the next paint composes again.
    void Invalidate() { valid_ = false; }
    // Copies the picture from chart position (fromX, fromY) into the DC's area; false when there is
    // no picture.
    bool CopyTo(HDC hdc, const RECT& area, int fromX, int fromY) const;
    // Whether the points were stamped from captured ink in the last composition.
    bool Stamped() const { return stamped_; }

private:
    bool MakeBitmap(int width, int height);

    SkyDrawing drawing_;
    std::unique_ptr<SkyInk> ink_;
    bool inkCaptured_ = false;
    // The bitmap stays selected into the DC for the picture's life: every paint copies from it.
    CompatibleDc dc_{nullptr};
    HGDIOBJ firstBitmap_ = nullptr; // the DC's own, put back before the picture's bitmap goes
    UniqueGdiObject bitmap_;
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool valid_ = false;
    bool stamped_ = false;
    int circleSize_ = 0;
    bool showText_ = false;
};
