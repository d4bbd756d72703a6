#pragma once
#include <QDialog>
#include <QTimer>

#include "acquisition/IProgressHost.h"

class QProgressBar;

// "Wczytywanie danych": hosts one acquisition. It owns the reply and step timers, receives
// the port's bytes on the GUI thread and hands all three kinds of event, and the end of the
// line, to the driver; "Anuluj" closes the port at once.
class CProgressDlg : public QDialog, public IProgressHost, public IComPortOwner {
    Q_OBJECT
public:
    CProgressDlg(IHostedDialogue& driver, const CPlatform& platform, QWidget* parent = nullptr);
    ~CProgressDlg() override;

    int BarPos() const;

    // IProgressHost
    void SetReplyTimer(int ms) override;
    void KillReplyTimer() override;
    void SetStepTimer(int ms) override;
    void KillStepTimer() override;
    bool HasWindow() const override { return true; }
    void SetBarPos(int pos) override;
    void EndDialog(int result) override;
    std::unique_ptr<ISerialPort> CreatePort() override;
    IComPortOwner* PortOwner() override { return this; }
    const CPlatform& Platform() const override { return m_platform; }

    // IComPortOwner
    void Post(std::function<void()> task) override;
    void OnComPortMessage(int message, unsigned param, unsigned port) override;
    void OnComPortError(const std::string& text) override;
    void OnComPortGone() override;

    void reject() override;

    // The port the dialogue opens; tests put a fake here.
    std::function<std::unique_ptr<ISerialPort>()> m_createPort;
    // Every timer runs this many times its period: tests run the instrument's dialogue faster.
    double m_dTimeScale = 1.0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    IHostedDialogue& m_driver;
    CPlatform m_platform;
    QProgressBar* m_pBar;
    QTimer m_replyTimer, m_stepTimer;
    bool m_bStarted = false;
    int Scaled(int ms) const;
};
