// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acquisition/drivers/keysight-infiniivision/CKeysightInfiniiVisionDriver.h"
#include "acquisition/drivers/keysight-infiniivision/KeysightReply.h"
#include "support/DriverFixture.h"
#include "support/NetSimulator.h"
#include "support/ScopeSimulator.h"

namespace {

using Script = std::vector<std::pair<std::string, std::string>>;

const std::string kIdentity = "AGILENT TECHNOLOGIES,DSO-X 2024A,MY00000001,02.50.2019022736\n";
// 1000 points from -5 ms, 10 µs apart; 20 mV a code, code 128 at +0.5 V: a trace code is the
// byte less 3.
const std::string kPreamble = "+0,+0,+1000,+1,+1.0000E-05,-5.0000E-03,+0,+2.0000E-02,+5.0000E-01,+128\n";

std::string Block(const std::string& data) {
    const std::string n = std::to_string(data.size());
    return "#8" + std::string(8 - n.size(), '0') + n + data + "\n";
}
// Byte 10 + i / 5 at point i: a trace code of 7 + i / 5.
std::string Ramp() {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += char(10 + i / 5);
    return data;
}

Script Join(std::initializer_list<Script> parts) {
    Script all;
    for (const Script& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct KeysightDriver : DriverTest<CKeysightInfiniiVisionDriver> {
    // Each exchange: the request the driver sends, and the reply it gets (none: a command).
    void Converse(const Script& script) {
        for (const auto& [request, reply] : script) {
            ASSERT_LT(m_next, host.port.sent.size()) << "waiting for " << request;
            EXPECT_EQ(host.port.sent[m_next++], request + "\n");
            if (!reply.empty()) host.Receive(reply);
        }
        EXPECT_EQ(m_next, host.port.sent.size()) << host.LastSent();
    }
    static Script Head(const std::string& condition, const std::string& position = "+0.0E+00",
                       const std::string& reference = "CENT") {
        Script s{{"*IDN?", kIdentity}, {":OPER:COND?", condition + "\n"}};
        if (std::stoi(condition) & 8) s.push_back({":STOP", ""});
        s.insert(s.end(),
                 {{":TIM:SCAL?", "+1.0E-03\n"}, {":TIM:POS?", position + "\n"}, {":TIM:REF?", reference + "\n"}});
        return s;
    }
    static Script Channel(int n, const std::string& data, const std::vector<std::string>& preambles = {kPreamble}) {
        const std::string c = std::to_string(n);
        Script s{{":CHAN" + c + ":DISP?", "1\n"}, {":CHAN" + c + ":SCAL?", "+5.0E-01\n"}, {":WAV:SOUR CHAN" + c, ""},
                 {":WAV:FORM BYTE", ""}, {":WAV:UNS 1", ""}, {":WAV:POIN 1000", ""}, {":WAV:POIN:MODE NORM", ""}};
        for (const std::string& p : preambles) s.push_back({":WAV:PRE?", p});
        if (!data.empty()) s.push_back({":WAV:DATA?", Block(data)});
        return s;
    }
    void Restart(int ch1, int ch2) {
        host.port = FakePortLog{}, m_next = 0;
        Start(ch1, ch2);
    }
    std::string Box() const { return host.messages.boxes.empty() ? "" : host.messages.boxes.back().text; }
    size_t m_next = 0;
};

// One fetch over TCP as the program runs it: the message it ended with, empty for none.
std::string FetchOver(CScpiDriver& driver, const NetSimulator& sim, int ch1, int ch2) {
    driver.m_nPlot1Channel = uint8_t(ch1), driver.m_nPlot2Channel = uint8_t(ch2);
    driver.m_address = {2, sim.Address()};
    LoopHost host;
    EXPECT_EQ(host.Run(driver, 10000), 0);
    EXPECT_LE(host.messages.boxes.size(), 1u);
    return host.messages.boxes.empty() ? "" : host.messages.boxes[0].text;
}

}  // namespace

// A running instrument: stopped for both plots, read, set running again. The first preamble
// comes as "+0" and is asked again; buckets without data (code 0) show the point before them.
TEST_F(KeysightDriver, TwoPlotsFromOneAcquisition) {
    std::string holes = Ramp();
    std::fill_n(holes.begin(), 4, '\0');
    std::fill_n(holes.begin() + 500, 4, '\0');
    Start(3, 1);
    Converse(Join({Head("+40"), Channel(3, holes, {"+0\n", kPreamble}), Channel(1, std::string(1000, char(128))),
                   {{":RUN", ""}}}));
    EXPECT_EQ(std::tuple(driver.m_nState, host.ended, Box()), std::tuple(0, 0, std::string()));
    EXPECT_EQ(Scales(traces[0]), std::tuple(-1, 0.0025, -1, 20.0));  // 10 ms / 4000 in ms; a code in mV
    // Sample k shows point k / 4: the first with data, then points 100, 499 (for the hole), 999.
    EXPECT_EQ(At(traces[0].samples, {0, 400, 2000, 3999}), (std::vector<int32_t>{7, 27, 106, 206}));
    EXPECT_EQ(At(traces[1].samples, {0, 3999}), (std::vector<int32_t>{125, 125}));
}

// The screen is ten divisions wide, its reference point (one division in from the left or the
// right, the middle, or where :TIM:REF:LOC? says) :TIM:POS? after the trigger; a stopped
// instrument (the Run bit clear, whatever else is set) is neither stopped nor set running.
TEST_F(KeysightDriver, ScreenPlacedByPositionAndReference) {
    const struct {
        const char *condition, *position, *reference;
        std::string location;
        int32_t first;  // the trace code of the screen's left edge: point (left + 5 ms) / 10 µs
    } cases[] = {{"+0", "+0.0E+00", "LEFT", "", 87},      // -1 ms, point 400
                 {"+32", "+5.0E-03", "RIGHt", "", 27},    // -4 ms, point 100
                 {"+8", "+0.0E+00", "CUST", "+2.5E-01", 57},  // -2.5 ms, point 250
                 {"+40", "+1.5E-03", "CENTER", "", 37}};  // -3.5 ms, point 150
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        Restart(1, 0);
        Script head = Head(c.condition, c.position, c.reference);
        if (!c.location.empty()) head.push_back({":TIM:REF:LOC?", c.location + "\n"});
        const bool running = std::stoi(c.condition) & 8;
        Converse(Join({head, Channel(1, Ramp()), running ? Script{{":RUN", ""}} : Script{}}));
        EXPECT_EQ(std::tuple(driver.m_nState, Box(), traces[0].samples[0]), std::tuple(0, std::string(), c.first));
    }
}

// What ends a fetch, each with one message that names the device; a running instrument is set
// running again, a stopped one left stopped; a channel that is off is never made a source.
TEST_F(KeysightDriver, FailuresSayWhatAndWhere) {
    const std::string device = "COM2 (/dev/ttyS1): ";
    const struct {
        const char* what;
        Script script;
        std::string box;
        bool running;
    } cases[] = {
        {"other maker", {{"*IDN?", "RIGOL TECHNOLOGIES,DS1104Z,DS1ZA1,00.04.04\n"}},
         "to nie jest KEYSIGHT InfiniiVision X, przyrząd przedstawia się jako RIGOL TECHNOLOGIES DS1104Z", false},
        {"two channels", {{"*IDN?", "AGILENT TECHNOLOGIES,DSO-X 2012A,MY52164005,02.12.2012041800\n"}},
         "kanał 3: przyrząd DSO-X 2012A ma tylko 2 kanały", false},
        {"run state", {{"*IDN?", kIdentity}, {":OPER:COND?", "RUN\n"}}, "odpowiedź na :OPER:COND? jest błędna: „RUN”",
         false},
        {"reference", Head("+40", "+0.0E+00", "TRIG"), "podstawa czasu, którą podał przyrząd, jest błędna", true},
        {"channel off", Join({Head("+40"), {{":CHAN3:DISP?", "0\n"}}}), "kanał 3 jest wyłączony na przyrządzie", true},
        {"preamble +0 thrice", Join({Head("+0"), Channel(3, "", {"+0\n", "+0\n", "+0\n"})}),
         "kanał 3: opis przebiegu (:WAV:PRE?) jest błędny", false},
        {"nothing acquired", Join({Head("+8"), Channel(3, "", {"+0,+0,+0,+1,+1E-05,-5E-03,+0,+2E-02,+0,+128\n"})}),
         "kanał 3: przyrząd nie ma danych do wysłania", true},
        {"only holes", Join({Head("+0"), Channel(3, std::string(1000, '\0'))}),
         "kanał 3: przyrząd nie ma danych do wysłania", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart(3, 0);
        Converse(Join({c.script, c.running ? Script{{":RUN", ""}} : Script{}}));
        EXPECT_EQ(std::tuple(driver.m_nState, host.ended, host.port.closed, Box()),
                  std::tuple(4, 0, true, device + c.box));
        EXPECT_EQ(host.messages.boxes.size(), 1u);
    }
}

// The first reply may take ten seconds: *IDN? waits 14 s, once more when silent, so the
// silence is told within 30 s.
TEST_F(KeysightDriver, SlowFirstReplyIsWaitedFor) {
    Start(1, 0);
    EXPECT_EQ(std::tuple(host.LastSent(), host.replyTimer), std::tuple(std::string("*IDN?\n"), 14000));
    host.FireReplyTimer();
    EXPECT_EQ(std::tuple(host.port.sent.size(), host.replyTimer), std::tuple(2u, 14000));
    host.FireReplyTimer();
    EXPECT_EQ(Box(), "COM2 (/dev/ttyS1): brak odpowiedzi na *IDN? w ciągu 14 s");
}

TEST(KeysightReply, Parsers) {
    KeysightPreamble p;
    ASSERT_TRUE(ParseKeysightPreamble("+0,+0,+1000,+1,+1.0E-06,-5.0E-04,+0,+3.125E-02,+1.5E-01,+128", p));
    EXPECT_EQ(std::tuple(p.points, p.xIncrement, p.xOrigin, p.yIncrement, p.yOrigin, p.yReference),
              std::tuple(1000L, 1e-6, -5e-4, 0.03125, 0.15, 128.0));
    for (const char* bad : {"+0", "", "+0,+0,+1000,+1,+1E-06,-5E-04,+0,+3E-02,+0",  // nine fields
                            "+1,+0,+1000,+1,+1E-06,-5E-04,+0,+3E-02,+0,+128",       // WORD
                            "+0,+0,+1000,+1,+0,-5E-04,+0,+3E-02,+0,+128",           // no time a point
                            "+0,+0,+10.5,+1,+1E-06,-5E-04,+0,+3E-02,+0,+128",
                            "+0,+0,+1000,+1,+1E-06,nan,+0,+3E-02,+0,+128"})
        EXPECT_FALSE(ParseKeysightPreamble(bad, p)) << bad;

    // The InfiniiVision X models of either maker; not the Agilent DSO1000 (a Rigol) nor an Infiniium.
    const struct {
        const char *maker, *model;
        bool ours;
        int channels;
    } identities[] = {
        {"AGILENT TECHNOLOGIES", "DSO-X 2012A", true, 2},  {"KEYSIGHT TECHNOLOGIES", "DSOX1204G", true, 4},
        {"Keysight Technologies", "MSO-X 3054T", true, 4}, {"KEYSIGHT TECHNOLOGIES", "EDUX1052G", true, 2},
        {"AGILENT TECHNOLOGIES", "DSO1002A", false, 2},    {"KEYSIGHT TECHNOLOGIES", "DSO9254A", false, 4},
        {"RIGOL TECHNOLOGIES", "DSO-X 2012A", false, 2}};
    RawTrace traces[2];
    const CKeysightInfiniiVisionDriver driver(traces);
    for (const auto& i : identities)
        EXPECT_EQ(std::tuple(driver.Identifies({i.maker, i.model, "", ""}), KeysightChannels(i.model)),
                  std::tuple(i.ours, i.channels))
            << i.model;
}

// Against the simulator over TCP, as a user fetches: the instrument left as it was found, the
// values within one code of the simulated volts, every quirk of the family read right, and
// nothing sent the programming guide does not have.
TEST(KeysightFetch, AgainstItsSimulator) {
    const struct {
        std::vector<std::string> options;
        bool running;
        double offset;
        long preambles;  // two, and one more after a "+0"
    } cases[] = {{{}, true, 0, 2},
                 {{"--stopped"}, false, 0, 2},
                 {{"--offset", "0.0013"}, true, 0.0013, 2},
                 {{"--fault", "plus-zero"}, true, 0, 3},
                 {{"--fault", "dribble", "--stopped"}, false, 0, 2},
                 {{"--fault", "slow-first:300"}, true, 0, 2}};
    const std::string dir = TestDir("keysight_fetch");
    const auto resources = Resources();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "plain" : c.options.back());
        std::vector<std::string> options{"--ch1", "sine", "--ch2", "square", "--vdiv", "0.5", "--tdiv", "0.0005"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        NetSimulator sim(dir, "keysight-infiniivision", options);
        RawTrace traces[2];
        CKeysightInfiniiVisionDriver driver(traces);
        ASSERT_EQ(FetchOver(driver, sim, 1, 2), "");
        // Sample k shows the record's point k / 4 of a screen 5 ms wide; a code is 0.5 V / 32.
        for (int k = 0; k < kSamples; k += 7) {
            const double t = c.offset - 0.0025 + (k / 4) * 0.000005;
            const double phase = t * 1000 - std::floor(t * 1000);
            const double volts[2] = {std::sin(2 * std::numbers::pi * phase), phase < 0.5 ? 1.0 : -1.0};
            for (int p = 0; p < 2; ++p)
                ASSERT_NEAR((traces[p].samples[k] - 100) * traces[p].voltStep * 1e-3, volts[p], 0.5 / 32 + 1e-9) << k;
        }
        const std::vector<std::string> requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), ":RUN"), c.running ? 1 : 0);
        EXPECT_EQ(std::count(requests.begin(), requests.end(), ":WAV:PRE?"), c.preambles);
        EXPECT_EQ(requests.back(), c.running ? ":RUN" : ":WAV:DATA?");
        EXPECT_EQ(sim.Complaints(), std::vector<std::string>{});
    }
    EXPECT_EQ(Resources(), resources);
}

// A channel that is off stays off (a :WAV:SOUR would switch it on); the screen image comes as
// the PNG it is; a connection refused, reset or closed in the middle of a block, a block longer
// or with a header shorter than it says, another instrument: one message each, nothing left open.
TEST(KeysightFetch, ChannelOffScreenAndBrokenConnections) {
    const std::string dir = TestDir("keysight_broken");
    const auto resources = Resources();
    RawTrace traces[2];
    {
        NetSimulator sim(dir, "keysight-infiniivision", {"--off", "2"});
        CKeysightInfiniiVisionDriver driver(traces);
        EXPECT_EQ(FetchOver(driver, sim, 1, 2), sim.Address() + ": kanał 2 jest wyłączony na przyrządzie");
        const std::vector<std::string> requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), ":WAV:SOUR CHAN2"), 0);
        EXPECT_EQ(requests.back(), ":RUN");
    }
    {
        NetSimulator sim(dir, "keysight-infiniivision");
        CKeysightInfiniiVisionDriver driver(traces);
        driver.m_job = CScpiDriver::EJob::Screen;
        EXPECT_EQ(FetchOver(driver, sim, 1, 0), "");
        // An 800 x 480 PNG: its signature, then the width and height in its IHDR chunk.
        const std::string head("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x03\x20\0\0\x01\xe0", 24);
        EXPECT_EQ(driver.ScreenImage().substr(0, 24), head);
        EXPECT_EQ(sim.SettledRequests(), (std::vector<std::string>{"*IDN?", ":DISP:DATA? PNG, COLor"}));
        EXPECT_EQ(sim.Complaints(), std::vector<std::string>{});
    }
    const std::pair<const char*, std::string> faults[] = {
        {"reset", "(czekano na :WAV:DATA?)"},
        {"hangup-mid", "przyrząd zamknął połączenie (czekano na :WAV:DATA?)"},
        {"bad-header", "nagłówek bloku danych jest błędny (odpowiedź na :WAV:DATA?)"},
        {"long-block", "blok danych jest dłuższy, niż mówi jego nagłówek (odpowiedź na :WAV:DATA?)"},
        {"wrong-id", "przyrząd przedstawia się jako KEITHLEY INSTRUMENTS INC. MODEL 2000"}};
    for (const auto& [fault, text] : faults) {
        NetSimulator sim(dir, "keysight-infiniivision", {"--fault", fault});
        CKeysightInfiniiVisionDriver driver(traces);
        const std::string message = FetchOver(driver, sim, 1, 0);
        EXPECT_TRUE(message.starts_with(sim.Address() + ": ") && message.ends_with(text)) << message;
        EXPECT_EQ(driver.m_nState, 4);
    }
    CKeysightInfiniiVisionDriver driver(traces);
    NetSimulator gone(dir, "keysight-infiniivision");
    gone.Stop();
    EXPECT_NE(FetchOver(driver, gone, 1, 0).find("połączenie odrzucone"), std::string::npos);
    EXPECT_EQ(Resources(), resources);
}
