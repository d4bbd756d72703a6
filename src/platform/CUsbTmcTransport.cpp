#include "platform/CUsbTmcTransport.h"

#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/Translate.h"

namespace {

int SystemOpen(const char* path, int flags) { return ::open(path, flags); }
int SystemIoctl(int fd, unsigned long request, void* argument) { return ::ioctl(fd, request, argument); }

}  // namespace

const UsbTmcCalls& SystemUsbTmcCalls() {
    static const UsbTmcCalls calls{SystemOpen, ::read, ::write, SystemIoctl, ::flock, ::close};
    return calls;
}

CUsbTmcTransport::CUsbTmcTransport(const UsbTmcCalls& calls) : m_calls(calls) {}

CUsbTmcTransport::~CUsbTmcTransport() {
    m_gate.Close();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bClosing = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
    if (m_hDevice >= 0) m_calls.close(m_hDevice);
}

bool CUsbTmcTransport::Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings&) {
    m_strDevice = address.Device();
    m_hDevice = m_calls.open(m_strDevice.c_str(), O_RDWR | O_CLOEXEC);
    if (m_hDevice < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENODEV)
            m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv", "nie ma urządzenia %1 (czy przyrząd jest podłączony i włączony?)"),
                                      {m_strDevice});
        else if (error == EACCES || error == EPERM)
            m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv",
                "brak uprawnień do %1; reguła udev z TAG+=\"uaccess\" (albo grupa z dostępem do urządzenia) "
                "daje je zalogowanemu użytkownikowi"), {m_strDevice});
        else
            m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv", "nie można otworzyć %1: %2"),
                                      {m_strDevice, std::system_category().message(error)});
        return false;
    }
    // One program at a time: a second one would take the other's replies.
    if (m_calls.flock(m_hDevice, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_strWhyNotOpen = KivText(KIV_TR_NOOP("Kiv", "%1 jest zajęte przez inny program"), {m_strDevice});
        m_calls.close(m_hDevice);
        m_hDevice = -1;
        return false;
    }
    // Not every instrument (nor a stand-in in a test) knows these: the defaults then stay.
    uint32_t timeout = kReadTimeoutMs;
    m_calls.ioctl(m_hDevice, USBTMC_IOCTL_SET_TIMEOUT, &timeout);
    uint8_t abort = 1;
    m_calls.ioctl(m_hDevice, USBTMC_IOCTL_AUTO_ABORT, &abort);
    m_gate.Open(owner);
    return true;
}

bool CUsbTmcTransport::StartReader() {
    if (m_thread.joinable() || m_hDevice < 0) return false;
    try {
        m_thread = std::thread(&CUsbTmcTransport::Run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CUsbTmcTransport::Send(const char* bytes, size_t length) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_bGone) return;
        m_requests.emplace_back(bytes, length);
    }
    m_wake.notify_all();
}

std::string CUsbTmcTransport::WhyGone() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_strWhyGone;
}

void CUsbTmcTransport::Run() {
    for (;;) {
        std::string request;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_wake.wait(lock, [&] { return m_bClosing || !m_requests.empty(); });
            // Closing, what is queued still goes out (the instrument set running again).
            if (m_requests.empty()) return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        if (!Exchange(request)) return;
    }
}

bool CUsbTmcTransport::Exchange(const std::string& request) {
    for (;;) {
        if (m_calls.write(m_hDevice, request.data(), request.size()) >= 0) break;
        if (errno == EINTR) continue;
        Gone(errno);
        return false;
    }
    if (request.find('?') == std::string::npos) return true;
    std::vector<char> buffer(kReadSize);
    int empty = 0;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_bClosing) return false;
        }
        const ssize_t got = m_calls.read(m_hDevice, buffer.data(), buffer.size());
        if (got > 0) {
            m_gate.Bytes(std::string(buffer.data(), static_cast<size_t>(got)));
            uint8_t attributes = 0;
            const bool told = m_calls.ioctl(m_hDevice, USBTMC_IOCTL_MSG_IN_ATTR, &attributes) == 0;
            if ((told && (attributes & 1)) || static_cast<size_t>(got) < buffer.size()) return true;
            continue;
        }
        // A read that brings nothing (a bad header, the empty first packet some send) is tried
        // once more; the driver's own time-out decides about a reply that never comes.
        if (got == 0) {
            if (++empty >= 2) return true;
            continue;
        }
        if (errno == EINTR || errno == ETIMEDOUT) continue;
        Gone(errno);
        return false;
    }
}

void CUsbTmcTransport::Gone(int error) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bGone = true;
        m_requests.clear();
        m_strWhyGone = error == ENODEV || error == ENOENT
                           ? KivText(KIV_TR_NOOP("Kiv", "przyrząd USB %1 został odłączony"), {m_strDevice})
                           : KivText(KIV_TR_NOOP("Kiv", "błąd USB na %1: %2"),
                                     {m_strDevice, std::system_category().message(error)});
    }
    m_gate.Gone();
}
