// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CScaleDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>
#include <string>

#include "units/SINotation.h"
#include "widgets/ui/DialogParts.h"
#include "qtcore/KivLanguage.h"

CScaleDlg::CScaleDlg(const QString& title, const AxisWindowInfo& info, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_info(info),
      m_given(info) {
    setWindowTitle(title);
    setModal(true);
    const bool full = m_info.max == m_info.limitMax && m_info.min == m_info.limitMin;
    m_bAutomatic = full ? 1 : 0;
    m_bManual = full ? 0 : 1;

    auto* group = new QGroupBox(KivTr("Kiv", "Skalowanie"), this);
    m_pMaxEdit = new QLineEdit(SIText(m_info.max * m_info.step, m_info.exponent), group);
    m_pMaxEdit->setObjectName(QStringLiteral("1035"));
    m_pMinEdit = new QLineEdit(SIText(m_info.min * m_info.step, m_info.exponent), group);
    m_pMinEdit->setObjectName(QStringLiteral("1034"));
    m_pAutomatic = new QCheckBox(KivTr("Kiv", "Automatyczne"), group);
    m_pAutomatic->setObjectName(QStringLiteral("1032"));
    m_pManual = new QCheckBox(KivTr("Kiv", "Ręczne"), group);
    m_pManual->setObjectName(QStringLiteral("1033"));
    // The boxes are a pair of alternatives: a click ticks its own box, never unticks it.
    connect(m_pAutomatic, &QCheckBox::clicked, this, [this] { SetAutomatic(true); });
    connect(m_pManual, &QCheckBox::clicked, this, [this] { SetAutomatic(false); });
    SetAutomatic(m_bAutomatic != 0);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(KivTr("Kiv", "Do"), group), 0, 0);
    grid->addWidget(m_pMaxEdit, 0, 1);
    grid->addWidget(new QLabel(KivTr("Kiv", "Od"), group), 1, 0);
    grid->addWidget(m_pMinEdit, 1, 1);
    grid->addWidget(m_pAutomatic, 2, 0, 1, 2);
    grid->addWidget(m_pManual, 3, 0, 1, 2);

    const auto [buttons, ok, cancel] = AddOkCancel(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    QWidget* order[] = {m_pMaxEdit, m_pMinEdit, m_pAutomatic, m_pManual, ok, cancel};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    setFixedSize(sizeHint());
}

const AxisWindowInfo& CScaleDlg::Info() const { return m_info; }

void CScaleDlg::SetAutomatic(bool automatic) {
    m_bAutomatic = automatic ? 1 : 0;
    m_bManual = automatic ? 0 : 1;
    m_pAutomatic->setChecked(automatic);
    m_pManual->setChecked(!automatic);
    m_pMaxEdit->setEnabled(!automatic);
    m_pMinEdit->setEnabled(!automatic);
}

void CScaleDlg::accept() {
    if (m_bAutomatic) {
        m_info.min = m_info.limitMin;
        m_info.max = m_info.limitMax;
        QDialog::accept();
        return;
    }
    // A value read before a failure stays here; the caller takes nothing but an OK.
    if (!ParseSIScaled(&m_info.min, FieldText(m_pMinEdit).constData(), m_info.limitMin, m_info.limitMax,
                       m_info.step, m_info.exponent))
        return;
    if (!ParseSIScaled(&m_info.max, FieldText(m_pMaxEdit).constData(), m_info.limitMin, m_info.limitMax,
                       m_info.step, m_info.exponent))
        return;
    if (int64_t{m_info.min} + 10 >= m_info.max) return;  // the window must span more than 10
    QDialog::accept();
}

void CScaleDlg::reject() {
    m_info = m_given;
    QDialog::reject();
}
