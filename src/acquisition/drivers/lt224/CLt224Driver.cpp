// SPDX-License-Identifier: GPL-3.0-or-later
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
        .model = {.name = "LECROY LT224", .key = "lt224", .channels = 4, .lowestBaud = BaudIndexOf(1200),
                  .highestBaud = BaudIndexOf(19200), .stopBits = 1, .writeBuffer = 200},
        .codes = {.lowest = 0, .highest = 200},  // the offset codes 0..255 scaled onto the screen
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<CLt224Driver>(traces); },
    };
    return entry;
}

CLt224Driver::CLt224Driver(RawTrace* traces) : CQueryDriver(ScopeDriverEntry_lt224().model, traces, kDialogue) {}

bool CLt224Driver::IdentityAccepted() { return Lt224IdentityAccepted(m_strCommand, m_strReply, m_nReceived); }

bool CLt224Driver::SettingsComplete() const { return Lt224SettingsComplete(m_strCommand, m_strReply, m_nReceived); }

bool CLt224Driver::ParseReply(const std::string& reply) {
    if (State() == EQueryState::SettingsAwaited) return ParseLt224Settings(reply, CurrentTrace());
    if (State() == EQueryState::WaveformArriving)
        return ParseLt224Waveform(reply, CurrentTrace().samples, m_nData, m_nWork);
    return true;
}
