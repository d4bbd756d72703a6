// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ui/CReadoutPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "units/SINotation.h"
#include "qtcore/KivLanguage.h"

CReadoutPanel::CReadoutPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    // The plot must not show through between the fields.
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

QString CReadoutPanel::FieldText(int controlId) const {
    const auto it = m_fields.find(controlId);
    return it == m_fields.end() ? QString() : it->second->text();
}

QLineEdit* CReadoutPanel::AddField(int controlId, const QString& sample) {
    auto* edit = new QLineEdit(this);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(sample) + 12);
    m_fields[controlId] = edit;
    return edit;
}

void CReadoutPanel::SetField(int controlId, const std::string& text) {
    const auto it = m_fields.find(controlId);
    if (it != m_fields.end()) it->second->setText(QString::fromStdString(text));
}

void CReadoutPanel::BuildCursorTable(const CursorRow* rows, int count) {
    auto* group = new QGroupBox(KivTr("Kiv", "Współrzędne kursorów"), this);
    auto* grid = new QGridLayout(group);
    const QString heads[3] = {KivTr("Kiv", "Kursor początkowy"), KivTr("Kiv", "Kursor końcowy"),
                              KivTr("Kiv", "Różnica")};
    for (int c = 0; c < 3; ++c) grid->addWidget(new QLabel(heads[c], group), 0, c + 1, Qt::AlignHCenter);
    for (int r = 0; r < count; ++r) {
        grid->addWidget(new QLabel(QString::fromUtf8(rows[r].label), group), r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            QLineEdit* edit = AddField(rows[r].ids[c]);
            edit->setParent(group);
            grid->addWidget(edit, r + 1, c + 1, Qt::AlignHCenter);
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

void CReadoutPanel::ShowCursorRow(const CursorRow& row, float first, float second, int exponent) {
    std::string text;
    FormatSI(text, first, exponent);
    SetField(row.ids[0], text);
    FormatSI(text, second, exponent);
    SetField(row.ids[1], text);
    FormatSI(text, static_cast<double>(second) - static_cast<double>(first), exponent);
    SetField(row.ids[2], text);
}

void CReadoutPanel::Tighten() {
    for (QLayout* l : findChildren<QLayout*>()) {
        l->setSpacing(3);
        l->setContentsMargins(6, 3, 6, 3);
        if (auto* grid = qobject_cast<QGridLayout*>(l)) grid->setHorizontalSpacing(8);
    }
}

void CReadoutPanel::Freeze() {
    Tighten();
    for (QWidget* w : findChildren<QWidget*>()) w->setFocusPolicy(Qt::NoFocus);
    layout()->activate();
    setFixedSize(sizeHint());
}
