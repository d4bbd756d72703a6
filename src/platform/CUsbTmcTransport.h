#pragma once
#include <sys/types.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/CDeliveryGate.h"
#include "platform/ITransport.h"

// The calls the transport makes on the device, so that tests can stand in for a USB instrument.
struct UsbTmcCalls {
    int (*open)(const char* path, int flags);
    ssize_t (*read)(int fd, void* buffer, size_t size);
    ssize_t (*write)(int fd, const void* buffer, size_t size);
    int (*ioctl)(int fd, unsigned long request, void* argument);
    int (*flock)(int fd, int operation);
    int (*close)(int fd);
};
const UsbTmcCalls& SystemUsbTmcCalls();

// A USB instrument through the kernel's USBTMC driver (/dev/usbtmcN). Each request is one
// write(), one USBTMC message; after a query (a request with "?") the transport reads until the
// device marks the message's end, or a read comes back short. Reads block in the kernel for at
// most a second, so a close never waits longer. A device that vanishes (ENODEV) ends the line
// at once.
class CUsbTmcTransport : public ITransport {
public:
    explicit CUsbTmcTransport(const UsbTmcCalls& calls = SystemUsbTmcCalls());
    ~CUsbTmcTransport() override;
    CUsbTmcTransport(const CUsbTmcTransport&) = delete;
    CUsbTmcTransport& operator=(const CUsbTmcTransport&) = delete;

    bool Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) override;
    bool StartReader() override;
    void Send(const char* bytes, size_t length) override;
    std::string WhyNotOpen() const override { return m_strWhyNotOpen; }
    std::string WhyGone() const override;

    static constexpr unsigned kReadTimeoutMs = 1000;
    static constexpr size_t kReadSize = 1 << 20;

private:
    void Run();
    // One request out and, for a query, its reply in; false when the line is gone or closing.
    bool Exchange(const std::string& request);
    void Gone(int error);

    const UsbTmcCalls& m_calls;
    int m_hDevice = -1;
    std::string m_strDevice;
    std::string m_strWhyNotOpen;
    CDeliveryGate m_gate;
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::string> m_requests;
    bool m_bClosing = false;
    bool m_bGone = false;
    std::string m_strWhyGone;
};
