// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

#include "analysis/Measurements.h"

class QCheckBox;
class QTreeWidget;

// "Wybierz pomiary…": the rows the "Pomiary" panel shows, a checkable list grouped as scopes
// group them (amplitude, time, between the plots, spectrum), each with kivtool's key; whether
// the panel shows the statistics; "Domyślne" brings back the program's first choice.
class CMeasureSelectDlg : public QDialog {
    Q_OBJECT
public:
    CMeasureSelectDlg(const MeasureSet& chosen, bool statistics, QWidget* parent = nullptr);

    // As the list stands.
    MeasureSet Chosen() const;
    bool Statistics() const;
    void SetChosen(const MeasureSet& chosen);
    QTreeWidget* List() const { return m_pList; }

private:
    QTreeWidget* m_pList;
    QCheckBox* m_pStatistics;
};
