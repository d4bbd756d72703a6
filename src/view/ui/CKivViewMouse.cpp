// SPDX-License-Identifier: GPL-3.0-or-later
// CKivView's mouse: the hit test and the routing of presses, moves and releases to the
// items over the picture; the Fourier click and the double-click on a label strip.
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

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

// The press itself keeps the mouse with the viewport until the release.
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
    const int areas = hit;
    for (const CViewItem* item : m_items) hit |= item->HitTest(pt, areas);
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
    // A dragged marker takes the move whole; the hit flags stay those of the press.
    if (m_bOffsetCursor) {
        for (COffsetMarkerItem* marker : {&m_offsetMarker1, &m_offsetMarker2}) {
            if (!marker->IsDragging()) continue;
            marker->Move(pt);
            return;
        }
    }
    HitTest(pt);
    SetMouseCursor();
    for (CViewItem* item : {static_cast<CViewItem*>(&m_cursors), static_cast<CViewItem*>(&m_zoomBand)})
        if (item->IsDragging()) item->Move(pt);
}

void CKivView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pDoc->GetCurrentMode()->IsFourier()) return;
    if (m_measure.Covers(event->position().toPoint())) return;  // the panel lies over the plot
    const QPoint pt = ViewPoint(event);
    HitTest(pt);
    const WindowRect& rc = m_rcPlot;
    // In the plot the plot's rectangle, edges included; beside it the whole client across
    // and the plot's height, which a grabbed marker narrows.
    QRect confine = (m_nHit & HIT_PLOT) ? QRect(QPoint(rc.left, rc.top), QPoint(rc.right, rc.bottom))
                                        : QRect(m_rcClient.left, rc.top, m_rcClient.right - m_rcClient.left,
                                                rc.bottom - rc.top);
    for (CViewItem* item : m_items) item->Press(pt, m_nHit, confine);
    Confine(confine);
}

void CKivView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pt = ViewPoint(event);
    if (m_pDoc->GetCurrentMode()->IsFourier()) {
        m_fourierCursor.m_nClickX = pt.x();
        RenderAgain();
        return;
    }
    ReleaseConfinement();
    for (CViewItem* item : m_items)
        if (item->IsDragging()) item->Release();
}

void CKivView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pDoc->GetCurrentMode()->IsFourier()) return;
    HitTest(ViewPoint(event));
    if (const int axis = m_nHit & (HIT_YAXIS | HIT_Y1AXIS | HIT_Y2AXIS | HIT_XAXIS)) emit axisDoubleClicked(axis);
}

void CKivView::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_measure.ContextMenu(event->pos(), event->globalPos())) QAbstractScrollArea::contextMenuEvent(event);
}
