// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <cstdint>
#include <string>

class QComboBox;
class QFormLayout;
class QLabel;

// "Parametry transmisji": instrument model (or the automatic choice of an SCPI family), baud
// rate (a serial instrument's only) and port. Every choice is stored
// the moment it is made, so "Anuluj" keeps it too. Controls are named after their ids:
// lists "1006" (model), "1007" (rate), "1008" (port); buttons "IDOK" and "IDCANCEL".
// Beside the port, the serial device that COM number stands for ("device": the machine's
// serial devices, or a path typed in; "refresh" lists them again), kept per COM number in
// the user's settings when the port choice changes or the dialog closes. "probe" ("Sprawdź
// połączenie") runs the chosen model's first exchange on that device and says in
// "probeResult" what came of it.
class CTransmissionDlg : public QDialog {
    Q_OBJECT
public:
    // instrument: index in the model list; baud: index into kBaudRates; port: n of COMn.
    CTransmissionDlg(uint8_t instrument, uint8_t baud, uint8_t port, QWidget* parent = nullptr);

    uint8_t Instrument() const { return m_nInstrument; }
    uint8_t Baud() const { return m_nBaud; }
    uint8_t Port() const { return m_nPort; }

    void done(int result) override;

private:
    void FillRates();
    void ChooseModel(int index);
    // The machine's serial devices into the device list, the shown COM's own device selected.
    void FillDevices();
    // The device the field names: a listed entry's device, or the typed path.
    std::string ChosenDevice() const;
    void KeepDevice();
    void Probe();

    uint8_t m_nInstrument;
    uint8_t m_nBaud;
    uint8_t m_nPort;
    QFormLayout* m_pForm;
    QComboBox* m_pModel;
    QComboBox* m_pRate;
    QComboBox* m_pPort;
    QComboBox* m_pDevice;
    QLabel* m_pProbeResult;
};
