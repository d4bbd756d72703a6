// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/CMeanRmsDlg.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum : int { IDC_RMS1 = 1044, IDC_RMS2 = 1045, IDC_MEAN1 = 1050, IDC_MEAN2 = 1051 };

}  // namespace

CMeanRmsDlg::CMeanRmsDlg(const MeanRmsFields& fields, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(KivTr("Kiv", "Wartość średnia i skuteczna przebiegów"));

    struct Row {
        int id;
        const std::string* text;
    };
    auto group = [&](const QString& title, Row y1, Row y2) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        const int rows = fields.bTwoPlots ? 2 : 1;
        for (int r = 0; r < rows; ++r) {
            const Row& row = r == 0 ? y1 : y2;
            auto* edit = new QLineEdit(QString::fromStdString(*row.text), box);
            edit->setReadOnly(true);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0000.00m")) + 12);
            m_fields[row.id] = edit;
            grid->addWidget(new QLabel(r == 0 ? QStringLiteral("Y1:") : QStringLiteral("Y2:"), box), r, 0);
            grid->addWidget(edit, r, 1);
        }
        return box;
    };
    auto* values = new QHBoxLayout;
    values->addWidget(group(KivTr("Kiv", "Wartość średnia"), {IDC_MEAN1, &fields.m_strMean1},
                            {IDC_MEAN2, &fields.m_strMean2}));
    values->addWidget(group(KivTr("Kiv", "Wartość skuteczna"), {IDC_RMS1, &fields.m_strRms1},
                            {IDC_RMS2, &fields.m_strRms2}));

    // A note's heading; "Uwaga" of a message box is a warning.
    auto* note = new QGroupBox(KivTr("CMeanRmsDlg", "Uwaga"), this);
    auto* noteLayout = new QVBoxLayout(note);
    noteLayout->setSpacing(0);
    for (const char* line : {KIV_TR_NOOP("Kiv", "Wartości te obliczane są dla przebiegów"),
                             KIV_TR_NOOP("Kiv", "w zakresach wskazywanych przez kursory."),
                             KIV_TR_NOOP("Kiv", "Kursory powinny wskazywać pełny okres"),
                             KIV_TR_NOOP("Kiv", "przebiegu lub jego wielokrotność.")})
        noteLayout->addWidget(new QLabel(KivTr("Kiv", line), note));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addWidget(note);
    layout->addWidget(buttons);
    layout->activate();
    setFixedSize(sizeHint());
    ok->setFocus();
}

QString CMeanRmsDlg::FieldText(int controlId) const {
    const auto it = m_fields.find(controlId);
    return it == m_fields.end() ? QString() : it->second->text();
}

bool CMeanRmsDlg::HasField(int controlId) const { return m_fields.count(controlId) != 0; }
