// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/tds224/CTds224Driver.h"

#include "acquisition/ScopeRegistry.h"

namespace {

constexpr QueryDialogue kDialogue = {
    "ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r", "ID?\r", "ACQUIRE:STATE RUN;:UNLOCK ALL\r",
    1000, 2000, 60000, kTds224CurveLength, kTds224CurvePoints, 0.04,
};

}  // namespace

// This folder's entry in the model list.
KIV_SCOPE_DRIVER_ENTRY(tds224) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "TEKTRONIX TDS224", .key = "tds224", .channels = 4, .lowestBaud = BaudIndexOf(1200),
                  .highestBaud = BaudIndexOf(9600), .stopBits = 1, .writeBuffer = 80},
        .codes = {.lowest = 0 - kTds224ZeroByte, .highest = 255 - kTds224ZeroByte},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<CTds224Driver>(traces); },
    };
    return entry;
}

CTds224Driver::CTds224Driver(RawTrace* traces) : CQueryDriver(ScopeDriverEntry_tds224().model, traces, kDialogue) {}

std::string CTds224Driver::SettingsRequest(int channel) const {
    const std::string n = std::to_string(channel);
    return "SELECT:CH" + n + " ON;:DATA:SOURCE CH" + n + ";:WFMPRE:WFID?\r";
}

std::string CTds224Driver::WaveformRequest(int) const { return "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r"; }

bool CTds224Driver::IdentityAccepted() { return Tds224IdentityAccepted(m_strCommand, m_strReply, m_nReceived); }

bool CTds224Driver::SettingsComplete() const { return Tds224DescriptionComplete(m_strCommand, m_strReply); }

bool CTds224Driver::ParseReply(const std::string& reply) {
    if (State() == EQueryState::SettingsAwaited) return ParseTds224Description(reply, CurrentTrace());
    if (State() == EQueryState::WaveformArriving) return ParseTds224Curve(reply, CurrentTrace().samples, m_nWork);
    return true;
}
