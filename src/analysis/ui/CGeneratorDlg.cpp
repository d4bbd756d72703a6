// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/CGeneratorDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <locale.h>

#include "units/NumberText.h"
#include "widgets/ui/DialogParts.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

namespace {

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDC_DURATION = 1027,
    IDC_START_PHASE = 1028,
    IDC_AMPLITUDE = 1030,
    IDC_PERIOD = 1031,
    IDC_TARGET1 = 1051,
    IDC_TARGET2 = 1052,
    IDC_TARGET12 = 1053,
    IDC_CONSTANT = 1054,
    IDC_SINE = 1055,
    IDC_SQUARE = 1056,
    IDC_VALUE_LABEL = 1057,
};

// Entry errors in the words of the dialog framework the program always used.
constexpr char kNotANumber[] = KIV_TR_NOOP("Kiv", "Wprowadź liczbę.");
constexpr char kCaption[] = "Kiv";

std::string RangeMessage(double min, double max) {
    return KivTr("Kiv", "Wprowadź liczbę z zakresu od %1 do %2.")
        .arg(QString::fromStdString(DecimalText(min, DecimalForm::General, 15)),
             QString::fromStdString(DecimalText(max, DecimalForm::General, 15)))
        .toStdString();
}

// A plain decimal number with optional sign, point and exponent, blanks around it
// allowed; "inf", "nan" and hexadecimal forms are not numbers here.
bool ParseNumber(const QString& text, double& value) {
    const std::string s = text.trimmed().toStdString();
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    int digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        int expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    // Overflow reads as infinity and so fails the range check, as a huge number should.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    value = strtod_l(s.c_str(), nullptr, c);
    return true;
}

}  // namespace

CGeneratorDlg::CGeneratorDlg(const CPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_platform(platform) {
    setWindowTitle(KivTr("Kiv", "Generator sygnałów"));

    auto* signal = new QGroupBox(KivTr("Kiv", "Parametry sygnału"), this);
    auto* kinds = new QVBoxLayout;
    // A context of their own: "Składowa stała" names a waveform here, a measurement elsewhere.
    const std::pair<int, const char*> kindRadios[3] = {
        {IDC_CONSTANT, KIV_TR_NOOP("CGeneratorDlg", "Składowa stała")},
        {IDC_SINE, KIV_TR_NOOP("CGeneratorDlg", "Sygnał sinusoidalny")},
        {IDC_SQUARE, KIV_TR_NOOP("CGeneratorDlg", "Sygnał prostokatny")}};
    for (auto [id, text] : kindRadios) {
        auto* radio = new QRadioButton(KivTr("CGeneratorDlg", text), signal);
        m_controls[id] = radio;
        kinds->addWidget(radio);
    }
    kinds->addStretch(1);

    m_pValueLabel = new QLabel(signal);
    m_controls[IDC_VALUE_LABEL] = m_pValueLabel;
    auto* values = new QGridLayout;
    const std::pair<int, const char*> edits[4] = {{IDC_AMPLITUDE, nullptr},
                                                  {IDC_DURATION, KIV_TR_NOOP("Kiv", "Czas sygnału ( w sek)")},
                                                  {IDC_START_PHASE, KIV_TR_NOOP("Kiv", "Faza poczatkowa ( w sek)")},
                                                  {IDC_PERIOD, KIV_TR_NOOP("Kiv", "Okres ( w sek )")}};
    int row = 0;
    for (auto [id, text] : edits) {
        auto* edit = new QLineEdit(signal);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-1000000.000000")) + 12);
        m_controls[id] = edit;
        m_edits[id] = edit;
        values->addWidget(text ? new QLabel(KivTr("Kiv", text), signal) : m_pValueLabel, row, 0);
        values->addWidget(edit, row, 1);
        ++row;
    }
    auto* signalLayout = new QHBoxLayout(signal);
    signalLayout->addLayout(kinds);
    signalLayout->addSpacing(12);
    signalLayout->addLayout(values);

    auto* target = new QGroupBox(KivTr("Kiv", "Prześlij do:"), this);
    auto* targetLayout = new QHBoxLayout(target);
    const std::pair<int, const char*> targetRadios[3] = {
        {IDC_TARGET1, KIV_TR_NOOP("Kiv", "Wykresu 1")}, {IDC_TARGET2, KIV_TR_NOOP("Kiv", "Wykresu 2")},
        {IDC_TARGET12, KIV_TR_NOOP("Kiv", "Wykresów 1 i 2")}};
    for (auto [id, text] : targetRadios) {
        auto* radio = new QRadioButton(KivTr("Kiv", text), target);
        m_controls[id] = radio;
        targetLayout->addWidget(radio);
    }
    targetLayout->addStretch(1);

    const auto [buttons, ok, cancel] = AddOkCancel(this);
    m_controls[IDOK] = ok;
    m_controls[IDCANCEL] = cancel;

    // Controls are named after their ids, as in the other dialogs.
    for (auto [id, control] : m_controls)
        if (control->objectName().isEmpty()) control->setObjectName(QString::number(id));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(signal);
    layout->addWidget(target);
    layout->addWidget(buttons);

    static_cast<QRadioButton*>(m_controls[IDC_TARGET12])->setChecked(true);
    static_cast<QRadioButton*>(m_controls[IDC_SINE])->setChecked(true);
    m_strValueLabel = GeneratorValueLabel(kGenSine);
    UpdateData(false);
    // Hooked up after the start state is set, so that setting it runs no handler.
    for (int kind = kGenConstant; kind <= kGenSquare; ++kind)
        connect(static_cast<QRadioButton*>(m_controls[IDC_CONSTANT + kind]), &QRadioButton::toggled, this,
                [this, kind](bool on) {
                    if (on) OnKind(kind);
                });
    for (int t = 1; t <= 3; ++t)
        connect(static_cast<QRadioButton*>(m_controls[IDC_TARGET1 + t - 1]), &QRadioButton::toggled, this,
                [this, t](bool on) {
                    if (on) OnTarget(t);
                });

    layout->activate();
    setFixedSize(sizeHint());
    m_edits[IDC_AMPLITUDE]->setFocus();
}

const GeneratorParams& CGeneratorDlg::Params() const { return m_params; }

QWidget* CGeneratorDlg::Control(int controlId) const {
    const auto it = m_controls.find(controlId);
    return it == m_controls.end() ? nullptr : it->second;
}

bool CGeneratorDlg::Fail(QLineEdit* edit, const std::string& text) {
    m_platform.Message(text, kCaption, MsgIcon::Exclamation);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CGeneratorDlg::UpdateData(bool bSaveAndValidate) {
    double* fields[4] = {&m_params.m_dAmplitude, &m_params.m_dDuration, &m_params.m_dStartPhase,
                         &m_params.m_dPeriod};
    for (int i = 0; i < 4; ++i) {
        const GeneratorFieldRange& r = kGeneratorRanges[i];
        QLineEdit* edit = m_edits.at(r.controlId);
        if (!bSaveAndValidate) {
            edit->setText(QString::fromStdString(DecimalText(*fields[i], DecimalForm::General, 15)));
            continue;
        }
        double v = 0;
        if (!ParseNumber(edit->text(), v)) return Fail(edit, kNotANumber);
        // Kept even when out of range, as the framework's exchange always did.
        *fields[i] = v;
        if (!(v >= r.min && v <= r.max)) return Fail(edit, RangeMessage(r.min, r.max));
    }
    if (bSaveAndValidate)
        m_strValueLabel = m_pValueLabel->text().toStdString();
    else
        m_pValueLabel->setText(KivTr("Kiv", m_strValueLabel.c_str()));
    return true;
}

void CGeneratorDlg::accept() {
    // A failed entry has been reported and holds the focus; the dialog stays open.
    if (!UpdateData(true)) return;
    if (!StartPhaseBelowDuration(m_params)) {
        m_platform.Message(kGeneratorPhaseMessage, kGeneratorPhaseCaption, MsgIcon::None);
        return;
    }
    QDialog::accept();
}

void CGeneratorDlg::OnKind(int kind) {
    m_params.m_nKind = static_cast<uint8_t>(kind);
    // Greyed, not cleared: a constant still starts where the last phase entered says.
    const bool timing = GeneratorTimingEnabled(kind);
    m_edits[IDC_START_PHASE]->setEnabled(timing);
    m_edits[IDC_PERIOD]->setEnabled(timing);
    m_strValueLabel = GeneratorValueLabel(kind);
    m_pValueLabel->setText(KivTr("Kiv", m_strValueLabel.c_str()));
}

void CGeneratorDlg::OnTarget(int target) { m_params.m_nTarget = static_cast<uint8_t>(target); }
