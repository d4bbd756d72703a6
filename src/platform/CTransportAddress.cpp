// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CTransportAddress.h"

#include "platform/PortDevices.h"

std::string CTransportAddress::Device() const { return device.empty() ? ResolvePortDevice(port) : device; }

std::string CTransportAddress::Name() const {
    if (!device.empty()) return device;
    return "COM" + std::to_string(port) + " (" + ResolvePortDevice(port) + ")";
}

namespace {

bool AllDigits(const std::string& s) {
    return !s.empty() && s.size() <= 5 && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

ETransportKind TransportKindOf(const CTransportAddress& address) {
    // COMn may stand for a network or USB instrument too (KIV_COMn, the user's choice).
    const std::string d = address.Device();
    if (d.rfind("tcp://", 0) == 0) return ETransportKind::Tcp;
    if (d.rfind("/dev/usbtmc", 0) == 0) return ETransportKind::UsbTmc;
    // HOST:PORT: no path, and a port after the last colon ("[::1]:5025" too).
    const size_t colon = d.rfind(':');
    if (!d.empty() && d[0] != '/' && colon != std::string::npos && AllDigits(d.substr(colon + 1)))
        return ETransportKind::Tcp;
    return ETransportKind::Serial;
}

bool ParseTcpAddress(const std::string& device, unsigned defaultPort, std::string& host, unsigned& port) {
    std::string rest = device.rfind("tcp://", 0) == 0 ? device.substr(6) : device;
    if (!rest.empty() && rest.back() == '/') rest.pop_back();
    port = defaultPort;
    if (!rest.empty() && rest[0] == '[') {  // [IPv6]:port
        const size_t close = rest.find(']');
        if (close == std::string::npos) return false;
        host = rest.substr(1, close - 1);
        rest.erase(0, close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':' || !AllDigits(rest.substr(1))) return false;
            port = static_cast<unsigned>(std::stoul(rest.substr(1)));
        }
    } else {
        const size_t colon = rest.find(':');
        const bool onePortColon = colon != std::string::npos && rest.find(':', colon + 1) == std::string::npos;
        host = onePortColon ? rest.substr(0, colon) : rest;
        if (onePortColon) {
            if (!AllDigits(rest.substr(colon + 1))) return false;
            port = static_cast<unsigned>(std::stoul(rest.substr(colon + 1)));
        }
    }
    return !host.empty() && host.find('/') == std::string::npos && port >= 1 && port <= 65535;
}
