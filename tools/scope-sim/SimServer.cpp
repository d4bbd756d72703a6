// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "SimText.h"

namespace {

// Requests longer than this without a terminator are line noise, not a request.
constexpr size_t kMaxPending = 4096;
constexpr int kIdlePollMs = 50;
// Replies this long are waveforms, the replies a stall holds up and a hang-up cuts; every
// other reply of the models is under 100 bytes.
constexpr size_t kLongReply = 256;
// How long the far side reads before a mid-reply hang-up.
constexpr int kMidReplyMs = 20;
constexpr size_t kDribbleBytes = 3;

}  // namespace

CSimServer::CSimServer(const SimOptions& options, CSimModel& model, CSimLine& pty)
    : m_options(options), m_model(model), m_pty(pty), m_random(options.seed)
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
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można otworzyć %1: %2"), {m_options.logPath, std::strerror(errno)});
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

CSimServer::ESend CSimServer::Send(const std::string& reply)
{
    const ESimFault fault = m_options.fault;
    if (reply.size() < kLongReply || (fault != ESimFault::Stall && fault != ESimFault::Hangup
                                      && fault != ESimFault::HangupMid && fault != ESimFault::Reset))
        return Write(Spoil(reply));
    const size_t middle = reply.size() / 2;
    const ESend first = Write(Spoil(reply.substr(0, middle)));
    if (first == ESend::Stopped)
        return first;
    if (fault != ESimFault::Stall)
        return ESend::HungUp;
    if (first == ESend::Dropped)
        return first;
    if (!WaitFor(0, m_options.stallMs))
        return ESend::Stopped;
    return Write(Spoil(reply.substr(middle)));
}

std::string CSimServer::Spoil(const std::string& bytes)
{
    std::string line;
    line.reserve(bytes.size());
    for (char c : bytes) {
        ++m_nSent;
        if (m_options.fault == ESimFault::Drop && m_nSent % m_options.dropEvery == 0)
            continue;
        // 24 bits of the generator for the chance, so that P = 1 flips every byte.
        if (m_options.fault == ESimFault::Noise && (m_random() >> 8) * (1.0 / (1 << 24)) < m_options.noiseProbability)
            c = static_cast<char>(c ^ (1 << (m_random() % 8)));
        line += c;
    }
    return line;
}

CSimServer::ESend CSimServer::Write(const std::string& bytes)
{
    const size_t total = bytes.size();
    const auto start = std::chrono::steady_clock::now();
    // A byte on the line is a start bit and the model's data, parity and stop bits.
    const double secondsPerByte = static_cast<double>(m_model.CharFrame().Bits()) / m_options.baud;
    size_t sent = 0;
    while (sent < total) {
        size_t due = total;
        if (m_options.baudDelay) {
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            due = std::min(total, static_cast<size_t>(elapsed / secondsPerByte) + 1);
        }
        // Dribbled, a reply goes out a few bytes a millisecond.
        if (m_options.fault == ESimFault::Dribble)
            due = std::min(total, sent + kDribbleBytes);
        if (due > sent) {
            if (m_options.fault == ESimFault::Dribble && sent > 0 && !WaitFor(0, 1))
                return ESend::Stopped;
            const ssize_t n = write(m_pty.Fd(), bytes.data() + sent, due - sent);
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
    return ESend::Sent;
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
        for (SimFrame frame; (frame = m_model.FrameRequest(m_pending)).length != 0;) {
            const std::string request = m_pending.substr(0, frame.length - frame.terminator);
            m_pending.erase(0, frame.length);
            Log(request);
            SimReply reply;
            m_model.Answer(request, reply);
            if (m_options.fault == ESimFault::Silent || reply.bytes.empty())
                continue;
            switch (Send(reply.bytes)) {
            case ESend::Sent:
            case ESend::Dropped:
                break;
            case ESend::Stopped:
                return 0;
            case ESend::HungUp:
                // The plain hang-up lets the far side read what went out. Mid-reply the
                // line goes while the far side is still reading; the rest is lost.
                if (m_options.fault == ESimFault::Hangup)
                    m_pty.WaitUntilTaken(2000);
                else if (!WaitFor(0, kMidReplyMs))
                    return 0;
                if (m_options.fault == ESimFault::Reset)
                    m_pty.Break();
                else
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
        if ((connected && m_options.once) || !m_pty.Reopens())
            return 0;
        connected = false;
        if (!WaitFor(0, kIdlePollMs))
            return 0;
    }
}
