// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

#include "qtcore/CLoopHost.h"

class QProgressBar;

// "Wczytywanie danych": hosts one acquisition in its modal loop. The host (its timers, the
// transport's bytes, the driver's boxes) is the event-loop host's; the window adds the bar
// and "Anuluj", which closes the port at once.
class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    CProgressDlg(IHostedDialogue& driver, const CPlatform& platform, QWidget* parent = nullptr);

    int BarPos() const;
    CLoopHost& Host() { return m_host; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QProgressBar* m_pBar;
    CLoopHost m_host;
    bool m_bStarted = false;
};
