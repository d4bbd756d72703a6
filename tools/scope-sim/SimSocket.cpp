// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimSocket.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "SimText.h"

CSimListener::~CSimListener()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool CSimListener::Listen(const std::string& address, std::string& error)
{
    const size_t colon = address.rfind(':');
    if (colon == std::string::npos) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "--listen wymaga HOST:PORT, a nie %1"), {address});
        return false;
    }
    std::string host = address.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(host.empty() ? nullptr : host.c_str(), address.substr(colon + 1).c_str(), &hints, &found);
    if (lookup != 0) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można słuchać na %1: %2"), {address, gai_strerror(lookup)});
        return false;
    }
    for (addrinfo* a = found; a && m_fd < 0; a = a->ai_next) {
        m_fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        const int on = 1;
        if (m_fd >= 0 && (setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
                          || bind(m_fd, a->ai_addr, a->ai_addrlen) != 0 || listen(m_fd, 1) != 0)) {
            error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można słuchać na %1: %2"), {address, std::strerror(errno)});
            close(m_fd);
            m_fd = -1;
        }
    }
    freeaddrinfo(found);
    if (m_fd < 0)
        return false;
    sockaddr_storage bound {};
    socklen_t size = sizeof bound;
    getsockname(m_fd, reinterpret_cast<sockaddr*>(&bound), &size);
    m_port = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                               : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return true;
}

int CSimListener::Accept(int stopFd)
{
    for (;;) {
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return -1;
        if (fds[1].revents & POLLIN)
            return -1;
        if (!(fds[0].revents & POLLIN))
            continue;
        const int fd = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            continue;
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd;
    }
}

void CSimSocket::WaitUntilTaken(int timeoutMs) const
{
    const timespec tick {0, 2000000};
    for (int waited = 0; waited < timeoutMs; waited += 2) {
        int queued = 0;
        if (ioctl(m_fd, SIOCOUTQ, &queued) != 0 || queued == 0)
            break;
        nanosleep(&tick, nullptr);
    }
}

void CSimSocket::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

void CSimSocket::Break()
{
    // No lingering: the close sends a reset, and the far side's read fails with ECONNRESET.
    const linger now {1, 0};
    if (m_fd >= 0)
        setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    Close();
}
