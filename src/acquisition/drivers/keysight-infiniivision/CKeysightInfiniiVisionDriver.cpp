// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/keysight-infiniivision/CKeysightInfiniiVisionDriver.h"

#include <algorithm>
#include <cmath>
#include <regex>

#include "acquisition/ScopeRegistry.h"
#include "acquisition/drivers/keysight-infiniivision/KeysightReply.h"
#include "platform/TrNoop.h"
#include "units/NumberText.h"

KIV_SCOPE_DRIVER_ENTRY(keysight_infiniivision) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "KEYSIGHT InfiniiVision X", .key = "keysight-infiniivision", .channels = 4,
                  .lowestBaud = BaudIndexOf(9600), .highestBaud = BaudIndexOf(9600), .stopBits = 1, .writeBuffer = 256,
                  .scpi = true, .tcpPort = 5025},
        .codes = {.lowest = 0, .highest = 255},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> {
            return std::make_unique<CKeysightInfiniiVisionDriver>(traces);
        },
    };
    return entry;
}

namespace {

// :OPER:COND? bit 3: the instrument runs (continuously or armed for a single shot).
constexpr long long kRunBit = 8;
// :TIM:RANGe is ten times :TIM:SCALe: the screen is ten divisions across.
constexpr int kDivisions = 10;
// The screen record in NORMal mode is about 1000 time buckets across the screen, and a count
// asked for must divide 1000. All 1000: the 4000 samples over the screen are then four of
// each bucket exactly, every one a point the instrument measured, none made up in between;
// asking for more would add none (the preamble says how many come).
constexpr char kPoints[] = "1000";
// In NORMal mode a time bucket without data comes as code 0.
constexpr unsigned char kNoData = 0;

}  // namespace

CKeysightInfiniiVisionDriver::CKeysightInfiniiVisionDriver(RawTrace* traces)
    : CScpiDriver(ScopeDriverEntry_keysight_infiniivision().model, traces) {}

bool CKeysightInfiniiVisionDriver::Identifies(const ScpiIdentity& id) const {
    static const std::regex makers("^(AGILENT|KEYSIGHT) TECHNOLOGIES$", std::regex::icase);
    static const std::regex models(R"(^(DSO|MSO)-?X ?[1234]\d{3}[AGT]$|^EDUX1\d{3}[AG]$)", std::regex::icase);
    return std::regex_match(id.maker, makers) && std::regex_match(id.model, models);
}

void CKeysightInfiniiVisionDriver::Malformed(const std::string& query, const std::string& answer) const {
    Fail(KIV_TR_NOOP("Kiv", "odpowiedź na %1 jest błędna: „%2”"), {query, answer.substr(0, 40)},
         CScpiFailure::EKind::Malformed);
}

double CKeysightInfiniiVisionDriver::Number(const std::string& query, const std::string& answer) const {
    double value = 0;
    if (!ReadNumber(answer, value) || !std::isfinite(value)) Malformed(query, answer);
    return value;
}

CScpiTask CKeysightInfiniiVisionDriver::Fetch() {
    co_await Identify();
    const int channels = KeysightChannels(m_identity.model);
    for (const int channel : {int(m_nPlot1Channel), int(m_nPlot2Channel)})
        if (channel > channels)
            Fail(KIV_TR_NOOP("Kiv", "kanał %1: przyrząd %2 ma tylko %3 kanały"),
                 {std::to_string(channel), m_identity.model, std::to_string(channels)});
    const std::string state = co_await Query(":OPER:COND?", kTextTimeoutMs);
    long long condition = 0;
    if (!ReadInteger(state, 0, 0xFFFF, condition)) Malformed(":OPER:COND?", state);
    const bool running = (condition & kRunBit) != 0;
    // Both plots from one acquisition: the instrument holds still while they are read.
    if (running) Send(":STOP");
    try {
        const double scale = Number(":TIM:SCAL?", co_await Query(":TIM:SCAL?", kTextTimeoutMs));
        // The time of the reference point, which :TIM:REF? places on the screen.
        const double position = Number(":TIM:POS?", co_await Query(":TIM:POS?", kTextTimeoutMs));
        double share = 0;
        bool custom = false;
        const bool known = ParseKeysightReference(co_await Query(":TIM:REF?", kTextTimeoutMs), share, custom);
        if (known && custom) share = Number(":TIM:REF:LOC?", co_await Query(":TIM:REF:LOC?", kTextTimeoutMs));
        if (!known || !(scale > 0) || !(share >= 0 && share <= 1))
            Fail(KIV_TR_NOOP("Kiv", "podstawa czasu, którą podał przyrząd, jest błędna"), {},
                 CScpiFailure::EKind::Malformed);
        m_dScreenSpan = kDivisions * scale;
        m_dScreenLeft = position - share * m_dScreenSpan;
        for (int plot = 1; plot <= 2; ++plot)
            if (const int channel = plot == 1 ? m_nPlot1Channel : m_nPlot2Channel) co_await FetchPlot(plot, channel);
    } catch (...) {
        // Left as it was found, as far as the line still goes.
        if (running && !m_bLineGone) Send(":RUN");
        throw;
    }
    if (running) Send(":RUN");
}

CScpiTask CKeysightInfiniiVisionDriver::FetchPlot(int plot, int channel) {
    ShowProgress(plot, 0);
    const std::string n = std::to_string(channel);
    // :WAV:SOUR switches a channel on: a channel that is off is left alone.
    const std::string display = ":CHAN" + n + ":DISP?";
    if (Number(display, co_await Query(display, kTextTimeoutMs)) == 0)
        Fail(KIV_TR_NOOP("Kiv", "kanał %1 jest wyłączony na przyrządzie"), {n});
    const std::string scale = ":CHAN" + n + ":SCAL?";
    const double voltsPerDivision = Number(scale, co_await Query(scale, kTextTimeoutMs));
    Send(":WAV:SOUR CHAN" + n);
    Send(":WAV:FORM BYTE");
    // Signed bytes stay set from whoever used the instrument last (Keysight's own examples
    // set them for WORD).
    Send(":WAV:UNS 1");
    // Before the mode: a count may change the points mode (MAXimum does).
    Send(std::string(":WAV:POIN ") + kPoints);
    Send(":WAV:POIN:MODE NORM");
    KeysightPreamble pre;
    bool parsed = false;
    for (int attempt = 0; attempt < kPreambleAttempts && !parsed; ++attempt)
        parsed = ParseKeysightPreamble(co_await Query(":WAV:PRE?", kTextTimeoutMs), pre);
    if (!parsed)
        Fail(KIV_TR_NOOP("Kiv", "kanał %1: opis przebiegu (:WAV:PRE?) jest błędny"), {n},
             CScpiFailure::EKind::Malformed);
    if (pre.points == 0) Fail(KIV_TR_NOOP("Kiv", "kanał %1: przyrząd nie ma danych do wysłania"), {n});
    ShowProgress(plot, 20);
    const std::string data = co_await Query(":WAV:DATA?", kBlockTimeoutMs, EScpiReply::Block);
    // A bucket without data shows the point before it (the first with data, at the start).
    const auto first =
        std::find_if(data.begin(), data.end(), [](char c) { return static_cast<unsigned char>(c) != kNoData; });
    if (first == data.end()) Fail(KIV_TR_NOOP("Kiv", "kanał %1: przyrząd nie ma danych do wysłania"), {n});
    ScreenRecord record;
    record.volts.reserve(data.size());
    unsigned char held = static_cast<unsigned char>(*first);
    for (const char c : data) {
        if (static_cast<unsigned char>(c) != kNoData) held = static_cast<unsigned char>(c);
        record.volts.push_back((held - pre.yReference) * pre.yIncrement + pre.yOrigin);
    }
    record.firstTime = pre.xOrigin - pre.xReference * pre.xIncrement;
    record.pointStep = pre.xIncrement;
    record.screenLeft = m_dScreenLeft;
    record.screenSpan = m_dScreenSpan;
    record.voltsPerDivision = voltsPerDivision;
    // The preamble's step is the code: 256 codes over 8 divisions (V/div / 32) is what the
    // figures suggest, but no page we could check says so.
    record.codeVolts = pre.yIncrement;
    StoreScreen(plot, record);
    ShowProgress(plot, 100);
}

CScpiTask CKeysightInfiniiVisionDriver::FetchScreen(std::string& picture) {
    picture = co_await Query(":DISP:DATA? PNG, COLor", kScreenTimeoutMs, EScpiReply::Block);
    if (picture.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) != 0) {
        picture.clear();
        Fail(KIV_TR_NOOP("Kiv", "zamiast obrazu ekranu przyszło co innego"), {}, CScpiFailure::EKind::Malformed);
    }
}
