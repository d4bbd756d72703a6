// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CCursorItem.h"

#include <algorithm>
#include <cstdlib>
#include <type_traits>

#include <QWidget>

#include "analysis/ui/CFourierPanelDlg.h"
#include "document/CKivDoc.h"
#include "render/CFourierCursor.h"
#include "render/CPlotCanvas.h"
#include "view/ui/CCursorPanel.h"

CCursorItem::CCursorItem(IPlotView& view) : CViewItem(view) {}

CCursorItem::~CCursorItem() = default;

// Whether the cursors are shown or not: a hidden cursor is still grabbed where it was.
int CCursorItem::HitTest(QPoint pt, int hit) const {
    if (!(hit & HIT_PLOT)) return 0;
    const int px = pt.x() - m_view.PlotRect().left;
    return (std::abs(px - m_nCursorPix1) <= 2 ? HIT_CURSOR1 : 0) |
           (std::abs(px - m_nCursorPix2) <= 2 ? HIT_CURSOR2 : 0);
}

void CCursorItem::Press(QPoint, int hit, QRect&) {
    if (!(hit & HIT_PLOT) || !(hit & (HIT_CURSOR1 | HIT_CURSOR2))) return;
    m_bDragCursor = 1;
    m_nDragCursor = (hit & HIT_CURSOR2) ? 2 : 1;  // cursor 2 wins when both are near
}

void CCursorItem::Move(QPoint pt) {
    const WindowRect& rc = m_view.PlotRect();
    CKivDoc& doc = m_view.Document();
    const int w = rc.right - rc.left;
    const int px = std::clamp(pt.x() - rc.left, 0, std::max(w, 0));
    (m_nDragCursor == 2 ? m_nCursorPix2 : m_nCursorPix1) = px;
    if (w != 0) (m_nDragCursor == 2 ? doc.m_nCursor2 : doc.m_nCursor1) = px * kSamples / w;
    // The spectrum lies between the cursors.
    doc.GetFourierMode()->m_bReady = 0;
    m_view.Viewport()->update();
}

void CCursorItem::Release() {
    m_bDragCursor = 0;
    m_view.Viewport()->update();
}

bool CCursorItem::NeedsPaint() const {
    return m_view.CursorsShown() || m_pCursorPanel || m_pFourierPanel;
}

void CCursorItem::Paint(QImage& frame, CData& mode) {
    if (!m_view.CursorsShown() || !mode.IsAvailable() || mode.IsXY()) {
        ClosePanels();
        return;
    }
    if (!mode.IsFourier()) {
        const WindowRect& rc = m_view.PlotRect();
        const CKivDoc& doc = m_view.Document();
        const int w = rc.right - rc.left;
        m_nCursorPix1 = static_cast<int>(int64_t{w} * doc.m_nCursor1 / kSamples);
        m_nCursorPix2 = static_cast<int>(int64_t{w} * doc.m_nCursor2 / kSamples);
        CPlotCanvas dc(frame, &m_view.Damage().drawn);
        dc.SetInvert(true);
        const QRect covered = m_view.IsKeptFrame(frame) ? m_view.Damage().covered : QRect();
        // A column from bottom up to top (left out), less what covered holds.
        auto column = [&](int x) {
            const int bottom = rc.bottom, top = rc.top;
            if (covered.isNull() || x < covered.left() || x > covered.right()) return dc.Line(x, bottom, x, top);
            if (bottom > covered.bottom()) dc.Line(x, bottom, x, std::max(top, covered.bottom()));
            if (covered.top() - 1 > top) dc.Line(x, std::min(bottom, covered.top() - 1), x, top);
        };
        column(rc.left + m_nCursorPix1);
        // A second inversion of the same pixels would erase the first cursor.
        if (m_nCursorPix2 != m_nCursorPix1) column(rc.left + m_nCursorPix2);
    }
    UpdatePanels(mode);
}

template <class PanelType, class... Args>
PanelType& CCursorItem::ShowPanel(std::unique_ptr<PanelType>& panel, Args... args) {
    if (!std::is_same_v<PanelType, CCursorPanel>) m_pCursorPanel.reset();
    if (!std::is_same_v<PanelType, CFourierPanelDlg>) m_pFourierPanel.reset();
    QWidget* viewport = m_view.Viewport();
    if (!panel) {
        panel = std::make_unique<PanelType>(viewport, args...);
        panel->setAttribute(Qt::WA_ShowWithoutActivating);
        panel->setFocusPolicy(Qt::NoFocus);
        panel->resize(panel->sizeHint());
    }
    panel->move(viewport->width() - panel->width(), viewport->height() - panel->height());
    if (m_view.IsActive() && panel->isHidden()) panel->show();
    return *panel;
}

void CCursorItem::ClosePanels() {
    m_pCursorPanel.reset();
    m_pFourierPanel.reset();
}

void CCursorItem::HidePanels() {
    if (m_pCursorPanel) m_pCursorPanel->hide();
    if (m_pFourierPanel) m_pFourierPanel->hide();
}

void CCursorItem::UpdatePanels(CData& mode) {
    if (mode.IsFourier()) {
        CFourierPanelDlg& panel = ShowPanel(m_pFourierPanel);
        FourierPanelValues& v = panel.m_values;
        const CFourierCursor& cursor = m_view.FourierCursor();
        const int k = cursor.m_nHarmonic;
        v.m_nHarmonic = k;
        mode.GetHarmonic(k, v.m_fAmplitude, v.m_nAmpExponent, v.m_dPhase, v.m_dA0, v.m_dAn, v.m_dBn,
                         cursor.m_nPlot ? 2 : 1);
        v.m_strPlot = cursor.m_strPlot;
        float t1 = 0, t2 = 0;
        int i1 = 0, i2 = 0, exponent = 0;
        // Copies the record's time scale into the mode first: the frequency's exponent is that one.
        mode.CursorRawValues(t1, t2, i1, i2, exponent, 3);
        v.m_nFreqExponent = mode.GetScale(4).exponent;
        v.m_dFrequency = k / (static_cast<double>(t2) - static_cast<double>(t1));
        panel.ShowValues();
        return;
    }
    const int curves = mode.ShowsTwoCurves() ? 2 : 1;
    if (m_pCursorPanel && m_pCursorPanel->Curves() != curves) m_pCursorPanel.reset();
    CCursorPanel& panel = ShowPanel(m_pCursorPanel, curves);
    mode.CursorValues(panel.m_fX1, panel.m_fX2, panel.m_nXExponent, 3);
    for (int c = 0; c < curves; ++c) mode.CursorValues(panel.m_fY[c][0], panel.m_fY[c][1], panel.m_nYExponent[c], c + 1);
    panel.ShowValues();
}
