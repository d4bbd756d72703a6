#include "SimServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Requests longer than this without a terminator are line noise, not a request.
constexpr size_t kMaxPending = 4096;
constexpr int kIdlePollMs = 50;

}  // namespace

CSimServer::CSimServer(const SimOptions& options, CSimModel& model, CSimPty& pty)
    : m_options(options), m_model(model), m_pty(pty)
{
}

CSimServer::~CSimServer()
{
    if (m_logFd >= 0)
        close(m_logFd);
}

bool CSimServer::OpenLog(std::string& error)
{
    if (m_options.logPath.empty())
        return true;
    m_logFd = open(m_options.logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (m_logFd < 0) {
        error = "cannot open " + m_options.logPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void CSimServer::Log(const std::string& request)
{
    if (m_logFd < 0)
        return;
    // One write per line, so a reader never sees half a request.
    const std::string line = request + "\n";
    [[maybe_unused]] const ssize_t n = write(m_logFd, line.data(), line.size());
}

bool CSimServer::ReadInput()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = read(m_pty.Fd(), buffer, sizeof buffer);
        if (n > 0) {
            m_pending.append(buffer, static_cast<size_t>(n));
            continue;
        }
        // EAGAIN: all read; EIO or 0: nobody holds the slave open.
        return n < 0 && (errno == EAGAIN || errno == EINTR);
    }
}

bool CSimServer::WaitFor(short events, int timeoutMs)
{
    pollfd fds[2] = {{m_stopFd, POLLIN, 0}, {m_pty.Fd(), events, 0}};
    const int count = events != 0 ? 2 : 1;
    while (poll(fds, count, timeoutMs) < 0 && errno == EINTR) {
    }
    return (fds[0].revents & POLLIN) == 0;
}

CSimServer::ESend CSimServer::Send(const SimReply& reply)
{
    const size_t total = std::min(reply.bytes.size(), reply.hangUpAfter);
    const auto start = std::chrono::steady_clock::now();
    const double secondsPerByte = 10.0 / m_options.baud;
    size_t sent = 0;
    while (sent < total) {
        size_t due = total;
        if (m_options.baudDelay) {
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            due = std::min(total, static_cast<size_t>(elapsed / secondsPerByte) + 1);
        }
        if (due > sent) {
            const ssize_t n = write(m_pty.Fd(), reply.bytes.data() + sent, due - sent);
            if (n > 0) {
                sent += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return ESend::Dropped;
            if (!WaitFor(POLLOUT, 100))
                return ESend::Stopped;
            continue;
        }
        const double wait = sent * secondsPerByte
            - std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!WaitFor(0, std::max(1, static_cast<int>(wait * 1000.0) + 1)))
            return ESend::Stopped;
    }
    return reply.hangUpAfter != std::string::npos ? ESend::HungUp : ESend::Sent;
}

int CSimServer::Run(int stopFd)
{
    m_stopFd = stopFd;
    bool connected = false;
    for (;;) {
        pollfd fds[2] = {{m_pty.Fd(), POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return 1;
        const bool present = ReadInput() && (fds[0].revents & POLLHUP) == 0;
        // Bytes that came just before a close are still served and logged: the closing
        // request of a fetch arrives that way.
        while (size_t length = m_model.RequestLength(m_pending)) {
            const std::string request = m_pending.substr(0, length - 1);
            m_pending.erase(0, length);
            Log(request);
            SimReply reply;
            m_model.Answer(request, reply);
            if (m_options.fault == ESimFault::Silent || (reply.bytes.empty() && reply.hangUpAfter == std::string::npos))
                continue;
            switch (Send(reply)) {
            case ESend::Sent:
            case ESend::Dropped:
                break;
            case ESend::Stopped:
                return 0;
            case ESend::HungUp:
                m_pty.WaitUntilTaken(2000);
                m_pty.Close();
                return 0;
            }
        }
        if (m_pending.size() > kMaxPending)
            m_pending.clear();
        if (fds[1].revents & POLLIN)
            return 0;
        if (present) {
            connected = true;
            continue;
        }
        // Nobody on the far side: a new opener starts afresh.
        m_pending.clear();
        if (connected && m_options.once)
            return 0;
        connected = false;
        if (!WaitFor(0, kIdlePollMs))
            return 0;
    }
}
