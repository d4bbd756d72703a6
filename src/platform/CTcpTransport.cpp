// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CTcpTransport.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "platform/Translate.h"

// The look-up of a host name blocks and cannot be called off: it runs on a thread of its own,
// which may outlive the transport, so what it fills is shared. The eventfd only wakes the
// transport: the answer itself passes under the lock, which orders it for the memory model.
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

std::string Closed() { return KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "przyrząd zamknął połączenie")); }

// A write meets the instrument's close as a broken pipe: it is the instrument that went.
std::string Broken(int error) {
    return error == EPIPE ? Closed() : KivText(KIV_TR_NOOP("Kiv", "połączenie zerwane: %1"), {SystemReason(error)});
}

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
    m_hReady = epoll_create1(EPOLL_CLOEXEC);
    m_hDeadline = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    m_hShutdown = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_hReady < 0 || m_hDeadline < 0 || m_hShutdown < 0) {
        m_strWhyNotOpen = SystemReason(errno);
        End();
        return false;
    }
    m_gate.Open(owner);
    m_pOwner = owner;
    return true;
}

bool CTcpTransport::StartReader() {
    if (m_hReady < 0 || m_thread.joinable() || m_bOwnerReads) return false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        itimerspec deadline{};
        deadline.it_value.tv_sec = kConnectTimeoutMs / 1000;
        deadline.it_value.tv_nsec = kConnectTimeoutMs % 1000 * 1000000L;
        timerfd_settime(m_hDeadline, 0, &deadline, nullptr);
        Watch(m_hDeadline, EPOLLIN, EPOLL_CTL_ADD);
        m_pLookup = std::make_shared<CLookup>();
        // An address in numbers needs no look-up, nor the thread that keeps a look-up from blocking.
        addrinfo numeric{};
        numeric.ai_family = AF_UNSPEC;
        numeric.ai_socktype = SOCK_STREAM;
        numeric.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
        if (m_pLookup->done < 0) {
            Fail(SystemReason(errno));
        } else if (getaddrinfo(m_strHost.c_str(), std::to_string(m_nPort).c_str(), &numeric, &m_pLookup->result) == 0) {
            m_pNext = m_pLookup->result;
            if (!ConnectNext()) FailConnect();
        } else {
            m_pLookup->result = nullptr;
            m_state = State::Looking;
            Watch(m_pLookup->done, EPOLLIN, EPOLL_CTL_ADD);
            try {
                std::thread([lookup = m_pLookup, host = m_strHost, port = std::to_string(m_nPort)] {
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
                Fail(SystemReason(EAGAIN));
            }
        }
    }
    m_bOwnerReads = m_pOwner && m_pOwner->WatchReadable(m_hReady, [this] { OnReady(); });
    if (!m_bOwnerReads) try {
            m_thread = std::thread([this] {
                for (;;) {
                    pollfd fds[2] = {{m_hShutdown, POLLIN, 0}, {m_hReady, POLLIN, 0}};
                    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
                    if (fds[0].revents) return;
                    if (fds[1].revents) OnReady();
                }
            });
        } catch (const std::system_error&) {
            return false;
        }
    // A failure met while starting reaches the owner as any other.
    std::lock_guard<std::mutex> lock(m_lock);
    if (std::exchange(m_bTellGone, false)) m_gate.Gone();
    return true;
}

void CTcpTransport::Watch(int fd, uint32_t events, int op) {
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    epoll_ctl(m_hReady, op, fd, &event);
}

bool CTcpTransport::ConnectNext() {
    while (m_pNext) {
        const addrinfo* a = m_pNext;
        m_pNext = a->ai_next;
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            m_nLastError = errno;
            continue;
        }
        if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
            m_hSocket = fd;
            Watch(fd, EPOLLIN, EPOLL_CTL_ADD);
            Connected();
            return true;
        }
        if (errno == EINPROGRESS) {
            m_hSocket = fd;
            m_state = State::Connecting;
            Watch(fd, EPOLLOUT, EPOLL_CTL_ADD);
            return true;
        }
        m_nLastError = errno;
        close(fd);
    }
    return false;
}

void CTcpTransport::FailConnect() {
    if (m_nLastError == ETIMEDOUT)
        Fail(KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "brak połączenia w ciągu 3 s (czy przyrząd jest włączony i w tej sieci?)")));
    else if (m_nLastError == ECONNREFUSED)
        Fail(KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "połączenie odrzucone (czy to właściwy port i czy przyrząd ma włączony dostęp przez sieć?)")));
    else
        Fail(KivText(KIV_TR_NOOP("Kiv", "nie można się połączyć: %1"), {SystemReason(m_nLastError)}));
}

void CTcpTransport::Connected() {
    m_state = State::Connected;
    const itimerspec off{};
    timerfd_settime(m_hDeadline, 0, &off, nullptr);
    // Every request is one short line: Nagle's wait would only slow the dialogue.
    const int on = 1;
    setsockopt(m_hSocket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Watch(m_hSocket, EPOLLIN, EPOLL_CTL_MOD);
    m_bWantOut = false;
    if (!Flush()) Fail(Broken(errno));
}

bool CTcpTransport::Flush() {
    while (!m_requests.empty()) {
        std::string& out = m_requests.front();
        const ssize_t put = send(m_hSocket, out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) break;
            return false;
        }
        out.erase(0, static_cast<size_t>(put));
        if (out.empty()) m_requests.pop_front();
    }
    // Room to write is an event only while something waits to go out.
    if (m_bWantOut != !m_requests.empty()) {
        m_bWantOut = !m_requests.empty();
        Watch(m_hSocket, EPOLLIN | (m_bWantOut ? uint32_t{EPOLLOUT} : 0u), EPOLL_CTL_MOD);
    }
    return true;
}

void CTcpTransport::Fail(std::string why) {
    if (m_state == State::Gone) return;
    m_state = State::Gone;
    m_strWhyGone = std::move(why);
    m_requests.clear();
    // Level-triggered, a closed socket would wake the loop until the owner ends the transport.
    if (m_hSocket >= 0) epoll_ctl(m_hReady, EPOLL_CTL_DEL, m_hSocket, nullptr);
    m_bTellGone = true;
}

void CTcpTransport::Send(const char* bytes, size_t length) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_state == State::Gone) return;
    m_requests.emplace_back(bytes, length);
    // With nothing ahead of it, a request goes out from the owner's thread at once.
    if (m_state == State::Connected && !Flush()) Fail(Broken(errno));
    if (std::exchange(m_bTellGone, false)) m_gate.Gone();
}

std::string CTcpTransport::WhyGone() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_strWhyGone;
}

void CTcpTransport::OnReady() {
    char buffer[65536];
    ssize_t got = 0;
    bool tell = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        epoll_event events[4];
        // Connected with nothing to write, the socket is all the set holds: a reply is read
        // without asking the set first.
        int count;
        if (m_state == State::Connected && !m_bWantOut) {
            events[0].data.fd = m_hSocket, events[0].events = EPOLLIN;
            count = 1;
        } else {
            count = epoll_wait(m_hReady, events, 4, 0);
        }
        for (int i = 0; i < count; ++i) {
            const int fd = events[i].data.fd;
            if (m_pLookup && fd == m_pLookup->done) {
                Drain(fd);
                epoll_ctl(m_hReady, EPOLL_CTL_DEL, fd, nullptr);
                if (m_state != State::Looking) continue;
                int error;
                {
                    std::lock_guard<std::mutex> answer(m_pLookup->lock);
                    m_pNext = m_pLookup->result;
                    error = m_pLookup->error;
                }
                if (error) Fail(KivText(KIV_TR_NOOP("Kiv", "nie ma takiego hosta: %1 (%2)"), {m_strHost, gai_strerror(error)}));
                else if (!ConnectNext()) FailConnect();
            } else if (fd == m_hDeadline) {
                Drain(fd);
                if (m_state == State::Looking) {
                    Fail(KivText(KIV_TR_NOOP("Kiv", "nie znaleziono adresu hosta %1 w ciągu 3 s"), {m_strHost}));
                } else if (m_state == State::Connecting) {
                    m_nLastError = ETIMEDOUT;
                    FailConnect();
                }
            } else if (fd == m_hSocket && m_state == State::Connecting) {
                int error = 0;
                socklen_t size = sizeof error;
                if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
                if (error == 0) {
                    Connected();
                    continue;
                }
                // This address refused: the next, if the look-up gave another.
                m_nLastError = error;
                CloseFd(m_hSocket);
                if (!ConnectNext()) FailConnect();
            } else if (fd == m_hSocket && m_state == State::Connected) {
                if ((events[i].events & EPOLLOUT) && !Flush()) {
                    Fail(Broken(errno));
                    continue;
                }
                if (!(events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR))) continue;
                got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
                if (got == 0) Fail(Closed());
                else if (got < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) Fail(Broken(errno));
            }
        }
        tell = std::exchange(m_bTellGone, false);
    }
    // Bytes before the news of the line's end; handed over directly, they go last of all,
    // as the owner may end the transport there.
    if (got > 0 && !m_bOwnerReads) m_gate.Bytes(std::string(buffer, static_cast<size_t>(got)));
    if (tell) m_gate.Gone();
    if (got > 0 && m_bOwnerReads) m_pOwner->OnBytes(reinterpret_cast<const uint8_t*>(buffer), static_cast<size_t>(got));
}

void CTcpTransport::End() {
    m_gate.Close();
    if (m_thread.joinable()) {
        Signal(m_hShutdown);
        m_thread.join();
    }
    if (m_bOwnerReads) m_pOwner->StopWatching(m_hReady);
    m_bOwnerReads = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // The last requests (the instrument set running again) still go out, for a second at most;
        // a connection still being made is given up at once.
        const auto closeBy = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCloseTimeoutMs);
        while (m_state == State::Connected && Flush() && !m_requests.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(closeBy - std::chrono::steady_clock::now());
            pollfd room{m_hSocket, POLLOUT, 0};
            if (left.count() <= 0 || poll(&room, 1, static_cast<int>(left.count())) <= 0) break;
        }
        CloseFd(m_hSocket);
        m_requests.clear();
        m_pLookup.reset();
        m_pNext = nullptr;
        m_state = State::Idle;
        m_bTellGone = false;
        m_bWantOut = false;
    }
    CloseFd(m_hReady);
    CloseFd(m_hDeadline);
    CloseFd(m_hShutdown);
}
