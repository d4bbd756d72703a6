#pragma once
#include <QRect>
#include <memory>

#include "view/ui/CViewItem.h"

class CMeasurePanel;

// The "Pomiary" panel in the view's top-right corner, painted into each frame after the other
// items, with the numbers of what that frame shows. Clicks on it stay off the plot beneath;
// its context menu copies the table.
class CMeasureItem : public CViewItem {
public:
    explicit CMeasureItem(IPlotView& view);
    ~CMeasureItem() override;

    int HitTest(QPoint, int) const override { return 0; }
    void Press(QPoint, int, QRect&) override {}
    bool IsDragging() const override { return false; }
    void Move(QPoint) override {}
    void Release() override {}
    bool NeedsPaint() const override { return m_bOn; }
    void Paint(QImage& frame, CData& mode) override;

    // The command's toggle; the choice is the user's, kept in the user's settings.
    bool IsOn() const { return m_bOn; }
    void Toggle();
    // Whether the panel covers a point of the viewport, as the last frame drew it.
    bool Covers(QPoint viewportPoint) const { return m_bOn && m_rcShown.contains(viewportPoint); }
    // The right button over the panel: "Kopiuj". False when pt is not on it.
    bool ContextMenu(QPoint viewportPoint, QPoint globalPoint);
    CMeasurePanel* Panel() const { return m_pPanel.get(); }

private:
    void TakeDownFrom(QRect& rcFrame);

    bool m_bOn;
    std::unique_ptr<CMeasurePanel> m_pPanel;
    QRect m_rcShown;  // in viewport coordinates
    QRect m_rcFrame;  // the same in the kept frame's coordinates; null when it holds no panel
};
