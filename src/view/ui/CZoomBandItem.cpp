// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CZoomBandItem.h"

#include <QWidget>
#include <algorithm>

#include "render/CPlotCanvas.h"
#include "document/CKivDoc.h"

void CZoomBandItem::Press(QPoint pt, int hit, QRect&) {
    if (!(hit & HIT_PLOT) || (hit & (HIT_CURSOR1 | HIT_CURSOR2))) return;
    m_ptZoomAnchor = m_ptZoomCorner = pt;
    m_bZooming = 1;
}

void CZoomBandItem::Move(QPoint pt) {
    if (!m_view.Document().GetCurrentMode()->IsAvailable()) return;
    m_ptZoomCorner = pt;
    m_view.Viewport()->update();
}

void CZoomBandItem::Release() {
    m_bZooming = 0;
    CData& mode = *m_view.Document().GetCurrentMode();
    const WindowRect& rc = m_view.PlotRect();
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x1 = m_ptZoomAnchor.x() - rc.left, x2 = m_ptZoomCorner.x() - rc.left;
    const int y1 = m_ptZoomAnchor.y() - rc.top, y2 = m_ptZoomCorner.y() - rc.top;
    const int f = mode.IsXY() ? 200 : kSamples;
    if (w > 0 && h > 0)
        mode.ZoomTo(std::min(x1, x2) * f / w, std::min(y1, y2) * 200 / h, std::max(x1, x2) * f / w,
                    std::max(y1, y2) * 200 / h);
    m_view.RenderAgain();
}

// The band's outline, right and bottom edges left out, inverted.
void CZoomBandItem::Paint(QImage& frame, CData& mode) {
    if (!m_bZooming || !mode.IsAvailable()) return;
    const int l = std::min(m_ptZoomAnchor.x(), m_ptZoomCorner.x());
    const int r = std::max(m_ptZoomAnchor.x(), m_ptZoomCorner.x());
    const int t = std::min(m_ptZoomAnchor.y(), m_ptZoomCorner.y());
    const int b = std::max(m_ptZoomAnchor.y(), m_ptZoomCorner.y());
    if (r - l < 1 || b - t < 1) return;
    CPlotCanvas dc(frame, &m_view.Damage().drawn);
    dc.SetInvert(true);
    dc.MoveTo(l, t);
    dc.LineTo(r - 1, t);
    dc.LineTo(r - 1, b - 1);
    dc.LineTo(l, b - 1);
    dc.LineTo(l, t);
}
