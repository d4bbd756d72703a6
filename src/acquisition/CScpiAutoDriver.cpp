// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/CScpiAutoDriver.h"

#include <algorithm>

#include "platform/TrNoop.h"

const ScopeModel& AutoScopeModel() {
    static const ScopeModel model = {.name = KIV_TR_NOOP("Kiv", "Automatycznie (SCPI)"), .key = "auto", .channels = 4,
                                     .lowestBaud = BaudIndexOf(9600), .highestBaud = BaudIndexOf(9600), .stopBits = 1,
                                     .writeBuffer = 256, .scpi = true, .tcpPort = 5025};
    return model;
}

CScpiAutoDriver::CScpiAutoDriver(RawTrace* traces, std::vector<CScpiDriver*> families)
    : CScpiDriver(AutoScopeModel(), traces), m_families(std::move(families)) {}

bool CScpiAutoDriver::Identifies(const ScpiIdentity& identity) const {
    for (const CScpiDriver* f : m_families)
        if (f->Identifies(identity)) return true;
    return false;
}

int CScpiAutoDriver::FirstReplyTimeoutMs() const {
    int longest = CScpiDriver::FirstReplyTimeoutMs();
    for (const CScpiDriver* f : m_families) longest = std::max(longest, f->FirstReplyTimeoutMs());
    return longest;
}

std::string CScpiAutoDriver::FoundInstrument() const {
    if (m_pChosen) return m_pChosen->FoundInstrument();
    return CScpiDriver::FoundInstrument();
}

bool CScpiAutoDriver::Start(IProgressHost* host) {
    // A live view goes on with the family found the first time, on its kept connection.
    if (m_pChosen && m_pChosen->LineKept(host)) {
        m_pChosen->m_nPlot1Channel = m_nPlot1Channel, m_pChosen->m_nPlot2Channel = m_nPlot2Channel;
        m_pChosen->m_job = m_job;
        const bool started = m_pChosen->Start(host);
        Mirror();
        return started;
    }
    m_pFound = m_pChosen = nullptr;
    return CScpiDriver::Start(host);
}

// A screen job runs here too: it ends as soon as the family is known, and goes on there.
CScpiTask CScpiAutoDriver::Fetch() {
    co_await AskIdentity();
    for (CScpiDriver* f : m_families)
        if (f->Identifies(m_identity)) {
            m_pFound = f;
            break;
        }
    if (!m_pFound)
        Fail(KIV_TR_NOOP("Kiv", "Kiv nie zna przyrządu %1 %2 (odpowiedź na *IDN?); wybierz model ręcznie, jeśli mówi "
                                "językiem jednego ze znanych"),
             {m_identity.maker, m_identity.model});
    m_bIdentified = true;
}

// The port (the probe's too) is the family's from here on.
bool CScpiAutoDriver::HandOver() {
    if (!m_pFound) return false;
    m_pChosen = std::exchange(m_pFound, nullptr);
    m_pChosen->TakeOver(*this);
    Mirror();
    return true;
}

void CScpiAutoDriver::Mirror() {
    if (m_pChosen) m_nState = m_pChosen->m_nState;
}

void CScpiAutoDriver::OnBytes(const uint8_t* bytes, size_t size) {
    if (!m_pChosen) return CScpiDriver::OnBytes(bytes, size);
    m_pChosen->OnBytes(bytes, size);
    Mirror();
}

void CScpiAutoDriver::OnReplyByte(uint8_t byte) {
    if (!m_pChosen) return CScpiDriver::OnReplyByte(byte);
    m_pChosen->OnReplyByte(byte);
    Mirror();
}

void CScpiAutoDriver::OnTimer(int timerId) {
    if (!m_pChosen) return CScpiDriver::OnTimer(timerId);
    m_pChosen->OnTimer(timerId);
    Mirror();
}

void CScpiAutoDriver::OnLineGone() {
    if (!m_pChosen) return CScpiDriver::OnLineGone();
    m_pChosen->OnLineGone();
    Mirror();
}

void CScpiAutoDriver::ClosePort() {
    if (m_pChosen) m_pChosen->ClosePort();
    CScpiDriver::ClosePort();
}

void CScpiAutoDriver::Detach() {
    if (m_pChosen) m_pChosen->Detach();
    CScpiDriver::Detach();
}
