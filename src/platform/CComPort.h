// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <termios.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ITransport.h"

// One RS-232 port on a POSIX terminal device: the address's device, or what COMn stands for
// (KIV_COMn, the user's choice, else /dev/ttyS<n-1>), held exclusively and under an advisory
// lock. A reader thread waits in poll() for shutdown, received bytes and write requests, and
// hands what it read to the owner's thread; a failed read, write or wait loses the line.
class CComPort : public ITransport {
public:
    CComPort();
    ~CComPort() override;
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    bool Open(ITransportOwner* owner, const CTransportAddress& address, const CLineSettings& line) override;
    bool StartReader() override;
    // A request longer than the write buffer is refused whole: half a command is worse
    // than none, and the driver's reply time-out reports the silence.
    void Send(const char* bytes, size_t length) override;
    std::string WhyNotOpen() const override;
    // What failed when the line went (the read, the write, the wait) and the system's reason.
    std::string WhyGone() const override;

    // The device that COMn stands for (platform/PortDevices.h).
    static std::string DeviceName(unsigned port);

private:
    // What the reader and the owner's thread share about deliveries; it outlives the port
    // when the owner destroys the port from inside a delivery.
    struct CDelivery;

    void ReaderThread();
    // Reads and delivers until the input is empty; error is set when the line is gone.
    // These return false when the shutdown came while they waited for the owner.
    bool DrainInput(int& error);
    bool WriteBuffer();
    bool WriteAll(int fd);
    // Hands call to the owner's thread and waits until it has run.
    bool Deliver(std::function<void()> call);
    // what (a text with %1 for the reason) failed: nothing more is read or written, and the
    // owner is told once that the line is gone.
    bool LoseLine(const char* what, int error);
    void EndReader();
    void CloseHandles();

    std::thread m_thread;
    // The port, the write request and why the line went, between the reader and the owner.
    mutable std::mutex m_lock;
    std::atomic<int> m_bReaderAlive{0};
    int m_hShutdown = -1;  // eventfd
    int m_hPort = -1;
    int m_hWrite = -1;  // eventfd
    unsigned m_timeouts[5] = {1000, 1000, 1000, 1000, 1000};  // ms, as the instruments expect
    struct termios m_termios {};
    ITransportOwner* m_pOwner = nullptr;
    std::vector<char> m_szWriteBuffer;
    uint32_t m_nEvents = 0;
    unsigned m_nWriteBufferSize = 0;
    size_t m_nWriteSize = 0;  // bytes of the pending request, 0 when none
    bool m_bHungUp = false;  // the far end is gone: nothing more is read or written
    std::shared_ptr<CDelivery> m_pDelivery;
    std::string m_strOpened;  // the device the last Open tried
    std::string m_strName;    // the same as messages name it
    int m_nOpenError = 0;     // its errno when it failed
    const char* m_pszGone = nullptr;  // what failed when the line went
    int m_nGoneError = 0;             // its errno
};
