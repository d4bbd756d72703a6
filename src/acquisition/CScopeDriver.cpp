#include "acquisition/CScopeDriver.h"

CScopeDriver::CScopeDriver(const ScopeModel& model, RawTrace* traces) : m_model(model), m_pTraces(traces) {}

CScopeDriver::~CScopeDriver() = default;

void CScopeDriver::ScheduleStep() {
    if (m_pHost) m_pHost->SetStepTimer(500);
}

void CScopeDriver::ClosePort() { m_pPort.reset(); }

void CScopeDriver::Finish(int result) {
    if (m_pHost) m_pHost->KillReplyTimer();
    ClosePort();
    if (m_pHost) m_pHost->EndDialog(result);
}

void CScopeDriver::OnTimer(int timerId) {
    if (timerId == kReplyTimer) OnTimeout();
    if (m_pHost) m_pHost->KillStepTimer();
    Step();
}

void CScopeDriver::SetProgress(int percent) {
    if (!m_pHost || !m_pHost->HasWindow()) return;
    int pos = percent;
    if (m_bBothPlots) pos = m_bFirstPlot ? percent / 2 : 50 + percent / 2;
    m_pHost->SetBarPos(pos);
}

bool CScopeDriver::StartCommon(IProgressHost* host) {
    m_pHost = host;
    if (!m_nPlot1Channel && !m_nPlot2Channel) {
        m_nState = 0;
        host->EndDialog(kDialogCancel);
        return false;
    }
    m_bFirstPlot = m_nPlot1Channel ? 1 : 0;
    m_bBothPlots = m_nPlot1Channel && m_nPlot2Channel ? 1 : 0;
    SetProgress(0);
    m_pPort = host->CreatePort();
    const int baud = m_nBaudIndex >= 1 && m_nBaudIndex <= 12 ? kBaudRates[m_nBaudIndex - 1] : 9600;
    if (!m_pPort || !m_pPort->Open(host->PortOwner(), m_nPortNumber, static_cast<unsigned>(baud), kScopeParity,
                                   kScopeDataBits, m_model.stopBits, kScopeEventMask, m_model.writeBuffer)) {
        m_nState = 10;
        host->SetReplyTimer(100);
        return false;
    }
    m_pPort->StartReader();
    return true;
}

void CScopeDriver::SendRequest(const std::string& command, int replyTimeoutMs) {
    m_strCommand = command;
    m_strReply.clear();
    if (m_pPort) m_pPort->Send(m_strCommand.data(), m_strCommand.size());
    if (m_pHost) m_pHost->SetReplyTimer(replyTimeoutMs);
}

void CScopeDriver::Warn(const char* text) {
    if (m_pHost) m_pHost->Platform().Message(text, "Uwaga", MsgIcon::Error);
}
