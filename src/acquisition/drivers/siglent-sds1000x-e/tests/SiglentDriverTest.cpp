// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acquisition/drivers/siglent-sds1000x-e/CSiglentSds1000xeDriver.h"
#include "acquisition/drivers/siglent-sds1000x-e/SiglentReply.h"
#include "support/DriverFixture.h"
#include "support/NetSimulator.h"
#include "support/ScopeSimulator.h"

namespace {

using Script = std::vector<std::pair<std::string, std::string>>;

const std::string kIdentity = "Siglent Technologies,SDS1104X-E,SDSMMEBC4R1275,8.1.6.1.35R2\n";

// A waveform reply: prefix, "#9" block of the codes, the two LFs after it.
std::string Waveform(const std::string& codes, const std::string& prefix = "DAT2,", const std::string& end = "\n\n") {
    const std::string n = std::to_string(codes.size());
    return prefix + "#9" + std::string(9 - n.size(), '0') + n + codes + end;
}
// count codes, the first `first` of them a, the rest b.
std::string Codes(size_t count, size_t first, char a, char b) {
    return std::string(first, a) + std::string(count - first, b);
}

// At the end of a reply: no more comes, its timer runs out.
const std::string kSilence = "(silence)";

// TRMD?, SAST? unless stopped, STOP when running; 1 ms a division, 1 MSa/s: 14000 points
// on the screen, every 3rd sent.
Script Opening(const std::string& mode, const std::string& status = "Trig'd") {
    Script s{{"CHDR OFF", ""}, {"*IDN?", kIdentity}, {"TRMD?", mode + "\n"}};
    if (mode != "STOP") s.push_back({"SAST?", status == kSilence ? status : status + "\n"});
    if (mode != "STOP" && !status.ends_with("Stop") && status != kSilence) s.push_back({"STOP", ""});
    s.insert(s.end(),
             {{"TDIV?", "1.00E-03\n"}, {"SARA?", "1.00E+06\n"}, {"TRDL?", "2.00E-03\n"}, {"WFSU SP,3,NP,0,FP,0", ""}});
    return s;
}
Script Channel(int n, const std::string& offset, const std::string& waveform) {
    const std::string c = "C" + std::to_string(n);
    return {{c + ":TRA?", "ON\n"}, {c + ":VDIV?", "1.00E+00\n"}, {c + ":OFST?", offset}, {c + ":WF? DAT2", waveform}};
}
Script operator+(Script a, const Script& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

struct SiglentDriver : DriverTest<CSiglentSds1000xeDriver> {
    // Each exchange: the request, and the reply (none: a command, and the gap after it).
    void Converse(const Script& script) {
        for (const auto& [request, reply] : script) {
            ASSERT_LT(m_next, host.port.sent.size()) << "waiting for " << request;
            EXPECT_EQ(host.port.sent[m_next++], request + "\n");
            if (reply.ends_with(kSilence)) {  // after nothing, or after a reply cut short
                host.Receive(reply.substr(0, reply.size() - kSilence.size()));
                host.FireReplyTimer();
            } else if (!reply.empty()) {
                host.Receive(reply);
            } else if (host.stepTimer >= 0) {
                host.FireStepTimer();
            }
        }
    }
    void Restart(int ch1, int ch2) {
        host.port = FakePortLog{}, m_next = 0;
        Start(ch1, ch2);
    }
    std::string Box() const { return host.messages.boxes.empty() ? "" : host.messages.boxes.back().text; }
    size_t m_next = 0;
};

}  // namespace

// A running instrument: stopped for both plots, read, set running again. Codes are signed, 25
// a division, the offset taken off; every 3rd point of the screen's 14000 sent, 3 µs apart.
TEST_F(SiglentDriver, TwoPlotsFromOneAcquisition) {
    Start(3, 1);
    // 20 and 0xFC (-4, not the guide's -3) at 40 mV, plus 0.4 V: 1.2 V and 0.24 V. Point 2333 is
    // 6.999 ms in, sample 2000 7 ms. The LFs come late, before the next reply.
    const std::string codes = Codes(4667, 2333, 20, char(0xFC));
    Converse(Opening("AUTO") + Channel(3, "-4.00E-01\n", Waveform(codes, "C3:WF DAT2,", "")));
    // Headers and units, as with CHDR SHORT.
    Converse({{"C1:TRA?", "\n\nC1:TRA ON\n"}, {"C1:VDIV?", "C1:VDIV 5.00E-01V\n"}, {"C1:OFST?", "C1:OFST 0.00E+00V\n"},
              {"C1:WF? DAT2", Waveform(std::string(4667, 25), "C1:WF DAT2,")}, {"TRMD AUTO", ""}});
    EXPECT_EQ(host.port.sent.size(), m_next);
    EXPECT_EQ(std::tuple(driver.m_nState, host.ended, Box()), std::tuple(0, 0, std::string()));
    EXPECT_EQ(Scales(traces[0]), std::tuple(-1, 0.0035, 0, 0.04));  // 14 ms / 4000 in ms; 1 V / 25
    EXPECT_EQ(At(traces[0].samples, {0, 1999, 2000, 3999}), (std::vector<int32_t>{130, 130, 106, 106}));
    EXPECT_EQ(Scales(traces[1]), std::tuple(-1, 0.0035, -1, 20.0));
    EXPECT_EQ(At(traces[1].samples, {0, 3999}), (std::vector<int32_t>{125, 125}));
}

// The sweep mode and the status decide whether the instrument is stopped, and set going again
// in the mode it had; a silent SAST? (seen on stopped instruments) counts as stopped. Firmware
// that ignores SP sends all 14000 points, 1 µs apart: the step at point 7000 is sample 2000's.
TEST_F(SiglentDriver, RunStatesAndEveryPoint) {
    const struct {
        std::string mode, status;
        bool stops;
    } cases[] = {{"NORM", "Ready", true}, {"SINGLE", "Ready", true}, {"SINGLE", "Stop", false},
                 {"NORM", "FStop", false}, {"AUTO", kSilence, false}, {"STOP", "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode + " " + c.status);
        Restart(2, 0);
        Converse(Opening(c.mode, c.status) + Channel(2, "0.00E+00\n", Waveform(Codes(14000, 7000, 10, -10))));
        EXPECT_EQ(std::tuple(driver.m_nState, host.port.sent.size(), Box()),
                  std::tuple(0, m_next + c.stops, std::string()));
        EXPECT_EQ(host.LastSent(), c.stops ? "TRMD " + c.mode + "\n" : "C2:WF? DAT2\n");
        EXPECT_EQ(At(traces[0].samples, {0, 1999, 2000, 3999}), (std::vector<int32_t>{110, 110, 90, 90}));
    }
}

// What ends a fetch, each with one message naming the device; a running instrument is set going
// again after it.
TEST_F(SiglentDriver, FailuresSayWhatAndWhere) {
    auto hello = [](const std::string& identity) { return Script{{"CHDR OFF", ""}, {"*IDN?", identity}}; };
    const Script stopped = Opening("STOP"), settings(stopped.begin() + 2, stopped.end());
    const struct {
        const char* what;
        Script script;
        std::string box, last;
    } cases[] = {
        {"other maker", hello("RIGOL TECHNOLOGIES,DS1104Z,DS1ZA000000001,00.04.04.SP3\n"),
         "to nie jest SIGLENT SDS1000X-E/SDS2000X-E, przyrząd przedstawia się jako RIGOL TECHNOLOGIES DS1104Z",
         "*IDN?"},
        {"new set", hello("Siglent Technologies,SDS2504X Plus,SDS2PEEC6R0295,5.3.1.3.9R10.\n"),
         "Siglent Technologies SDS2504X Plus używa nowego zestawu poleceń Siglent, a Kiv obsługuje zestaw poleceń "
         "serii SDS1000X-E i SDS2000X-E",
         "*IDN?"},
        {"older legacy", hello("*IDN SIGLENT,SDS2304X,SDS2XJBD1R2754,1.2.2.2 R19\n"),
         "to nie jest SIGLENT SDS1000X-E/SDS2000X-E, przyrząd przedstawia się jako SIGLENT SDS2304X", "*IDN?"},
        {"channel off", Opening("AUTO") + Script{{"C3:TRA?", "OFF\n"}}, "kanał 3 jest wyłączony na przyrządzie",
         "TRMD AUTO"},
        {"two channels", hello("Siglent Technologies,SDS1202X-E,SDS1ECDQ2R5789,7.1.1.3.23\n") + settings,
         "SDS1202X-E ma tylko 2 kanały, nie ma kanału 3", "WFSU SP,3,NP,0,FP,0"},
        {"no number", hello(kIdentity) + Script{{"TRMD?", "STOP\n"}, {"TDIV?", "****\n"}},
         "odpowiedź na TDIV? jest błędna: „****”", "TDIV?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart(3, 0);
        Converse(c.script);
        EXPECT_EQ(std::tuple(driver.m_nState, host.ended, host.port.closed, Box()),
                  std::tuple(4, 0, true, "COM2 (/dev/ttyS1): " + c.box));
        EXPECT_EQ(host.messages.boxes.size(), 1u);
        EXPECT_EQ(host.LastSent(), c.last + "\n");
    }
}

// A WF? met by silence is asked once more after a wait that grows with the record; a second
// silence, or a reply cut short, ends the fetch (and the instrument runs again).
TEST_F(SiglentDriver, SilentWaveformAskedOnceMore) {
    const std::string wf = "C1:WF? DAT2", cut = Waveform(std::string(4667, 0)).substr(0, 100);
    const struct {
        Script script;  // from the first WF? on
        std::string box;
    } cases[] = {
        {{{wf, kSilence}, {wf, Waveform(std::string(4667, 0))}}, ""},
        {{{wf, kSilence}, {wf, kSilence}}, "brak odpowiedzi na C1:WF? w ciągu 5 s"},
        {{{wf, cut + kSilence}},
         "blok danych zapowiadał 4667 bajtów, w ciągu 5 s przyszło mniej (odpowiedź na C1:WF?)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        Restart(1, 0);
        Converse(Opening("AUTO") + Script{{"C1:TRA?", "ON\n"}, {"C1:VDIV?", "1\n"}, {"C1:OFST?", "0\n"}});
        EXPECT_EQ(host.replyTimer, 5009);
        Converse(c.script + Script{{"TRMD AUTO", ""}});
        EXPECT_EQ(std::tuple(driver.m_nState, host.port.sent.size(), Box()),
                  std::tuple(c.box.empty() ? 0 : 4, m_next, c.box.empty() ? "" : "COM2 (/dev/ttyS1): " + c.box));
    }
    // 1.4 Mpoints add 0.9 s; no wait exceeds 13 s (14 Mpoints would take 14.3): two stay within
    // half a minute.
    EXPECT_EQ(std::tuple(driver.WaveformTimeoutMs(1'400'000), driver.WaveformTimeoutMs(14'000'000)),
              std::tuple(5933, 13000));
}

TEST(SiglentReply, NumbersAndModels) {
    const std::pair<const char*, double> numbers[] = {
        {"5.00E-04", 5e-4},        {"C1:VDIV 5.00E-01V", 0.5}, {"SARA 1.00 GSa/s", 1e9}, {"TRDL -5.000000ns", -5e-9},
        {"1.00E-04 s", 1e-4},      {"28Mpts", 28e6},           {"2.5 mV", 2.5e-3},       {"7.00E+05pts", 7e5}};
    for (const auto& [text, value] : numbers) {
        double v = 0;
        EXPECT_TRUE(ParseSiglentNumber(text, v) && std::abs(v - value) <= 1e-12 * std::abs(value)) << text << " " << v;
    }
    for (const char* bad : {"", "****", "VDIV", "5.00E-01 W", "1.0 m", "nan", "5 V x"}) {
        double v = 0;
        EXPECT_FALSE(ParseSiglentNumber(bad, v)) << bad;
    }
    using E = ESiglentCommandSet;
    const std::tuple<const char*, E, int> models[] = {
        {"SDS1104X-E", E::Xe, 4},          {"SDS1202X-E", E::Xe, 2},          {"SDS2352X-E", E::Xe, 2},
        {"SDS2504X Plus", E::New, 4},      {"SDS1104X HD", E::New, 4},        {"SDS824X HD", E::New, 4},
        {"SDS2304X", E::OtherLegacy, 4},   {"SDS1202X+", E::OtherLegacy, 2},  {"DS1104Z", E::Unknown, 0}};
    for (const auto& [model, set, channels] : models)
        EXPECT_EQ(std::tuple(SiglentCommandSet(model), SiglentChannels(model)), std::tuple(set, channels)) << model;
}

// Against the simulator over TCP, as a user fetches: the instrument left as it was found, the
// values within one code of the simulated volts (channel 2 offset a division), the quirks read
// right, and nothing sent the programming guide does not have.
TEST(SiglentFetch, AgainstItsSimulator) {
    const struct {
        const char* what;
        std::vector<std::string> options;
        bool running;
        double offset, tdiv, freq;
        long waveforms;  // WF? asked for channel 1
    } cases[] = {{"running", {}, true, 0, 5e-4, 1e3, 1},
                 {"stopped", {"--stopped"}, false, 0, 5e-4, 1e3, 1},
                 {"offset", {"--offset", "0.0013"}, true, 0.0013, 5e-4, 1e3, 1},
                 {"silent-wf", {"--fault", "silent-wf"}, true, 0, 5e-4, 1e3, 2},
                 // 700 points at 1 GSa/s, all sent, three bytes a millisecond.
                 {"dribble", {"--fault", "dribble", "--tdiv", "5e-8", "--freq", "1e6"}, true, 0, 5e-8, 1e6, 1}};
    const std::string dir = TestDir("siglent_fetch");
    const auto resources = Resources();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> options{"--ch1", "sine", "--ch2", "square", "--vdiv", "0.5", "--tdiv", "0.0005"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        NetSimulator sim(dir, "siglent-sds1000x-e", options);
        ASSERT_NE(sim.Port(), 0u);
        RawTrace traces[2];
        CSiglentSds1000xeDriver driver(traces);
        driver.m_nPlot1Channel = 1, driver.m_nPlot2Channel = 2;
        driver.m_address = {2, sim.Address()};
        if (c.waveforms > 1) driver.m_nWaveformWaitMs = 200;  // the silence waited out sooner
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        ASSERT_EQ(driver.m_nState, 0) << (host.messages.boxes.empty() ? "" : host.messages.boxes[0].text);
        // The screen's points (14000, or what 1 GSa/s gives), every (n / 4000)-th sent.
        const double points = std::min(14000.0, std::round(1e9 * 14 * c.tdiv));
        const double step = std::max(1.0, std::floor(points / 4000)) * 14 * c.tdiv / points;
        for (int k = 0; k < kSamples; k += 7) {
            const double t = c.offset - 7 * c.tdiv + std::floor(k * 14 * c.tdiv / 4000 / step + 1e-9) * step;
            const double phase = t * c.freq + 1e-9 - std::floor(t * c.freq + 1e-9);
            const double volts[2] = {std::sin(2 * std::numbers::pi * phase), phase < 0.5 ? 1.0 : -1.0};
            for (int p = 0; p < 2; ++p)
                ASSERT_NEAR((traces[p].samples[k] - 100) * traces[p].voltStep * 1e-3, volts[p], 0.02 + 1e-9)
                    << p << " " << k;
        }
        const std::vector<std::string> requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), "STOP"), c.running ? 1 : 0);
        EXPECT_EQ(std::count(requests.begin(), requests.end(), "C1:WF? DAT2"), c.waveforms);
        EXPECT_EQ(requests.back(), c.running ? "TRMD AUTO" : "C2:WF? DAT2");
        EXPECT_EQ(sim.Complaints(), std::vector<std::string>{});
    }
    EXPECT_EQ(Resources(), resources);
}

// The screen as SCDP sends it: a bare BMP, read to the length its header gives.
TEST(SiglentFetch, ScreenImage) {
    NetSimulator sim(TestDir("siglent_screen"), "siglent-sds1000x-e");
    RawTrace traces[2];
    CSiglentSds1000xeDriver driver(traces);
    driver.m_nPlot1Channel = 1;
    driver.m_address = {2, sim.Address()};
    driver.m_job = CScpiDriver::EJob::Screen;
    LoopHost host;
    EXPECT_EQ(host.Run(driver, 10000), 0);
    EXPECT_EQ(std::tuple(driver.m_nState, driver.ScreenImage().size(), driver.ScreenImage().substr(0, 2)),
              std::tuple(0, size_t(54 + 800 * 3 * 480), std::string("BM")));
    EXPECT_EQ(sim.SettledRequests(), (std::vector<std::string>{"CHDR OFF", "*IDN?", "SCDP"}));
}

// A connection cut or reset in the middle of a waveform, a spoilt block, another maker, a
// connection refused: one message each, naming the device; nothing left open.
TEST(SiglentFetch, BrokenConnections) {
    const std::string dir = TestDir("siglent_broken");
    const auto resources = Resources();
    for (const std::string fault : {"hangup-mid", "reset", "bad-header", "long-block", "wrong-id", ""}) {
        SCOPED_TRACE(fault);
        NetSimulator sim(dir, "siglent-sds1000x-e", {"--fault", fault.empty() ? "silent" : fault});
        RawTrace traces[2];
        CSiglentSds1000xeDriver driver(traces);
        driver.m_nPlot1Channel = 1;
        driver.m_address = {2, sim.Address()};
        if (fault.empty()) sim.Stop();
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        EXPECT_EQ(driver.m_nState, 4);
        ASSERT_EQ(host.messages.boxes.size(), 1u);
        const std::string box = host.messages.boxes[0].text;
        EXPECT_EQ(box.rfind(sim.Address() + ": ", 0), 0u) << box;
        if (fault == "hangup-mid") { EXPECT_NE(box.find("C1:WF?"), std::string::npos) << box; }
    }
    EXPECT_EQ(Resources(), resources);
}
