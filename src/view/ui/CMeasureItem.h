#pragma once
#include <memory>

#include "view/ui/CViewItem.h"

class CMeasurePanel;

// The "Pomiary" panel in the view's top-right corner: it takes no mouse and draws nothing
// into the frame, but each paint brings its numbers up to date with what the frame shows.
class CMeasureItem : public CViewItem {
public:
    explicit CMeasureItem(CKivView& view);
    ~CMeasureItem() override;

    int HitTest(QPoint, int) const override { return 0; }
    void Press(QPoint, int, QRect&) override {}
    bool IsDragging() const override { return false; }
    void Move(QPoint) override {}
    void Release() override {}
    bool NeedsPaint() const override { return m_bOn || m_pPanel; }
    void Paint(QImage& frame, CData& mode) override;

    // The command's toggle; the choice is the user's, kept in the user's settings.
    bool IsOn() const { return m_bOn; }
    void Toggle();
    // The view is no longer the active one: the panel steps aside until the next paint.
    void HidePanel();
    CMeasurePanel* Panel() const { return m_pPanel.get(); }

private:
    bool m_bOn;
    std::unique_ptr<CMeasurePanel> m_pPanel;
};
