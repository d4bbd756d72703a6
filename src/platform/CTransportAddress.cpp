#include "platform/CTransportAddress.h"

#include "platform/PortDevices.h"

std::string CTransportAddress::Device() const { return device.empty() ? ResolvePortDevice(port) : device; }

ETransportKind TransportKindOf(const CTransportAddress&) { return ETransportKind::Serial; }
