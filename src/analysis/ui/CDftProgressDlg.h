// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

#include "platform/IProgressWindow.h"

class QLabel;
class QProgressBar;

// The small modeless window shown while the Fourier transform runs: a bar 0..100 and
// its position as a number. The transform runs on the GUI thread with no event loop,
// so each step paints the controls at once.
class CDftProgressDlg : public QDialog, public IProgressWindow {
    Q_OBJECT
public:
    explicit CDftProgressDlg(QWidget* parent = nullptr);

    void Open(const std::string& title) override;
    void SetPercent(int percent) override;
    void Close() override;

    int Position() const;
    QString PositionText() const;

private:
    QProgressBar* m_pBar;
    QLabel* m_pText;
};
