// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/siglent-sds1000x-e/CSiglentSds1000xeDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "acquisition/ScopeRegistry.h"
#include "acquisition/drivers/siglent-sds1000x-e/SiglentReply.h"
#include "platform/TrNoop.h"

KIV_SCOPE_DRIVER_ENTRY(siglent_sds1000x_e) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "SIGLENT SDS1000X-E/SDS2000X-E", .key = "siglent-sds1000x-e", .channels = 4,
                  .lowestBaud = BaudIndexOf(9600), .highestBaud = BaudIndexOf(9600), .stopBits = 1, .writeBuffer = 256,
                  .scpi = true, .tcpPort = 5025},
        .codes = {.lowest = 0, .highest = 255},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> {
            return std::make_unique<CSiglentSds1000xeDriver>(traces);
        },
    };
    return entry;
}

namespace {

constexpr char kWrongReply[] = KIV_TR_NOOP("Kiv", "odpowiedź na %1 jest błędna: „%2”");

}  // namespace

CSiglentSds1000xeDriver::CSiglentSds1000xeDriver(RawTrace* traces)
    : CScpiDriver(ScopeDriverEntry_siglent_sds1000x_e().model, traces) {}

bool CSiglentSds1000xeDriver::Identifies(const ScpiIdentity& id) const {
    return IsSiglent(id.maker) && SiglentCommandSet(id.model) == ESiglentCommandSet::Xe;
}

int CSiglentSds1000xeDriver::WaveformTimeoutMs(long points) const {
    return static_cast<int>(std::min<long>(kLongestWaveformWaitMs, m_nWaveformWaitMs + points / kWaveformPointsPerMs));
}

double CSiglentSds1000xeDriver::Number(const std::string& query, const std::string& answer, bool positive) const {
    double value = 0;
    if (!ParseSiglentNumber(answer, value) || (positive && !(value > 0)))
        Fail(kWrongReply, {query, answer.substr(0, 40)}, CScpiFailure::EKind::Malformed);
    return value;
}

CScpiTask CSiglentSds1000xeDriver::Command(std::string command) {
    Send(command);
    co_await Pause(kCommandGapMs);
}

// Replies without headers or units from here on, *IDN?'s too (and after a dialogue that asked
// *IDN? first, the family's own). *IDN? follows at once: the first exchange, all a probe waits
// for, starts with the connection. An instrument of the new command set is told apart from any
// other maker's: it is a Siglent, just not one these commands drive.
CScpiTask CSiglentSds1000xeDriver::Connect() {
    Send("CHDR OFF");
    try {
        co_await Identify();
    } catch (const CScpiFailure& failure) {
        if (failure.Kind() == CScpiFailure::EKind::Refused && IsSiglent(m_identity.maker) &&
            SiglentCommandSet(m_identity.model) == ESiglentCommandSet::New)
            Fail(KIV_TR_NOOP("Kiv", "%1 %2 używa nowego zestawu poleceń Siglent, a Kiv obsługuje zestaw poleceń serii "
                                    "SDS1000X-E i SDS2000X-E"),
                 {m_identity.maker, m_identity.model});
        throw;
    }
}

CScpiTask CSiglentSds1000xeDriver::Job() {
    co_await Connect();
    co_await CScpiDriver::Job();
}

CScpiTask CSiglentSds1000xeDriver::Fetch() {
    // TRMD? answers in every state and says STOP for a stopped instrument; SAST? then tells a
    // single sweep that has ended from one still armed. SAST? was seen silent on a fresh
    // connection to a stopped instrument: its silence counts as stopped.
    const std::string modeAnswer = co_await Query("TRMD?", kTextTimeoutMs);
    const std::string mode = SiglentWord(modeAnswer);
    if (mode != "AUTO" && mode != "NORM" && mode != "SINGLE" && mode != "STOP")
        Fail(kWrongReply, {"TRMD?", modeAnswer.substr(0, 40)}, CScpiFailure::EKind::Malformed);
    bool running = mode != "STOP";
    if (running) {
        std::string status;
        try {
            status = SiglentWord(co_await Query("SAST?", kTextTimeoutMs));
        } catch (const CScpiFailure& failure) {
            if (failure.Kind() != CScpiFailure::EKind::NoAnswer || ReplyBegan()) throw;
            status = "STOP";
        }
        running = status != "STOP" && status != "FSTOP";
    }
    // Both plots from one acquisition: the instrument holds still while they are read. The
    // sweep mode read is what sets it running again (ARM is documented for single sweeps only).
    if (running) co_await Command("STOP");
    try {
        co_await ReadTimeBase();
        for (int plot = 1; plot <= 2; ++plot)
            if (const int channel = plot == 1 ? m_nPlot1Channel : m_nPlot2Channel) co_await FetchPlot(plot, channel);
    } catch (...) {
        // Left as it was found, as far as the line still goes.
        if (running && !m_bLineGone) Send("TRMD " + mode);
        throw;
    }
    if (running) Send("TRMD " + mode);
}

CScpiTask CSiglentSds1000xeDriver::ReadTimeBase() {
    m_dSecondsPerDivision = Number("TDIV?", co_await Query("TDIV?", kTextTimeoutMs), true);
    m_dSampleRate = Number("SARA?", co_await Query("SARA?", kTextTimeoutMs), true);
    m_dDelay = Number("TRDL?", co_await Query("TRDL?", kTextTimeoutMs));
    // The record spans the screen: SARA x 14 x TDIV points (the memory depth). Every
    // (points / 4000)-th of them leaves at least 4000 across the screen, so each of the 4000
    // samples is a point of its own and none is made up; fewer points than that are all sent.
    const double points = std::min(m_dSampleRate * kScreenDivisions * m_dSecondsPerDivision, 1e9);
    m_nScreenPoints = std::max(1L, std::lround(points));
    m_nSparsing = static_cast<int>(std::max(1L, m_nScreenPoints / kSamples));
    co_await Command("WFSU SP," + std::to_string(m_nSparsing) + ",NP,0,FP,0");
}

CScpiTask CSiglentSds1000xeDriver::FetchPlot(int plot, int channel) {
    ShowProgress(plot, 0);
    const std::string n = std::to_string(channel), c = "C" + n;
    if (const int channels = SiglentChannels(m_identity.model); channels > 0 && channel > channels)
        Fail(KIV_TR_NOOP("Kiv", "%1 ma tylko %2 kanały, nie ma kanału %3"),
             {m_identity.model, std::to_string(channels), n});
    const std::string trace = co_await Query(c + ":TRA?", kTextTimeoutMs);
    if (SiglentWord(trace) == "OFF") Fail(KIV_TR_NOOP("Kiv", "kanał %1 jest wyłączony na przyrządzie"), {n});
    if (SiglentWord(trace) != "ON")
        Fail(kWrongReply, {c + ":TRA?", trace.substr(0, 40)}, CScpiFailure::EKind::Malformed);
    const double voltsPerDivision = Number(c + ":VDIV?", co_await Query(c + ":VDIV?", kTextTimeoutMs), true);
    const double offset = Number(c + ":OFST?", co_await Query(c + ":OFST?", kTextTimeoutMs));
    ShowProgress(plot, 20);
    // The firmware now and then takes WF? and never answers it: asked once more after silence.
    std::string data;
    for (int attempt = 0;; ++attempt) {
        try {
            data = co_await Query(c + ":WF? DAT2", WaveformTimeoutMs(m_nScreenPoints), EScpiReply::Block);
            break;
        } catch (const CScpiFailure& failure) {
            if (attempt > 0 || failure.Kind() != CScpiFailure::EKind::NoAnswer || ReplyBegan()) throw;
        }
    }
    if (data.empty()) Fail(KIV_TR_NOOP("Kiv", "kanał %1: przyrząd nie ma danych do wysłania"), {n});
    // Firmware that ignores SP sends every point; 1.5 times the thinned count lies between the
    // two sizes for any SP of 2 or more.
    const double sent = static_cast<double>(data.size());
    const int sparsing = sent * m_nSparsing <= 1.5 * m_nScreenPoints ? m_nSparsing : 1;
    ScreenRecord record;
    record.codeVolts = voltsPerDivision / kCodesPerDivision;
    record.volts.reserve(data.size());
    // Codes are signed bytes (0xFC is -4); the offset moves the trace up, so it is taken off.
    for (char code : data) record.volts.push_back(static_cast<int8_t>(code) * record.codeVolts - offset);
    record.screenSpan = kScreenDivisions * m_dSecondsPerDivision;
    // TRDL is the screen centre's time after the trigger; the record starts at the left edge.
    record.screenLeft = m_dDelay - record.screenSpan / 2;
    record.firstTime = record.screenLeft;
    record.pointStep = sparsing / m_dSampleRate;
    record.voltsPerDivision = voltsPerDivision;
    StoreScreen(plot, record);
    ShowProgress(plot, 100);
}

// No block header: the BMP's own says how long it is.
CScpiTask CSiglentSds1000xeDriver::FetchScreen(std::string& picture) {
    picture = co_await Query("SCDP", kScreenTimeoutMs, EScpiReply::Image);
}
