// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

class QRadioButton;

// "Wybierz wykres": the plot an import goes into. Controls are named after their ids:
// radio buttons "1051" (Wykres 1) and "1052" (Wykres 2); buttons "IDOK" and "IDCANCEL".
class CChoosePlotDlg : public QDialog {
    Q_OBJECT
public:
    explicit CChoosePlotDlg(QWidget* parent = nullptr);

    int m_nChoice = 1;  // 1 plot 1, 0 plot 2

private:
    void Choose(int choice);

    QRadioButton* m_pPlot1;
    QRadioButton* m_pPlot2;
};
