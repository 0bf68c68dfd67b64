// Painting of signal rows: text cells, the Peak figure, and the triplet, pulse and gaussian graphs.
#include "kit/signal_graph.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "core/client/pot_decode.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"
#include "core/lists/graph_layout.h"
#include "core/lists/list_sort.h"
#include "kit/list_view.h"

namespace
{

constexpr COLORREF kGraphBackground = RGB(0, 0, 0);
constexpr COLORREF kDataColour = RGB(255, 0, 0);
constexpr COLORREF kMarkColour = RGB(0, 255, 0);
constexpr COLORREF kFitColour = RGB(255, 255, 255);
constexpr COLORREF kGridColour = RGB(192, 192, 192);

enum class CellPaint { Text, Peak, Triplet, Pulse, Gaussian };

CellPaint PaintOf(const SignalRowStyle& style, int column)
{
    if (column == style.peakColumn)
        return CellPaint::Peak;
    if (column == style.tripletColumn)
        return CellPaint::Triplet;
    if (column == style.pulseColumn)
        return CellPaint::Pulse;
    if (column == style.gaussianColumn)
        return CellPaint::Gaussian;
    return CellPaint::Text;
}

void DrawLine(HDC hdc, const GraphLine& line)
{
    MoveToEx(hdc, line.from.x, line.from.y, nullptr);
    LineTo(hdc, line.to.x, line.to.y);
}

void DrawPolyline(HDC hdc, const std::vector<GraphPoint>& points)
{
    if (points.empty())
        return;
    MoveToEx(hdc, points.front().x, points.front().y, nullptr);
    for (size_t i = 1; i < points.size(); ++i)
        LineTo(hdc, points[i].x, points[i].y);
}

void DrawGraphText(HDC hdc, int x, int y, const RECT& cell, const std::string& text)
{
    ExtTextOutA(hdc, x, y, ETO_CLIPPED, &cell, text.c_str(), static_cast<int>(text.size()), nullptr);
}

void PaintTextCell(HDC hdc, int format, const RECT& cell, std::string_view text)
{
    if (text.empty())
        return;
    const bool right = (format & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT;
    SetTextAlign(hdc, right ? TA_RIGHT : TA_LEFT);
    ExtTextOutA(hdc, right ? cell.right - 2 : cell.left + 2, cell.top + 1, ETO_OPAQUE | ETO_CLIPPED, &cell, text.data(),
                static_cast<int>(text.size()), nullptr);
}

void PaintTriplet(HDC hdc, const RECT& cell, const GraphArea& area, const BestSignals& best, bool showText)
{
    const double marks[3] = {best.tripletPotIndex[0][0], best.tripletPotIndex[1][0], best.tripletPotIndex[2][0]};
    const TripletGraph graph = LayOutTriplet(area, DecodeTripletPot(best.tripletPot), marks);
    {
        UniqueGdiObject red(CreatePen(PS_SOLID, 1, kDataColour));
        UniqueGdiObject green(CreatePen(PS_SOLID, 1, kMarkColour));
        const SelectedObject pen(hdc, red.get());
        for (const GraphLine& bar : graph.bars)
            DrawLine(hdc, bar);
        SelectObject(hdc, green.get());
        for (const GraphLine& mark : graph.marks)
            DrawLine(hdc, mark);
    }
    if (showText)
        DrawGraphText(hdc, cell.left + 2, cell.top + 1, cell, TripletText(best));
}

void PaintPulse(HDC hdc, const RECT& cell, const GraphArea& area, const BestSignals& best, bool showText)
{
    {
        UniqueGdiObject red(CreatePen(PS_SOLID, 1, kDataColour));
        const SelectedObject pen(hdc, red.get());
        DrawPolyline(hdc, LayOutPulse(area, DecodePulsePot(best.pulsePot)));
    }
    if (!showText)
        return;
    TEXTMETRICA metrics{};
    GetTextMetricsA(hdc, &metrics);
    DrawGraphText(hdc, area.left + 2, area.top + 1, cell, PulseText(best));
    DrawGraphText(hdc, area.left + 2, area.top + 1 + metrics.tmHeight, cell, PulseResolutionText(best));
}

void PaintGaussian(HDC hdc, const RECT& cell, const GraphArea& area, const BestSignals& best,
                   const SignalRowStyle& style)
{
    const GaussianFit fit{best.gaussianPower, best.gaussianFftIndex, best.gaussianSigma, best.gaussianTrueMean};
    const GaussianGraph graph =
        LayOutGaussian(area, DecodeGaussianPot(best.gaussianPot), style.fittedCurve ? &fit : nullptr);
    if (!graph.drawn)
        return;
    {
        UniqueGdiObject red(CreatePen(PS_SOLID, 1, kDataColour));
        UniqueGdiObject white(CreatePen(PS_SOLID, 1, kFitColour));
        const SelectedObject pen(hdc, red.get());
        if (!(style.skipEmptyGaussian && best.gaussianPot.empty()))
            DrawPolyline(hdc, graph.steps);
        SelectObject(hdc, white.get());
        DrawPolyline(hdc, graph.fit);
    }
    if (style.showText)
        DrawGraphText(hdc, area.left + 2, area.top + 1, cell, GaussianText(best));
}

// The black frame every graph shares; a signal that is not there leaves the cell plain black.
void PaintGraphCell(HDC hdc, const RECT& cell, CellPaint paint, const BestSignals& best, const SignalRowStyle& style)
{
    // Every stroke and figure stays inside the cell, however wide the data or the text runs, and
    // the pens, colours and alignment go back afterwards.
    const SavedDc saved(hdc);
    IntersectClipRect(hdc, cell.left, cell.top, cell.right, cell.bottom);
    SetBkColor(hdc, kGraphBackground);
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
    const double presence = paint == CellPaint::Triplet ? best.tripletScore
                            : paint == CellPaint::Pulse ? best.pulsePower
                                                        : best.gaussianPower;
    if (presence == 0)
        return;
    const GraphArea area = GraphAreaOf(cell.left, cell.top, cell.right, cell.bottom);
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetTextAlign(hdc, TA_LEFT | TA_TOP);
    SetBkMode(hdc, OPAQUE);
    switch (paint) {
    case CellPaint::Triplet:
        PaintTriplet(hdc, cell, area, best, style.showText);
        break;
    case CellPaint::Pulse:
        PaintPulse(hdc, cell, area, best, style.showText);
        break;
    default:
        PaintGaussian(hdc, cell, area, best, style);
        break;
    }
}

void DrawGridLine(HDC hdc, int x1, int y1, int x2, int y2)
{
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
}

} // namespace

std::string SignalCellText(const WorkUnitRow& row, const SignalRowStyle& style, int column)
{
    switch (PaintOf(style, column)) {
    case CellPaint::Text:
        return std::string(row.cells.Text(column));
    case CellPaint::Peak:
        return row.cells.Text(column).empty() ? std::string() : PeakText(row.best);
    case CellPaint::Triplet:
        return GraphCaption(GraphKind::Triplet, row.best);
    case CellPaint::Pulse:
        return GraphCaption(GraphKind::Pulse, row.best);
    case CellPaint::Gaussian:
        return GraphCaption(GraphKind::Gaussian, row.best);
    }
    return {};
}

void PaintSignalRow(const DRAWITEMSTRUCT& draw, const WorkUnitRow& row, const SignalRowStyle& style)
{
    const HWND list = draw.hwndItem;
    const HDC hdc = draw.hDC;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const DcColours colours(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT),
                            GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    std::optional<SelectedObject> font;
    if (const auto listFont = reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)))
        font.emplace(hdc, listFont);

    const RowColumns visible = VisibleRowColumns(draw);
    const std::vector<int>& widths = visible.widths;
    const ColumnRange range = visible.range;
    int left = visible.firstLeft;

    UniqueGdiObject gridPen(CreatePen(PS_SOLID, 1, kGridColour));
    const UINT oldAlign = GetTextAlign(hdc);
    for (int column = range.first; column <= range.last; ++column) {
        const RECT cell{left, draw.rcItem.top, left + widths[column], draw.rcItem.bottom};
        left = cell.right;
        const CellPaint paint = PaintOf(style, column);
        switch (paint) {
        case CellPaint::Text:
            PaintTextCell(hdc, visible.formats[column], cell, row.cells.Text(column));
            break;
        case CellPaint::Peak:
            // The row's cell here is the Analysis status: the Peak shows while that has a text.
            if (!row.cells.Text(column).empty())
                PaintTextCell(hdc, visible.formats[column], cell, PeakText(row.best));
            break;
        default:
            PaintGraphCell(hdc, cell, paint, row.best, style);
            break;
        }
        const bool noGaussian = paint == CellPaint::Gaussian && row.best.gaussianPower == 0;
        if (style.cellGrid && !noGaussian) {
            const SelectedObject pen(hdc, gridPen.get());
            DrawGridLine(hdc, cell.left - 1, cell.top, cell.left - 1, cell.bottom);
            DrawGridLine(hdc, cell.right - 1, cell.top, cell.right - 1, cell.bottom);
        }
    }
    SetTextAlign(hdc, oldAlign);
    const SelectedObject pen(hdc, gridPen.get());
    DrawGridLine(hdc, draw.rcItem.left, draw.rcItem.bottom - 1, draw.rcItem.right, draw.rcItem.bottom - 1);
}
