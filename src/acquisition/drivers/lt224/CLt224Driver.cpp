#include "acquisition/drivers/lt224/CLt224Driver.h"

#include <algorithm>

namespace {

constexpr char kTriggerAuto[] = "TRMD AUTO\r";

constexpr int kIdentityTimeoutMs = 1000;
constexpr int kSettingsTimeoutMs = 2000;
constexpr int kWaveformTimeoutMs = 80000;

}  // namespace

CLt224Driver::CLt224Driver(RawTrace* traces) : CScopeDriver(kScopeModels[3], traces) {}

bool CLt224Driver::Start(IProgressHost* host) {
    // The outcome is the state and the host's result, not this value: a cancelled start
    // has already ended the host, a failed port reports through its 100 ms time-out.
    if (!StartCommon(host)) return true;
    m_nState = 12;
    m_nReceived = 0;
    SendRequest(kLt224IdentityRequest, kIdentityTimeoutMs);
    return true;
}

void CLt224Driver::OnTimeout() { FailOnTimeout(QueryTimeoutMessage(m_nState)); }

void CLt224Driver::Step() {
    switch (m_nState) {
    case 8:
        m_nState = 9;
        StopReplyTimer();
        SendRequest(Lt224SettingsRequest(CurrentChannel()), kSettingsTimeoutMs);
        break;
    case 6:
        m_nState = 7;
        StopReplyTimer();
        SendRequest(Lt224WaveformRequest(CurrentChannel()), kWaveformTimeoutMs);
        break;
    case 4:
        if (m_bBothPlots && m_bFirstPlot) {
            m_bFirstPlot = 0;
            m_nState = 12;
            SendRequest(kLt224IdentityRequest, kIdentityTimeoutMs);
            break;
        }
        // Handed to the port before Finish closes it; closing lets the write drain.
        SendOnly(kTriggerAuto);
        m_nState = 0;
        Finish(0);
        break;
    default: break;
    }
}

void CLt224Driver::OnChar(uint8_t byte) {
    m_strReply.push_back(static_cast<char>(byte));
    ++m_nReceived;
    switch (m_nState) {
    case 12:
        // A wrong identity is not refused here: the time-out reports the wrong model.
        if (Lt224IdentityAccepted(m_strCommand, m_strReply, m_nReceived)) {
            Accept(8);
        }
        break;
    case 9:
        if (Lt224SettingsComplete(m_strCommand, m_strReply, m_nReceived) && ParseReply(m_strReply)) {
            Accept(6);
        }
        break;
    case 7:
        if (m_nReceived < kLt224WaveformLength) {
            SetProgress(static_cast<int>(std::min(m_nReceived, 2 * kLt224Points) * 0.02));
            break;
        }
        if (m_nReceived == kLt224WaveformLength) {
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

bool CLt224Driver::ParseReply(const std::string& reply) {
    if (m_nState == 9) return ParseLt224Settings(reply, CurrentTrace());
    if (m_nState == 7) return ParseLt224Waveform(reply, CurrentTrace().samples, m_nData, m_nWork);
    return true;
}
