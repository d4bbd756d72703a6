// CKivView's mouse: hit-testing, cursor drags, the zoom rectangle, offset-marker drags
// and the Fourier click.
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "view/ui/CKivView.h"

QPoint CKivView::ViewPoint(const QMouseEvent* event) const {
    QPoint pt = event->position().toPoint() + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    if (m_bConfined) {
        // The pointer cannot be held inside a rectangle on every desktop; the point is.
        pt.setX(std::clamp(pt.x(), m_rcConfine.left(), std::max(m_rcConfine.left(), m_rcConfine.right())));
        pt.setY(std::clamp(pt.y(), m_rcConfine.top(), std::max(m_rcConfine.top(), m_rcConfine.bottom())));
    }
    return pt;
}

// The handled point stays inside rc, its right and bottom edges included. The press
// itself keeps the mouse with the viewport until the release.
void CKivView::Confine(const QRect& rc) {
    m_rcConfine = rc;
    m_bConfined = true;
}

void CKivView::ReleaseConfinement() { m_bConfined = false; }

void CKivView::HitTest(QPoint pt) {
    const int x = pt.x(), y = pt.y();
    const WindowRect& rc = m_rcPlot;
    const WindowRect& client = m_rcClient;
    int hit = 0;
    if (x >= rc.left && x <= rc.right && y >= rc.top && y <= rc.bottom) hit |= HIT_PLOT;
    if (x >= client.left && x <= rc.left - 10 && y >= rc.top && y <= rc.bottom) {
        if (rc.left != client.left + 100) hit |= HIT_YAXIS;
        else hit |= x <= client.left + 50 ? HIT_Y1AXIS : HIT_Y2AXIS;
    }
    if (x >= rc.left && x <= rc.right && y >= rc.bottom && y <= client.bottom) hit |= HIT_XAXIS;
    if ((hit & HIT_PLOT) && std::abs(x - rc.left - m_nCursorPix1) <= 2) hit |= HIT_CURSOR1;
    if ((hit & HIT_PLOT) && std::abs(x - rc.left - m_nCursorPix2) <= 2) hit |= HIT_CURSOR2;
    const COffsetMarker &m1 = m_offsetMarker1, &m2 = m_offsetMarker2;
    if (x >= m1.m_nX - 2 && x <= m1.m_nX + 1 && y >= m1.m_nTop && y <= m1.m_nBottom) hit |= HIT_MARKER1;
    if (x >= m2.m_nX - 1 && x <= m2.m_nX + 2 && y >= m2.m_nTop && y <= m2.m_nBottom) hit |= HIT_MARKER2;
    m_nHit = hit;
}

void CKivView::SetMouseCursor() {
    const bool onMarker = (m_nHit & (HIT_MARKER1 | HIT_MARKER2)) && m_bOffsetCursor;
    Qt::CursorShape shape = Qt::CrossCursor;
    if (!(m_nHit & HIT_PLOT) && !onMarker)
        shape = Qt::ArrowCursor;
    else if ((m_nHit & (HIT_CURSOR1 | HIT_CURSOR2)) && m_bCursors && !m_pDoc->GetCurrentMode()->IsFourier())
        shape = Qt::SizeHorCursor;
    else if (onMarker)
        shape = Qt::SizeVerCursor;
    if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
}

void CKivView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = ViewPoint(event);
    CData& mode = *m_pDoc->GetCurrentMode();
    if (m_bOffsetCursor) {
        for (int plot = 1; plot <= 2; ++plot) {
            COffsetMarker& m = Marker(plot);
            if (!m.m_bDrag) continue;
            // Codes per pixel with whole divisions, as the grid counts them.
            const int div = std::max(mode.m_nDivY, 1);
            const int perDivision = (m_rcPlot.bottom - m_rcPlot.top) / div;
            m.m_nDy = pt.y() - m.m_nGrabY;
            m.m_nDelta = perDivision ? (-200 / div) * m.m_nDy / perDivision : 0;
            m.m_bMoved = m.m_bMoved || pt != QPoint(m.m_nGrabX, m.m_nGrabY);
            viewport()->update();
            return;
        }
    }
    HitTest(pt);
    SetMouseCursor();
    if (m_bDragCursor) {
        const int w = m_rcPlot.right - m_rcPlot.left;
        const int px = std::clamp(pt.x() - m_rcPlot.left, 0, std::max(w, 0));
        (m_nDragCursor == 2 ? m_nCursorPix2 : m_nCursorPix1) = px;
        if (w != 0) (m_nDragCursor == 2 ? m_pDoc->m_nCursor2 : m_pDoc->m_nCursor1) = px * kSamples / w;
        // The spectrum lies between the cursors.
        m_pDoc->GetFourierMode()->m_bReady = 0;
        viewport()->update();
    }
    if (m_bZooming && mode.IsAvailable()) {
        m_ptZoomCorner = pt;
        viewport()->update();
    }
}

void CKivView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pDoc->GetCurrentMode()->IsFourier()) return;
    const QPoint pt = ViewPoint(event);
    HitTest(pt);
    const WindowRect& rc = m_rcPlot;
    if (m_nHit & HIT_PLOT) {
        Confine(QRect(QPoint(rc.left, rc.top), QPoint(rc.right, rc.bottom)));  // QRect's right is inside
        if (!(m_nHit & (HIT_CURSOR1 | HIT_CURSOR2))) {
            m_ptZoomAnchor = m_ptZoomCorner = pt;
            m_bZooming = 1;
        } else {
            m_bDragCursor = 1;
            m_nDragCursor = (m_nHit & HIT_CURSOR2) ? 2 : 1;  // cursor 2 wins when both are near
        }
        return;
    }
    // Beside the plot: across the whole client, and a grabbed marker keeps its bar inside.
    int top = rc.top, bottom = rc.bottom;
    for (int plot = 1; plot <= 2; ++plot) {
        if (!(m_nHit & (plot == 1 ? HIT_MARKER1 : HIT_MARKER2))) continue;
        COffsetMarker& m = Marker(plot);
        m.m_bDrag = 1;
        m.m_nGrabX = pt.x();
        m.m_nGrabY = pt.y();
        m.m_nDy = 0;
        m.m_bMoved = false;
        top = rc.top + pt.y() - m.m_nTop + 1;
        bottom = pt.y() - m.m_nBottom + rc.bottom - 1;
    }
    Confine(QRect(m_rcClient.left, top, m_rcClient.right - m_rcClient.left, bottom - top));
}

void CKivView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pt = ViewPoint(event);
    CData& mode = *m_pDoc->GetCurrentMode();
    if (mode.IsFourier()) {
        m_fourierCursor.m_nClickX = pt.x();
        ReRender();
        return;
    }
    ReleaseConfinement();
    if (m_bDragCursor) {
        m_bDragCursor = 0;
        viewport()->update();
    }
    if (m_bZooming) {
        m_bZooming = 0;
        const WindowRect& rc = m_rcPlot;
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        const int x1 = m_ptZoomAnchor.x() - rc.left, x2 = m_ptZoomCorner.x() - rc.left;
        const int y1 = m_ptZoomAnchor.y() - rc.top, y2 = m_ptZoomCorner.y() - rc.top;
        const int f = mode.IsXY() ? 200 : kSamples;
        if (w > 0 && h > 0)
            mode.ZoomTo(std::min(x1, x2) * f / w, std::min(y1, y2) * 200 / h, std::max(x1, x2) * f / w,
                        std::max(y1, y2) * 200 / h);
        ReRender();
    }
    for (int plot = 1; plot <= 2; ++plot) {
        COffsetMarker& m = Marker(plot);
        if (!m.m_bDrag) continue;
        m.m_bDrag = 0;
        if (!m.m_bMoved) continue;  // a click changes nothing
        CDataSrc& src = m_pDoc->Source();
        PlotSettings s;
        src.GetPlotSettings(s, plot);
        s.bOffset = 1;
        s.nOffset += m.m_nDelta;
        src.SetPlotSettings(s, plot);
        m_pDoc->DataChanged();
    }
}

void CKivView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pDoc->GetCurrentMode()->IsFourier()) return;
    HitTest(ViewPoint(event));
    OnScale(m_nHit & (HIT_YAXIS | HIT_Y1AXIS | HIT_Y2AXIS | HIT_XAXIS));
}
