// The Sky Map's picture: the chart and the points' marks, drawn through the system or stamped from ink.
#include "dialogs/sky_picture.h"

#include <algorithm>
#include <optional>

#include "platform/dib_section.h"
#include "platform/gdi_scope.h"
#include "core/skymap/sky_ink.h"
#include "core/skymap/sky_projection.h"
#include "dialogs/sky_ink_capture.h"

namespace
{

// Pen, brush, background mode and text colour of the points of one drawing, put back at its end.
// A pen is made only when the colour changes: points come in runs of their location's colour, and
// making and selecting a pen per point cost more than drawing it.
class PointPens
{
public:
    explicit PointPens(HDC hdc)
        : hdc_(hdc), oldPen_(GetCurrentObject(hdc, OBJ_PEN)),
          oldBrush_(SelectObject(hdc, GetStockObject(HOLLOW_BRUSH))), oldMode_(SetBkMode(hdc, TRANSPARENT)),
          oldText_(GetTextColor(hdc))
    {
    }
    ~PointPens()
    {
        SetTextColor(hdc_, oldText_);
        SetBkMode(hdc_, oldMode_);
        SelectObject(hdc_, oldBrush_);
        SelectObject(hdc_, oldPen_);
    }
    void Use(COLORREF colour)
    {
        if (pen_ && colour == colour_)
            return;
        UniqueGdiObject pen(CreatePen(PS_SOLID, 1, colour));
        SelectObject(hdc_, pen.get());
        pen_ = std::move(pen); // the old pen is no longer selected, so it can go
        colour_ = colour;
        SetTextColor(hdc_, colour);
    }
    PointPens(const PointPens&) = delete;
    PointPens& operator=(const PointPens&) = delete;

private:
    HDC hdc_;
    UniqueGdiObject pen_;
    COLORREF colour_ = 0;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
    int oldMode_;
    COLORREF oldText_;
};

// Each point of the scene in drawing order.
template <typename Use> void ForEachScenePoint(const SkyScene& scene, Use use)
{
    if (scene.picked) {
        for (const SkyPoint* point : *scene.picked)
            use(*point);
    } else if (scene.points) {
        for (const SkyPoint& point : *scene.points)
            use(point);
    }
}

void FillBlack(HDC hdc, const RECT& rect)
{
    if (rect.left < rect.right && rect.top < rect.bottom)
        FillRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The chart's part of the area, and black beside and below it: labels may stand out over the
// chart's edge there.
void DrawBackground(HDC hdc, HBITMAP chart, const RECT& area)
{
    RECT chartPart{};
    const RECT chartRect{0, 0, kChartWidth, kChartHeight};
    if (IntersectRect(&chartPart, &area, &chartRect) && chart) {
        CompatibleDc chartDc(hdc);
        SelectedObject selected(chartDc.get(), chart);
        BitBlt(hdc, chartPart.left, chartPart.top, chartPart.right - chartPart.left, chartPart.bottom - chartPart.top,
               chartDc.get(), chartPart.left, chartPart.top, SRCCOPY);
    } else {
        FillBlack(hdc, chartPart);
    }
    FillBlack(hdc, RECT{kChartWidth, area.top, area.right, area.bottom});
    FillBlack(hdc, RECT{area.left, kChartHeight, kChartWidth, area.bottom});
}

} // namespace

void DrawSkyScene(HDC hdc, HBITMAP chart, const SkyScene& scene, const RECT& area)
{
    DrawBackground(hdc, chart, area);
    PointPens pens(hdc);
    std::optional<SelectedObject> font;
    LabelMetrics labels;
    if (scene.showText) {
        font.emplace(hdc, GetStockObject(ANSI_VAR_FONT));
        labels = MeasureLabelFont(hdc);
    }
    const PixelBox clip{area.left, area.top, area.right, area.bottom};
    ForEachScenePoint(scene, [&](const SkyPoint& point) {
        SkyMark mark{};
        if (!PlanSkyMark(point, scene.circleSize, scene.showText ? &labels : nullptr, mark) ||
            !MarkTouches(mark, labels.height, clip))
            return;
        pens.Use(mark.colour);
        for (int i = 0; i < mark.shape.count; ++i) {
            const PixelBox& box = mark.shape.boxes[i];
            Ellipse(hdc, box.left, box.top, box.right, box.bottom);
        }
        for (int i = 0; i < mark.labelCount; ++i) {
            const SkyLabel& label = mark.labels[i];
            TextOutA(hdc, label.at.x, label.at.y, label.text.data(), static_cast<int>(label.text.size()));
        }
    });
}

SkyPicture::SkyPicture(SkyDrawing drawing) : drawing_(drawing) {}

SkyPicture::~SkyPicture()
{
    if (firstBitmap_)
        SelectObject(dc_.get(), firstBitmap_);
}

bool SkyPicture::Shows(int circleSize, bool showText, int width, int height) const
{
    return valid_ && circleSize == circleSize_ && showText == showText_ && width <= width_ && height <= height_;
}

bool SkyPicture::MakeBitmap(int width, int height)
{
    // The old picture goes first: a large one and its successor need not fit in memory together.
    if (firstBitmap_)
        SelectObject(dc_.get(), firstBitmap_);
    bitmap_.reset();
    pixels_ = nullptr;
    width_ = height_ = 0;
    if (!dc_.get())
        return false;
    bitmap_ = CreatePixelBitmap(width, height, pixels_);
    if (!bitmap_)
        return false;
    firstBitmap_ = SelectObject(dc_.get(), bitmap_.get());
    width_ = width;
    height_ = height;
    return true;
}

bool SkyPicture::Compose(HBITMAP chart, const SkyScene& scene, int width, int height)
{
    valid_ = false;
    // A picture as large as the screen is made once: moving the window to a larger size, as far
    // as maximising it, then finds the picture large enough already.
    width = std::max({width, kChartWidth, GetSystemMetrics(SM_CXSCREEN)});
    height = std::max({height, kChartHeight, GetSystemMetrics(SM_CYSCREEN)});
    if ((width > width_ || height > height_ || !bitmap_) && !MakeBitmap(width, height))
        return false;
    if (drawing_ == SkyDrawing::Stamped && !inkCaptured_) {
        ink_ = CaptureSkyInk();
        inkCaptured_ = true;
    }
    const RECT all{0, 0, width_, height_};
    stamped_ = ink_ != nullptr;
    if (stamped_) {
        DrawBackground(dc_.get(), chart, all);
        GdiFlush(); // the system's drawing is in the pixels before they are stamped over
        const PixelImage image{pixels_, width_, height_};
        const LabelMetrics* labels = scene.showText ? &ink_->labels.metrics : nullptr;
        ForEachScenePoint(scene, [&](const SkyPoint& point) {
            SkyMark mark{};
            if (PlanSkyMark(point, scene.circleSize, labels, mark))
                StampSkyMark(image, *ink_, mark);
        });
    } else {
        DrawSkyScene(dc_.get(), chart, scene, all);
        GdiFlush();
    }
    valid_ = true;
    circleSize_ = scene.circleSize;
    showText_ = scene.showText;
    return true;
}

bool SkyPicture::CopyTo(HDC hdc, const RECT& area, int fromX, int fromY) const
{
    if (!valid_)
        return false;
    return BitBlt(hdc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), fromX, fromY,
                  SRCCOPY) != FALSE;
}
