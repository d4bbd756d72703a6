// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Transports.h"

#include "platform/CComPort.h"
#include "platform/CTcpTransport.h"
#include "platform/CUsbTmcTransport.h"

std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address) {
    switch (TransportKindOf(address)) {
    case ETransportKind::Tcp: return std::make_unique<CTcpTransport>();
    case ETransportKind::UsbTmc: return std::make_unique<CUsbTmcTransport>();
    case ETransportKind::Serial: break;
    }
    return std::make_unique<CComPort>();
}
