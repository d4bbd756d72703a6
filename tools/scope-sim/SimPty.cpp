// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "SimText.h"

CSimPty::~CSimPty()
{
    Close();
}

bool CSimPty::Open(std::string& error)
{
    m_fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można utworzyć pseudoterminala: %1"), {std::strerror(errno)});
        Close();
        return false;
    }
    const char* name = ptsname(m_fd);
    // Raw both ways: a carriage return must reach the instrument as 13, binary replies untouched.
    termios tio {};
    if (name == nullptr || tcgetattr(m_fd, &tio) != 0) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można ustawić pseudoterminala: %1"), {std::strerror(errno)});
        Close();
        return false;
    }
    cfmakeraw(&tio);
    tcsetattr(m_fd, TCSANOW, &tio);
    m_slavePath = name;
    // Never block on a full line: a reply is written while watching for a stop signal.
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    return true;
}

bool CSimPty::MakeLink(const std::string& path, std::string& error)
{
    unlink(path.c_str());
    if (symlink(m_slavePath.c_str(), path.c_str()) != 0) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można utworzyć dowiązania %1: %2"), {path, std::strerror(errno)});
        return false;
    }
    m_link = path;
    return true;
}

void CSimPty::WaitUntilTaken(int timeoutMs) const
{
    // Closing the master throws away what the far side has not read yet; its queue is only
    // visible through the slave, and only once the kernel has moved the bytes there, so an
    // empty queue counts after a short settling time. When the port is held exclusively,
    // just give it the time.
    constexpr int kSettleMs = 100;
    const int slave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const timespec tick {0, 2000000};
    for (int waited = 0; waited < timeoutMs; waited += 2) {
        int queued = 0;
        if (waited >= kSettleMs && slave >= 0 && ioctl(slave, TIOCINQ, &queued) == 0 && queued == 0)
            break;
        nanosleep(&tick, nullptr);
    }
    if (slave >= 0)
        close(slave);
}

void CSimPty::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    if (!m_link.empty())
        unlink(m_link.c_str());
    m_link.clear();
}
