// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/os3060/COs3060Driver.h"

#include "acquisition/ScopeRegistry.h"

namespace {

constexpr int kOpeningTimeoutMs = 1000;
constexpr int kTransferTimeoutMs = 20000;

}  // namespace

// This folder's entry in the model list.
KIV_SCOPE_DRIVER_ENTRY(os3060) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "GOLDSTAR OS-3060", .key = "os3060", .channels = 2, .lowestBaud = BaudIndexOf(300),
                  .highestBaud = BaudIndexOf(9600), .stopBits = 1, .writeBuffer = 80},
        // The widening polynomial overshoots its five points by less than a quarter of their spread.
        .codes = {.lowest = 0 - kOs3060ZeroByte - 64, .highest = 255 - kOs3060ZeroByte + 64},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<COs3060Driver>(traces); },
    };
    return entry;
}

COs3060Driver::COs3060Driver(RawTrace* traces) : CStateDriver(ScopeDriverEntry_os3060().model, traces) {}

bool COs3060Driver::Start(IProgressHost* host) {
    // The outcome is the state and the host's result: a cancelled start has already ended
    // the host, a failed port ends through its 100 ms time-out.
    if (!StartCommon(host)) return true;
    SendOs3060Request(kOs3060Opening, EOs3060State::OpeningAwaited, kOpeningTimeoutMs);
    return true;
}

void COs3060Driver::OnTimeout() {
    StopReplyTimer();
    // No messages of its own: the fetch reports "Błąd transmisji" from the state. Why the
    // port would not open or the line went is the system's knowledge, not the model's, so it
    // is told here too.
    if (EndLineGone()) return;
    if (State() == EOs3060State::PortFailed)
        ExplainPortFailure();
    else
        SetState(EOs3060State::Failed);
    Finish(0);
}

void COs3060Driver::Step() {
    switch (State()) {
    case EOs3060State::SettingsDue:
        StopReplyTimer();
        SendOs3060Request(Os3060SettingsRequest(Channel()), EOs3060State::SettingsAwaited, kTransferTimeoutMs);
        break;
    case EOs3060State::WaveformDue:
        StopReplyTimer();
        SendOs3060Request(Os3060WaveformRequest(Channel()), EOs3060State::WaveformArriving, kTransferTimeoutMs);
        break;
    case EOs3060State::PlotDone:
        if (m_bBothPlots && m_bFirstPlot) {
            m_bFirstPlot = 0;
            SendOs3060Request(kOs3060Opening, EOs3060State::OpeningAwaited, kOpeningTimeoutMs);
            break;
        }
        // No closing request: the instrument is left as it stands.
        SetState(EOs3060State::Done);
        Finish(0);
        break;
    default: break;
    }
}

void COs3060Driver::OnReplyByte(uint8_t byte) {
    const bool lineEnd = byte == static_cast<uint8_t>(kOs3060Terminator);
    switch (State()) {
    case EOs3060State::OpeningAwaited:
        // Decided at the carriage return: an opening reply must begin with "A".
        if (!lineEnd) break;
        if (Os3060OpeningAccepted(m_strReply))
            Accept(EOs3060State::SettingsDue);
        else
            Fail();
        break;
    case EOs3060State::SettingsAwaited:
    case EOs3060State::WaveformArriving:
        if (!lineEnd) {
            if (State() == EOs3060State::WaveformArriving && m_strReply.size() > kOs3060WaveformHeader)
                SetProgress(Os3060WaveformPercent(m_strReply.size()));
            break;
        }
        // Decided at the carriage return, also one inside the waveform data: a short
        // settings reply or a short waveform fails.
        if (!ParseReply(m_strReply))
            Fail();
        else if (State() == EOs3060State::SettingsAwaited)
            Accept(EOs3060State::WaveformDue);
        else
            Accept(EOs3060State::PlotDone);
        break;
    default:
        // A byte no request asked for (a line feed after the carriage return, say) fails.
        Fail();
        break;
    }
}

bool COs3060Driver::ParseReply(const std::string& reply) {
    if (State() == EOs3060State::SettingsAwaited) return ParseOs3060Settings(reply, CurrentTrace());
    if (State() == EOs3060State::WaveformArriving) return ParseOs3060Waveform(reply, CurrentTrace().samples);
    return true;
}

void COs3060Driver::Fail() {
    // Finish closes the port while its byte is still being delivered; nothing here may
    // touch the port afterwards.
    SetState(EOs3060State::Failed);
    Finish(0);
}

void COs3060Driver::SendOs3060Request(const std::string& command, EOs3060State state, int replyTimeoutMs) {
    SetState(state);
    m_nReceived = 0;
    SendRequest(command, replyTimeoutMs);
}
