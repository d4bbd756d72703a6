// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

#include "acquisition/IProgressHost.h"

class QSocketNotifier;

// Hosts a dialogue on QtCore's event loop: its reply and step timers, which repeat until
// stopped as the framework's timers do, and the bytes of its transport, which reach the
// dialogue on this thread. It runs a loop of its own (kivtool's fetch and probe, the probe of
// the transmission dialog) or the loop of a window that shows the bar (the progress window).
// No widgets: kivtool links it without them.
class CLoopHost : public QObject, public IProgressHost, public ITransportOwner, private IMessages {
public:
    CLoopHost(IHostedDialogue& dialogue, const CPlatform& platform);
    ~CLoopHost() override;

    // Starts the dialogue from the loop and runs the loop until the dialogue ends it: the result.
    int Run();
    // Starts the dialogue from whatever loop runs next; m_fnEnd ends that loop.
    void StartFromLoop();
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
    std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address) override;
    ITransportOwner* TransportOwner() override { return this; }
    const CPlatform& Platform() const override { return m_platform; }

    // ITransportOwner
    void Post(std::function<void()> task) override;
    void OnBytes(const uint8_t* bytes, size_t size) override { m_dialogue.OnBytes(bytes, size); }
    void OnTransportError(const std::string& text) override;
    void OnLineGone() override { m_dialogue.OnLineGone(); }
    bool WatchReadable(int fd, std::function<void()> ready) override;
    void StopWatching(int fd) override;

    // The bar, told each new position 0..100, then -1 when it ends: before every message
    // and when the dialogue ends. None: no bar.
    std::function<void(int)> m_fnBar;
    // Ends the loop the dialogue ran in with its result; none: the loop of Run.
    std::function<void(int)> m_fnEnd;
    // The transport each Start opens (platform/Transports.h); tests put a fake here.
    std::function<std::unique_ptr<ITransport>(const CTransportAddress&)> m_createTransport;
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
    std::map<int, QSocketNotifier*> m_watched;  // the socket notifiers, children of this host
    int m_nPos = -1;  // the bar's position, -1 while there is no bar
};
