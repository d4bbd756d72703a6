// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "acquisition/drivers/rigol-ds1000z/CRigolDs1000zDriver.h"
#include "acquisition/drivers/rigol-ds1000z/RigolReply.h"
#include "support/DriverFixture.h"
#include "support/NetSimulator.h"
#include "support/ScopeSimulator.h"

namespace {

const std::string kIdentity = "RIGOL TECHNOLOGIES,DS1104Z,DS1ZA000000001,00.04.04.SP3\n";
// 1 ms a division, the screen's centre 2 ms after the trigger: 1200 points from -4 ms, 10 µs apart.
const std::string kPreamble = "0,0,1200,1,1.000000e-05,-4.000000e-03,0,4.000000e-02,-25,127\n";

// A block of count bytes, all code, with or without the LF after it.
std::string Block(size_t count, char code, bool lf = true) {
    std::string n = std::to_string(count);
    return "#9" + std::string(9 - n.size(), '0') + n + std::string(count, code) + (lf ? "\n" : "");
}

struct RigolDriver : DriverTest<CRigolDs1000zDriver> {
    // Each exchange: the request the driver sends, and the reply it gets (none: a command).
    void Converse(const std::vector<std::pair<std::string, std::string>>& script) {
        for (const auto& [request, reply] : script) {
            ASSERT_LT(m_next, host.port.sent.size()) << "waiting for " << request;
            EXPECT_EQ(host.port.sent[m_next++], request + "\n");
            if (!reply.empty()) host.Receive(reply);
        }
    }
    std::vector<std::pair<std::string, std::string>> Channel(int n, const std::string& data) {
        const std::string c = std::to_string(n);
        return {{":CHAN" + c + ":DISP?", "1\n"},       {":CHAN" + c + ":SCAL?", "1.000000e+00\n"},
                {":WAV:SOUR CHAN" + c, ""},             {":WAV:MODE NORM", ""},
                {":WAV:FORM BYTE", ""},                 {":WAV:PRE?", kPreamble},
                {":WAV:DATA?", data}};
    }
    std::string Box() const { return host.messages.boxes.empty() ? "" : host.messages.boxes.back().text; }
    size_t m_next = 0;
};

}  // namespace

// A running instrument: stopped for both plots, read, set running again; codes become volts
// through the preamble, the screen spans 12 divisions from its centre's offset.
TEST_F(RigolDriver, TwoPlotsFromOneAcquisition) {
    Start(3, 1);
    Converse({{"*IDN?", kIdentity}, {":TRIG:STAT?", "WAIT\n"}, {":STOP", ""}, {":TIM:SCAL?", "1.000000e-03\n"},
              {":TIM:OFFS?", "2.000000e-03\n"}});
    // Without its LF, which comes late, before the next reply.
    Converse(Channel(3, Block(1200, char(152), false)));  // (152 + 25 - 127) * 40 mV = 2 V
    auto channel1 = Channel(1, "");
    channel1[0].second = "\n1\n";
    Converse(channel1);
    // Dribbled, a byte at a time.
    for (char c : Block(1200, char(102))) host.Receive(std::string(1, c));
    EXPECT_EQ(host.port.sent.back(), ":RUN\n");
    EXPECT_EQ(std::tuple(driver.m_nState, host.ended, Box()), std::tuple(0, 0, std::string()));
    EXPECT_EQ(Scales(traces[0]), std::tuple(-1, 0.003, 0, 0.04));  // 12 ms / 4000 in ms; 1 V / 25
    EXPECT_EQ(At(traces[0].samples, {0, 3999}), (std::vector<int32_t>{150, 150}));
    EXPECT_EQ(At(traces[1].samples, {0, 3999}), (std::vector<int32_t>{100, 100}));
}

// What ends a fetch, each with one message that names the device; a stopped instrument stays
// stopped.
TEST_F(RigolDriver, FailuresSayWhatAndWhere) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> script;
        std::string box;
    } cases[] = {
        {"other maker", {{"*IDN?", "KEITHLEY INSTRUMENTS INC.,MODEL 2000,1,A\n"}},
         "COM2 (/dev/ttyS1): to nie jest RIGOL DS1000Z, przyrząd przedstawia się jako KEITHLEY INSTRUMENTS INC. MODEL 2000"},
        {"channel off", {{"*IDN?", kIdentity}, {":TRIG:STAT?", "STOP\n"}, {":TIM:SCAL?", "1e-3\n"},
                         {":TIM:OFFS?", "0\n"}, {":CHAN3:DISP?", "0\n"}},
         "COM2 (/dev/ttyS1): kanał 3 jest wyłączony na przyrządzie"},
        {"garbage for a block", [&] {
             auto s = Channel(3, "\x01\x02garbage");
             s.insert(s.begin(), {{"*IDN?", kIdentity}, {":TRIG:STAT?", "STOP\n"}, {":TIM:SCAL?", "1e-3\n"}, {":TIM:OFFS?", "0\n"}});
             return s;
         }(),
         "COM2 (/dev/ttyS1): zamiast bloku danych przyszło co innego (odpowiedź na :WAV:DATA?)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host.port = FakePortLog{}, m_next = 0;
        Start(3, 0);
        Converse(c.script);
        EXPECT_EQ(std::tuple(driver.m_nState, host.ended, host.port.closed, Box()), std::tuple(4, 0, true, c.box));
        EXPECT_EQ(host.messages.boxes.size(), 1u);
        for (const std::string& sent : host.port.sent) EXPECT_NE(sent, ":RUN\n");
    }
}

// Silence gets one more *IDN?, then the message; a block that stops short times out saying so.
TEST_F(RigolDriver, SilenceAndAShortBlockAreBounded) {
    Start(1, 0);
    EXPECT_EQ(std::tuple(host.LastSent(), host.replyTimer), std::tuple(std::string("*IDN?\n"), 8000));
    host.FireReplyTimer();
    EXPECT_EQ(std::tuple(host.port.sent.size(), host.replyTimer), std::tuple(2u, 8000));
    host.FireReplyTimer();
    EXPECT_EQ(Box(), "COM2 (/dev/ttyS1): brak odpowiedzi na *IDN? w ciągu 8 s");

    host.port = FakePortLog{}, host.messages.boxes.clear(), m_next = 0;
    Start(1, 0);
    auto script = Channel(1, Block(1200, 'x').substr(0, 600));
    script.insert(script.begin(), {{"*IDN?", kIdentity}, {":TRIG:STAT?", "STOP\n"}, {":TIM:SCAL?", "1e-3\n"}, {":TIM:OFFS?", "0\n"}});
    Converse(script);
    host.FireReplyTimer();
    EXPECT_EQ(Box(), "COM2 (/dev/ttyS1): blok danych zapowiadał 1200 bajtów, w ciągu 5 s przyszło mniej (odpowiedź na :WAV:DATA?)");
}

TEST(RigolReply, Preambles) {
    RigolPreamble p;
    ASSERT_TRUE(ParseRigolPreamble("0,2,600,2,0.000000,-0.000006,0,0.008000,50,127", p) == false);  // no time a point
    ASSERT_TRUE(ParseRigolPreamble("0,0,1200,1,2.000000e-05,-1.456000e-02,0,4.000000e-02,-75,127", p));
    EXPECT_EQ(std::tuple(p.points, p.xOrigin, p.yIncrement, p.yOrigin, p.yReference),
              std::tuple(1200L, -1.456e-2, 0.04, -75.0, 127.0));
    for (const char* bad : {"", "0,0,1200", "0,0,1200,1,2e-5,0,0,0.04,0,127,9", "0,0,x,1,2e-5,0,0,0.04,0,127"})
        EXPECT_FALSE(ParseRigolPreamble(bad, p)) << bad;
}

// Against the simulator over TCP, as a user fetches: the instrument left as it was found, the
// values within one code of the simulated volts, every quirk the family's trackers document
// read right, and nothing sent the programming guide does not have.
TEST(RigolFetch, AgainstItsSimulator) {
    const struct {
        std::vector<std::string> options;
        bool running;
        double offset;
    } cases[] = {{{}, true, 0},
                 {{"--stopped"}, false, 0},
                 {{"--offset", "0.0013"}, true, 0.0013},
                 {{"--fault", "no-lf"}, true, 0},
                 {{"--fault", "short-after-run"}, true, 0},
                 {{"--fault", "dribble", "--stopped"}, false, 0}};
    const std::string dir = TestDir("rigol_fetch");
    const auto resources = Resources();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "plain" : c.options.back());
        std::vector<std::string> options{"--ch1", "sine", "--ch2", "square", "--vdiv", "0.5", "--tdiv", "0.0005"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        NetSimulator sim(dir, "rigol-ds1000z", options);
        ASSERT_NE(sim.Port(), 0u);
        RawTrace traces[2];
        CRigolDs1000zDriver driver(traces);
        driver.m_nPlot1Channel = 1, driver.m_nPlot2Channel = 2;
        driver.m_address = {2, sim.Address()};
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        ASSERT_EQ(driver.m_nState, 0) << (host.messages.boxes.empty() ? "" : host.messages.boxes[0].text);
        // Sample k shows the record's point floor(k * 1200 / 4000) of a screen 6 ms wide.
        for (int k = 0; k < kSamples; k += 7) {
            const double t = c.offset - 0.003 + (k * 1200 / 4000) * 0.000005;
            const double phase = t * 1000 - std::floor(t * 1000);
            const double volts[2] = {std::sin(2 * std::numbers::pi * phase), phase < 0.5 ? 1.0 : -1.0};
            for (int p = 0; p < 2; ++p)
                ASSERT_NEAR((traces[p].samples[k] - 100) * traces[p].voltStep * 1e-3, volts[p], 0.02 + 1e-9) << k;
        }
        const std::vector<std::string> requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), ":RUN"), c.running ? 1 : 0);
        EXPECT_EQ(requests.back(), c.running ? ":RUN" : ":WAV:DATA?");
        EXPECT_EQ(sim.Complaints(), std::vector<std::string>{});
    }
    EXPECT_EQ(Resources(), resources);
}

// A connection refused, one reset in the middle of a block: one message each, nothing left open.
TEST(RigolFetch, BrokenConnections) {
    const std::string dir = TestDir("rigol_broken");
    const auto resources = Resources();
    for (const char* fault : {"reset", "hangup-mid", "bad-header", "long-block", "wrong-id"}) {
        SCOPED_TRACE(fault);
        NetSimulator sim(dir, "rigol-ds1000z", {"--fault", fault});
        RawTrace traces[2];
        CRigolDs1000zDriver driver(traces);
        driver.m_nPlot1Channel = 1;
        driver.m_address = {2, sim.Address()};
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        EXPECT_EQ(driver.m_nState, 4);
        ASSERT_EQ(host.messages.boxes.size(), 1u);
        EXPECT_EQ(host.messages.boxes[0].text.rfind(sim.Address() + ": ", 0), 0u) << host.messages.boxes[0].text;
    }
    RawTrace traces[2];
    CRigolDs1000zDriver driver(traces);
    driver.m_nPlot1Channel = 1;
    {
        NetSimulator gone(dir, "rigol-ds1000z");
        driver.m_address = {2, gone.Address()};
    }
    LoopHost host;
    EXPECT_EQ(host.Run(driver, 10000), 0);
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_NE(host.messages.boxes[0].text.find("połączenie odrzucone"), std::string::npos) << host.messages.boxes[0].text;
    EXPECT_EQ(Resources(), resources);
}
