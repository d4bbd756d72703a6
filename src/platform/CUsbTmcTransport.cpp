// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CUsbTmcTransport.h"

#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/CDeliveryGate.h"
#include "platform/Translate.h"

namespace {

int SystemOpen(const char* path, int flags) { return ::open(path, flags); }
int SystemIoctl(int fd, unsigned long request, void* argument) { return ::ioctl(fd, request, argument); }

// The kernel refuses a time-out below this.
constexpr unsigned kShortestTimeoutMs = 100;

}  // namespace

const UsbTmcCalls& SystemUsbTmcCalls() {
    static const UsbTmcCalls calls{SystemOpen, ::read, ::write, SystemIoctl, ::flock, ::close};
    return calls;
}

// The device and the requests for it, as the thread works them off.
struct CUsbTmcTransport::CLine {
    struct CRequest {
        std::string bytes;
        bool reply = false;
        unsigned timeoutMs = 0;
    };

    explicit CLine(const UsbTmcCalls& c) : calls(c) {}

    void Run();
    // One request out and, for a query, its reply in; false when the line is gone.
    bool Exchange(const CRequest& request);
    void Deliver(std::string bytes);
    void Gone(int error);

    const UsbTmcCalls& calls;
    int fd = -1;
    std::string device;
    unsigned timeoutMs = 0;  // the kernel's, as last set
    CDeliveryGate gate;
    std::mutex delivery;  // held while handing over, so that nothing is handed over after a close
    bool delivering = true;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<CRequest> requests;
    bool closing = false;
    bool gone = false;
    bool ended = false;  // the thread is done and the device closed
    std::string whyGone;
};

CUsbTmcTransport::CUsbTmcTransport(const UsbTmcCalls& calls) : m_pLine(std::make_shared<CLine>(calls)) {}

CUsbTmcTransport::~CUsbTmcTransport() {
    CLine& line = *m_pLine;
    {
        std::lock_guard<std::mutex> hold(line.delivery);
        line.gate.Close();
        line.delivering = false;
    }
    std::unique_lock<std::mutex> lock(line.lock);
    line.closing = true;
    line.wake.notify_all();
    if (!m_thread.joinable()) {
        if (line.fd >= 0) line.calls.close(line.fd);
        return;
    }
    const bool ended = line.wake.wait_for(lock, std::chrono::milliseconds(kCloseTimeoutMs), [&] { return line.ended; });
    lock.unlock();
    if (ended)
        m_thread.join();
    else
        m_thread.detach();  // a silent instrument's read: the thread closes the device after it
}

bool CUsbTmcTransport::Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings&) {
    CLine& line = *m_pLine;
    line.device = address.Device();
    line.fd = line.calls.open(line.device.c_str(), O_RDWR | O_CLOEXEC);
    if (line.fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENODEV)
            m_strWhyNotOpen = KivText(
                KIV_TR_NOOP("Kiv", "nie ma urządzenia %1 (czy przyrząd jest podłączony i włączony?)"), {line.device});
        else if (error == EACCES || error == EPERM)
            m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv",
                "brak uprawnień do %1; reguła udev z TAG+=\"uaccess\" (albo grupa z dostępem do urządzenia) "
                "daje je zalogowanemu użytkownikowi"), {line.device});
        else
            m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv", "nie można otworzyć %1: %2"),
                                      {line.device, std::system_category().message(error)});
        return false;
    }
    // One program at a time: a second one would take the other's replies.
    if (line.calls.flock(line.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv", "%1 jest zajęte przez inny program"), {line.device});
        line.calls.close(line.fd);
        line.fd = -1;
        return false;
    }
    // Not every instrument (nor a stand-in in a test) knows these: the defaults then stay.
    uint32_t timeout = kReadTimeoutMs;
    if (line.calls.ioctl(line.fd, USBTMC_IOCTL_SET_TIMEOUT, &timeout) == 0) line.timeoutMs = kReadTimeoutMs;
    uint8_t abort = 1;
    line.calls.ioctl(line.fd, USBTMC_IOCTL_AUTO_ABORT, &abort);
    line.gate.Open(owner);
    return true;
}

bool CUsbTmcTransport::StartReader() {
    if (m_thread.joinable() || m_pLine->fd < 0) return false;
    try {
        m_thread = std::thread([line = m_pLine] { line->Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CUsbTmcTransport::Send(const char* bytes, size_t length) {
    const bool query = std::find(bytes, bytes + length, '?') != bytes + length;
    Queue(bytes, length, query, kReadTimeoutMs);
}

void CUsbTmcTransport::SendQuery(const char* bytes, size_t length, int timeoutMs) {
    Queue(bytes, length, true, static_cast<unsigned>(std::max(timeoutMs, 0)));
}

void CUsbTmcTransport::Queue(const char* bytes, size_t length, bool reply, unsigned timeoutMs) {
    CLine& line = *m_pLine;
    {
        std::lock_guard<std::mutex> lock(line.lock);
        if (line.gone) return;
        line.requests.push_back({std::string(bytes, length), reply, timeoutMs});
    }
    line.wake.notify_all();
}

std::string CUsbTmcTransport::WhyGone() const {
    std::lock_guard<std::mutex> lock(m_pLine->lock);
    return m_pLine->whyGone;
}

void CUsbTmcTransport::CLine::Run() {
    for (;;) {
        CRequest request;
        {
            std::unique_lock<std::mutex> hold(lock);
            wake.wait(hold, [&] { return closing || !requests.empty(); });
            // Closing, the commands queued still go out (the instrument set running again).
            if (requests.empty()) break;
            request = std::move(requests.front());
            requests.pop_front();
            // A query nobody waits for would leave its reply for the next program to read.
            if (closing && request.reply) continue;
        }
        if (!Exchange(request)) break;
    }
    calls.close(fd);
    {
        std::lock_guard<std::mutex> hold(lock);
        ended = true;
    }
    wake.notify_all();
}

bool CUsbTmcTransport::CLine::Exchange(const CRequest& request) {
    for (;;) {
        if (calls.write(fd, request.bytes.data(), request.bytes.size()) >= 0) break;
        if (errno == EINTR) continue;
        Gone(errno);
        return false;
    }
    if (!request.reply) return true;
    // The kernel gives up on a reply no sooner than the driver does.
    uint32_t timeout = std::max(request.timeoutMs, kShortestTimeoutMs);
    if (timeout != timeoutMs && calls.ioctl(fd, USBTMC_IOCTL_SET_TIMEOUT, &timeout) == 0) timeoutMs = timeout;
    std::vector<char> buffer(kReadSize);
    int empty = 0;
    for (;;) {
        const ssize_t got = calls.read(fd, buffer.data(), buffer.size());
        if (got > 0) {
            Deliver(std::string(buffer.data(), static_cast<size_t>(got)));
            uint8_t attributes = 0;
            const bool told = calls.ioctl(fd, USBTMC_IOCTL_MSG_IN_ATTR, &attributes) == 0;
            if ((told && (attributes & 1)) || static_cast<size_t>(got) < buffer.size()) return true;
            continue;
        }
        // A read that brings nothing (a bad header, the empty first packet some send) is tried
        // once more; the driver's own time-out decides about a reply that never comes.
        if (got == 0) {
            if (++empty >= 2) return true;
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == ETIMEDOUT) return true;
        Gone(errno);
        return false;
    }
}

void CUsbTmcTransport::CLine::Deliver(std::string bytes) {
    // Once the transport has gone, its owner may have gone too.
    std::lock_guard<std::mutex> hold(delivery);
    if (delivering) gate.Bytes(std::move(bytes));
}

void CUsbTmcTransport::CLine::Gone(int error) {
    {
        std::lock_guard<std::mutex> hold(lock);
        gone = true;
        requests.clear();
        whyGone = error == ENODEV || error == ENOENT
                      ? KivText(KIV_TR_NOOP("Kiv", "przyrząd USB %1 został odłączony"), {device})
                      : KivText(KIV_TR_NOOP("Kiv", "błąd USB na %1: %2"),
                                {device, std::system_category().message(error)});
    }
    std::lock_guard<std::mutex> hold(delivery);
    if (delivering) gate.Gone();
}
