// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "acquisition/CScopeDriver.h"

// A driver family whose dialogue states are the enum class EState, which spells the shared
// states (EScopeState) with their numbers.
template <class EState>
class CStateDriver : public CScopeDriver {
    static_assert(static_cast<int32_t>(EState::Done) == static_cast<int32_t>(EScopeState::Done) &&
                  static_cast<int32_t>(EState::Failed) == static_cast<int32_t>(EScopeState::Failed) &&
                  static_cast<int32_t>(EState::PortFailed) == static_cast<int32_t>(EScopeState::PortFailed));

public:
    using CScopeDriver::CScopeDriver;

    EState State() const { return static_cast<EState>(m_nState); }

protected:
    void SetState(EState state) { m_nState = static_cast<int32_t>(state); }
    void Accept(EState next) { AcceptReply(static_cast<int32_t>(next)); }
};
