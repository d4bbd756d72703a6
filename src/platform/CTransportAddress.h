#pragma once
#include <string>

// Where a transport opens: the device COMn stands for (platform/PortDevices.h), or a device
// named directly. The form of the device picks the transport (platform/Transports.h).
struct CTransportAddress {
    unsigned port = 0;   // n of COMn; reports name it also when a device is given
    std::string device;  // empty: the COM number's device

    // The device the address opens.
    std::string Device() const;
};

// The transports an address can name. Every device is a serial port for now; a network
// instrument ("tcp://HOST:PORT") and a USB one ("/dev/usbtmcN") come next.
enum class ETransportKind { Serial };
ETransportKind TransportKindOf(const CTransportAddress& address);
