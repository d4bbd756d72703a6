// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "view/ui/CViewItem.h"

class CCursorPanel;
class CFourierPanelDlg;

// The two vertical measuring cursors and the read-out panel that goes with them: the
// cursor panel with a row a curve, or the Fourier panel in Fourier mode. The positions are
// the document's; the item keeps their pixels and the drag.
class CCursorItem : public CViewItem {
public:
    explicit CCursorItem(IPlotView& view);
    ~CCursorItem() override;

    int HitTest(QPoint pt, int hit) const override;
    void Press(QPoint pt, int hit, QRect& confine) override;
    bool IsDragging() const override { return m_bDragCursor != 0; }
    void Move(QPoint pt) override;
    void Release() override;
    bool NeedsPaint() const override;
    void Paint(QImage& frame, CData& mode) override;

    // The view is no longer the active one: its panel steps aside until the next paint.
    void HidePanels();
    CCursorPanel* CursorPanel() const { return m_pCursorPanel.get(); }
    CFourierPanelDlg* FourierPanel() const { return m_pFourierPanel.get(); }

    // Offsets from the plot's left edge, as the last paint that drew the cursors set them.
    int m_nCursorPix1 = 0, m_nCursorPix2 = 0;
    int m_bDragCursor = 0;
    int m_nDragCursor = 1;  // 1 or 2

private:
    void UpdatePanels(CData& mode);
    // The panel a paint needs (made for curves when it is a cursor panel), the other closed;
    // it sits in the view's bottom-right corner and never takes the focus.
    template <class PanelType, class... Args>
    PanelType& ShowPanel(std::unique_ptr<PanelType>& panel, Args... args);
    void ClosePanels();

    std::unique_ptr<CCursorPanel> m_pCursorPanel;
    std::unique_ptr<CFourierPanelDlg> m_pFourierPanel;
};
