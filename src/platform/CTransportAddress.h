// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// Where a transport opens: the device COMn stands for (platform/PortDevices.h), or a device
// named directly. The form of the device picks the transport (platform/Transports.h).
struct CTransportAddress {
    unsigned port = 0;   // n of COMn; reports name it also when a device is given
    std::string device;  // empty: the COM number's device

    // The device the address opens.
    std::string Device() const;
    // The device as messages name it: the device given ("/dev/ttyUSB0", "tcp://10.0.0.5:5555"), or
    // the COM number with what it stands for ("COM2 (/dev/ttyS1)").
    std::string Name() const;
};

// The transports an address can name: a network instrument's raw SCPI socket
// ("tcp://HOST[:PORT]", or "HOST:PORT"), a USB instrument through the kernel's USBTMC driver
// ("/dev/usbtmcN"), else a serial port.
enum class ETransportKind { Serial, Tcp, UsbTmc };
ETransportKind TransportKindOf(const CTransportAddress& address);

// The host and port of a network address; the port is defaultPort where the address names
// none. False for an address that is no network address or names no valid port.
bool ParseTcpAddress(const std::string& device, unsigned defaultPort, std::string& host, unsigned& port);
