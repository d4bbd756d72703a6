#include "platform/Transports.h"

#include "platform/CComPort.h"

std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address) {
    switch (TransportKindOf(address)) {
    case ETransportKind::Serial: break;
    }
    return std::make_unique<CComPort>();
}
