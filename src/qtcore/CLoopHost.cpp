// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtcore/CLoopHost.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <algorithm>

#include "platform/TrNoop.h"
#include "platform/Transports.h"

CLoopHost::CLoopHost(IHostedDialogue& dialogue, const CPlatform& platform)
    : m_dialogue(dialogue), m_pMessages(platform.messages), m_platform{this, nullptr} {
    connect(&m_reply, &QTimer::timeout, this, [this] { m_dialogue.OnTimer(kReplyTimer); });
    connect(&m_step, &QTimer::timeout, this, [this] { m_dialogue.OnTimer(kStepTimer); });
    m_createTransport = [](const CTransportAddress& address) { return ::CreateTransport(address); };
}

CLoopHost::~CLoopHost() { m_dialogue.Detach(); }

int CLoopHost::Run() {
    StartFromLoop();
    return m_loop.exec();
}

// Started from the loop, so that a dialogue that ends at once ends the loop it runs in.
void CLoopHost::StartFromLoop() {
    QTimer::singleShot(0, this, [this] { m_dialogue.Start(this); });
}

void CLoopHost::Cancel() {
    m_dialogue.ClosePort();
    EndDialog(kDialogCancel);
}

int CLoopHost::Scaled(int ms) const { return std::max(1, static_cast<int>(ms * m_dTimeScale)); }

void CLoopHost::SetBarPos(int pos) {
    if (!m_fnBar || pos == m_nPos) return;
    m_nPos = pos;
    m_fnBar(pos);
}

void CLoopHost::EndBar() {
    if (m_fnBar && m_nPos >= 0) m_fnBar(-1);
    m_nPos = -1;
}

void CLoopHost::EndDialog(int result) {
    m_reply.stop();
    m_step.stop();
    EndBar();
    if (m_fnEnd)
        m_fnEnd(result);
    else
        m_loop.exit(result);
}

std::unique_ptr<ITransport> CLoopHost::CreateTransport(const CTransportAddress& address) {
    return m_createTransport(address);
}

// The transport's thread waits until the task has run here, or until the transport shuts
// down; a host already gone drops the task (Qt discards calls queued to a destroyed object).
void CLoopHost::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

bool CLoopHost::WatchReadable(int fd, std::function<void()> ready) {
    StopWatching(fd);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [ready = std::move(ready)] { ready(); });
    m_watched[fd] = notifier;
    return true;
}

// Often called from inside the notifier's own signal (the reply that ends a fetch): it goes later.
void CLoopHost::StopWatching(int fd) {
    const auto watched = m_watched.find(fd);
    if (watched == m_watched.end()) return;
    watched->second->setEnabled(false);
    watched->second->deleteLater();
    m_watched.erase(watched);
}

void CLoopHost::OnTransportError(const std::string& text) {
    m_platform.Message(text, KIV_TR_NOOP("Kiv", "Błąd transmisji"), MsgIcon::Error);
}

MsgResult CLoopHost::Show(const std::string& text, const std::string& caption, MsgIcon icon, MsgButtons buttons) {
    EndBar();
    return m_pMessages ? m_pMessages->Show(text, caption, icon, buttons) : MsgResult::Ok;
}
