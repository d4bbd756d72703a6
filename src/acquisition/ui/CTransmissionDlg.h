#pragma once
#include <QDialog>
#include <cstdint>

class QComboBox;

// "Parametry transmisji": instrument model, baud rate and port. Every choice is stored
// the moment it is made, so "Anuluj" keeps it too. Controls are named after their ids:
// lists "1006" (model), "1007" (rate), "1008" (port); buttons "IDOK" and "IDCANCEL".
class CTransmissionDlg : public QDialog {
    Q_OBJECT
public:
    // instrument: index in the model list; baudIndex: 1-based into kBaudRates; port: n of COMn.
    CTransmissionDlg(uint8_t instrument, uint8_t baudIndex, uint8_t port, QWidget* parent = nullptr);

    uint8_t Instrument() const { return m_nInstrument; }
    uint8_t BaudIndex() const { return m_nBaudIndex; }
    uint8_t Port() const { return m_nPort; }

private:
    void FillRates();
    void ChooseModel(int index);

    uint8_t m_nInstrument;
    uint8_t m_nBaudIndex;
    uint8_t m_nPort;
    QComboBox* m_pModel;
    QComboBox* m_pRate;
    QComboBox* m_pPort;
};
