#include "view/ui/CMeasureItem.h"

#include <QMenu>
#include <QWidget>

#include "analysis/Measurements.h"
#include "analysis/ui/CMeasurePanel.h"
#include "qtcore/UserSettings.h"
#include "document/CKivDoc.h"
#include "qtcore/KivLanguage.h"

namespace {
const QString kSettingsKey = QStringLiteral("Widok/Pomiary");
}

CMeasureItem::CMeasureItem(IPlotView& view) : CViewItem(view), m_bOn(KivUserSettings()->value(kSettingsKey).toBool()) {}

CMeasureItem::~CMeasureItem() = default;

void CMeasureItem::Toggle() {
    m_bOn = !m_bOn;
    KivUserSettings()->setValue(kSettingsKey, m_bOn);
    if (!m_bOn) {
        m_pPanel.reset(), m_rcShown = {};
        TakeDownFrom(m_rcFrame);
    }
    m_view.Viewport()->update();
}

void CMeasureItem::Paint(QImage& frame, CData& mode) {
    if (!m_bOn) return;
    if (!m_pPanel) m_pPanel = std::make_unique<CMeasurePanel>();
    // A mode the render has not brought up to date yet (a spectrum whose cursors moved)
    // keeps the last numbers until the render that follows.
    if (mode.m_bReady || !mode.IsAvailable()) m_pPanel->Show(m_view.Document().MeasureCurrentMode(
        m_view.CursorsShown()));
    // The frame is the whole picture; the panel keeps to the visible part's top-right corner.
    const QPoint scroll = m_view.ScrollPosition();
    const QSize size = m_pPanel->Size();
    m_rcShown = QRect(QPoint(m_view.Viewport()->width() - size.width(), 0), size);
    const QRect rc = m_rcShown.translated(scroll);
    if (!m_view.IsKeptFrame(frame)) {  // a picture of the screen, drawn afresh
        m_pPanel->Paint(frame, rc.topLeft());
        return;
    }
    // Painted last and opaque, the panel covers its rectangle of the kept frame whatever was
    // repaired beneath it: only a rectangle it leaves needs the back bitmap again.
    const bool moved = rc != m_rcFrame;
    if (moved) {
        TakeDownFrom(m_rcFrame);
        m_rcFrame = rc;
    }
    // In the kept frame only what changed under it (repaired, drawn over by the cursors) and
    // the figures that changed are copied again: a whole panel a frame costs a drag 5-10 %.
    std::vector<QRect> dirty;
    for (const auto* rects : {&m_view.Damage().repaired, &m_view.Damage().drawn})
        for (const QRect& r : *rects)  // a cursor standing still is both repaired and drawn again
            if (r.intersects(rc) && std::find(dirty.begin(), dirty.end(), r) == dirty.end()) dirty.push_back(r);
    m_pPanel->Update(frame, rc.topLeft(), moved || m_view.Damage().repairedAll || m_view.Damage().all, dirty);
}

// The part of the frame the panel left is repaired in a frame of its own, at once.
void CMeasureItem::TakeDownFrom(QRect& rcFrame) {
    if (rcFrame.isNull()) return;
    m_view.Damage().drawn.push_back(rcFrame);
    rcFrame = {};
    m_view.Viewport()->update();
}

bool CMeasureItem::ContextMenu(QPoint viewportPoint, QPoint globalPoint) {
    if (!Covers(viewportPoint) || !m_pPanel) return false;
    QMenu menu;
    const CMeasurePanel* panel = m_pPanel.get();
    menu.addAction(KivTr("Kiv", "Kopiuj"), [panel] { panel->CopyToClipboard(); });
    menu.exec(globalPoint);
    return true;
}
