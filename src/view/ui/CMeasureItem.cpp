// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CMeasureItem.h"

#include <QMenu>
#include <QStringList>
#include <QWidget>

#include "analysis/CMeasureStats.h"
#include "analysis/ui/CMeasurePanel.h"
#include "analysis/ui/CMeasureSelectDlg.h"
#include "document/CKivDoc.h"
#include "qtcore/KivLanguage.h"
#include "qtcore/UserSettings.h"

namespace {

const QString kOnKey = QStringLiteral("Widok/Pomiary");
const QString kRowsKey = QStringLiteral("Widok/PomiaryWybrane");  // kivtool's keys
const QString kStatisticsKey = QStringLiteral("Widok/PomiaryStatystyki");

MeasureSet StoredRows() {
    const auto settings = KivUserSettings();
    if (!settings->contains(kRowsKey)) return DefaultMeasurements();
    MeasureSet rows;
    for (const QString& key : settings->value(kRowsKey).toStringList())
        if (const MeasureId id = FindMeasure(key.toStdString()); id != kMeasCount) rows.set(id);
    return rows;
}

}  // namespace

// The document outlives its view; the listener goes with the item.
CMeasureItem::CMeasureItem(IPlotView& view)
    : CViewItem(view), m_doc(view.Document()), m_nListener(m_doc.AddRecordListener([this] { OnRecord(); })),
      m_bOn(KivUserSettings()->value(kOnKey).toBool()), m_chosen(StoredRows()),
      m_bStatistics(KivUserSettings()->value(kStatisticsKey).toBool()), m_pStats(std::make_unique<CMeasureStats>()) {}

CMeasureItem::~CMeasureItem() { m_doc.RemoveRecordListener(m_nListener); }

void CMeasureItem::Toggle() {
    m_bOn = !m_bOn;
    KivUserSettings()->setValue(kOnKey, m_bOn);
    if (!m_bOn) {
        m_pPanel.reset(), m_rcShown = {};
        TakeDownFrom(m_rcFrame);
    }
    m_view.Viewport()->update();
}

void CMeasureItem::Changed() {
    if (!m_bOn) Toggle();
    else m_view.Viewport()->update();
}

void CMeasureItem::SetChosen(const MeasureSet& chosen) {
    m_chosen = chosen;
    QStringList keys;
    for (int id = 0; id < kMeasCount; ++id)
        if (chosen[static_cast<size_t>(id)]) keys << QString::fromLatin1(MeasureTable()[id].key);
    KivUserSettings()->setValue(kRowsKey, keys);
    Changed();
}

void CMeasureItem::SetStatisticsShown(bool on) {
    m_bStatistics = on;
    KivUserSettings()->setValue(kStatisticsKey, on);
    Changed();
}

bool CMeasureItem::Choose(QWidget* parent) {
    CMeasureSelectDlg dlg(m_chosen, m_bStatistics, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    m_bStatistics = dlg.Statistics();
    KivUserSettings()->setValue(kStatisticsKey, m_bStatistics);
    SetChosen(dlg.Chosen());
    return true;
}

void CMeasureItem::ResetStatistics() {
    m_pStats->Reset();
    ++m_nStatsChanges;
    m_view.Viewport()->update();
}

// Each record counts once, measured as the panel would show it now, the rows it shows.
void CMeasureItem::OnRecord() {
    if (!m_bOn) return;
    m_pStats->Add(m_doc.MeasureCurrentMode(m_view.CursorsShown(), m_chosen));
    ++m_nStatsChanges;
}

void CMeasureItem::Paint(QImage& frame, CData& mode) {
    if (!m_bOn) return;
    const bool fresh = !m_pPanel;
    if (!m_pPanel) m_pPanel = std::make_unique<CMeasurePanel>();
    // Every change of the data brings a new picture; the rest of what the numbers depend on is
    // compared.
    const Inputs inputs{&mode,         m_doc.m_nCursor1, m_doc.m_nCursor2, m_view.CursorsShown(),
                        m_bStatistics, mode.m_window,    m_chosen,         m_nStatsChanges};
    const bool changed = fresh || !m_view.IsKeptFrame(frame) || m_view.Damage().repairedAll || m_view.Damage().all ||
                         !(inputs == m_measured);
    // A mode the render has not brought up to date yet keeps the last numbers until the render
    // that follows; the spectrum's rows need no spectrum.
    if (changed && (mode.m_bReady || mode.IsFourier() || !mode.IsAvailable())) {
        const ModeMeasurements m = m_doc.MeasureCurrentMode(m_view.CursorsShown(), m_chosen, m_caches);
        FillMeasureGrid(m_grid, m, m_chosen, m_bStatistics ? m_pStats.get() : nullptr);
        m_pPanel->Show(m_grid);
        m_measured = inputs;
    }
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
        m_rcFrame = m_view.Damage().covered = rc;
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
    rcFrame = m_view.Damage().covered = {};
    m_view.Viewport()->update();
}

bool CMeasureItem::ContextMenu(QPoint viewportPoint, QPoint globalPoint) {
    if (!Covers(viewportPoint) || !m_pPanel) return false;
    QMenu menu;
    const CMeasurePanel* panel = m_pPanel.get();
    menu.addAction(KivTr("Kiv", "Kopiuj"), [panel] { panel->CopyToClipboard(); });
    menu.addSeparator();
    menu.addAction(KivTr("Kiv", "Wybierz pomiary…"), [this] { Choose(m_view.Viewport()); });
    QAction* statistics = menu.addAction(KivTr("Kiv", "Statystyki pomiarów"), [this] {
        SetStatisticsShown(!m_bStatistics);
    });
    statistics->setCheckable(true);
    statistics->setChecked(m_bStatistics);
    menu.addAction(KivTr("Kiv", "Zeruj statystyki"), [this] { ResetStatistics(); });
    menu.exec(globalPoint);
    return true;
}
