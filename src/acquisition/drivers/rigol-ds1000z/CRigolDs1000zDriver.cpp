// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/rigol-ds1000z/CRigolDs1000zDriver.h"

#include <regex>

#include "acquisition/ScopeRegistry.h"
#include "acquisition/drivers/rigol-ds1000z/RigolReply.h"
#include "platform/TrNoop.h"

KIV_SCOPE_DRIVER_ENTRY(rigol_ds1000z) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "RIGOL DS1000Z", .key = "rigol-ds1000z", .channels = 4, .lowestBaud = BaudIndexOf(9600),
                  .highestBaud = BaudIndexOf(9600), .stopBits = 1, .writeBuffer = 256, .scpi = true, .tcpPort = 5555},
        .codes = {.lowest = 0, .highest = 255},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> {
            return std::make_unique<CRigolDs1000zDriver>(traces);
        },
    };
    return entry;
}

namespace {

// The DS1000Z's screen is 12 divisions across; a DHO's is taken as 10, as its NORMal record's
// 1000 points suggest.
int Divisions(const std::string& model) { return model.rfind("DHO", 0) == 0 ? 10 : 12; }

double Number(const std::string& answer, bool& ok) {
    double value = 0;
    ok = ParseScpiNumber(answer, value);
    return value;
}

}  // namespace

CRigolDs1000zDriver::CRigolDs1000zDriver(RawTrace* traces) : CScpiDriver(ScopeDriverEntry_rigol_ds1000z().model, traces) {}

bool CRigolDs1000zDriver::Identifies(const ScpiIdentity& id) const {
    static const std::regex models(R"(^(DS|MSO)1\d{3}Z(-E|-S)?( Plus)?$|^DHO[89]\d{2}S?$)", std::regex::icase);
    return (id.maker == "RIGOL TECHNOLOGIES" || id.maker == "Rigol Technologies") && std::regex_match(id.model, models);
}

CScpiTask CRigolDs1000zDriver::Fetch() {
    co_await Identify();
    const bool running = co_await Query(":TRIG:STAT?", kTextTimeoutMs) != "STOP";
    // Both plots from one acquisition: the instrument holds still while they are read.
    if (running) Send(":STOP");
    try {
        bool ok = false, ok2 = false;
        const double scale = Number(co_await Query(":TIM:SCAL?", kTextTimeoutMs), ok);
        const double offset = Number(co_await Query(":TIM:OFFS?", kTextTimeoutMs), ok2);
        if (!ok || !ok2 || !(scale > 0))
            Fail(KIV_TR_NOOP("Kiv", "podstawa czasu, którą podał przyrząd, jest błędna"), {}, CScpiFailure::EKind::Malformed);
        m_dScreenSpan = Divisions(m_identity.model) * scale;
        m_dScreenLeft = offset - m_dScreenSpan / 2;
        for (int plot = 1; plot <= 2; ++plot)
            if (const int channel = plot == 1 ? m_nPlot1Channel : m_nPlot2Channel) co_await FetchPlot(plot, channel);
    } catch (...) {
        // Left as it was found, as far as the line still goes.
        if (running && !m_bLineGone) Send(":RUN");
        throw;
    }
    if (running) Send(":RUN");
}

CScpiTask CRigolDs1000zDriver::FetchPlot(int plot, int channel) {
    ShowProgress(plot, 0);
    const std::string n = std::to_string(channel);
    if (co_await Query(":CHAN" + n + ":DISP?", kTextTimeoutMs) != "1")
        Fail(KIV_TR_NOOP("Kiv", "kanał %1 jest wyłączony na przyrządzie"), {n});
    bool ok = false;
    const double voltsPerDivision = Number(co_await Query(":CHAN" + n + ":SCAL?", kTextTimeoutMs), ok);
    Send(":WAV:SOUR CHAN" + n);
    Send(":WAV:MODE NORM");
    Send(":WAV:FORM BYTE");
    RigolPreamble pre;
    if (!ParseRigolPreamble(co_await Query(":WAV:PRE?", kTextTimeoutMs), pre) || !ok)
        Fail(KIV_TR_NOOP("Kiv", "kanał %1: opis przebiegu (:WAV:PRE?) jest błędny"), {n}, CScpiFailure::EKind::Malformed);
    ShowProgress(plot, 20);
    std::string data = co_await Query(":WAV:DATA?", kBlockTimeoutMs, EScpiReply::Block);
    for (int retry = 0; data.size() < static_cast<size_t>(pre.points) && retry < kShortBlockRetries; ++retry) {
        co_await Pause(kShortBlockPauseMs);
        data = co_await Query(":WAV:DATA?", kBlockTimeoutMs, EScpiReply::Block);
    }
    if (data.empty()) Fail(KIV_TR_NOOP("Kiv", "kanał %1: przyrząd nie ma danych do wysłania"), {n});
    ScreenRecord record;
    record.volts.reserve(data.size());
    for (unsigned char code : data) record.volts.push_back((code - pre.yOrigin - pre.yReference) * pre.yIncrement);
    record.firstTime = pre.xOrigin - pre.xReference * pre.xIncrement;
    record.pointStep = pre.xIncrement;
    record.screenLeft = m_dScreenLeft;
    record.screenSpan = m_dScreenSpan;
    record.voltsPerDivision = voltsPerDivision;
    record.codeVolts = pre.yIncrement;
    StoreScreen(plot, record);
    ShowProgress(plot, 100);
}

// Firmware from 00.04 on sends a PNG when asked; older firmware knows only the plain query
// (a BMP) and answers the long form with nothing, so that one is tried after it.
CScpiTask CRigolDs1000zDriver::FetchScreen(std::string& picture) {
    try {
        picture = co_await Query(":DISP:DATA? ON,OFF,PNG", kScreenTimeoutMs, EScpiReply::Block);
    } catch (const CScpiFailure& failure) {
        if (failure.Kind() != CScpiFailure::EKind::NoAnswer) throw;
    }
    if (picture.empty()) picture = co_await Query(":DISP:DATA?", kScreenTimeoutMs, EScpiReply::Block);
}
