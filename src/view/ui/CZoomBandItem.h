// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "view/ui/CViewItem.h"

// The rubber band drawn from a press in the plot away from the cursors; the release
// zooms the current mode into it (a click returns to the whole record).
class CZoomBandItem : public CViewItem {
public:
    explicit CZoomBandItem(IPlotView& view) : CViewItem(view) {}

    int HitTest(QPoint, int) const override { return 0; }
    void Press(QPoint pt, int hit, QRect& confine) override;
    bool IsDragging() const override { return m_bZooming != 0; }
    void Move(QPoint pt) override;
    void Release() override;
    bool NeedsPaint() const override { return m_bZooming != 0; }
    void Paint(QImage& frame, CData& mode) override;

    int m_bZooming = 0;
    QPoint m_ptZoomAnchor, m_ptZoomCorner;  // first and moving corner
};
