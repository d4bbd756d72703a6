// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "SimLine.h"

// A network instrument's socket: it listens on HOST:PORT and serves one connection at a time,
// as the instruments do.
class CSimListener {
public:
    CSimListener() = default;
    CSimListener(const CSimListener&) = delete;
    CSimListener& operator=(const CSimListener&) = delete;
    ~CSimListener();

    // HOST:PORT; port 0 takes any free one.
    bool Listen(const std::string& address, std::string& error);
    unsigned Port() const { return m_port; }
    // The next connection's descriptor; -1 when stopFd turned readable first.
    int Accept(int stopFd);

private:
    int m_fd = -1;
    unsigned m_port = 0;
};

// One accepted connection.
class CSimSocket : public CSimLine {
public:
    explicit CSimSocket(int fd) : m_fd(fd) {}
    CSimSocket(const CSimSocket&) = delete;
    CSimSocket& operator=(const CSimSocket&) = delete;
    ~CSimSocket() override { Close(); }

    int Fd() const override { return m_fd; }
    void WaitUntilTaken(int timeoutMs) const override;
    void Close() override;
    void Break() override;
    bool Reopens() const override { return false; }

private:
    int m_fd;
};
