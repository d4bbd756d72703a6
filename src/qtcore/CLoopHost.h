#pragma once
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "acquisition/IProgressHost.h"

// Hosts a dialogue on QtCore's event loop, without a window: kivtool's fetch and probe, and
// the probe of the transmission dialog. Its timers repeat until stopped, as the progress
// window's do, and the port's bytes reach the dialogue on this thread. No widgets: kivtool
// links it without them.
class CLoopHost : public QObject, public IProgressHost, public IComPortOwner, private IMessages {
public:
    CLoopHost(IHostedDialogue& dialogue, const CPlatform& platform);
    ~CLoopHost() override;

    // Starts the dialogue from the loop and runs the loop until the dialogue ends it: the result.
    int Run();
    // As "Anuluj" in the progress window: the port closed at once, the cancel result.
    void Cancel();

    // IProgressHost
    void SetReplyTimer(int ms) override { m_reply.start(Scaled(ms)); }
    void KillReplyTimer() override { m_reply.stop(); }
    void SetStepTimer(int ms) override { m_step.start(Scaled(ms)); }
    void KillStepTimer() override { m_step.stop(); }
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
    void OnComPortGone() override { m_dialogue.OnLineGone(); }

    // The bar, told each new position 0..100, then -1 when it ends: before every message
    // and when the loop ends. None: no bar.
    std::function<void(int)> m_fnBar;
    // A device to open in place of the one the COM number stands for; empty: the COM's.
    std::string m_strDevice;
    // The port each Start opens (CComPort on m_strDevice); tests put a fake here.
    std::function<std::unique_ptr<ISerialPort>()> m_createPort;
    // Every timer runs this many times its period: tests run the instrument's dialogue faster.
    double m_dTimeScale = 1.0;

private:
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon, MsgButtons buttons) override;
    void EndBar();
    int Scaled(int ms) const;

    IHostedDialogue& m_dialogue;
    IMessages* m_pMessages;
    CPlatform m_platform;  // the caller's messages, the bar ended first
    QTimer m_reply, m_step;
    QEventLoop m_loop;
    int m_nPos = -1;  // the bar's position, -1 while there is no bar
};
