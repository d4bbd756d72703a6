#include "acquisition/CQueryDriver.h"

#include <algorithm>

CQueryDriver::CQueryDriver(const ScopeModel& model, RawTrace* traces, const QueryDialogue& dialogue)
    : CScopeDriver(model, traces), m_dialogue(dialogue) {}

bool CQueryDriver::Start(IProgressHost* host) {
    // The outcome is the state and the host's result, not this value: a cancelled start
    // has already ended the host, a failed port reports through its 100 ms time-out.
    if (!StartCommon(host)) return true;
    m_nState = 12;
    m_nReceived = 0;
    SendRequest(m_dialogue.startRequest, m_dialogue.identityTimeoutMs);
    return true;
}

void CQueryDriver::OnTimeout() { FailOnTimeout(QueryTimeoutMessage(m_nState)); }

void CQueryDriver::Step() {
    switch (m_nState) {
    case 8:
        m_nState = 9;
        StopReplyTimer();
        SendRequest(SettingsRequest(CurrentChannel()), m_dialogue.settingsTimeoutMs);
        break;
    case 6:
        m_nState = 7;
        StopReplyTimer();
        SendRequest(WaveformRequest(CurrentChannel()), m_dialogue.waveformTimeoutMs);
        break;
    case 4:
        if (m_bBothPlots && m_bFirstPlot) {
            m_bFirstPlot = 0;
            m_nState = 12;
            SendRequest(m_dialogue.identityRequest, m_dialogue.identityTimeoutMs);
            break;
        }
        // Handed to the port before Finish closes it; closing lets the write drain.
        SendOnly(ClosingRequest());
        m_nState = 0;
        Finish(0);
        break;
    default: break;
    }
}

void CQueryDriver::OnChar(uint8_t byte) {
    m_strReply.push_back(static_cast<char>(byte));
    ++m_nReceived;
    switch (m_nState) {
    case 12:
        // A wrong identity is not refused here: the time-out reports the wrong model.
        if (IdentityAccepted()) Accept(8);
        break;
    case 9:
        if (SettingsComplete() && ParseReply(m_strReply)) Accept(6);
        break;
    case 7:
        if (m_nReceived < m_dialogue.waveformLength) {
            SetProgress(static_cast<int>(std::min(m_nReceived, m_dialogue.progressBytes) * m_dialogue.progressPerByte));
            break;
        }
        if (m_nReceived == m_dialogue.waveformLength) {
            m_nReceived = 0;
            if (ParseReply(m_strReply)) {
                m_nState = 4;
                StopReplyTimer();
                ScheduleStep();
            }
        }
        break;
    default: break;
    }
}
