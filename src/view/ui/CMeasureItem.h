// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRect>
#include <memory>

#include "analysis/Measurements.h"
#include "view/ui/CViewItem.h"

class CMeasurePanel;
class CMeasureStats;

// The "Pomiary" panel in the view's top-right corner, painted into each frame after the other
// items, with the numbers of what that frame shows. Clicks on it stay off the plot beneath;
// its context menu copies the table and reaches the choice of rows and the statistics. While
// it is on, every new record of the document adds its measurements to the statistics.
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
    // The rows shown, and whether with their statistics; the user's, kept in the user's settings.
    // Either choice turns the panel on.
    const MeasureSet& Chosen() const { return m_chosen; }
    void SetChosen(const MeasureSet& chosen);
    bool StatisticsShown() const { return m_bStatistics; }
    void SetStatisticsShown(bool on);
    // "Wybierz pomiary…" over parent; true when it was accepted.
    bool Choose(QWidget* parent);
    // "Zeruj statystyki".
    void ResetStatistics();
    const CMeasureStats& Statistics() const { return *m_pStats; }
    // Whether the panel covers a point of the viewport, as the last frame drew it.
    bool Covers(QPoint viewportPoint) const { return m_bOn && m_rcShown.contains(viewportPoint); }
    // The right button over the panel. False when pt is not on it.
    bool ContextMenu(QPoint viewportPoint, QPoint globalPoint);
    CMeasurePanel* Panel() const { return m_pPanel.get(); }

private:
    void TakeDownFrom(QRect& rcFrame);
    void OnRecord();
    void Changed();

    CKivDoc& m_doc;
    int m_nListener;
    bool m_bOn;
    MeasureSet m_chosen;
    bool m_bStatistics;
    std::unique_ptr<CMeasureStats> m_pStats;
    int m_nStatsChanges = 0;
    MeasureCache m_caches[2];  // of the frames' columns
    MeasureGrid m_grid;        // the panel's last but one table, its storage refilled
    // What the numbers shown were measured from, besides the picture: a frame that changes
    // none of it (the second paint of a drag's step) keeps them.
    struct Inputs {
        const CData* mode = nullptr;
        int32_t cursor1 = 0, cursor2 = 0;
        bool cursors = false, statistics = false;
        WindowRect window;
        MeasureSet chosen;
        int statsChanges = 0;
        bool operator==(const Inputs& o) const {
            return mode == o.mode && cursor1 == o.cursor1 && cursor2 == o.cursor2 && cursors == o.cursors &&
                   statistics == o.statistics && window.left == o.window.left && window.right == o.window.right &&
                   chosen == o.chosen && statsChanges == o.statsChanges;
        }
    };
    Inputs m_measured;
    std::unique_ptr<CMeasurePanel> m_pPanel;
    QRect m_rcShown;  // in viewport coordinates
    QRect m_rcFrame;  // the same in the kept frame's coordinates; null when it holds no panel
};
