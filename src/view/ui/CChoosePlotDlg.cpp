// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CChoosePlotDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "widgets/ui/DialogParts.h"
#include "qtcore/KivLanguage.h"

CChoosePlotDlg::CChoosePlotDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(KivTr("Kiv", "Wybierz wykres"));
    setModal(true);
    auto* group = new QGroupBox(KivTr("Kiv", "Wykres"), this);
    m_pPlot1 = new QRadioButton(KivTr("Kiv", "Wykres 1"), group);
    m_pPlot1->setObjectName(QStringLiteral("1051"));
    m_pPlot2 = new QRadioButton(KivTr("Kiv", "Wykres 2"), group);
    m_pPlot2->setObjectName(QStringLiteral("1052"));
    // Plain radio buttons: the dialog sets both checks itself.
    m_pPlot1->setAutoExclusive(false);
    m_pPlot2->setAutoExclusive(false);
    connect(m_pPlot1, &QRadioButton::clicked, this, [this] { Choose(1); });
    connect(m_pPlot2, &QRadioButton::clicked, this, [this] { Choose(0); });
    m_pPlot1->setChecked(true);
    m_pPlot2->setChecked(false);

    auto* column = new QVBoxLayout(group);
    column->addWidget(m_pPlot1);
    column->addWidget(m_pPlot2);

    const auto [buttons, ok, cancel] = AddOkCancel(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setTabOrder(m_pPlot1, m_pPlot2);
    setTabOrder(m_pPlot2, ok);
    setTabOrder(ok, cancel);
    setFixedSize(sizeHint());
}

void CChoosePlotDlg::Choose(int choice) {
    m_nChoice = choice;
    m_pPlot1->setChecked(choice == 1);
    m_pPlot2->setChecked(choice != 1);
}
