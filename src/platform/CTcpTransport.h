// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/CDeliveryGate.h"
#include "platform/ITransport.h"

struct addrinfo;

// A network instrument's raw SCPI socket ("tcp://HOST[:PORT]"). Nothing waits on the owner's
// thread: the connection is made without blocking (3 s at most, not the system's minutes), a
// host name is looked up on a thread of its own, and every event (the name found, the
// connection made, the deadline, a reply, room to write) is one epoll set. Where the owner's
// loop watches that set, each event is handled on the owner's thread and a reply reaches it
// without a hand-off; else a thread of the transport waits on it and posts what it reads. A
// connection that fails or goes reaches the owner as the line gone, with WhyGone.
// Destruction writes what is still queued (a second at most), then closes.
class CTcpTransport : public ITransport {
public:
    CTcpTransport();
    ~CTcpTransport() override;
    CTcpTransport(const CTcpTransport&) = delete;
    CTcpTransport& operator=(const CTcpTransport&) = delete;

    bool Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) override;
    bool StartReader() override;
    // Requests queue until the connection is made, then go out in order.
    void Send(const char* bytes, size_t length) override;
    std::string WhyNotOpen() const override { return m_strWhyNotOpen; }
    std::string WhyGone() const override;

    static constexpr int kConnectTimeoutMs = 3000;
    static constexpr int kCloseTimeoutMs = 1000;

private:
    struct CLookup;
    enum class State { Idle, Looking, Connecting, Connected, Gone };

    // Whatever the epoll set has ready, handled; a reply read is handed over last.
    void OnReady();
    // The next address of the look-up, connecting; false when none is left.
    bool ConnectNext();
    // No address left: why, by the last one's error.
    void FailConnect();
    void Connected();
    void Fail(std::string why);
    // Writes from the queue what the socket takes now; false when the connection broke.
    bool Flush();
    void Watch(int fd, uint32_t events, int op);
    void End();

    std::string m_strHost;
    unsigned m_nPort = 0;
    std::string m_strWhyNotOpen;
    CDeliveryGate m_gate;
    ITransportOwner* m_pOwner = nullptr;
    bool m_bOwnerReads = false;  // the owner's loop watches m_hReady: no thread of ours
    std::thread m_thread;
    int m_hReady = -1;     // epoll set: look-up, deadline, socket
    int m_hDeadline = -1;  // timerfd: the connection's 3 s
    int m_hShutdown = -1;  // eventfd: ends our thread

    mutable std::mutex m_lock;  // all below; Send comes from the owner, events maybe from our thread
    State m_state = State::Idle;
    std::shared_ptr<CLookup> m_pLookup;
    const addrinfo* m_pNext = nullptr;  // the address to try after this one
    int m_nLastError = 0;
    int m_hSocket = -1;
    std::deque<std::string> m_requests;  // the front one may be partly written
    bool m_bWantOut = false;             // the socket's room to write is watched
    std::string m_strWhyGone;
    bool m_bTellGone = false;  // the owner is still to hear that the line went
};
