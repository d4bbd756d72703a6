// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/tektronix-tds2000/CTektronixTds2000Driver.h"

#include <algorithm>
#include <regex>

#include "acquisition/ScopeRegistry.h"
#include "acquisition/drivers/tektronix-tds2000/TektronixReply.h"
#include "platform/TrNoop.h"

// These instruments have no LAN; the port serves the simulator and the tests.
KIV_SCOPE_DRIVER_ENTRY(tektronix_tds2000) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "TEKTRONIX TDS1000/TDS2000/TBS1000 (USB)", .key = "tektronix-tds2000", .channels = 4,
                  .lowestBaud = BaudIndexOf(9600), .highestBaud = BaudIndexOf(9600), .stopBits = 1, .writeBuffer = 256,
                  .scpi = true, .tcpPort = 4000},
        .codes = {.lowest = 0, .highest = 255},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> {
            return std::make_unique<CTektronixTds2000Driver>(traces);
        },
    };
    return entry;
}

namespace {

constexpr int kDivisions = 10;
constexpr int kRecordPoints = 2500;

bool IsTektronix(const ScpiIdentity& id) {
    static const std::regex maker("TEKTRONIX", std::regex::icase);
    return std::regex_match(id.maker, maker);
}

}  // namespace

CTektronixTds2000Driver::CTektronixTds2000Driver(RawTrace* traces)
    : CScpiDriver(ScopeDriverEntry_tektronix_tds2000().model, traces) {}

// The model is written with a blank: "TDS 2024C", "TBS 1072B-EDU".
bool CTektronixTds2000Driver::Identifies(const ScpiIdentity& id) const {
    static const std::regex models(R"(^TDS ?[12]\d{3}[BC]?$|^TPS ?2\d{3}B?$|^TBS ?1\d{3}B?(-EDU)?$)",
                                   std::regex::icase);
    return IsTektronix(id) && std::regex_match(id.model, models);
}

CScpiTask CTektronixTds2000Driver::Job() {
    // Bare values ("1", not ":ACQUIRE:STATE 1"), and WFMPre? as its fields alone; sent also
    // when another dialogue has asked *IDN? already.
    Send("HEADer OFF");
    try {
        co_await Identify();
    } catch (const CScpiFailure& failure) {
        static const std::regex tbs1000c(R"(^TBS ?1\d{3}C)", std::regex::icase);
        if (failure.Kind() == CScpiFailure::EKind::Refused && IsTektronix(m_identity) &&
            std::regex_search(m_identity.model, tbs1000c))
            Fail(KIV_TR_NOOP("Kiv", "%1 należy do serii TBS1000C, która ma inne oprogramowanie i inne polecenia; "
                                    "ten sterownik obsługuje TDS1000/TDS2000, TPS2000 i TBS1000 (także B)"),
                 {m_identity.model});
        throw;
    }
    co_await CScpiDriver::Job();
}

void CTektronixTds2000Driver::Expect(const std::string& command, const std::string& reply,
                                     std::string_view words) const {
    for (size_t at = 0; at <= words.size();) {
        const size_t bar = std::min(words.find('|', at), words.size());
        if (reply == words.substr(at, bar - at)) return;
        at = bar + 1;
    }
    Fail(KIV_TR_NOOP("Kiv", "niezrozumiała odpowiedź na %1: „%2”"), {command, reply.substr(0, 40)},
         CScpiFailure::EKind::Malformed);
}

CScpiTask CTektronixTds2000Driver::Fetch() {
    // CURVe? of a channel that is not displayed gets no answer at all: each is asked first,
    // before the instrument is touched.
    for (int plot = 1; plot <= 2; ++plot) {
        const int channel = plot == 1 ? m_nPlot1Channel : m_nPlot2Channel;
        if (channel == 0) continue;
        const std::string n = std::to_string(channel), query = "SELect:CH" + n + "?";
        const std::string shown = co_await Query(query, kTextTimeoutMs);
        Expect(query, shown, "0|1");
        if (shown == "0") Fail(KIV_TR_NOOP("Kiv", "kanał %1 jest wyłączony na przyrządzie"), {n});
    }
    const std::string state = co_await Query("ACQuire:STATE?", kTextTimeoutMs);
    Expect("ACQuire:STATE?", state, "0|1|RUN|STOP");
    Expect("ACQuire:STOPAfter?", co_await Query("ACQuire:STOPAfter?", kTextTimeoutMs), "RUNSTOP|SEQUENCE");
    // Running, or a single sequence waiting for its trigger (STOPAfter SEQUENCE): held still
    // for both plots; RUN sets it going again, the single sequence armed again.
    const bool running = state == "1" || state == "RUN";
    if (running) Send("ACQuire:STATE STOP");
    try {
        for (int plot = 1; plot <= 2; ++plot)
            if (const int channel = plot == 1 ? m_nPlot1Channel : m_nPlot2Channel) co_await FetchPlot(plot, channel);
    } catch (...) {
        // Left as it was found, as far as the line still goes.
        if (running && !m_bLineGone) Send("ACQuire:STATE RUN");
        throw;
    }
    if (running) Send("ACQuire:STATE RUN");
}

CScpiTask CTektronixTds2000Driver::FetchPlot(int plot, int channel) {
    ShowProgress(plot, 0);
    const std::string n = std::to_string(channel);
    Send("DATa:SOUrce CH" + n);
    Send("DATa:ENCdg RIBinary");
    Send("DATa:WIDth 1");
    Send("DATa:STARt 1");
    Send("DATa:STOP " + std::to_string(kRecordPoints));
    TekPreamble pre;
    if (!ParseTekPreamble(co_await Query("WFMPre?", kPreambleTimeoutMs), pre))
        Fail(KIV_TR_NOOP("Kiv", "kanał %1: opis przebiegu (WFMPre?) jest błędny"), {n}, CScpiFailure::EKind::Malformed);
    ShowProgress(plot, 40);
    const std::string data = co_await Query("CURVe?", kCurveTimeoutMs, EScpiReply::Block);
    if (data.empty()) Fail(KIV_TR_NOOP("Kiv", "kanał %1: przyrząd nie ma danych do wysłania"), {n});
    ScreenRecord record;
    record.volts.reserve(data.size());
    for (char byte : data) record.volts.push_back(pre.Volts(static_cast<uint8_t>(byte)));
    // The record is the screen: point 0 at its left edge, wherever the horizontal position
    // has put the trigger (XZERO says where).
    record.firstTime = pre.Time(0);
    record.pointStep = pre.xIncrement;
    record.screenLeft = record.firstTime;
    record.screenSpan = kDivisions * pre.secondsPerDivision;
    record.voltsPerDivision = pre.voltsPerDivision;
    record.codeVolts = pre.yMultiplier;
    StoreScreen(plot, record);
    ShowProgress(plot, 100);
}

CScpiTask CTektronixTds2000Driver::FetchScreen(std::string& picture) {
    Send("HARDCopy:FORMat BMP");
    Send("HARDCopy:PORT USB");
    // The file bare, no block around it: the BMP's own header says how long it is.
    picture = co_await Query("HARDCopy STARt", kScreenTimeoutMs, EScpiReply::Image);
}
