#include "acquisition/drivers/lt224/CLt224Driver.h"

namespace {

constexpr QueryDialogue kDialogue = {
    kLt224IdentityRequest, kLt224IdentityRequest, "TRMD AUTO\r",
    1000, 2000, 80000, kLt224WaveformLength, 2 * kLt224Points, 0.02,
};

}  // namespace

CLt224Driver::CLt224Driver(RawTrace* traces) : CQueryDriver(kScopeModels[3], traces, kDialogue) {}

bool CLt224Driver::IdentityAccepted() { return Lt224IdentityAccepted(m_strCommand, m_strReply, m_nReceived); }

bool CLt224Driver::SettingsComplete() const { return Lt224SettingsComplete(m_strCommand, m_strReply, m_nReceived); }

bool CLt224Driver::ParseReply(const std::string& reply) {
    if (m_nState == 9) return ParseLt224Settings(reply, CurrentTrace());
    if (m_nState == 7) return ParseLt224Waveform(reply, CurrentTrace().samples, m_nData, m_nWork);
    return true;
}
