// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/CMeasureSelectDlg.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qtcore/KivLanguage.h"
#include "widgets/ui/DialogParts.h"

namespace {
constexpr int kIdRole = Qt::UserRole;
constexpr MeasureGroup kGroups[] = {MeasureGroup::Amplitude, MeasureGroup::Time, MeasureGroup::Between,
                                    MeasureGroup::Spectrum};
}  // namespace

CMeasureSelectDlg::CMeasureSelectDlg(const MeasureSet& chosen, bool statistics, QWidget* parent)
    : QDialog(parent), m_pList(new QTreeWidget(this)), m_pStatistics(new QCheckBox(this)) {
    m_pStatistics->setText(KivTr("Kiv", "Statystyki: średnia, minimum, maksimum, σ i liczba zapisów"));
    setWindowTitle(KivTr("Kiv", "Wybierz pomiary"));
    m_pList->setColumnCount(2);
    m_pList->setHeaderLabels({KivTr("Kiv", "Pomiar"), QStringLiteral("kivtool")});
    m_pList->setRootIsDecorated(true);
    m_pList->setUniformRowHeights(true);
    for (MeasureGroup group : kGroups) {
        auto* head = new QTreeWidgetItem(m_pList, {KivTr("Kiv", MeasureGroupName(group))});
        // A group's box sets or clears all its rows and shows whether some are chosen.
        head->setFlags(head->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
        for (int id = 0; id < kMeasCount; ++id) {
            const MeasureInfo& info = MeasureTable()[id];
            if (info.group != group) continue;
            auto* row = new QTreeWidgetItem(head, {KivTr("Kiv", info.label), QString::fromLatin1(info.key)});
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setData(0, kIdRole, id);
            row->setCheckState(0, Qt::Unchecked);
        }
        head->setExpanded(true);
    }
    SetChosen(chosen);
    m_pList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_pStatistics->setChecked(statistics);

    const auto [buttons, ok, cancel] = AddOkCancel(this);
    QPushButton* defaults = buttons->addButton(KivTr("Kiv", "Domyślne"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("defaults"));
    connect(defaults, &QPushButton::clicked, this, [this] { SetChosen(DefaultMeasurements()); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addWidget(m_pStatistics);
    layout->addWidget(buttons);
    // Every row in sight without scrolling where the screen allows.
    m_pList->resizeColumnToContents(0);
    m_pList->resizeColumnToContents(1);
    resize(m_pList->columnWidth(0) + m_pList->columnWidth(1) + 80, 620);
}

void CMeasureSelectDlg::SetChosen(const MeasureSet& chosen) {
    for (int g = 0; g < m_pList->topLevelItemCount(); ++g) {
        QTreeWidgetItem* head = m_pList->topLevelItem(g);
        for (int r = 0; r < head->childCount(); ++r) {
            QTreeWidgetItem* row = head->child(r);
            row->setCheckState(0, chosen[static_cast<size_t>(row->data(0, kIdRole).toInt())] ? Qt::Checked
                                                                                              : Qt::Unchecked);
        }
    }
}

MeasureSet CMeasureSelectDlg::Chosen() const {
    MeasureSet chosen;
    for (int g = 0; g < m_pList->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* head = m_pList->topLevelItem(g);
        for (int r = 0; r < head->childCount(); ++r)
            if (head->child(r)->checkState(0) == Qt::Checked)
                chosen.set(static_cast<size_t>(head->child(r)->data(0, kIdRole).toInt()));
    }
    return chosen;
}

bool CMeasureSelectDlg::Statistics() const { return m_pStatistics->isChecked(); }
