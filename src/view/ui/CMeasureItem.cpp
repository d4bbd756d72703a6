#include "view/ui/CMeasureItem.h"

#include "analysis/Measurements.h"
#include "analysis/ui/CMeasurePanel.h"
#include "platform/ui/UserSettings.h"
#include "view/ui/CKivView.h"

namespace {
const QString kSettingsKey = QStringLiteral("Widok/Pomiary");
}

CMeasureItem::CMeasureItem(CKivView& view) : CViewItem(view), m_bOn(KivUserSettings()->value(kSettingsKey).toBool()) {}

CMeasureItem::~CMeasureItem() = default;

void CMeasureItem::Toggle() {
    m_bOn = !m_bOn;
    KivUserSettings()->setValue(kSettingsKey, m_bOn);
    m_view.viewport()->update();
}

void CMeasureItem::HidePanel() {
    if (m_pPanel) m_pPanel->hide();
}

void CMeasureItem::Paint(QImage&, CData& mode) {
    if (!m_bOn) {
        m_pPanel.reset();
        return;
    }
    QWidget* viewport = m_view.viewport();
    if (!m_pPanel) {
        m_pPanel = std::make_unique<CMeasurePanel>(viewport);
        m_pPanel->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    // A mode the render has not brought up to date yet (a spectrum whose cursors moved)
    // keeps the last numbers until the render that follows.
    if (mode.m_bReady || !mode.IsAvailable())
        m_pPanel->ShowMeasurements(MeasureCurrentMode(*m_view.GetDocument(), m_view.m_bCursors != 0));
    m_pPanel->move(viewport->width() - m_pPanel->width(), 0);
    if (m_view.m_bActive && m_pPanel->isHidden()) m_pPanel->show();
}
