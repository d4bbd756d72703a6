// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acquisition/CScpiAutoDriver.h"
#include "acquisition/drivers/tektronix-tds2000/CTektronixTds2000Driver.h"
#include "acquisition/drivers/tektronix-tds2000/TektronixReply.h"
#include "support/DriverFixture.h"
#include "support/NetSimulator.h"
#include "support/ScopeSimulator.h"

namespace {

using Script = std::vector<std::pair<std::string, std::string>>;

const std::string kIdentity = "TEKTRONIX,TDS 2024C,C042765,CF:91.1CT FV:v24.26\n";
// 500 µs and 0.5 V a division, the trigger 1.2 ms after the screen's left edge: 2500 points
// from -1.2 ms, 2 µs apart; 20 mV a code, 0 V at code 25.
std::string Preamble(int channel, const std::string& ymult = "2.0E-2") {
    return "1;8;BIN;RI;MSB;2500;\"Ch" + std::to_string(channel) +
           ", DC coupling, 5.0E-1 V/div, 5.0E-4 s/div, 2500 points, Sample mode\";Y;2.0E-6;0;-1.2E-3;\"s\";" + ymult +
           ";0.0E0;2.5E1;\"Volts\"\n";
}
// The 2500 points: the first half one code, the second another.
std::string Curve(char first, char second) {
    return "#42500" + std::string(1250, first) + std::string(1250, second) + "\n";
}

struct TektronixDriver : DriverTest<CTektronixTds2000Driver> {
    // Each exchange: the request the driver sends, and the reply it gets (none: a command).
    void Converse(const Script& script) {
        for (const auto& [request, reply] : script) {
            ASSERT_LT(m_next, host.port.sent.size()) << "waiting for " << request;
            EXPECT_EQ(host.port.sent[m_next++], request + "\n");
            if (!reply.empty()) host.Receive(reply);
        }
    }
    static Script Opening(const std::string& state, const std::vector<int>& channels) {
        Script s = {{"HEADer OFF", ""}, {"*IDN?", kIdentity}};
        for (int n : channels) s.push_back({"SELect:CH" + std::to_string(n) + "?", "1\n"});
        s.insert(s.end(), {{"ACQuire:STATE?", state + "\n"}, {"ACQuire:STOPAfter?", "RUNSTOP\n"}});
        return s;
    }
    static Script Plot(int n, const std::string& curve, const std::string& ymult = "2.0E-2") {
        const std::string c = std::to_string(n);
        return {{"DATa:SOUrce CH" + c, ""}, {"DATa:ENCdg RIBinary", ""}, {"DATa:WIDth 1", ""}, {"DATa:STARt 1", ""},
                {"DATa:STOP 2500", ""},     {"WFMPre?", Preamble(n, ymult)},  {"CURVe?", curve}};
    }
    std::string Box() const { return host.messages.boxes.empty() ? "" : host.messages.boxes.back().text; }
    void Restart(int ch1, int ch2) {
        host.port = FakePortLog{}, m_next = 0;
        Start(ch1, ch2);
    }
    size_t m_next = 0;
};

Script operator+(Script a, const Script& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

// A running instrument: headers off, identified, both channels checked, stopped for both
// plots, set running again; codes become volts through YOFF and YMULT, the 2500 points span
// the screen's 10 divisions from XZERO on.
TEST_F(TektronixDriver, TwoPlotsFromOneAcquisition) {
    Start(3, 1);
    Converse(Opening("1", {3, 1}) + Script{{"ACQuire:STATE STOP", ""}} + Plot(3, Curve(75, 0)));
    const Script plot1 = Plot(1, "");
    Converse(Script(plot1.begin(), plot1.begin() + 5));
    // WFMPre? is given longer than a text reply: the firmware takes about a second over it.
    Converse({{"WFMPre?", ""}});
    EXPECT_GE(host.replyTimer, 3 * CTektronixTds2000Driver::kTextTimeoutMs / 2);
    host.Receive(Preamble(1));
    Converse({{"CURVe?", ""}});
    // The block dribbled in, a few bytes at a time.
    const std::string curve = Curve(char(-25), 25);
    for (size_t i = 0; i < curve.size(); i += 3) host.Receive(curve.substr(i, 3));
    EXPECT_EQ(host.port.sent.back(), "ACQuire:STATE RUN\n");
    EXPECT_EQ(std::tuple(driver.m_nState, host.ended, Box()), std::tuple(0, 0, std::string()));
    const auto [te, ts, ve, vs] = Scales(traces[0]);
    EXPECT_EQ(std::tuple(te, ve), std::tuple(-2, -1));  // µs, mV
    EXPECT_DOUBLE_EQ(ts, 1.25);                          // 5 ms over 4000 samples
    EXPECT_DOUBLE_EQ(vs, 20);                            // the instrument's own code
    // Sample 1999 shows point 1249, sample 2000 point 1250: (75 - 25) x 20 mV = 1 V is code 150.
    EXPECT_EQ(At(traces[0].samples, {0, 1999, 2000, -1}), (std::vector<int32_t>{150, 150, 75, 75}));
    EXPECT_EQ(At(traces[1].samples, {0, 1999, 2000, -1}), (std::vector<int32_t>{50, 50, 100, 100}));
}

// Stopped, it is left alone; running or waiting for its single sequence's trigger, it is
// stopped for the fetch and set going again.
TEST_F(TektronixDriver, RunStates) {
    const struct {
        const char *state, *stopAfter;
        bool held;
    } cases[] = {{"0", "RUNSTOP", false}, {"0", "SEQUENCE", false}, {"1", "SEQUENCE", true}, {"RUN", "RUNSTOP", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.state) + " " + c.stopAfter);
        Restart(2, 0);
        Script opening = Opening(c.state, {2});
        opening.back().second = std::string(c.stopAfter) + "\n";
        Converse(opening + (c.held ? Script{{"ACQuire:STATE STOP", ""}} : Script{}) + Plot(2, Curve(25, 25)));
        EXPECT_EQ(host.port.sent.size(), m_next + (c.held ? 1 : 0));
        EXPECT_EQ(host.LastSent(), c.held ? "ACQuire:STATE RUN\n" : "CURVe?\n");
        EXPECT_EQ(std::tuple(driver.m_nState, Box()), std::tuple(0, std::string()));
    }
}

// What ends a fetch, each with one message that names the device; the instrument is set
// running again where it was stopped, and a channel switched off is never asked for its curve.
TEST_F(TektronixDriver, FailuresSayWhatAndWhere) {
    const std::string tbs1000c = "TEKTRONIX,TBS 1072C,CU10100,CF:91.1CT FV:v2015-12-10_01-00-59rootfs; FPGA:v1.21;\n";
    Script badPreamble = Opening("1", {3}) + Script{{"ACQuire:STATE STOP", ""}} + Plot(3, "", "0.0E0");
    badPreamble.pop_back();
    const struct {
        const char* what;
        Script script;
        std::string box;
        bool restarted;
    } cases[] = {
        {"other maker", {{"HEADer OFF", ""}, {"*IDN?", "KEITHLEY INSTRUMENTS INC.,MODEL 2000,1,A\n"}},
         "to nie jest TEKTRONIX TDS1000/TDS2000/TBS1000 (USB), przyrząd przedstawia się jako KEITHLEY INSTRUMENTS INC. "
         "MODEL 2000", false},
        {"TBS1000C", {{"HEADer OFF", ""}, {"*IDN?", tbs1000c}},
         "TBS 1072C należy do serii TBS1000C, która ma inne oprogramowanie i inne polecenia; ten sterownik obsługuje "
         "TDS1000/TDS2000, TPS2000 i TBS1000 (także B)", false},
        {"channel off", {{"HEADer OFF", ""}, {"*IDN?", kIdentity}, {"SELect:CH3?", "0\n"}},
         "kanał 3 jest wyłączony na przyrządzie", false},
        {"headers on",
         {{"HEADer OFF", ""}, {"*IDN?", kIdentity}, {"SELect:CH3?", "1\n"}, {"ACQuire:STATE?", ":ACQUIRE:STATE 1\n"}},
         "niezrozumiała odpowiedź na ACQuire:STATE?: „:ACQUIRE:STATE 1”", false},
        {"math scales", badPreamble, "kanał 3: opis przebiegu (WFMPre?) jest błędny", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart(3, 0);
        Converse(c.script);
        EXPECT_EQ(std::tuple(driver.m_nState, host.ended, host.port.closed, Box()),
                  std::tuple(4, 0, true, "COM2 (/dev/ttyS1): " + c.box));
        EXPECT_EQ(host.messages.boxes.size(), 1u);
        EXPECT_EQ(host.port.sent.size(), m_next + (c.restarted ? 1 : 0));
        EXPECT_EQ(host.LastSent(), c.restarted ? "ACQuire:STATE RUN\n" : c.script.back().first + "\n");
    }
}

// The models of the family by their *IDN? answers (a blank after the series); the TBS1000C,
// the TDS200 and the newer series are not.
TEST(TektronixReply, ModelsAndPreambles) {
    RawTrace traces[2];
    const CTektronixTds2000Driver driver(traces);
    for (const char* model :
         {"TDS 2024C", "TDS 2024B", "TDS 1002B", "TDS 2012", "TPS 2024B", "TBS 1022", "TBS 1072B-EDU"})
        EXPECT_TRUE(driver.Identifies({"TEKTRONIX", model, "C042765", "CF:91.1CT FV:v24.26"})) << model;
    for (const char* model : {"TBS 1072C", "TDS 224", "TDS 3034B", "MSO 2024B", "DPO 2014"})
        EXPECT_FALSE(driver.Identifies({"TEKTRONIX", model, "C042765", "CF:91.1CT FV:v24.26"})) << model;
    EXPECT_FALSE(driver.Identifies({"RIGOL TECHNOLOGIES", "TDS 2024C", "", ""}));

    // Captured from a TDS2024C, CH1 two divisions up at 200 mV a division: code 50 is 0 V.
    TekPreamble p;
    ASSERT_TRUE(ParseTekPreamble("1;8;BIN;RI;MSB;2500;\"Ch1, DC coupling, 2.0E-1 V/div, 5.0E-7 s/div, 2500 points, "
                                 "Sample mode\";Y;2.0E-9;0;-2.5E-6;\"s\";8.0E-3;0.0E0;5.0E1;\"Volts\"", p));
    EXPECT_EQ(std::tuple(p.Volts(50), p.Volts(75), p.Volts(uint8_t(-128)), p.Time(2500), p.voltsPerDivision),
              std::tuple(0.0, 0.2, -178 * 8.0e-3, -2.5e-6 + 2500 * 2.0e-9, 0.2));
    // A description without its settings: from 25 codes and 250 points a division.
    ASSERT_TRUE(ParseTekPreamble("1;8;BIN;RP;MSB;2500;\"Math\";Y;1.0E-6;0;-1.25E-3;\"s\";8.0E-2;1.0E0;127;\"V\"", p));
    EXPECT_EQ(std::tuple(p.Volts(127), p.Volts(255), p.voltsPerDivision, p.secondsPerDivision),
              std::tuple(1.0, 1 + 128 * 8.0e-2, 2.0, 2.5e-4));
    for (const char* bad : {"2;16;BIN;RI;MSB;2500;\"Ch1, DC coupling, 2.0E0 V/div, 2.5E-5 s/div, 2500 points, Sample "
                            "mode\";Y;1.0E-7;0;-1.25E-4;\"s\";3.125E-4;0.0E0;-1.1008E4;\"Volts\"",  // two bytes a point
                            ":WFMPRE:BYT_NR 1;BIT_NR 8;ENCDG BIN;BN_FMT RI;BYT_OR MSB;NR_PT 2500",    // headers on
                            "1;8;BIN;RI;MSB;2500;\"Ch1\";Y;1.0E-6;0;-1.25E-3;\"s\";8.0E-2;0.0E0;0.0E0",  // 15 fields
                            "1;8;ASC;RP;MSB;2500;\"Ch1\";Y;1.0E-6;0;-1.25E-3;\"s\";8.0E-2;0.0E0;0.0E0;\"Volts\""})
        EXPECT_FALSE(ParseTekPreamble(bad, p)) << bad;
}

// Against the simulator over TCP, as a user fetches: the instrument left as it was found, the
// values within one code of the simulated volts, each quirk read right, nothing sent the
// programmer manual does not have and no curve asked of a hidden channel.
TEST(TektronixFetch, AgainstItsSimulator) {
    const struct {
        const char* what;
        std::vector<std::string> options;
        bool running;
        double offset;
        int plot2;
    } cases[] = {{"running", {}, true, 0, 2},
                 {"stopped", {"--stopped"}, false, 0, 2},
                 {"off centre", {"--offset", "0.0013"}, true, 0.0013, 2},
                 {"dribble", {"--fault", "dribble", "--off", "2"}, true, 0, 0},
                 {"slow WFMPre?", {"--fault", "slow-wfmpre", "--stopped", "--off", "2"}, false, 0, 0}};
    const std::string dir = TestDir("tektronix_fetch");
    const auto resources = Resources();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> options{"--ch1", "sine", "--ch2", "square", "--vdiv", "0.5", "--tdiv", "0.0005"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        NetSimulator sim(dir, "tektronix-tds2000", options);
        ASSERT_NE(sim.Port(), 0u);
        RawTrace traces[2];
        CTektronixTds2000Driver driver(traces);
        driver.m_nPlot1Channel = 1, driver.m_nPlot2Channel = uint8_t(c.plot2);
        driver.m_address = {2, sim.Address()};
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        ASSERT_EQ(driver.m_nState, 0) << (host.messages.boxes.empty() ? "" : host.messages.boxes[0].text);
        // Sample k shows the record's point floor(k * 2500 / 4000) of a screen 5 ms wide.
        for (int k = 0; k < kSamples; k += 7) {
            const double t = c.offset - 0.0025 + (k * 2500 / 4000) * 0.000002;
            const double cycles = t * 1000 + 1e-9, phase = cycles - std::floor(cycles);
            const double volts[2] = {std::sin(2 * std::numbers::pi * phase), phase < 0.5 ? 1.0 : -1.0};
            for (int p = 0; p < (c.plot2 ? 2 : 1); ++p)
                ASSERT_NEAR((traces[p].samples[k] - 100) * traces[p].voltStep * 1e-3, volts[p], 0.02 + 1e-9) << k;
        }
        const std::vector<std::string> requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), "ACQuire:STATE STOP"), c.running ? 1 : 0);
        EXPECT_EQ(requests.back(), c.running ? "ACQuire:STATE RUN" : "CURVe?");
        EXPECT_EQ(sim.Complaints(), std::vector<std::string>{});
    }

    // The screen's picture: a BMP without a block around it.
    NetSimulator sim(dir, "tektronix-tds2000");
    RawTrace traces[2];
    CTektronixTds2000Driver driver(traces);
    driver.m_nPlot1Channel = 1;
    driver.m_job = CScpiDriver::EJob::Screen;
    driver.m_address = {2, sim.Address()};
    LoopHost host;
    EXPECT_EQ(host.Run(driver, 10000), 0);
    const std::string& picture = driver.ScreenImage();
    EXPECT_EQ(std::tuple(driver.m_nState, picture.size(), picture.substr(0, 2)),
              std::tuple(0, 54u + 320 * 240 * 3, std::string("BM")));
    EXPECT_EQ(sim.SettledRequests(), (std::vector<std::string>{"HEADer OFF", "*IDN?", "HARDCopy:FORMat BMP",
                                                               "HARDCopy:PORT USB", "HARDCopy STARt"}));

    // Chosen by "Automatycznie" after its *IDN?: the headers are turned off all the same.
    NetSimulator stopped(dir, "tektronix-tds2000", {"--stopped"});
    CScpiAutoDriver chooser(traces, {&driver});
    chooser.m_nPlot1Channel = 2, chooser.m_address = {2, stopped.Address()};
    EXPECT_EQ(host.Run(chooser, 10000), 0);
    EXPECT_EQ(std::tuple(chooser.m_nState, chooser.Chosen()), std::tuple(0, &driver));
    EXPECT_EQ(stopped.SettledRequests(),
              (std::vector<std::string>{"*IDN?", "HEADer OFF", "SELect:CH2?", "ACQuire:STATE?", "ACQuire:STOPAfter?",
                                        "DATa:SOUrce CH2", "DATa:ENCdg RIBinary", "DATa:WIDth 1", "DATa:STARt 1",
                                        "DATa:STOP 2500", "WFMPre?", "CURVe?"}));
    EXPECT_EQ(Resources(), resources);
}

// A channel switched off, a connection refused, cut or reset in the middle of a curve, a
// spoilt block, another instrument: one message each, naming the device, nothing left open.
TEST(TektronixFetch, BrokenConnections) {
    const std::string dir = TestDir("tektronix_broken");
    const auto resources = Resources();
    const struct {
        std::vector<std::string> options;
        const char* says;
    } cases[] = {{{"--off", "1"}, "kanał 1 jest wyłączony"},
                 {{"--fault", "hangup-mid"}, "CURVe?"},
                 {{"--fault", "reset"}, "CURVe?"},
                 {{"--fault", "bad-header"}, "CURVe?"},
                 {{"--fault", "long-block"}, "dłuższy"},
                 {{"--fault", "wrong-id"}, "KEITHLEY"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.back());
        NetSimulator sim(dir, "tektronix-tds2000", c.options);
        RawTrace traces[2];
        CTektronixTds2000Driver driver(traces);
        driver.m_nPlot1Channel = 1;
        driver.m_address = {2, sim.Address()};
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        EXPECT_EQ(driver.m_nState, 4);
        ASSERT_EQ(host.messages.boxes.size(), 1u);
        const std::string& box = host.messages.boxes[0].text;
        EXPECT_EQ(box.rfind(sim.Address() + ": ", 0), 0u) << box;
        EXPECT_NE(box.find(c.says), std::string::npos) << box;
        EXPECT_EQ(sim.Complaints(), std::vector<std::string>{});
    }
    RawTrace traces[2];
    CTektronixTds2000Driver driver(traces);
    driver.m_nPlot1Channel = 1;
    {
        NetSimulator gone(dir, "tektronix-tds2000");
        driver.m_address = {2, gone.Address()};
    }
    LoopHost host;
    EXPECT_EQ(host.Run(driver, 10000), 0);
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    const std::string& box = host.messages.boxes[0].text;
    EXPECT_NE(box.find("połączenie odrzucone"), std::string::npos) << box;
    EXPECT_EQ(Resources(), resources);
}
