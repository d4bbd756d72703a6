// SPDX-License-Identifier: GPL-3.0-or-later
// One instrument dialogue from any bytes, through the acquisition as the program runs it.
// Byte 0: the model, its index in the registry (modulo the number of models). Byte 1: bits
// 0-1 the plots: 1 plot 1, 2 plot 2, 3 both, 0 both with a port that does not open; bits 2-3
// and 4-5 plot 1's and plot 2's channel less one. The rest is what the port receives, with an
// escape byte 0xFE:
//   FE 'r'          the reply timer fires (when it runs)
//   FE 's'          the step timer fires (when it runs)
//   FE 'g'          the line is gone (hang-up): nothing more arrives
//   FE 'x' lo hi b  b arrives lo + 256 * hi times (the long records stay short)
//   FE FE           a byte 0xFE arrives
// Once the bytes are used up the instrument stays silent: the timers fire until the end.
#include <cmath>
#include <limits>

#include "FuzzSupport.h"
#include "acquisition/CAcquisition.h"
#include "acquisition/ScopeRegistry.h"
#include "support/FakeProgressHost.h"
#include "units/SINotation.h"

namespace {

constexpr uint8_t kEscape = 0xFE;

// A trace nothing has written fails every check below. A refused curve re-stretches the
// samples it keeps, so the mark must survive sums of five.
void MarkUnwritten(RawTrace& t) {
    constexpr int32_t kUnwritten = -1000000;
    std::fill(std::begin(t.samples), std::end(t.samples), kUnwritten);
    t.timeExponent = t.voltExponent = kUnwritten;
    t.timeStep = t.voltStep = std::numeric_limits<double>::quiet_NaN();
}

// The codes are those the model's registry entry says it can hand over.
void CheckTrace(const RawTrace& t, SampleCodeRange range) {
    for (int32_t s : t.samples) FUZZ_CHECK(s >= range.lowest && s <= range.highest);
    FUZZ_CHECK(t.timeExponent >= kSIMinExponent && t.timeExponent <= kSIMaxExponent);
    FUZZ_CHECK(t.voltExponent >= kSIMinExponent && t.voltExponent <= kSIMaxExponent);
    FUZZ_CHECK(std::isfinite(t.timeStep) && std::isfinite(t.voltStep));
    FUZZ_CHECK(t.timeUnit == 's' && t.voltUnit == 'V');
}

// What must hold after every event: the bar inside 0..100, a closed port neither held nor
// written to, a running dialogue that some timer will move on, and once the line is gone
// no reply awaited longer than at once.
struct Watch {
    const FakeProgressHost& host;
    const CScopeDriver& driver;
    bool gone = false;
    size_t barsSeen = 0;
    size_t sentAtClose = std::numeric_limits<size_t>::max();

    void Check() {
        for (; barsSeen < host.bar.size(); ++barsSeen)
            FUZZ_CHECK(host.bar[barsSeen] >= 0 && host.bar[barsSeen] <= 100);
        if (host.port.closed) {
            FUZZ_CHECK(driver.m_pPort == nullptr);
            if (sentAtClose == std::numeric_limits<size_t>::max()) sentAtClose = host.port.sent.size();
            FUZZ_CHECK(host.port.sent.size() == sentAtClose);
        }
        if (host.ended == -1) FUZZ_CHECK(host.replyTimer != -1 || host.stepTimer != -1);
        if (gone) FUZZ_CHECK(host.replyTimer <= 0);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int model = data[0] % kScopeModelCount;
    const uint8_t setup = data[1];
    const int plots = setup & 3;

    CAcquisition acq(ScratchFile("absent.cfg"));  // no file: the defaults
    acq.m_bSaveOnExit = false;
    AcquisitionSettings& s = acq.m_settings;
    s.nInstrument = static_cast<uint8_t>(model);
    s.bPlot1 = plots != 2;
    s.bPlot2 = plots != 1;
    s.nPlot1Channel = static_cast<uint8_t>(((setup >> 2) & 3) + 1);
    s.nPlot2Channel = static_cast<uint8_t>(((setup >> 4) & 3) + 1);
    for (RawTrace& t : acq.m_traces) MarkUnwritten(t);

    CScopeDriver& driver = acq.PrepareDriver();
    FakeProgressHost host;
    host.port.openFails = plots == 0;
    Watch watch{host, driver};
    host.Start(driver);
    watch.Check();

    auto fire = [&](const int& timer, int id) {
        if (timer != -1) driver.OnTimer(id);
    };
    bool gone = false;  // the instrument's bytes stop with the line
    for (size_t i = 2; i < size && host.ended == -1; ++i) {
        if (data[i] != kEscape || i + 1 == size) {
            if (gone) continue;
            driver.OnChar(data[i]);
        } else {
            const uint8_t op = data[++i];
            if (op == 'r') {
                fire(host.replyTimer, kReplyTimer);
            } else if (op == 's') {
                fire(host.stepTimer, kStepTimer);
            } else if (op == 'g') {
                gone = watch.gone = true;
                host.LoseLine();
            } else if (op == kEscape && !gone) {
                driver.OnChar(kEscape);
            } else if (op == 'x' && i + 3 < size && !gone) {
                const int count = data[i + 1] | data[i + 2] << 8;
                const uint8_t byte = data[i + 3];
                i += 3;
                for (int k = 0; k < count && host.ended == -1; ++k) {
                    driver.OnChar(byte);
                    watch.Check();
                }
            }
        }
        watch.Check();
    }
    // A silent instrument: every dialogue ends through its timers.
    for (int k = 0; k < 64 && host.ended == -1; ++k) {
        if (host.stepTimer != -1)
            fire(host.stepTimer, kStepTimer);
        else
            fire(host.replyTimer, kReplyTimer);
        watch.Check();
    }
    FUZZ_CHECK(host.ended != -1);

    CKivDoc doc;
    const std::vector<uint8_t> fresh = doc.SaveToBytes();
    const int status = acq.FinishFetch(doc.Source(), host.ended);
    if (status != kFetchOk) {
        FUZZ_CHECK(doc.SaveToBytes() == fresh);
        return 0;
    }
    doc.DataEdited();
    FUZZ_CHECK(host.ended == 0 && plots != 0);
    const SampleCodeRange codes = ScopeDriverAt(model).codes;
    if (s.bPlot1) CheckTrace(acq.m_traces[0], codes);
    if (s.bPlot2) CheckTrace(acq.m_traces[1], codes);
    UseEveryMode(doc);
    CheckReopens(doc);
    return 0;
}
