// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>
#include <utility>

#include "platform/ITransport.h"

// What a network or USB transport's thread hands to its owner, in order and without waiting:
// once the transport closes the gate, nothing handed over but not yet run reaches the owner
// (it may have destroyed the transport from inside an earlier delivery).
class CDeliveryGate {
public:
    void Open(ITransportOwner* owner) {
        m_pOwner = owner;
        m_pOpen = std::make_shared<bool>(true);
    }
    // On the owner's thread, before the transport goes.
    void Close() {
        if (m_pOpen) *m_pOpen = false;
    }
    void Bytes(std::string bytes) {
        Post([bytes = std::move(bytes)](ITransportOwner* owner) {
            owner->OnBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        });
    }
    void Gone() {
        Post([](ITransportOwner* owner) { owner->OnLineGone(); });
    }

private:
    template <class Call>
    void Post(Call call) {
        if (!m_pOwner) return;
        ITransportOwner* owner = m_pOwner;
        m_pOwner->Post([open = m_pOpen, owner, call = std::move(call)] {
            if (*open) call(owner);
        });
    }

    ITransportOwner* m_pOwner = nullptr;
    std::shared_ptr<bool> m_pOpen;
};
