// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>

#include "platform/CPlatform.h"
#include "platform/ITransport.h"

// The window that hosts a running acquisition ("Wczytywanie danych"): its two timers, its
// bar, its modal loop, the transport whose bytes it receives and its message boxes. The
// drivers see no more.
class IProgressHost {
public:
    virtual ~IProgressHost() = default;
    // Timer 1, the reply timer; it repeats every ms until stopped.
    virtual void SetReplyTimer(int ms) = 0;
    virtual void KillReplyTimer() = 0;
    // Timer 2, the step timer; the host stops it at every timer event.
    virtual void SetStepTimer(int ms) = 0;
    virtual void KillStepTimer() = 0;
    // False before the window exists: progress is then not shown.
    virtual bool HasWindow() const = 0;
    // Moves the bar (0..100) and refreshes the window's controls.
    virtual void SetBarPos(int pos) = 0;
    // Ends the modal loop; 2 is the cancel result.
    virtual void EndDialog(int result) = 0;
    // A new, unopened transport of the kind the address names (platform/Transports.h in the
    // program); the host receives what it delivers.
    virtual std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address) = 0;
    virtual ITransportOwner* TransportOwner() = 0;
    // Message boxes of the drivers (caption "Uwaga", stop icon).
    virtual const CPlatform& Platform() const = 0;
};

// What a host runs: a driver's dialogue, or the probe around one. Every call comes on the
// host's thread.
class IHostedDialogue {
public:
    virtual ~IHostedDialogue() = default;
    // The host is up: the port opens and the first request goes out.
    virtual bool Start(IProgressHost* host) = 0;
    // Timer 1 or 2 fired.
    virtual void OnTimer(int timerId) = 0;
    // Bytes the transport received, in order.
    virtual void OnBytes(const uint8_t* bytes, size_t size) = 0;
    // The line is gone (ITransportOwner::OnLineGone): nothing more will come.
    virtual void OnLineGone() = 0;
    // "Anuluj": the port closes at once.
    virtual void ClosePort() = 0;
    // The host goes away: it is never called again.
    virtual void Detach() = 0;
};

constexpr int kReplyTimer = 1;
constexpr int kStepTimer = 2;
constexpr int kDialogCancel = 2;
