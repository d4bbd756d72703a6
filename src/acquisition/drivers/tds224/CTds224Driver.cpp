#include "acquisition/drivers/tds224/CTds224Driver.h"

#include <algorithm>

namespace {

constexpr char kStopAndIdentify[] = "ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r";
constexpr char kIdentify[] = "ID?\r";
constexpr char kCurve[] = "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r";
constexpr char kRunAndUnlock[] = "ACQUIRE:STATE RUN;:UNLOCK ALL\r";

constexpr int kIdentityTimeoutMs = 1000;
constexpr int kDescriptionTimeoutMs = 2000;
constexpr int kCurveTimeoutMs = 60000;

std::string ChannelRequest(int channel) {
    const std::string n = std::to_string(channel);
    return "SELECT:CH" + n + " ON;:DATA:SOURCE CH" + n + ";:WFMPRE:WFID?\r";
}

}  // namespace

CTds224Driver::CTds224Driver(RawTrace* traces) : CScopeDriver(kScopeModels[2], traces) {}

bool CTds224Driver::Start(IProgressHost* host) {
    // The outcome is the state and the host's result, not this value: a cancelled start
    // has already ended the host, a failed port reports through its 100 ms time-out.
    if (!StartCommon(host)) return true;
    m_nReceived = 0;
    SendRequest(kStopAndIdentify, kIdentityTimeoutMs);
    m_nState = 12;
    return true;
}

void CTds224Driver::OnTimeout() { FailOnTimeout(QueryTimeoutMessage(m_nState)); }

void CTds224Driver::Step() {
    switch (m_nState) {
    case 8:
        m_nState = 9;
        StopReplyTimer();
        SendRequest(ChannelRequest(m_bFirstPlot ? m_nPlot1Channel : m_nPlot2Channel), kDescriptionTimeoutMs);
        break;
    case 6:
        m_nState = 7;
        StopReplyTimer();
        SendRequest(kCurve, kCurveTimeoutMs);
        break;
    case 4:
        if (m_bBothPlots && m_bFirstPlot) {
            m_bFirstPlot = 0;
            m_nState = 12;
            SendRequest(kIdentify, kIdentityTimeoutMs);
            break;
        }
        // Handed to the port before Finish closes it; closing lets the write drain.
        SendOnly(kRunAndUnlock);
        m_nState = 0;
        Finish(0);
        break;
    default: break;
    }
}

void CTds224Driver::OnChar(uint8_t byte) {
    m_strReply.push_back(static_cast<char>(byte));
    ++m_nReceived;
    switch (m_nState) {
    case 12:
        // A wrong identity is not refused here: the time-out reports the wrong model.
        if (Tds224IdentityAccepted(m_strCommand, m_strReply, m_nReceived)) {
            Accept(8);
        }
        break;
    case 9:
        if (Tds224DescriptionComplete(m_strCommand, m_strReply) && ParseReply(m_strReply)) {
            Accept(6);
        }
        break;
    case 7:
        if (m_nReceived < kTds224CurveLength) {
            SetProgress(static_cast<int>(std::min(m_nReceived, kTds224CurvePoints) * 0.04));
            break;
        }
        if (m_nReceived == kTds224CurveLength) {
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

bool CTds224Driver::ParseReply(const std::string& reply) {
    if (m_nState == 9) return ParseTds224Description(reply, CurrentTrace());
    if (m_nState == 7) return ParseTds224Curve(reply, CurrentTrace().samples, m_nWork);
    return true;
}
