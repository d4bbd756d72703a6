// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ui/CProgressDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "qtcore/KivLanguage.h"

CProgressDlg::CProgressDlg(IHostedDialogue& driver, const CPlatform& platform, QWidget* parent)
    : QDialog(parent), m_pBar(new QProgressBar(this)), m_host(driver, platform) {
    setWindowTitle(KivTr("Kiv", "Wczytywanie danych"));
    setModal(true);
    m_pBar->setObjectName(QStringLiteral("1049"));
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    auto* cancel = new QPushButton(KivTr("Kiv", "Anuluj"), this);
    cancel->setObjectName(QStringLiteral("IDCANCEL"));
    connect(cancel, &QPushButton::clicked, this, &CProgressDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(KivTr("Kiv", "Postęp"), this));
    layout->addWidget(m_pBar);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    m_host.m_fnBar = [this](int pos) {
        // Drivers report after every byte; a bar that has not moved needs no synchronous paint.
        if (pos < 0 || m_pBar->value() == pos) return;
        m_pBar->setValue(pos);
        m_pBar->repaint();
    };
    m_host.m_fnEnd = [this](int result) { done(result); };
}

int CProgressDlg::BarPos() const { return m_pBar->value(); }

// The driver starts once the window is up, from the dialog's loop, so that a dialogue that
// ends at once (no plot chosen) ends that loop.
void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_bStarted) return;
    m_bStarted = true;
    m_pBar->setValue(0);
    m_host.StartFromLoop();
}

void CProgressDlg::reject() { m_host.Cancel(); }
