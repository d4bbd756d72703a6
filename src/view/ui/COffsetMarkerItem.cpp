// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/COffsetMarkerItem.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "render/CPlotCanvas.h"
#include "render/CPlotRenderer.h"
#include "document/CKivDoc.h"
#include "widgets/ui/DialogParts.h"
#include "qtcore/KivLanguage.h"

namespace {

QRgb ToQRgb(PlotColour c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

// TextOut on an opaque background: the text cell is filled first.
void TextOut(QPainter& p, int x, int y, const QString& text, QRgb colour, QRgb background) {
    const QFontMetrics fm(p.font());
    p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), QColor(background));
    p.setPen(QColor(colour));
    p.drawText(x, y + fm.ascent(), text);
}

}  // namespace

bool COffsetMarkerItem::Applies(const CData& mode) {
    return mode.IsAvailable() && !mode.IsZoomed() && !mode.IsFourier() && !mode.IsDerivative() &&
           !mode.IsIntegral() && !mode.IsXY() && !mode.IsSum() && !mode.IsProduct();
}

int COffsetMarkerItem::HitTest(QPoint pt, int) const {
    // A bar the last paint did not draw is not there to grab.
    if (!m_bShown) return 0;
    const int x = pt.x(), y = pt.y();
    const int left = m_nPlot == 1 ? m_nX - 2 : m_nX - 1;
    if (x < left || x > left + 3 || y < m_nTop || y > m_nBottom) return 0;
    return m_nPlot == 1 ? HIT_MARKER1 : HIT_MARKER2;
}

void COffsetMarkerItem::Press(QPoint pt, int hit, QRect& confine) {
    if ((hit & HIT_PLOT) || !(hit & (m_nPlot == 1 ? HIT_MARKER1 : HIT_MARKER2))) return;
    m_bDrag = 1;
    m_nGrabX = pt.x();
    m_nGrabY = pt.y();
    m_nDy = 0;
    m_bMoved = false;
    // The bar stays inside the plot; the bottom edge is outside, as ClipCursor takes it.
    const WindowRect& rc = m_view.PlotRect();
    const int top = rc.top + pt.y() - m_nTop + 1;
    const int bottom = pt.y() - m_nBottom + rc.bottom - 1;
    confine = QRect(confine.x(), top, confine.width(), bottom - top);
}

void COffsetMarkerItem::Move(QPoint pt) {
    const CData& mode = *m_view.Document().GetCurrentMode();
    const WindowRect& rc = m_view.PlotRect();
    // Codes per pixel with whole divisions, as the grid counts them.
    const int div = std::max(mode.m_nDivY, 1);
    const int perDivision = (rc.bottom - rc.top) / div;
    m_nDy = pt.y() - m_nGrabY;
    m_nDelta = perDivision ? (-200 / div) * m_nDy / perDivision : 0;
    m_bMoved = m_bMoved || pt != QPoint(m_nGrabX, m_nGrabY);
    m_view.Viewport()->update();
}

void COffsetMarkerItem::Release() {
    m_bDrag = 0;
    if (!m_bMoved) return;  // a click changes nothing
    CKivDoc& doc = m_view.Document();
    CDataSrc& src = doc.Source();
    PlotSettings s;
    src.GetPlotSettings(s, m_nPlot);
    s.bOffset = 1;
    s.nOffset += m_nDelta;
    src.SetPlotSettings(s, m_nPlot);
    doc.DataChanged();
    m_view.MarkEdited();
}

bool COffsetMarkerItem::NeedsPaint() const { return m_view.OffsetCursorShown() || m_bShown; }

void COffsetMarkerItem::Paint(QImage& frame, CData& mode) {
    if (!m_bDrag) m_bShown = false;
    if (!m_view.OffsetCursorShown() || !Applies(mode)) return;
    m_view.Damage().all = true;  // its texts go through a painter: the next frame starts afresh
    PaintBar(frame, mode);
    PaintReadOut(frame, mode);
}

void COffsetMarkerItem::PaintBar(QImage& frame, CData& mode) {
    const int mask = mode.GetPlotMask();
    if (mask != 3 && mask != m_nPlot) return;
    const CDataSrc& src = m_view.Document().Source();
    PlotSettings s;
    src.GetPlotSettings(s, m_nPlot);
    const WindowRect& rc = m_view.PlotRect();
    const int h = rc.bottom - rc.top;
    // While dragged the bar is the one grabbed, moved.
    int top = m_nTop + m_nDy, bottom = m_nBottom + m_nDy;
    if (!m_bDrag) {
        // The bar spans the plot's drawn codes; sample 0 seeds both ends whatever its code.
        const int32_t* codes = mode.GetDisplaySamples(m_nPlot);
        auto y = [&](int32_t v) { return Trunc(rc.bottom - MulF(static_cast<double>(v) * h, 0.005f)); };
        top = bottom = y(codes[0]);
        for (int i = 0; i < kSamples; ++i) {
            if (codes[i] < 0 || codes[i] > 200) continue;
            top = std::min(top, y(codes[i]));
            bottom = std::max(bottom, y(codes[i]));
        }
        m_nDelta = s.bOffset ? s.nOffset : 0;
    }
    if ((bottom >= rc.bottom && top >= rc.bottom) || (top <= rc.top && (bottom <= rc.top || bottom >= rc.bottom)))
        return;
    const int x = m_nX = mask == 3 ? (m_nPlot == 1 ? 94 : 97) : 57;
    top = std::clamp(top, rc.top, rc.bottom);
    bottom = std::clamp(bottom, rc.top, rc.bottom);
    if (!m_bDrag) {
        m_nTop = top;
        m_nBottom = bottom;
        m_bShown = true;
    }

    const QRgb colour = ToQRgb(s.crColour);
    const QRgb background = m_view.WhiteBackground() ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    CPlotCanvas dc(frame);
    dc.SelectPen(colour);
    dc.Line(x, bottom, x, top);
    auto arrowhead = [&](int tip, int sign) {
        dc.Line(x - 2, tip + 12 * sign, x, tip);
        dc.Line(x + 2, tip + 12 * sign, x, tip);
        dc.Line(x + 2, tip + 12 * sign, x - 2, tip + 12 * sign);
        dc.Line(x + 1, tip + 10 * sign, x - 1, tip + 10 * sign);
    };
    if (top > rc.top) arrowhead(top, 1);
    if (bottom < rc.bottom) arrowhead(bottom, -1);
    if (!m_bDrag) return;

    const int middle = m_nMiddle = top + (bottom - top) / 2 + 1;
    if (!(rc.top < middle && middle < rc.bottom)) return;
    dc.SelectPen(colour, CPlotCanvas::Style::Dot);
    dc.SetBkColor(background);
    for (int yLine : {middle, top, bottom}) dc.Line(rc.left, yLine, rc.right, yLine);
    const int div = std::max(mode.m_nDivY, 1);
    const int perDivision = h / div;
    const int shift = perDivision ? (rc.top + h / 2 - middle) * (200 / div) / perDivision : 0;
    const AxisScale& scale = mode.BothPlotsOn() && m_nPlot == 2 ? mode.m_scaleY2 : mode.m_scaleY1;
    QPainter p(&frame);
    p.setFont(CPlotRenderer::LabelFont());
    const QString text = QStringLiteral(" ") + SIText(shift * scale.step, scale.exponent) +
                         KivTr("Kiv", " - przesunięcie wzdględem zera");
    TextOut(p, rc.left + 15, middle - 7, text, colour, background);
}

// Below the plot: the offset each marker stands for, in its plot's colour. With one curve
// only the marker of the plot on show (plot 1 when it is on) is read out, in plot 1's scale.
void COffsetMarkerItem::PaintReadOut(QImage& frame, CData& mode) {
    const bool two = mode.ShowsTwoCurves();
    const bool mine = two || m_nPlot == ((mode.GetPlotMask() & 1) ? 1 : 2);
    if (!mine && m_nPlot == 1) return;
    const WindowRect& rc = m_view.PlotRect();
    const CDataSrc& src = m_view.Document().Source();
    const QRgb background = m_view.WhiteBackground() ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    QPainter p(&frame);
    p.setFont(CPlotRenderer::LabelFont());
    if (mine) {
        const AxisScale& scale = two && m_nPlot == 2 ? mode.m_scaleY2 : mode.m_scaleY1;
        const int x = !two ? rc.left - 50 : m_nPlot == 1 ? rc.left - 100 : rc.left - 40;
        const PlotColour colour = m_nPlot == 1 ? src.m_crColour1 : src.m_crColour2;
        TextOut(p, x, rc.bottom + 30, SIText(m_nDelta * scale.step, scale.exponent), ToQRgb(colour), background);
    }
    // The caption closes the row, after plot 2's read-out.
    if (m_nPlot == 2)
        TextOut(p, rc.left + 15, rc.bottom + 30, KivTr("Kiv", "przesunięcie wykresu"), qRgb(150, 150, 150),
                background);
}
