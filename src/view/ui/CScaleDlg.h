// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

#include "data/KivTypes.h"

class QCheckBox;
class QLineEdit;

// "Oś X", "Oś Y", "Oś Y1" or "Oś Y2": the window of one axis, automatic (the whole axis)
// or manual. Controls are named after their ids: fields "1035" (Do) and "1034" (Od),
// check boxes "1032" (Automatyczne) and "1033" (Ręczne); buttons "IDOK" and "IDCANCEL".
class CScaleDlg : public QDialog {
    Q_OBJECT
public:
    CScaleDlg(const QString& title, const AxisWindowInfo& info, QWidget* parent = nullptr);

    const AxisWindowInfo& Info() const;  // after OK: min and max chosen

    // OK keeps the dialog open while a manual window does not read or is too narrow;
    // Cancel forgets every change, so Info() gives back what the caller passed in.
    void accept() override;
    void reject() override;

private:
    void SetAutomatic(bool automatic);

    AxisWindowInfo m_info;
    const AxisWindowInfo m_given;
    int m_bAutomatic;
    int m_bManual;

    QLineEdit* m_pMaxEdit;
    QLineEdit* m_pMinEdit;
    QCheckBox* m_pAutomatic;
    QCheckBox* m_pManual;
};
