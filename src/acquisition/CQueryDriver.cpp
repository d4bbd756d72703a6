// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/CQueryDriver.h"

#include <algorithm>

namespace {

// The message of a reply time-out in each waiting state.
const char* TimeoutMessage(EQueryState state) {
    switch (state) {
    case EQueryState::IdentityAwaited: return kWrongModelError;
    case EQueryState::SettingsAwaited: return kSettingsError;
    case EQueryState::WaveformArriving: return kAcquisitionError;
    default: return kOtherError;
    }
}

}  // namespace

CQueryDriver::CQueryDriver(const ScopeModel& model, RawTrace* traces, const QueryDialogue& dialogue)
    : CStateDriver(model, traces), m_dialogue(dialogue) {}

bool CQueryDriver::Start(IProgressHost* host) {
    // The outcome is the state and the host's result, not this value: a cancelled start
    // has already ended the host, a failed port reports through its 100 ms time-out.
    if (!StartCommon(host)) return true;
    SetState(EQueryState::IdentityAwaited);
    m_nReceived = 0;
    SendRequest(m_dialogue.startRequest, m_dialogue.identityTimeoutMs);
    return true;
}

void CQueryDriver::OnTimeout() { FailOnTimeout(TimeoutMessage(State())); }

void CQueryDriver::Step() {
    switch (State()) {
    case EQueryState::SettingsDue:
        SetState(EQueryState::SettingsAwaited);
        StopReplyTimer();
        SendRequest(SettingsRequest(CurrentChannel()), m_dialogue.settingsTimeoutMs);
        break;
    case EQueryState::WaveformDue:
        SetState(EQueryState::WaveformArriving);
        StopReplyTimer();
        SendRequest(WaveformRequest(CurrentChannel()), m_dialogue.waveformTimeoutMs);
        break;
    case EQueryState::PlotDone:
        if (m_bBothPlots && m_bFirstPlot) {
            m_bFirstPlot = 0;
            SetState(EQueryState::IdentityAwaited);
            SendRequest(m_dialogue.identityRequest, m_dialogue.identityTimeoutMs);
            break;
        }
        // Handed to the port before Finish closes it; closing lets the write drain.
        SendOnly(ClosingRequest());
        SetState(EQueryState::Done);
        Finish(0);
        break;
    default: break;
    }
}

void CQueryDriver::OnReplyByte(uint8_t) {
    switch (State()) {
    case EQueryState::IdentityAwaited:
        // A wrong identity is not refused here: the time-out reports the wrong model.
        if (IdentityAccepted()) Accept(EQueryState::SettingsDue);
        break;
    case EQueryState::SettingsAwaited:
        if (SettingsComplete() && ParseReply(m_strReply)) Accept(EQueryState::WaveformDue);
        break;
    case EQueryState::WaveformArriving:
        if (m_nReceived < m_dialogue.waveformLength) {
            SetProgress(static_cast<int>(std::min(m_nReceived, m_dialogue.progressBytes) * m_dialogue.progressPerByte));
            break;
        }
        if (m_nReceived == m_dialogue.waveformLength) {
            m_nReceived = 0;
            if (ParseReply(m_strReply)) {
                SetState(EQueryState::PlotDone);
                StopReplyTimer();
                ScheduleStep();
            }
        }
        break;
    default: break;
    }
}
