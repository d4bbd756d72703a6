// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CComPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <system_error>

#include "platform/LineSpeed.h"
#include "platform/PortDevices.h"
#include "platform/SerialDevices.h"
#include "platform/Translate.h"

struct CComPort::CDelivery {
    std::mutex m_lock;
    std::condition_variable m_done;
    bool m_bShutdown = false;
    uint64_t m_nPosted = 0;  // tickets handed to the owner
    uint64_t m_nRun = 0;     // the last ticket that has run
};

namespace {

// Every event a port can watch; anything else is not a mask.
constexpr uint32_t kAllCommEvents = 0x1FFF;
// Bytes read at a time: a waveform reply passes in a few deliveries.
constexpr size_t kReadChunk = 1024;

// What failed when the line went; %1 is the system's reason.
constexpr const char* kWaitFailed = KIV_TR_NOOP("Kiv", "oczekiwanie na dane z portu nie powiodło się (%1)");
constexpr const char* kReadFailed = KIV_TR_NOOP("Kiv", "odczyt z portu nie powiódł się (%1)");
constexpr const char* kWriteFailed = KIV_TR_NOOP("Kiv", "zapis do portu nie powiódł się (%1)");

std::string SystemText(int error) { return std::system_category().message(error); }

// The line's settings as a user sets them: "9600 bit/s, 8N1".
std::string LineText(const CLineSettings& line) {
    return std::to_string(line.baud) + " bit/s, " + std::to_string(line.dataBits) + line.parity +
           std::to_string(line.stopBits);
}

void SignalEvent(int fd) {
    const uint64_t one = 1;
    if (fd >= 0 && write(fd, &one, sizeof one) < 0) {
        // Already signalled as far as the counter goes; the reader wakes either way.
    }
}

void ResetEvent(int fd) {
    uint64_t value;
    if (fd >= 0 && read(fd, &value, sizeof value) < 0) {
        // Not signalled: nothing to reset.
    }
}

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// The exclusive flag outlives the close on a pseudo-terminal: every later opener but root
// would be refused until the far end is gone.
void ClosePortFd(int& fd) {
    if (fd >= 0)
        ioctl(fd, TIOCNXCL);
    CloseFd(fd);
}

// The line settings on top of what the device had: raw bytes, the rate, the parity, the
// data and stop bits. Rates are those of the instruments' table; otherRate is set to one
// that has no speed_t of its own (0 for the others). False for a setting no port has.
bool MakeTermios(const CLineSettings& line, struct termios& tio, unsigned& otherRate) {
    speed_t speed = 0;
    otherRate = 0;
    switch (line.baud) {
        case 110: speed = B110; break;
        case 300: speed = B300; break;
        case 600: speed = B600; break;
        case 1200: speed = B1200; break;
        case 2400: speed = B2400; break;
        case 4800: speed = B4800; break;
        case 9600: speed = B9600; break;
        case 19200: speed = B19200; break;
        case 38400: speed = B38400; break;
        case 56000: case 128000: case 256000: otherRate = line.baud; break;
        default: return false;
    }
    tcflag_t size;
    switch (line.dataBits) {
        case 5: size = CS5; break;
        case 6: size = CS6; break;
        case 7: size = CS7; break;
        case 8: size = CS8; break;
        default: return false;
    }
    tcflag_t parityBits;
    switch (line.parity) {
        case 'N': case 'n': parityBits = 0; break;
        case 'E': case 'e': parityBits = PARENB; break;
        case 'O': case 'o': parityBits = PARENB | PARODD; break;
        default: return false;
    }
    if (line.stopBits != 1 && line.stopBits != 2)
        return false;

    // Raw mode: carriage returns and binary waveform bytes must pass untouched. The
    // read time-outs set before stay.
    const cc_t vmin = tio.c_cc[VMIN], vtime = tio.c_cc[VTIME];
    cfmakeraw(&tio);
    tio.c_cc[VMIN] = vmin;
    tio.c_cc[VTIME] = vtime;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    tio.c_cflag |= size | parityBits | CLOCAL | CREAD | (line.stopBits == 2 ? CSTOPB : 0);
    if (!otherRate) {
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    }
    return true;
}

}  // namespace

CComPort::CComPort() = default;

CComPort::~CComPort() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // The closing request must reach the instrument even when the reader is still
        // waiting for the owner to take a byte and cannot write it itself.
        if (m_hPort >= 0 && m_nWriteSize > 0 && !m_bHungUp) {
            tcflush(m_hPort, TCIOFLUSH);
            WriteAll(m_hPort);
        }
        m_nWriteSize = 0;
        if (m_hPort >= 0 && !m_bHungUp)
            tcdrain(m_hPort);
    }
    EndReader();
    m_nEvents = 0;
    if (m_hPort >= 0) {
        // No modem lines on a pseudo-terminal: failing here is normal.
        int line = TIOCM_DTR;
        ioctl(m_hPort, TIOCMBIC, &line);
        line = TIOCM_RTS;
        ioctl(m_hPort, TIOCMBIC, &line);
    }
    CloseHandles();
}

std::string CComPort::DeviceName(unsigned port) { return ResolvePortDevice(port); }

std::string CComPort::WhyNotOpen() const { return ExplainOpenFailure(m_strOpened, m_nOpenError); }

std::string CComPort::WhyGone() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_pszGone ? KivText(m_pszGone, {SystemText(m_nGoneError)}) : std::string();
}

bool CComPort::Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) {
    EndReader();

    CloseFd(m_hWrite);
    CloseFd(m_hShutdown);
    m_hShutdown = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_hWrite = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int eventError = m_hShutdown < 0 || m_hWrite < 0 ? errno : 0;

    m_pOwner = owner;
    m_szWriteBuffer.assign(line.writeBuffer, 0);
    m_nWriteBufferSize = line.writeBuffer;
    m_nEvents = line.events;
    m_pDelivery = std::make_shared<CDelivery>();

    std::unique_lock<std::mutex> lock(m_lock);
    m_nWriteSize = 0;
    m_bHungUp = false;
    m_pszGone = nullptr;
    ClosePortFd(m_hPort);
    m_strOpened = address.Device();
    m_strName = address.Name();
    m_nOpenError = eventError;
    if (eventError)
        return false;

    // Non-blocking: a modem line without carrier would otherwise hold the open.
    m_hPort = open(m_strOpened.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_hPort < 0) {
        m_nOpenError = errno;
        return false;
    }
    // A file, a fifo or a character device that is no terminal (/dev/null) typed in as the
    // device is no port at all.
    struct stat node;
    if (fstat(m_hPort, &node) != 0 || !S_ISCHR(node.st_mode) || !isatty(m_hPort)) {
        m_nOpenError = ENOTTY;  // a folder was refused by open() itself, with EISDIR
        CloseFd(m_hPort);
        return false;
    }
    // The exclusive flag below stops everyone but root; this lock, which other serial programs
    // take too, also stops a second fetch or a probe run as root from stealing the replies.
    if (flock(m_hPort, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_nOpenError = EBUSY;
        CloseFd(m_hPort);  // not ClosePortFd: the holder's exclusive flag stays
        return false;
    }
    if (ioctl(m_hPort, TIOCEXCL) != 0 && errno != ENOTTY) {
        m_nOpenError = errno;
        CloseFd(m_hPort);
        return false;
    }

    // The report of a setting the port would not take; the fetch goes on without it.
    std::string failed;
    auto fail = [&](int error) {
        failed = KivText(KIV_TR_NOOP("Kiv", "%1: nie można ustawić parametrów transmisji portu (%2)."),
                         {m_strName, SystemText(error)});
        return false;
    };
    [&] {
        struct termios timeouts;
        if (tcgetattr(m_hPort, &timeouts) != 0)
            return fail(errno);
        timeouts.c_cc[VMIN] = 0;
        timeouts.c_cc[VTIME] = static_cast<cc_t>(m_timeouts[0] / 100);
        if (tcsetattr(m_hPort, TCSANOW, &timeouts) != 0)
            return fail(errno);
        if (line.events & ~kAllCommEvents)
            return fail(EINVAL);
        if (tcgetattr(m_hPort, &m_termios) != 0)
            return fail(errno);
        unsigned otherRate = 0;
        if (!MakeTermios(line, m_termios, otherRate)) {
            failed = KivText(KIV_TR_NOOP("Kiv", "%1: port szeregowy nie obsługuje ustawień transmisji %2."),
                             {m_strName, LineText(line)});
            return false;
        }
        if (tcsetattr(m_hPort, TCSANOW, &m_termios) != 0 || (otherRate && !SetLineSpeed(m_hPort, otherRate)))
            return fail(errno);
        int rts = TIOCM_RTS;  // RTS held on
        if (ioctl(m_hPort, TIOCMBIS, &rts) != 0 && errno != ENOTTY)
            return fail(errno);
        return true;
    }();

    tcflush(m_hPort, TCIOFLUSH);
    lock.unlock();
    // Open runs on the owner's thread: the report needs no hand-over.
    if (!failed.empty() && m_pOwner)
        m_pOwner->OnTransportError(failed);
    return true;
}

bool CComPort::StartReader() {
    if (m_thread.joinable() || m_hPort < 0 || m_hShutdown < 0 || m_hWrite < 0)
        return false;
    // Purged here rather than in the thread, so that nothing the far end sends after
    // this call is lost.
    {
        std::lock_guard<std::mutex> lock(m_lock);
        tcflush(m_hPort, TCIOFLUSH);
    }
    try {
        m_thread = std::thread(&CComPort::ReaderThread, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CComPort::Send(const char* bytes, size_t length) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (length > m_nWriteBufferSize)
            return;
        std::memcpy(m_szWriteBuffer.data(), bytes, length);
        m_nWriteSize = length;
    }
    SignalEvent(m_hWrite);
}

void CComPort::ReaderThread() {
    m_bReaderAlive = 1;
    for (;;) {
        // In this order: shutdown wins over the port, the port over a pending write. Only this
        // thread sets m_bHungUp while it runs.
        struct pollfd events[3] = {
            {m_hShutdown, POLLIN, 0},
            {m_bHungUp ? -1 : m_hPort, static_cast<short>((m_nEvents & CLineSettings::kEventInput) ? POLLIN : 0), 0},
            {m_hWrite, POLLIN, 0},
        };
        if (poll(events, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            LoseLine(kWaitFailed, errno);
            break;  // without poll there is nothing left to wait with
        }
        if (events[0].revents)
            break;
        if (events[1].revents) {
            const short lost = events[1].revents & (POLLHUP | POLLERR | POLLNVAL);
            int error = 0;
            if (events[1].revents & POLLIN) {
                if (!DrainInput(error))
                    break;
            }
            if (error == 0 && lost)
                error = EIO;
            // The far end is gone: said once, then the reader only waits for the shutdown.
            if (error && !LoseLine(kReadFailed, error))
                break;
            continue;
        }
        if (events[2].revents && !WriteBuffer())
            break;
    }
    m_bReaderAlive = 0;
}

bool CComPort::DrainInput(int& error) {
    ITransportOwner* const owner = m_pOwner;
    for (;;) {
        // What has come so far goes to the owner in one delivery; the bytes travel with the
        // task, which may outlive this call when the owner closes the port.
        std::string chunk(kReadChunk, '\0');
        ssize_t got;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            got = read(m_hPort, chunk.data(), chunk.size());
            error = got < 0 ? errno : 0;
        }
        if (got > 0) {
            chunk.resize(static_cast<size_t>(got));
            auto call = [owner, chunk = std::move(chunk)] {
                owner->OnBytes(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
            };
            if (!Deliver(std::move(call)))
                return false;
            continue;
        }
        if (got < 0 && error == EINTR)
            continue;
        if (got < 0 && (error == EAGAIN || error == EWOULDBLOCK)) {
            error = 0;
            return true;
        }
        if (got == 0)
            error = EIO;  // end of file: the line is gone
        return true;
    }
}

bool CComPort::WriteBuffer() {
    ResetEvent(m_hWrite);
    int error = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_nWriteSize == 0 || m_bHungUp) {
            m_nWriteSize = 0;
            return true;
        }
        // Whatever came before this request is no answer to it.
        tcflush(m_hPort, TCIOFLUSH);
        if (!WriteAll(m_hPort))
            error = errno;
        m_nWriteSize = 0;
    }
    // A request that did not go out whole gets no answer: the fetch ends now, not at its time-out.
    return error == 0 || LoseLine(kWriteFailed, error);
}

bool CComPort::WriteAll(int fd) {
    const char* next = m_szWriteBuffer.data();
    size_t left = m_nWriteSize;
    while (left > 0) {
        const ssize_t put = write(fd, next, left);
        if (put > 0) {
            next += put;
            left -= static_cast<size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A full output queue gets the write time-out, not for ever.
            struct pollfd out = {fd, POLLOUT, 0};
            const int ready = poll(&out, 1, static_cast<int>(m_timeouts[4]));
            if (ready > 0 && !(out.revents & (POLLERR | POLLHUP | POLLNVAL)))
                continue;
            if (ready == 0)
                errno = ETIMEDOUT;
            else if (ready > 0)
                errno = EIO;
            return false;
        }
        if (put == 0)
            errno = EIO;
        return false;
    }
    return true;
}

bool CComPort::Deliver(std::function<void()> call) {
    const std::shared_ptr<CDelivery> delivery = m_pDelivery;
    uint64_t ticket;
    {
        std::lock_guard<std::mutex> lock(delivery->m_lock);
        if (delivery->m_bShutdown)
            return false;
        ticket = ++delivery->m_nPosted;
    }
    if (!m_pOwner)
        return true;
    // The task holds the shared state, never the port: the handler may destroy the port.
    m_pOwner->Post([delivery, ticket, call = std::move(call)] {
        {
            std::lock_guard<std::mutex> lock(delivery->m_lock);
            if (delivery->m_bShutdown)
                return;
        }
        call();
        {
            std::lock_guard<std::mutex> lock(delivery->m_lock);
            delivery->m_nRun = ticket;
        }
        delivery->m_done.notify_all();
    });
    std::unique_lock<std::mutex> lock(delivery->m_lock);
    delivery->m_done.wait(lock, [&] { return delivery->m_bShutdown || delivery->m_nRun >= ticket; });
    return !delivery->m_bShutdown;
}

bool CComPort::LoseLine(const char* what, int error) {
    // A hung-up line says no more than EIO; an unplugged adapter takes its device node along.
    struct stat node;
    if (error == EIO && stat(m_strOpened.c_str(), &node) != 0)
        error = ENODEV;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bHungUp = true;
        m_nWriteSize = 0;
        m_pszGone = what;
        m_nGoneError = error;
    }
    ITransportOwner* const owner = m_pOwner;
    return Deliver([owner] { owner->OnLineGone(); });
}

void CComPort::EndReader() {
    if (m_pDelivery) {
        {
            std::lock_guard<std::mutex> lock(m_pDelivery->m_lock);
            m_pDelivery->m_bShutdown = true;
        }
        m_pDelivery->m_done.notify_all();
    }
    SignalEvent(m_hShutdown);
    // Bytes still coming in are of no use now; the output stays so the last request
    // reaches the instrument.
    if (m_hPort >= 0) {
        std::lock_guard<std::mutex> lock(m_lock);
        tcflush(m_hPort, TCIFLUSH);
    }
    if (m_thread.joinable())
        m_thread.join();
}

void CComPort::CloseHandles() {
    ClosePortFd(m_hPort);
    CloseFd(m_hWrite);
    CloseFd(m_hShutdown);
}
