// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ui/CSourceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "acquisition/ScopeRegistry.h"
#include "acquisition/ui/CTransmissionDlg.h"
#include "widgets/ui/DialogParts.h"
#include "qtcore/KivLanguage.h"

CSourceDlg::CSourceDlg(const AcquisitionSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_settings(settings),
      m_nChannels(InstrumentModel(settings.nInstrument).channels) {
    setModal(true);
    auto* group = new QGroupBox(KivTr("Kiv", "Źródło danych - oscyloskop"), this);
    m_pSetup = new QPushButton(KivTr("Kiv", "Ustawienia"), group);
    m_pSetup->setObjectName(QStringLiteral("1019"));
    m_pSetup->setAutoDefault(false);
    m_pPlot1 = new QCheckBox(KivTr("Kiv", "Wykres 1  z kanału"), group);
    m_pPlot1->setObjectName(QStringLiteral("1021"));
    m_pPlot2 = new QCheckBox(KivTr("Kiv", "Wykres 2  z kanału"), group);
    m_pPlot2->setObjectName(QStringLiteral("1022"));
    m_pChannel1 = new QComboBox(group);
    m_pChannel1->setObjectName(QStringLiteral("1023"));
    m_pChannel2 = new QComboBox(group);
    m_pChannel2->setObjectName(QStringLiteral("1024"));

    for (QComboBox* list : {m_pChannel1, m_pChannel2})
        for (int n = 1; n <= m_nChannels; ++n) list->addItem(QString::number(n));
    m_pChannel1->setCurrentIndex(m_settings.nPlot1Channel - 1);
    m_pChannel2->setCurrentIndex(m_settings.nPlot2Channel - 1);
    m_pPlot1->setChecked(m_settings.bPlot1 != 0);
    m_pPlot2->setChecked(m_settings.bPlot2 != 0);
    UpdateEnabling();

    connect(m_pPlot1, &QCheckBox::clicked, this, [this](bool on) {
        m_settings.bPlot1 = on;
        UpdateEnabling();
    });
    connect(m_pPlot2, &QCheckBox::clicked, this, [this](bool on) {
        m_settings.bPlot2 = on;
        UpdateEnabling();
    });
    // Choosing the entry already shown stores it too.
    connect(m_pChannel1, &QComboBox::activated, this, [this](int selection) {
        if (selection >= 0) m_settings.nPlot1Channel = uint8_t(selection + 1);
    });
    connect(m_pChannel2, &QComboBox::activated, this, [this](int selection) {
        if (selection >= 0) m_settings.nPlot2Channel = uint8_t(selection + 1);
    });
    connect(m_pSetup, &QPushButton::clicked, this, &CSourceDlg::OpenTransmission);

    auto* grid = new QGridLayout(group);
    grid->addWidget(m_pSetup, 0, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(m_pPlot1, 1, 0);
    grid->addWidget(m_pChannel1, 1, 1);
    grid->addWidget(m_pPlot2, 2, 0);
    grid->addWidget(m_pChannel2, 2, 1);
    const auto [buttons, ok, cancel] = AddOkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setTabOrder(m_pSetup, m_pPlot1);
    setTabOrder(m_pPlot1, m_pChannel1);
    setTabOrder(m_pChannel1, m_pPlot2);
    setTabOrder(m_pPlot2, m_pChannel2);
    setTabOrder(m_pChannel2, ok);
    setTabOrder(ok, cancel);
    setFixedSize(sizeHint());
}

// "1" to the new model's channel count in both lists, each showing its plot's channel.
void CSourceDlg::RefillChannels() {
    for (QComboBox* list : {m_pChannel1, m_pChannel2}) {
        uint8_t& channel = list == m_pChannel1 ? m_settings.nPlot1Channel : m_settings.nPlot2Channel;
        list->clear();
        for (int n = 1; n <= m_nChannels; ++n) list->addItem(QString::number(n));
        // A channel the model lacks becomes its last one, stored too: what the list shows is
        // what is fetched.
        if (channel > m_nChannels) channel = m_nChannels;
        list->setCurrentIndex(channel - 1);
    }
}

void CSourceDlg::UpdateEnabling() {
    m_pChannel1->setEnabled(m_pPlot1->isChecked());
    m_pChannel2->setEnabled(m_pPlot2->isChecked());
}

void CSourceDlg::OpenTransmission() {
    CTransmissionDlg dlg(m_settings.nInstrument, m_settings.nBaud, m_settings.nPort, this);
    dlg.exec();
    // Taken over however the dialog closed: its choices were stored as they were made.
    m_settings.nInstrument = dlg.Instrument();
    m_settings.nBaud = dlg.Baud();
    m_settings.nPort = dlg.Port();
    m_nChannels = InstrumentModel(m_settings.nInstrument).channels;
    RefillChannels();
}
