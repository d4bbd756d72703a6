// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/CDeliveryGate.h"
#include "platform/ITransport.h"

// A network instrument's raw SCPI socket ("tcp://HOST[:PORT]"). Everything that can wait runs
// on the transport's own thread: the host name is looked up, the connection made (3 s at
// most, not the system's minutes), requests written and replies read; the owner's thread never
// blocks. A connection that fails or goes reaches the owner as the line gone, with WhyGone.
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

    void Run();
    // The connected socket, or -1 with m_strWhyGone set; false when shut down meanwhile.
    int Connect();
    bool Exchange(int fd);
    void Gone(std::string why);
    void End();

    std::string m_strHost;
    unsigned m_nPort = 0;
    std::string m_strWhyNotOpen;
    CDeliveryGate m_gate;
    std::thread m_thread;
    int m_hShutdown = -1;  // eventfd
    int m_hWrite = -1;     // eventfd
    mutable std::mutex m_lock;
    std::deque<std::string> m_requests;
    int m_hSocket = -1;        // the connection, while it is up
    bool m_bWriting = false;   // a request half written by the transport's thread
    bool m_bClosing = false;  // the owner is done: what is queued goes out, then the thread ends
    std::string m_strWhyGone;
};
