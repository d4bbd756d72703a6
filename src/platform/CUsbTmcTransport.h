// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sys/types.h>

#include <memory>
#include <string>
#include <thread>

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
// write(), one USBTMC message; after a query (SendQuery, or a request with "?") the transport
// reads until the device marks the message's end, or a read comes back short. The kernel waits
// for a reply as long as the query's time-out: a read it gives up on takes the instrument's
// late reply with it, so it must not give up before the driver does. A device that vanishes
// (ENODEV) ends the line at once. Destruction lets what is queued go out, but waits for a read
// the kernel still holds no longer than kCloseTimeoutMs: the device is closed when it returns.
class CUsbTmcTransport : public ITransport {
public:
    explicit CUsbTmcTransport(const UsbTmcCalls& calls = SystemUsbTmcCalls());
    ~CUsbTmcTransport() override;
    CUsbTmcTransport(const CUsbTmcTransport&) = delete;
    CUsbTmcTransport& operator=(const CUsbTmcTransport&) = delete;

    bool Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) override;
    bool StartReader() override;
    void Send(const char* bytes, size_t length) override;
    void SendQuery(const char* bytes, size_t length, int timeoutMs) override;
    std::string WhyNotOpen() const override { return m_strWhyNotOpen; }
    std::string WhyGone() const override;

    // The kernel's wait for a reply to a request that did not say how long it may take.
    static constexpr unsigned kReadTimeoutMs = 1000;
    static constexpr size_t kReadSize = 1 << 20;
    static constexpr int kCloseTimeoutMs = 500;

private:
    struct CLine;

    void Queue(const char* bytes, size_t length, bool reply, unsigned timeoutMs);

    std::shared_ptr<CLine> m_pLine;  // shared with the thread, which may outlive the transport
    std::thread m_thread;
    std::string m_strWhyNotOpen;
};
