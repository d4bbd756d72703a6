// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/CDftProgressDlg.h"
#include "qtcore/KivLanguage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

CDftProgressDlg::CDftProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_pBar(new QProgressBar(this)),
      m_pText(new QLabel(this)) {
    setWindowTitle(KivTr("Kiv", "oblicznie DFT "));
    setModal(false);
    // Shown beside the plot without taking the focus from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_pBar->setRange(0, 100);
    m_pBar->setTextVisible(false);
    m_pText->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("100")) + 4);
    m_pText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pBar, 1);
    layout->addWidget(m_pText);
    setFixedSize(260, sizeHint().height());
    SetPercent(0);
}

void CDftProgressDlg::Open(const std::string& title) {
    // The title comes from the core as its Polish source.
    if (!title.empty()) setWindowTitle(KivTr("Kiv", title.c_str()));
    SetPercent(0);
    show();
    raise();
    repaint();
}

void CDftProgressDlg::SetPercent(int percent) {
    m_pBar->setValue(percent);
    m_pText->setText(QString::asprintf("%d", m_pBar->value()));
    if (isVisible()) {
        m_pBar->repaint();
        m_pText->repaint();
    }
}

void CDftProgressDlg::Close() { hide(); }

int CDftProgressDlg::Position() const { return m_pBar->value(); }

QString CDftProgressDlg::PositionText() const { return m_pText->text(); }
