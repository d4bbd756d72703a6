#include "view/ui/CCursorItem.h"

#include <algorithm>
#include <cstdlib>
#include <type_traits>

#include "analysis/ui/CFourierPanelDlg.h"
#include "view/ui/CCursorPanel.h"
#include "view/ui/CCursorPanel2.h"
#include "render/CGdiCanvas.h"
#include "view/ui/CKivView.h"

CCursorItem::CCursorItem(CKivView& view) : CViewItem(view) {}

CCursorItem::~CCursorItem() = default;

// Whether the cursors are shown or not: a hidden cursor is still grabbed where it was.
int CCursorItem::HitTest(QPoint pt, int hit) const {
    if (!(hit & HIT_PLOT)) return 0;
    const int px = pt.x() - m_view.m_rcPlot.left;
    return (std::abs(px - m_nCursorPix1) <= 2 ? HIT_CURSOR1 : 0) |
           (std::abs(px - m_nCursorPix2) <= 2 ? HIT_CURSOR2 : 0);
}

void CCursorItem::Press(QPoint, int hit, QRect&) {
    if (!(hit & HIT_PLOT) || !(hit & (HIT_CURSOR1 | HIT_CURSOR2))) return;
    m_bDragCursor = 1;
    m_nDragCursor = (hit & HIT_CURSOR2) ? 2 : 1;  // cursor 2 wins when both are near
}

void CCursorItem::Move(QPoint pt) {
    const WindowRect& rc = m_view.m_rcPlot;
    CKivDoc& doc = *m_view.GetDocument();
    const int w = rc.right - rc.left;
    const int px = std::clamp(pt.x() - rc.left, 0, std::max(w, 0));
    (m_nDragCursor == 2 ? m_nCursorPix2 : m_nCursorPix1) = px;
    if (w != 0) (m_nDragCursor == 2 ? doc.m_nCursor2 : doc.m_nCursor1) = px * kSamples / w;
    // The spectrum lies between the cursors.
    doc.GetFourierMode()->m_bReady = 0;
    m_view.viewport()->update();
}

void CCursorItem::Release() {
    m_bDragCursor = 0;
    m_view.viewport()->update();
}

bool CCursorItem::NeedsPaint() const {
    return m_view.m_bCursors || m_pCursorPanel || m_pCursorPanel2 || m_pFourierPanel;
}

void CCursorItem::Paint(QImage& frame, CData& mode) {
    if (!m_view.m_bCursors || !mode.IsAvailable() || mode.IsXY()) {
        ClosePanels();
        return;
    }
    if (!mode.IsFourier()) {
        const WindowRect& rc = m_view.m_rcPlot;
        const CKivDoc& doc = *m_view.GetDocument();
        const int w = rc.right - rc.left;
        m_nCursorPix1 = static_cast<int>(int64_t{w} * doc.m_nCursor1 / kSamples);
        m_nCursorPix2 = static_cast<int>(int64_t{w} * doc.m_nCursor2 / kSamples);
        CGdiCanvas dc(frame, &m_view.m_frameDamage);
        dc.SetInvert(true);
        dc.Line(rc.left + m_nCursorPix1, rc.bottom, rc.left + m_nCursorPix1, rc.top);
        // A second inversion of the same pixels would erase the first cursor.
        if (m_nCursorPix2 != m_nCursorPix1)
            dc.Line(rc.left + m_nCursorPix2, rc.bottom, rc.left + m_nCursorPix2, rc.top);
    }
    UpdatePanels(mode);
}

// The panel a paint needs, created when missing, the others closed; it sits in the
// view's bottom-right corner and never takes the focus.
template <class PanelType>
PanelType& CCursorItem::ShowPanel(std::unique_ptr<PanelType>& panel) {
    if (!std::is_same_v<PanelType, CCursorPanel>) m_pCursorPanel.reset();
    if (!std::is_same_v<PanelType, CCursorPanel2>) m_pCursorPanel2.reset();
    if (!std::is_same_v<PanelType, CFourierPanelDlg>) m_pFourierPanel.reset();
    QWidget* viewport = m_view.viewport();
    if (!panel) {
        panel = std::make_unique<PanelType>(viewport);
        panel->setAttribute(Qt::WA_ShowWithoutActivating);
        panel->setFocusPolicy(Qt::NoFocus);
        panel->resize(panel->sizeHint());
    }
    panel->move(viewport->width() - panel->width(), viewport->height() - panel->height());
    if (m_view.m_bActive && panel->isHidden()) panel->show();
    return *panel;
}

void CCursorItem::ClosePanels() {
    m_pCursorPanel.reset();
    m_pCursorPanel2.reset();
    m_pFourierPanel.reset();
}

void CCursorItem::HidePanels() {
    if (m_pCursorPanel) m_pCursorPanel->hide();
    if (m_pCursorPanel2) m_pCursorPanel2->hide();
    if (m_pFourierPanel) m_pFourierPanel->hide();
}

void CCursorItem::UpdatePanels(CData& mode) {
    if (mode.IsFourier()) {
        CFourierPanelDlg& panel = ShowPanel(m_pFourierPanel);
        FourierPanelValues& v = panel.m_values;
        const CFourierCursor& cursor = m_view.m_fourierCursor;
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
    if (mode.ShowsTwoCurves()) {
        CCursorPanel2& panel = ShowPanel(m_pCursorPanel2);
        mode.CursorValues(panel.m_fX1, panel.m_fX2, panel.m_nXExponent, 3);
        mode.CursorValues(panel.m_fY11, panel.m_fY12, panel.m_nY1Exponent, 1);
        mode.CursorValues(panel.m_fY21, panel.m_fY22, panel.m_nY2Exponent, 2);
        panel.ShowValues();
        return;
    }
    CCursorPanel& panel = ShowPanel(m_pCursorPanel);
    mode.CursorValues(panel.m_fX1, panel.m_fX2, panel.m_nXExponent, 3);
    mode.CursorValues(panel.m_fY1, panel.m_fY2, panel.m_nYExponent, 1);
    panel.ShowValues();
}
