#include "acquisition/drivers/os3060/COs3060Driver.h"

#include "acquisition/ScopeRegistry.h"

namespace {

constexpr int kOpeningTimeoutMs = 1000;
constexpr int kTransferTimeoutMs = 20000;

}  // namespace

// This folder's entry in the model list.
KIV_SCOPE_DRIVER_ENTRY(os3060) {
    static const ScopeDriverEntry entry = {
        {"GOLDSTAR OS-3060", "os3060", 2, 1, 6, 1, 80},
        [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<COs3060Driver>(traces); },
    };
    return entry;
}

COs3060Driver::COs3060Driver(RawTrace* traces) : CScopeDriver(ScopeDriverEntry_os3060().model, traces) {}

bool COs3060Driver::Start(IProgressHost* host) {
    // The outcome is the state and the host's result: a cancelled start has already ended
    // the host, a failed port ends through its 100 ms time-out.
    if (!StartCommon(host)) return true;
    SendOs3060Request(kOs3060Opening, 5, kOpeningTimeoutMs);
    return true;
}

void COs3060Driver::OnTimeout() {
    StopReplyTimer();
    // No messages of its own: the fetch reports "Błąd transmisji" from the state. Why the
    // port would not open is the system's knowledge, not the model's, so it is told here too.
    if (m_nState == 10)
        ExplainPortFailure();
    else
        m_nState = 3;
    Finish(0);
}

void COs3060Driver::Step() {
    switch (m_nState) {
    case 8:
        StopReplyTimer();
        SendOs3060Request(Os3060SettingsRequest(Channel()), 9, kTransferTimeoutMs);
        break;
    case 6:
        StopReplyTimer();
        SendOs3060Request(Os3060WaveformRequest(Channel()), 7, kTransferTimeoutMs);
        break;
    case 4:
        if (m_bBothPlots && m_bFirstPlot) {
            m_bFirstPlot = 0;
            SendOs3060Request(kOs3060Opening, 5, kOpeningTimeoutMs);
            break;
        }
        // No closing request: the instrument is left as it stands.
        m_nState = 0;
        Finish(0);
        break;
    default: break;
    }
}

void COs3060Driver::OnChar(uint8_t byte) {
    m_strReply.push_back(static_cast<char>(byte));
    ++m_nReceived;
    const bool lineEnd = byte == static_cast<uint8_t>(kOs3060Terminator);
    switch (m_nState) {
    case 5:
        // Decided at the carriage return: an opening reply must begin with "A".
        if (!lineEnd) break;
        if (Os3060OpeningAccepted(m_strReply))
            Accept(8);
        else
            Fail();
        break;
    case 9:
    case 7:
        if (!lineEnd) {
            if (m_nState == 7 && m_strReply.size() > kOs3060WaveformHeader)
                SetProgress(Os3060WaveformPercent(m_strReply.size()));
            break;
        }
        // Decided at the carriage return, also one inside the waveform data: a short
        // settings reply or a short waveform fails.
        if (ParseReply(m_strReply))
            Accept(m_nState == 9 ? 6 : 4);
        else
            Fail();
        break;
    default:
        // A byte no request asked for (a line feed after the carriage return, say) fails.
        Fail();
        break;
    }
}

bool COs3060Driver::ParseReply(const std::string& reply) {
    if (m_nState == 9) return ParseOs3060Settings(reply, CurrentTrace());
    if (m_nState == 7) return ParseOs3060Waveform(reply, CurrentTrace().samples);
    return true;
}

void COs3060Driver::Fail() {
    // Finish closes the port while its byte is still being delivered; nothing here may
    // touch the port afterwards.
    m_nState = 3;
    Finish(0);
}

void COs3060Driver::SendOs3060Request(const std::string& command, int32_t state, int replyTimeoutMs) {
    m_nState = state;
    m_nReceived = 0;
    SendRequest(command, replyTimeoutMs);
}
