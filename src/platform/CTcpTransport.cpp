// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CTcpTransport.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "platform/Translate.h"

// The look-up of a host name blocks and cannot be called off: it runs on a thread of its own,
// which may outlive the transport, so what it fills is shared. The eventfd only wakes the
// waiter: the answer itself passes under the lock, which orders it for the memory model.
struct CTcpTransport::CLookup {
    int done = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::mutex lock;
    addrinfo* result = nullptr;
    int error = 0;
    ~CLookup() {
        if (result) freeaddrinfo(result);
        if (done >= 0) close(done);
    }
};

namespace {

void Signal(int fd) {
    const uint64_t one = 1;
    if (fd >= 0 && write(fd, &one, sizeof one) < 0) {
        // Already signalled as far as the counter goes.
    }
}

void Drain(int fd) {
    uint64_t value;
    if (fd >= 0 && read(fd, &value, sizeof value) < 0) {
        // Not signalled: nothing to take.
    }
}

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

std::string SystemReason(int error) { return std::system_category().message(error); }

}  // namespace

CTcpTransport::CTcpTransport() = default;

CTcpTransport::~CTcpTransport() { End(); }

bool CTcpTransport::Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) {
    End();
    const std::string device = address.Device();
    if (!ParseTcpAddress(device, line.tcpPort, m_strHost, m_nPort)) {
        m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv", "„%1” to nie jest adres sieciowy (tcp://HOST:PORT)"), {device});
        return false;
    }
    m_hShutdown = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_hWrite = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_hShutdown < 0 || m_hWrite < 0) {
        m_strWhyNotOpen = SystemReason(errno);
        return false;
    }
    m_gate.Open(owner);
    return true;
}

bool CTcpTransport::StartReader() {
    if (m_thread.joinable() || m_hShutdown < 0) return false;
    try {
        m_thread = std::thread(&CTcpTransport::Run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// With nothing ahead of it, a request goes out from the owner's thread at once: waking the
// transport's thread for every short line would double the latency of each query.
void CTcpTransport::Send(const char* bytes, size_t length) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_hSocket >= 0 && !m_bWriting && m_requests.empty()) {
            const ssize_t put = send(m_hSocket, bytes, length, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (put == static_cast<ssize_t>(length)) return;
            // The rest waits for the transport's thread, which also meets any error.
            const size_t sent = put > 0 ? static_cast<size_t>(put) : 0;
            bytes += sent, length -= sent;
        }
        m_requests.emplace_back(bytes, length);
    }
    Signal(m_hWrite);
}

std::string CTcpTransport::WhyGone() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_strWhyGone;
}

void CTcpTransport::Gone(std::string why) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_strWhyGone = std::move(why);
        m_requests.clear();
    }
    m_gate.Gone();
}

void CTcpTransport::Run() {
    const int fd = Connect();
    if (fd < 0) return;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_hSocket = fd;
    }
    Exchange(fd);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_hSocket = -1;
    }
    close(fd);
}

int CTcpTransport::Connect() {
    auto lookup = std::make_shared<CLookup>();
    if (lookup->done < 0) {
        Gone(SystemReason(errno));
        return -1;
    }
    // An address in numbers needs no lookup, nor the thread that keeps a lookup from blocking.
    addrinfo numeric{};
    numeric.ai_family = AF_UNSPEC;
    numeric.ai_socktype = SOCK_STREAM;
    numeric.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const bool literal = getaddrinfo(m_strHost.c_str(), std::to_string(m_nPort).c_str(), &numeric, &lookup->result) == 0;
    if (!literal) lookup->result = nullptr;
    if (!literal) try {
        std::thread([lookup, host = m_strHost, port = std::to_string(m_nPort)] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* result = nullptr;
            const int error = getaddrinfo(host.c_str(), port.c_str(), &hints, &result);
            {
                std::lock_guard<std::mutex> lock(lookup->lock);
                lookup->result = result;
                lookup->error = error;
            }
            Signal(lookup->done);
        }).detach();
    } catch (const std::system_error&) {
        Gone(SystemReason(EAGAIN));
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    auto left = [&] {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<int64_t>(ms.count(), 0));
    };
    // 0: ready, 1: shut down, 2: time is up.
    auto wait = [&](int fd, short events) {
        pollfd fds[2] = {{m_hShutdown, POLLIN, 0}, {fd, events, 0}};
        for (;;) {
            const int ready = poll(fds, 2, left());
            if (ready < 0 && errno == EINTR) continue;
            if (fds[0].revents) return 1;
            return ready > 0 ? 0 : 2;
        }
    };
    if (!literal) switch (wait(lookup->done, POLLIN)) {
    case 1: return -1;
    case 2: Gone(KivText(KIV_TR_NOOP("Kiv", "nie znaleziono adresu hosta %1 w ciągu 3 s"), {m_strHost})); return -1;
    }
    addrinfo* found = nullptr;
    int lookupError = 0;
    {
        std::lock_guard<std::mutex> lock(lookup->lock);
        found = lookup->result;
        lookupError = lookup->error;
    }
    if (lookupError) {
        Gone(KivText(KIV_TR_NOOP("Kiv", "nie ma takiego hosta: %1 (%2)"), {m_strHost, gai_strerror(lookupError)}));
        return -1;
    }
    int lastError = ETIMEDOUT;
    for (addrinfo* a = found; a; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int error = connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS) {
            const int outcome = wait(fd, POLLOUT);
            if (outcome == 1) {
                close(fd);
                return -1;
            }
            socklen_t size = sizeof error;
            if (outcome == 2) error = ETIMEDOUT;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
        }
        if (error == 0) {
            // Every request is one short line: Nagle's wait would only slow the dialogue.
            const int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return fd;
        }
        close(fd);
        lastError = error;
        if (left() == 0) break;
    }
    if (lastError == ETIMEDOUT)
        Gone(KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "brak połączenia w ciągu 3 s (czy przyrząd jest włączony i w tej sieci?)")));
    else if (lastError == ECONNREFUSED)
        Gone(KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "połączenie odrzucone (czy to właściwy port i czy przyrząd ma włączony dostęp przez sieć?)")));
    else
        Gone(KivText(KIV_TR_NOOP("Kiv", "nie można się połączyć: %1"), {SystemReason(lastError)}));
    return -1;
}

bool CTcpTransport::Exchange(int fd) {
    std::string out;  // the request being written
    char buffer[65536];
    std::chrono::steady_clock::time_point closeBy{};
    for (;;) {
        bool closing;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (out.empty() && !m_requests.empty()) {
                out = std::move(m_requests.front());
                m_requests.pop_front();
            }
            m_bWriting = !out.empty();
            closing = m_bClosing;
        }
        // Closing, the last requests (the instrument set running again) still go out, for a second at most.
        int timeout = -1;
        if (closing) {
            if (out.empty()) return true;
            if (closeBy == std::chrono::steady_clock::time_point{})
                closeBy = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCloseTimeoutMs);
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(closeBy - std::chrono::steady_clock::now());
            if (ms.count() <= 0) return true;
            timeout = static_cast<int>(ms.count());
        }
        pollfd fds[3] = {{closing ? -1 : m_hShutdown, POLLIN, 0},
                         {fd, static_cast<short>(POLLIN | (out.empty() ? 0 : POLLOUT)), 0},
                         {m_hWrite, POLLIN, 0}};
        if (poll(fds, 3, timeout) < 0) {
            if (errno == EINTR) continue;
            Gone(SystemReason(errno));
            return false;
        }
        if (fds[0].revents) {
            Drain(m_hShutdown);
            std::lock_guard<std::mutex> lock(m_lock);
            m_bClosing = true;
            continue;
        }
        if (fds[2].revents) Drain(m_hWrite);
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got > 0) {
                m_gate.Bytes(std::string(buffer, static_cast<size_t>(got)));
                continue;
            }
            if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
            if (got == 0) Gone(KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "przyrząd zamknął połączenie")));
            else Gone(KivText(KIV_TR_NOOP("Kiv", "połączenie zerwane: %1"), {SystemReason(errno)}));
            return false;
        }
        if ((fds[1].revents & POLLOUT) && !out.empty()) {
            const ssize_t put = send(fd, out.data(), out.size(), MSG_NOSIGNAL);
            if (put > 0) out.erase(0, static_cast<size_t>(put));
            if (out.empty()) {
                std::lock_guard<std::mutex> lock(m_lock);
                m_bWriting = false;
            }
            else if (put < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
                Gone(KivText(KIV_TR_NOOP("Kiv", "połączenie zerwane: %1"), {SystemReason(errno)}));
                return false;
            }
        }
    }
}

void CTcpTransport::End() {
    m_gate.Close();
    Signal(m_hShutdown);  // a connection still being made is given up at once
    if (m_thread.joinable()) m_thread.join();
    CloseFd(m_hShutdown);
    CloseFd(m_hWrite);
    std::lock_guard<std::mutex> lock(m_lock);
    m_requests.clear();
    m_bClosing = false;
}
