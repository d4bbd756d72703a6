// What CKivView draws over the copied picture at every paint: the measuring cursors,
// the read-out panels, the offset markers and the zoom rectangle. Never drawn into the
// back bitmap, so a cursor move costs a copy and a few lines, not a render.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "analysis/ui/CFourierPanelDlg.h"
#include "view/SINotation.h"
#include "view/ui/CCursorPanel.h"
#include "view/ui/CCursorPanel2.h"
#include "view/ui/CGdiCanvas.h"
#include "widgets/ui/DialogParts.h"
#include "view/ui/CKivView.h"

namespace {

QRgb ToQRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// TextOut on an opaque background: the text cell is filled first.
void TextOut(QPainter& p, int x, int y, const QString& text, QRgb colour, QRgb background) {
    const QFontMetrics fm(p.font());
    p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), QColor(background));
    p.setPen(QColor(colour));
    p.drawText(x, y + fm.ascent(), text);
}

}  // namespace

bool CKivView::NeedsOverlays() const {
    return m_bCursors || m_bOffsetCursor || m_bZooming || m_pCursorPanel || m_pCursorPanel2 || m_pFourierPanel;
}

void CKivView::DrawOverlays(QImage& frame) {
    CData& mode = *m_pDoc->GetCurrentMode();
    if (m_bCursors && mode.IsAvailable() && !mode.IsXY()) {
        if (!mode.IsFourier()) DrawCursors(frame, mode);
        UpdatePanels(mode);
    } else {
        ClosePanels();
    }
    DrawMarkers(frame, mode);
    if (m_bZooming && mode.IsAvailable()) {
        // The rectangle's outline, right and bottom edges excluded, inverted.
        const int l = std::min(m_ptZoomAnchor.x(), m_ptZoomCorner.x()), r = std::max(m_ptZoomAnchor.x(), m_ptZoomCorner.x());
        const int t = std::min(m_ptZoomAnchor.y(), m_ptZoomCorner.y()), b = std::max(m_ptZoomAnchor.y(), m_ptZoomCorner.y());
        if (r - l >= 1 && b - t >= 1) {
            CGdiCanvas dc(frame);
            dc.SetInvert(true);
            dc.MoveTo(l, t);
            dc.LineTo(r - 1, t);
            dc.LineTo(r - 1, b - 1);
            dc.LineTo(l, b - 1);
            dc.LineTo(l, t);
        }
    }
}

void CKivView::DrawCursors(QImage& frame, CData&) {
    const WindowRect& rc = m_rcPlot;
    const int w = rc.right - rc.left;
    m_nCursorPix1 = static_cast<int>(int64_t{w} * m_pDoc->m_nCursor1 / kSamples);
    m_nCursorPix2 = static_cast<int>(int64_t{w} * m_pDoc->m_nCursor2 / kSamples);
    CGdiCanvas dc(frame);
    dc.SetInvert(true);
    dc.Line(rc.left + m_nCursorPix1, rc.bottom, rc.left + m_nCursorPix1, rc.top);
    // A second inversion of the same pixels would erase the first cursor.
    if (m_nCursorPix2 != m_nCursorPix1) dc.Line(rc.left + m_nCursorPix2, rc.bottom, rc.left + m_nCursorPix2, rc.top);
}

// The panel a paint needs, created when missing, the others closed; it sits in the
// view's bottom-right corner and never takes the focus.
template <class PanelType>
PanelType& CKivView::ShowPanel(std::unique_ptr<PanelType>& panel) {
    if (!std::is_same_v<PanelType, CCursorPanel>) m_pCursorPanel.reset();
    if (!std::is_same_v<PanelType, CCursorPanel2>) m_pCursorPanel2.reset();
    if (!std::is_same_v<PanelType, CFourierPanelDlg>) m_pFourierPanel.reset();
    if (!panel) {
        panel = std::make_unique<PanelType>(viewport());
        panel->setAttribute(Qt::WA_ShowWithoutActivating);
        panel->setFocusPolicy(Qt::NoFocus);
        panel->resize(panel->sizeHint());
    }
    panel->move(viewport()->width() - panel->width(), viewport()->height() - panel->height());
    if (m_bActive && panel->isHidden()) panel->show();
    return *panel;
}

void CKivView::ClosePanels() {
    m_pCursorPanel.reset();
    m_pCursorPanel2.reset();
    m_pFourierPanel.reset();
}

void CKivView::UpdatePanels(CData& mode) {
    if (mode.IsFourier()) {
        CFourierPanelDlg& panel = ShowPanel(m_pFourierPanel);
        FourierPanelValues& v = panel.m_values;
        const int k = m_fourierCursor.m_nHarmonic;
        v.m_nHarmonic = k;
        mode.GetHarmonic(k, v.m_fAmplitude, v.m_nAmpExponent, v.m_dPhase, v.m_dA0, v.m_dAn, v.m_dBn,
                         m_fourierCursor.m_nPlot ? 2 : 1);
        v.m_strPlot = m_fourierCursor.m_strPlot;
        float t1 = 0, t2 = 0;
        int i1 = 0, i2 = 0, exponent = 0;
        // Copies the record's time scale into the mode first: the frequency's exponent is that one.
        mode.CursorRawValues(t1, t2, i1, i2, exponent, 3);
        v.m_nFreqExponent = mode.GetScale(4).exponent;
        v.m_dFrequency = k / (static_cast<double>(t2) - static_cast<double>(t1));
        panel.ShowValues();
        return;
    }
    if (mode.ShowsTwoCurves()) {
        CCursorPanel2& panel = ShowPanel(m_pCursorPanel2);
        mode.CursorValues(panel.m_fX1, panel.m_fX2, panel.m_nXExponent, 3);
        mode.CursorValues(panel.m_fY11, panel.m_fY12, panel.m_nYExponent, 1);
        mode.CursorValues(panel.m_fY21, panel.m_fY22, panel.m_nYExponent, 2);  // one exponent for both rows
        panel.ShowValues();
        return;
    }
    CCursorPanel& panel = ShowPanel(m_pCursorPanel);
    mode.CursorValues(panel.m_fX1, panel.m_fX2, panel.m_nXExponent, 3);
    mode.CursorValues(panel.m_fY1, panel.m_fY2, panel.m_nYExponent, 1);
    panel.ShowValues();
}

// Only the plain picture at full extent has markers.
void CKivView::DrawMarkers(QImage& frame, CData& mode) {
    if (!m_bOffsetCursor || !mode.IsAvailable() || mode.IsDerivative() || mode.IsIntegral() || mode.IsFourier() ||
        mode.IsXY() || mode.IsSum() || mode.IsProduct() || mode.IsZoomed())
        return;
    const QRgb background = m_bWhiteBackground ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    for (int plot = 1; plot <= 2; ++plot) DrawMarker(frame, mode, plot);

    QPainter p(&frame);
    p.setFont(CPlotRenderer::LabelFont());
    const WindowRect& rc = m_rcPlot;
    const CDataSrc& src = m_pDoc->Source();
    auto readOut = [&](int plot, int x, const AxisScale& scale) {
        const COLORREF colour = plot == 1 ? src.m_crColour1 : src.m_crColour2;
        TextOut(p, x, rc.bottom + 30, SIText(Marker(plot).m_nDelta * scale.step, scale.exponent), ToQRgb(colour),
                background);
    };
    if (!mode.ShowsTwoCurves()) {
        readOut((mode.GetPlotMask() & 1) ? 1 : 2, rc.left - 50, mode.m_scaleY1);
    } else {
        readOut(1, rc.left - 100, mode.m_scaleY1);
        readOut(2, rc.left - 40, mode.m_scaleY2);
    }
    TextOut(p, rc.left + 15, rc.bottom + 30, QStringLiteral("przesunięcie wykresu"), qRgb(150, 150, 150), background);
}

void CKivView::DrawMarker(QImage& frame, CData& mode, int plot) {
    const int mask = mode.GetPlotMask();
    if (mask != 3 && mask != plot) return;
    const CDataSrc& src = m_pDoc->Source();
    PlotSettings s;
    src.GetPlotSettings(s, plot);
    COffsetMarker& m = Marker(plot);
    const WindowRect& rc = m_rcPlot;
    const int h = rc.bottom - rc.top;
    if (!m.m_bDrag) {
        // The bar spans the plot's drawn codes; sample 0 seeds both ends whatever its code.
        const int32_t* codes = mode.GetDisplaySamples(plot);
        auto y = [&](int32_t v) { return Trunc(rc.bottom - MulF(static_cast<double>(v) * h, 0.005f)); };
        m.m_nTop = m.m_nBottom = y(codes[0]);
        for (int i = 0; i < kSamples; ++i) {
            if (codes[i] < 0 || codes[i] > 200) continue;
            m.m_nTop = std::min(m.m_nTop, y(codes[i]));
            m.m_nBottom = std::max(m.m_nBottom, y(codes[i]));
        }
        m.m_nDelta = s.bOffset ? s.nOffset : 0;
    }
    int top = m.m_nTop, bottom = m.m_nBottom;
    if (m.m_bDrag) top += m.m_nDy, bottom += m.m_nDy;
    if ((bottom >= rc.bottom && top >= rc.bottom) || (top <= rc.top && (bottom <= rc.top || bottom >= rc.bottom)))
        return;
    const int x = m.m_nX = mask == 3 ? (plot == 1 ? 94 : 97) : 57;
    top = std::clamp(top, rc.top, rc.bottom);
    bottom = std::clamp(bottom, rc.top, rc.bottom);

    const QRgb colour = ToQRgb(s.crColour);
    const QRgb background = m_bWhiteBackground ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    CGdiCanvas dc(frame);
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
    if (!m.m_bDrag) return;

    const int middle = m.m_nMiddle = top + (bottom - top) / 2 + 1;
    if (!(rc.top < middle && middle < rc.bottom)) return;
    dc.SelectPen(colour, CGdiCanvas::Style::Dot);
    dc.SetBkColor(background);
    for (int y : {middle, top, bottom}) dc.Line(rc.left, y, rc.right, y);
    const int div = std::max(mode.m_nDivY, 1);
    const int perDivision = h / div;
    const int shift = perDivision ? (rc.top + h / 2 - middle) * (200 / div) / perDivision : 0;
    const AxisScale& scale = mode.BothPlotsOn() && plot == 2 ? mode.m_scaleY2 : mode.m_scaleY1;
    QPainter p(&frame);
    p.setFont(CPlotRenderer::LabelFont());
    TextOut(p, rc.left + 15, middle - 7,
            QStringLiteral(" ") + SIText(shift * scale.step, scale.exponent) + QStringLiteral(" - przesunięcie wzdględem zera"),
            colour, background);
}
