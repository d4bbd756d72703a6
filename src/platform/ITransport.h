// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/CLineSettings.h"
#include "platform/CTransportAddress.h"

// Who a transport delivers to during an acquisition, always on the owner's thread: a
// transport's own thread hands each delivery to Post, and one whose descriptor the owner
// watches (WatchReadable) reads and delivers there directly.
class ITransportOwner {
public:
    virtual ~ITransportOwner() = default;
    // Runs task on the owner's thread soon. Called from the transport's thread.
    virtual void Post(std::function<void()> task) = 0;
    // Bytes received, in arrival order, on the owner's thread. The handler may destroy the
    // transport; the bytes stay valid until it returns.
    virtual void OnBytes(const uint8_t* bytes, size_t size) = 0;
    // A setting the line would not take, in the program's words with the device named (text
    // translated already), on the owner's thread; the transport waits until it returns.
    virtual void OnTransportError(const std::string& text) = 0;
    // The line is gone (hang-up, an unplugged adapter, a closed connection): nothing more will
    // come. Once, on the owner's thread; the transport's WhyGone tells why.
    virtual void OnLineGone() {}
    // An owner whose loop can watch a descriptor calls ready on its own thread whenever fd can
    // be read, until StopWatching(fd); a transport then reads there, without a thread hand-off
    // per reply. False: the owner cannot, and the transport's thread reads.
    virtual bool WatchReadable(int /*fd*/, std::function<void()> /*ready*/) { return false; }
    virtual void StopWatching(int /*fd*/) {}
};

// A byte stream to one instrument for the length of one acquisition. Timeouts of its reads
// and writes and the loss of the line are the transport's; the dialogue's are the driver's.
// Destruction lets a pending write finish, ends the delivery (even while it waits for the
// owner, and also when the owner destroys the transport from inside a delivery) and closes.
class ITransport {
public:
    virtual ~ITransport() = default;
    // False only when the address cannot be opened (no message then). A failed setting of the
    // line is reported to the owner and Open still returns true.
    virtual bool Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) = 0;
    // After a failed Open: why, in the program's words with what to do; empty when unknown.
    virtual std::string WhyNotOpen() const { return {}; }
    // After the line went: why, in the program's words (a connection refused or reset, a USB
    // instrument unplugged); empty when the transport cannot tell.
    virtual std::string WhyGone() const { return {}; }
    // Received bytes start to reach the owner; false when they cannot.
    virtual bool StartReader() = 0;
    // Hands a whole request over to be written; returns at once.
    virtual void Send(const char* bytes, size_t length) = 0;
    // The same for a request that gets a reply, which may take up to timeoutMs to come. A
    // transport of messages (USBTMC) must ask for a reply; a byte stream need not know.
    virtual void SendQuery(const char* bytes, size_t length, int /*timeoutMs*/) { Send(bytes, length); }
};
