// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <cstdint>

#include "acquisition/CAcquisition.h"

class QCheckBox;
class QComboBox;
class QPushButton;

// The data source of a fetch: which plots, from which instrument channels, and through
// "Ustawienia" the instrument, rate and port. No caption. Controls are named after their
// ids: "1019" (Ustawienia), check boxes "1021"/"1022", channel lists "1023"/"1024";
// buttons "IDOK" and "IDCANCEL".
class CSourceDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSourceDlg(const AcquisitionSettings& settings, QWidget* parent = nullptr);

    // What to apply after OK; the channel-count byte stays as it was given.
    const AcquisitionSettings& Settings() const { return m_settings; }
    // Channels of the model now chosen (the lists hold "1" to this).
    uint8_t ChannelCount() const { return m_nChannels; }

private:
    void RefillChannels();
    void UpdateEnabling();
    void OpenTransmission();

    AcquisitionSettings m_settings;
    uint8_t m_nChannels;
    QPushButton* m_pSetup;
    QCheckBox* m_pPlot1;
    QCheckBox* m_pPlot2;
    QComboBox* m_pChannel1;
    QComboBox* m_pChannel2;
};
