#include "acquisition/drivers/lt224/CLt224Driver.h"

#include "acquisition/ScopeRegistry.h"

namespace {

constexpr QueryDialogue kDialogue = {
    kLt224IdentityRequest, kLt224IdentityRequest, "TRMD AUTO\r",
    1000, 2000, 80000, kLt224WaveformLength, 2 * kLt224Points, 0.02,
};

}  // namespace

// This folder's entry in the model list.
KIV_SCOPE_DRIVER_ENTRY(lt224) {
    static const ScopeDriverEntry entry = {
        {"LECROY LT224", "lt224", 4, 3, 7, 1, 200},
        [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<CLt224Driver>(traces); },
    };
    return entry;
}

CLt224Driver::CLt224Driver(RawTrace* traces) : CQueryDriver(ScopeDriverEntry_lt224().model, traces, kDialogue) {}

bool CLt224Driver::IdentityAccepted() { return Lt224IdentityAccepted(m_strCommand, m_strReply, m_nReceived); }

bool CLt224Driver::SettingsComplete() const { return Lt224SettingsComplete(m_strCommand, m_strReply, m_nReceived); }

bool CLt224Driver::ParseReply(const std::string& reply) {
    if (m_nState == 9) return ParseLt224Settings(reply, CurrentTrace());
    if (m_nState == 7) return ParseLt224Waveform(reply, CurrentTrace().samples, m_nData, m_nWork);
    return true;
}
