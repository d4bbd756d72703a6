// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <map>
#include <string>

#include "analysis/Generator.h"
#include "platform/CPlatform.h"

class QLabel;
class QLineEdit;

// "Generator sygnałów": kind, amplitude and timing of a test signal and the plots it
// goes to. Entry errors and the phase warning are reported through the platform.
class CGeneratorDlg : public QDialog {
    Q_OBJECT
public:
    CGeneratorDlg(const CPlatform& platform, QWidget* parent = nullptr);

    const GeneratorParams& Params() const;  // after OK
    // The control with that id: edits, radios, the value label 1057, OK 1, "Anuluj" 2.
    QWidget* Control(int controlId) const;

    // Fields to controls (false) or controls to fields with the range checks (true); a
    // failed check reports the field, gives it the focus and stops the exchange.
    bool UpdateData(bool bSaveAndValidate);

    void accept() override;  // OK

private:
    void OnKind(int kind);
    void OnTarget(int target);
    bool Fail(QLineEdit* edit, const std::string& text);

    CPlatform m_platform;
    GeneratorParams m_params;
    std::string m_strValueLabel;
    std::map<int, QWidget*> m_controls;
    std::map<int, QLineEdit*> m_edits;
    QLabel* m_pValueLabel;
};
