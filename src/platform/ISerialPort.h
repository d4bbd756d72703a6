#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Messages a serial port sends its owner: the number, the first parameter (the byte for
// WM_COMPORT_RXCHAR, else 0); the second parameter is always the port number.
constexpr int WM_COMPORT_BREAK = 0x401;
constexpr int WM_COMPORT_CTS = 0x402;
constexpr int WM_COMPORT_ERR = 0x404;
constexpr int WM_COMPORT_RING = 0x405;
constexpr int WM_COMPORT_RXCHAR = 0x407;
constexpr int WM_COMPORT_RXFLAG = 0x408;

// The window that owns a port during an acquisition. The port's reader thread never
// calls the owner's handlers itself: it hands each delivery to Post, which runs it on the
// owner's thread, and waits until it has run (or the port is shut down).
class IComPortOwner {
public:
    virtual ~IComPortOwner() = default;
    // Runs task on the owner's thread soon. Called from the reader thread.
    virtual void Post(std::function<void()> task) = 0;
    // A message of the port, on the owner's thread.
    virtual void OnComPortMessage(int message, unsigned param, unsigned port) = 0;
    // The "Application Error" report of a failed port operation (text already filled in),
    // on the owner's thread; the caller waits until it returns.
    virtual void OnComPortError(const std::string& text) = 0;
    // The device is gone (hang-up, an unplugged adapter, EIO): nothing more will come. Sent
    // once, after the report of the failed read, on the owner's thread.
    virtual void OnComPortGone() {}
};

// One RS-232 port for the length of one acquisition. Destruction lets a pending write
// finish, ends the reader (even while it waits to deliver a byte, and also when the owner
// destroys the port from inside a delivery), drops DTR and RTS, purges the input and
// closes.
class ISerialPort {
public:
    virtual ~ISerialPort() = default;
    // Opens COMn with "baud=%d parity=%c data=%d stop=%d"; false only when the device
    // cannot be opened (no message then). A failed configuration step is reported to the
    // owner and Open still returns true.
    virtual bool Open(IComPortOwner* owner, unsigned port, unsigned baud, char parity, unsigned dataBits,
                      unsigned stopBits, uint32_t eventMask, unsigned writeBufferSize) = 0;
    // After a failed Open: why, in the program's words with what to do; empty when unknown.
    virtual std::string WhyNotOpen() const { return {}; }
    virtual bool StartReader() = 0;
    // Hands the bytes to the reader thread, which purges and writes them; returns at once.
    virtual void Send(const char* bytes, size_t length) = 0;
};
