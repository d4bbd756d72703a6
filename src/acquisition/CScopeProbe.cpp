// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/CScopeProbe.h"

#include <cstdio>

#include "platform/Translate.h"

namespace {

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

std::string PrintableBytes(const std::string& bytes) {
    std::string line;
    for (const unsigned char c : bytes) {
        switch (c) {
        case '\r': line += "\\r"; break;
        case '\n': line += "\\n"; break;
        case '\t': line += "\\t"; break;
        case '\\': line += "\\\\"; break;
        case '"': line += "\\\""; break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                line += static_cast<char>(c);
            } else {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                line += hex;
            }
        }
    }
    return line;
}

CScopeProbe::CScopeProbe(CScopeDriver& driver) : m_driver(driver) {}

CScopeProbe::~CScopeProbe() {
    if (m_driver.m_pHost == static_cast<IProgressHost*>(this)) m_driver.Detach();
}

bool CScopeProbe::Start(IProgressHost* host) {
    m_pHost = host;
    m_bEnded = false;
    m_strReply.clear(), m_strReplyTo.clear(), m_nReplyBytes = 0;
    m_strGone.clear();
    m_outcome = {};
    m_driver.m_nPlot1Channel = 1, m_driver.m_nPlot2Channel = 0;
    m_driver.Start(this);
    // A port that did not open needs no wait to say so.
    if (!m_bEnded && m_driver.m_nState == static_cast<int32_t>(EScopeState::PortFailed)) End(EProbeResult::NoPort);
    return true;
}

void CScopeProbe::OnTimer(int timerId) {
    if (m_bEnded) return;
    // The driver's own time-out would show its box and fail; the probe just tells.
    if (timerId == kReplyTimer && !m_driver.TimeoutGoesOn()) {
        End(Unanswered());
        return;
    }
    m_driver.OnTimer(timerId);
}

// Byte by byte until the probe or the driver has ended: what came with the deciding byte is
// no one's reply.
void CScopeProbe::OnBytes(const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size && !m_bEnded && m_driver.m_pPort; ++i) OnChar(bytes[i]);
}

void CScopeProbe::OnChar(uint8_t byte) {
    if (m_strReplyTo != m_driver.m_strCommand) {
        m_strReply.clear(), m_nReplyBytes = 0;
        m_strReplyTo = m_driver.m_strCommand;
    }
    if (m_strReply.size() < kShownBytes) m_strReply.push_back(static_cast<char>(byte));
    ++m_nReplyBytes;
    m_driver.OnChar(byte);
    if (!m_bEnded && m_driver.FirstReplyTaken()) End(EProbeResult::Answered);
}

void CScopeProbe::OnLineGone() {
    if (m_bEnded) return;
    if (m_driver.m_pPort) m_strGone = OneLine(m_driver.m_pPort->WhyGone());
    m_driver.OnLineGone();
}

// Cancelled half-way, the instrument is handed back all the same: the first request may
// have stopped or locked it.
void CScopeProbe::ClosePort() {
    if (!m_bEnded) Close(true);
}

void CScopeProbe::Close(bool handBack) {
    m_bEnded = true;
    KillReplyTimer();
    KillStepTimer();
    const std::string closing = handBack ? m_driver.ClosingRequest() : std::string();
    if (m_driver.m_pPort && !closing.empty()) m_driver.m_pPort->Send(closing.data(), closing.size());
    m_driver.ClosePort();
}

void CScopeProbe::Detach() {
    m_driver.Detach();
    m_pHost = nullptr;
}

void CScopeProbe::SetReplyTimer(int ms) {
    if (m_pHost) m_pHost->SetReplyTimer(ms);
}
void CScopeProbe::KillReplyTimer() {
    if (m_pHost) m_pHost->KillReplyTimer();
}
void CScopeProbe::SetStepTimer(int ms) {
    if (m_pHost) m_pHost->SetStepTimer(ms);
}
void CScopeProbe::KillStepTimer() {
    if (m_pHost) m_pHost->KillStepTimer();
}

// The driver ended the dialogue itself: the OS-3060 refuses a wrong opening reply at once.
void CScopeProbe::EndDialog(int) { End(Unanswered()); }

std::unique_ptr<ITransport> CScopeProbe::CreateTransport(const CTransportAddress& address) {
    return m_pHost ? m_pHost->CreateTransport(address) : nullptr;
}

ITransportOwner* CScopeProbe::TransportOwner() { return m_pHost ? m_pHost->TransportOwner() : nullptr; }

EProbeResult CScopeProbe::Unanswered() const {
    return m_nReplyBytes > 0 && m_strReplyTo == m_driver.m_strCommand ? EProbeResult::Other : EProbeResult::Silent;
}

void CScopeProbe::End(EProbeResult result) {
    if (m_bEnded) return;
    const std::string name = KivTranslate("Kiv", m_driver.Model().name);
    std::string text;
    switch (result) {
    case EProbeResult::Answered:
        text = KivText(KIV_TR_NOOP("Kiv", "Oscyloskop odpowiada jako %1."), {m_driver.FoundInstrument()});
        break;
    case EProbeResult::Other:
        text = KivText(KIV_TR_NOOP("Kiv", "Odpowiada coś innego niż %1: \"%2\""),
                       {name, PrintableBytes(m_strReply) + (m_nReplyBytes > m_strReply.size() ? "..." : "")});
        break;
    case EProbeResult::Silent:
        // A connection refused or lost says why, as a fetch does, rather than blame the cable.
        text = !m_strGone.empty() ? m_driver.DeviceName() + ": " + m_strGone
                                  : KivText(KIV_TR_NOOP("Kiv", "Brak odpowiedzi (%1): sprawdź kabel, zasilanie, "
                                                               "port i prędkość transmisji."), {name});
        break;
    case EProbeResult::NoPort: {
        const std::string why = m_driver.m_pPort ? OneLine(m_driver.m_pPort->WhyNotOpen()) : std::string();
        // The port's own explanation already begins by saying that it would not open.
        text = why.empty() ? KivText(KIV_TR_NOOP("Kiv", "Nie można otworzyć portu COM%1."),
                                     {std::to_string(m_driver.m_address.port)})
                           : why;
        break;
    }
    }
    m_outcome = {result, text};
    Close(result != EProbeResult::NoPort);
    if (m_pHost) m_pHost->EndDialog(0);
}
