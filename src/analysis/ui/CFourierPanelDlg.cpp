// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/CFourierPanelDlg.h"
#include "qtcore/KivLanguage.h"

#include <QGridLayout>
#include <algorithm>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

enum : int {
    IDC_PLOT = 1027,
    IDC_AMPLITUDE = 1043,
    IDC_HARMONIC = 1044,
    IDC_FREQUENCY = 1045,
    IDC_PHASE_RAD = 1046,
    IDC_A0 = 1047,
    IDC_AN = 1048,
    IDC_BN = 1049,
    IDC_PHASE_DEG = 1052,
};

QLabel* Label(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(text.contains(QLatin1Char('<')) ? Qt::RichText : Qt::PlainText);
    return label;
}

}  // namespace

CFourierPanelDlg::CFourierPanelDlg(QWidget* parent) : CReadoutPanel(parent) {
    auto* cursors = new QGroupBox(KivTr("Kiv", "Współrzędne kursorów"), this);
    // Wide enough for either plot's name: in English the second is the longer.
    const QString first = KivTr("Kiv", "Wykres pierwszy"), second = KivTr("Kiv", "Wykres drugi");
    QLineEdit* plot = AddField(IDC_PLOT, first);
    plot->setFixedWidth(std::max(plot->width(), plot->fontMetrics().horizontalAdvance(second) + 12));
    plot->setParent(cursors);

    auto* axisX = new QGroupBox(KivTr("Kiv", "oś x"), cursors);
    auto* gridX = new QGridLayout(axisX);
    gridX->addWidget(Label(KivTr("Kiv", "numer harmonicznej"), axisX), 0, 0);
    gridX->addWidget(AddField(IDC_HARMONIC, QStringLiteral("0000")), 0, 1, Qt::AlignLeft);
    gridX->addWidget(Label(KivTr("Kiv", "częstotliowść harmonicznej"), axisX), 1, 0);
    gridX->addWidget(AddField(IDC_FREQUENCY, QStringLiteral("-000.0mHz")), 1, 1, Qt::AlignLeft);
    gridX->setColumnStretch(2, 1);

    auto* axisY = new QGroupBox(KivTr("Kiv", "oś y"), cursors);
    auto* gridY = new QGridLayout(axisY);
    gridY->addWidget(Label(KivTr("Kiv", "wartość amplitudy"), axisY), 0, 0);
    gridY->addWidget(AddField(IDC_AMPLITUDE), 0, 1);
    gridY->addWidget(Label(KivTr("Kiv", "wartość fazy "), axisY), 1, 0);
    gridY->addWidget(AddField(IDC_PHASE_RAD), 1, 1);
    gridY->addWidget(Label(QStringLiteral("rad"), axisY), 1, 2);
    gridY->addWidget(AddField(IDC_PHASE_DEG, QStringLiteral("-000.00")), 1, 3);
    gridY->addWidget(Label(QStringLiteral("°"), axisY), 1, 4);
    gridY->addWidget(Label(KivTr("Kiv", "współczynnik a<sub>o</sub>"), axisY), 2, 0);
    gridY->addWidget(AddField(IDC_A0), 2, 1);
    gridY->addWidget(Label(KivTr("Kiv", "współczynnik a<sub>n</sub>"), axisY), 3, 0);
    gridY->addWidget(AddField(IDC_AN), 3, 1);
    gridY->addWidget(Label(KivTr("Kiv", "współczynnik b<sub>n</sub>"), axisY), 4, 0);
    gridY->addWidget(AddField(IDC_BN), 4, 1);
    gridY->setColumnStretch(5, 1);

    auto* inner = new QVBoxLayout(cursors);
    inner->addWidget(plot);
    inner->addWidget(axisX);
    inner->addWidget(axisY);

    // A note's heading; "Uwaga" of a message box is a warning.
    auto* note = new QGroupBox(KivTr("CFourierPanelDlg", "Uwaga"), this);
    auto* noteText = Label(
        KivTr("Kiv", "Częstotliwość pierwszej harmonicznej jest odwrością czasu zaznaczonego kursorami."), note);
    noteText->setWordWrap(true);
    auto* noteLayout = new QVBoxLayout(note);
    noteLayout->addWidget(noteText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cursors);
    layout->addWidget(note);
    Tighten();
    // The note wraps to the width the fields need, not the other way round.
    noteText->setFixedWidth(cursors->sizeHint().width() - 2 * noteLayout->contentsMargins().left());
    Freeze();
}

void CFourierPanelDlg::ShowValues() {
    FormatFourierPanel(m_values);
    SetField(IDC_HARMONIC, std::to_string(m_values.m_nHarmonic));
    SetField(IDC_PLOT, KivTrStd("Kiv", m_values.m_strPlot));
    SetField(IDC_FREQUENCY, m_values.m_strFrequency);
    SetField(IDC_AMPLITUDE, m_values.m_strAmplitude);
    SetField(IDC_PHASE_RAD, m_values.m_strPhaseRad);
    SetField(IDC_PHASE_DEG, m_values.m_strPhaseDeg);
    SetField(IDC_A0, m_values.m_strA0);
    SetField(IDC_AN, m_values.m_strAn);
    SetField(IDC_BN, m_values.m_strBn);
}
