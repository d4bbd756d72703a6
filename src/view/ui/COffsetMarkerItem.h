// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "view/ui/CViewItem.h"

// The bar left of the plot that shifts one plot up or down (one per plot), with its
// read-out below the plot. Shown only in the plain picture at full extent while the
// offset cursor is on.
class COffsetMarkerItem : public CViewItem {
public:
    COffsetMarkerItem(IPlotView& view, int plot) : CViewItem(view), m_nPlot(plot) {}

    // Only the plain picture at full extent can be shifted.
    static bool Applies(const CData& mode);

    int HitTest(QPoint pt, int hit) const override;
    void Press(QPoint pt, int hit, QRect& confine) override;
    bool IsDragging() const override { return m_bDrag != 0; }
    void Move(QPoint pt) override;
    void Release() override;
    bool NeedsPaint() const override;
    void Paint(QImage& frame, CData& mode) override;

    // The bar as the last paint drew it, clamped into the plot: the hit test and the
    // drag work on what the user sees.
    int m_nTop = 0, m_nBottom = 0;
    int m_nX = 0;
    int m_nMiddle = 0;
    int m_bDrag = 0;
    int m_nDy = 0;  // drag displacement, pixels
    int m_nGrabY = 0;
    int m_nDelta = 0;  // offset in codes the marker stands for
    bool m_bShown = false;  // the last paint drew the bar

private:
    // Bar, arrowheads and, while dragged, the guide lines and the shift from the centre line.
    void PaintBar(QImage& frame, CData& mode);
    void PaintReadOut(QImage& frame, CData& mode);

    int m_nPlot;
    int m_nGrabX = 0;
    bool m_bMoved = false;  // the mouse moved while the bar was dragged
};
