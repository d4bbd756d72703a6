// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/CScopeDriver.h"

#include "platform/Translate.h"

CScopeDriver::CScopeDriver(const ScopeModel& model, RawTrace* traces) : m_model(model), m_pTraces(traces) {}

CScopeDriver::~CScopeDriver() = default;

void CScopeDriver::ScheduleStep() {
    if (m_pHost) m_pHost->SetStepTimer(500);
}

void CScopeDriver::OnBytes(const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size && m_pPort; ++i) OnChar(bytes[i]);
}

void CScopeDriver::OnChar(uint8_t byte) {
    m_strReply.push_back(static_cast<char>(byte));
    ++m_nReceived;
    OnReplyByte(byte);
}

void CScopeDriver::ClosePort() { m_pPort.reset(); }

void CScopeDriver::Finish(int result) {
    StopReplyTimer();
    ClosePort();
    if (m_pHost) m_pHost->EndDialog(result);
}

void CScopeDriver::OnTimer(int timerId) {
    if (timerId == kReplyTimer) {
        OnTimeout();
        if (!m_pPort) return;  // ended: its state is no step's
    }
    if (m_pHost) m_pHost->KillStepTimer();
    Step();
}

void CScopeDriver::OnLineGone() {
    m_bLineGone = true;
    // Through the host's own timer, so the time-out runs exactly as it would have.
    if (m_bReplyAwaited) ArmReplyTimer(0);
}

void CScopeDriver::Detach() {
    ClosePort();
    m_pHost = nullptr;
}

void CScopeDriver::ArmReplyTimer(int ms) {
    m_bReplyAwaited = true;
    if (m_pHost) m_pHost->SetReplyTimer(m_bLineGone ? 0 : ms);
}

void CScopeDriver::StopReplyTimer() {
    m_bReplyAwaited = false;
    if (m_pHost) m_pHost->KillReplyTimer();
}

void CScopeDriver::SetProgress(int percent) {
    if (!m_pHost || !m_pHost->HasWindow()) return;
    int pos = percent;
    if (m_bBothPlots) pos = m_bFirstPlot ? percent / 2 : 50 + percent / 2;
    m_pHost->SetBarPos(pos);
}

bool CScopeDriver::StartCommon(IProgressHost* host) {
    m_pHost = host;
    m_bLineGone = m_bReplyAwaited = false;
    if (!m_nPlot1Channel && !m_nPlot2Channel) {
        m_nState = static_cast<int32_t>(EScopeState::Done);
        host->EndDialog(kDialogCancel);
        return false;
    }
    m_bFirstPlot = m_nPlot1Channel ? 1 : 0;
    m_bBothPlots = m_nPlot1Channel && m_nPlot2Channel ? 1 : 0;
    SetProgress(0);
    m_pPort = host->CreateTransport(m_address);
    const CLineSettings line{
        .baud = static_cast<unsigned>(m_nBaud >= 0 && m_nBaud < kBaudRateCount ? kBaudRates[m_nBaud] : 9600),
        .stopBits = m_model.stopBits,
        .writeBuffer = m_model.writeBuffer,
        .tcpPort = m_model.tcpPort ? m_model.tcpPort : 5025u,
    };
    if (!m_pPort || !m_pPort->Open(host->TransportOwner(), m_address, line)) {
        m_nState = static_cast<int32_t>(EScopeState::PortFailed);
        ArmReplyTimer(100);
        return false;
    }
    m_pPort->StartReader();
    return true;
}

void CScopeDriver::SendRequest(const std::string& command, int replyTimeoutMs) {
    SendOnly(command);
    ArmReplyTimer(replyTimeoutMs);
}

void CScopeDriver::SendOnly(const std::string& command) {
    m_strCommand = command;
    m_strReply.clear();
    if (m_pPort) m_pPort->Send(m_strCommand.data(), m_strCommand.size());
}

void CScopeDriver::AcceptReply(int32_t nextState) {
    m_nState = nextState;
    StopReplyTimer();
    m_nReceived = 0;
    ScheduleStep();
}

void CScopeDriver::Warn(const char* text) {
    if (m_pHost) m_pHost->Platform().Message(text, KIV_TR_NOOP("Kiv", "Uwaga"), MsgIcon::Error);
}

void CScopeDriver::FailOnTimeout(const char* message) {
    StopReplyTimer();
    if (m_nState == static_cast<int32_t>(EScopeState::PortFailed)) {
        Warn(kPortInitFailed);
        ExplainPortFailure();
        Finish(0);
        return;
    }
    if (EndLineGone()) return;
    Warn(message);
    m_nState = static_cast<int32_t>(EScopeState::Failed);
    Finish(0);
}

// The port's report of the failed read, the state's time-out and the fetch's "Błąd transmisji"
// were three boxes for one unplugged adapter: the one box names the device and the reason.
bool CScopeDriver::EndLineGone() {
    if (!m_bLineGone) return false;
    StopReplyTimer();
    std::string why = m_pPort ? m_pPort->WhyGone() : std::string();
    if (why.empty()) why = KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "połączenie zostało przerwane"));
    Warn((DeviceName() + ": " + why).c_str());
    m_nState = static_cast<int32_t>(EScopeState::Reported);
    Finish(0);
    return true;
}

void CScopeDriver::ExplainPortFailure() {
    const std::string why = m_pPort ? m_pPort->WhyNotOpen() : std::string();
    if (m_pHost && !why.empty()) m_pHost->Platform().Message(why, "Kiv", MsgIcon::Information);
}
