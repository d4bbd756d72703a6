// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/CAcquisition.h"

#include <unistd.h>

#include <climits>
#include <cstring>

#include "acquisition/CScpiAutoDriver.h"
#include "data/CDataSrc.h"
#include "data/SafeFile.h"

namespace {

void Put32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t Get32(const uint8_t* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

std::string WorkingDirectoryPath(const char* name) {
    char dir[PATH_MAX];
    if (!getcwd(dir, sizeof dir)) return name;
    return std::string(dir) + "/" + name;
}

}  // namespace

// Bytes 14..19 carry nothing; they are written as zeros.
std::array<uint8_t, kConfigFileSize> EncodeSettings(const AcquisitionSettings& s) {
    std::array<uint8_t, kConfigFileSize> b{};
    Put32(&b[0], s.bPlot2);
    Put32(&b[4], s.bPlot1);
    b[8] = s.nChannels;
    b[9] = s.nPlot1Channel;
    b[10] = s.nPlot2Channel;
    b[11] = s.nInstrument;
    b[12] = static_cast<uint8_t>(s.nBaud + 1);
    b[13] = s.nPort;
    return b;
}

bool DecodeSettings(const uint8_t* bytes, size_t size, AcquisitionSettings& s) {
    if (size < kConfigFileSize || (bytes[11] >= kScopeModelCount && bytes[11] != kAutoInstrument)) return false;
    s.bPlot2 = Get32(&bytes[0]);
    s.bPlot1 = Get32(&bytes[4]);
    s.nChannels = bytes[8];
    s.nPlot1Channel = bytes[9];
    s.nPlot2Channel = bytes[10];
    s.nInstrument = bytes[11];
    s.nBaud = static_cast<uint8_t>(bytes[12] - 1);
    s.nPort = bytes[13];
    return true;
}

CAcquisition::CAcquisition(std::string configPath)
    : m_strConfigPath(configPath.empty() ? WorkingDirectoryPath(kConfigFileName) : std::move(configPath)) {
    std::vector<uint8_t> bytes;
    AcquisitionSettings read;
    if (ReadWholeFile(m_strConfigPath, bytes) && DecodeSettings(bytes.data(), bytes.size(), read)) m_settings = read;
    std::vector<CScpiDriver*> families;
    for (int i = 0; i < kScopeModelCount; ++i) {
        m_drivers.push_back(ScopeDriverAt(i).create(m_traces));
        if (auto* scpi = dynamic_cast<CScpiDriver*>(m_drivers.back().get())) families.push_back(scpi);
    }
    m_pAuto = std::make_unique<CScpiAutoDriver>(m_traces, std::move(families));
}

const ScopeModel& InstrumentModel(int index) {
    return index == kAutoInstrument || index < 0 || index >= kScopeModelCount ? AutoScopeModel() : ScopeModelAt(index);
}

CScopeDriver& CAcquisition::Driver(int index) {
    return index == kAutoInstrument ? *m_pAuto : *m_drivers[static_cast<size_t>(index)];
}

CAcquisition::~CAcquisition() {
    m_pAuto.reset();
    for (auto& d : m_drivers) d.reset();
    if (!m_bSaveOnExit) return;
    const auto bytes = EncodeSettings(m_settings);
    WriteFileAtomically(m_strConfigPath, std::string(bytes.begin(), bytes.end()));
}

CScopeDriver& CAcquisition::PrepareDriver() {
    m_nFetchStatus = kFetchOk;
    const uint8_t n = m_settings.nInstrument;
    CScopeDriver& d = Driver(n < kScopeModelCount || n == kAutoInstrument ? n : 1);
    m_pCurrent = &d;
    d.m_nPlot1Channel = m_settings.bPlot1 ? m_settings.nPlot1Channel : 0;
    d.m_nPlot2Channel = m_settings.bPlot2 ? m_settings.nPlot2Channel : 0;
    d.m_address = {m_settings.nPort, {}};
    d.m_nBaud = m_settings.nBaud;
    return d;
}

int CAcquisition::FinishFetch(CDataSrc& src, int result) {
    CScopeDriver& d = *m_pCurrent;
    m_nFetchStatus = result == kDialogCancel ? kFetchCancelled : d.FetchState();
    if (m_nFetchStatus != kFetchOk) return m_nFetchStatus;
    for (int plot = 1; plot <= 2; ++plot) {
        if (!(plot == 1 ? d.m_nPlot1Channel : d.m_nPlot2Channel)) continue;
        const RawTrace& t = m_traces[plot - 1];
        std::memcpy(plot == 1 ? src.m_nRaw1 : src.m_nRaw2, t.samples, sizeof t.samples);
        (plot == 1 ? src.m_timeScale1 : src.m_timeScale2) = {t.timeExponent, t.timeUnit, t.timeStep};
        (plot == 1 ? src.m_ampScale1 : src.m_ampScale2) = {t.voltExponent, t.voltUnit, t.voltStep};
        src.m_nPresent |= plot;
        src.m_nEnabled |= plot;
    }
    src.Rebuild();
    return m_nFetchStatus;
}

void ReportFetchStatus(int status, const CPlatform& platform) {
    if (status != kFetchOk && status != kFetchCancelled && status != static_cast<int>(EScopeState::Reported))
        platform.Message(kTransmissionError, "Kiv", MsgIcon::Exclamation);
}
