#include <gtest/gtest.h>

#include "acquisition/drivers/os3060/COs3060Driver.h"
#include "support/DriverFixture.h"

namespace {

// 56 characters and the carriage return: time at 11..19, probe at 37..40, volts at 42..48.
std::string Settings(const std::string& time, const std::string& probe, const std::string& volts) {
    return "CH1 T/DIV: " + time + " CPL:DC TRG:AUTO " + probe + " " + volts + " NORM  \r";
}
const std::string kSettings = Settings("  500us  ", "P10X", "  50mV ");

// The 14-character header, 1000 data bytes, the carriage return.
std::string Waveform(const std::string& data) { return "CH1 1000 BYTE:" + data + "\r"; }

struct Os3060Driver : DriverTest<COs3060Driver> {
    // One plot from the opening reply on: each request, state and timer.
    void FetchPlot(char channel, const std::string& settings, char dataByte) {
        EXPECT_EQ("S1\r5 1000", Sent());
        ExpectAccepted("A\r", 8);
        EXPECT_EQ(std::string("Ro(") + channel + ")\r9 20000", Step());
        ExpectAccepted(settings, 6);
        EXPECT_EQ(std::string("R") + channel + "(0000,1000,B)\r7 20000", Step());
        ExpectAccepted(Waveform(std::string(1000, dataByte)), 4);
    }
    // Failed at once: state, result 0, port closed, no box, nothing sent since.
    void ExpectEnded(int state, size_t requests) {
        EXPECT_TRUE(driver.m_nState == state && host.ended == 0 && host.replyTimer == -1 && host.port.closed);
        EXPECT_TRUE(host.messages.boxes.empty() && host.port.sent.size() == requests);
    }
};

}  // namespace

TEST_F(Os3060Driver, OnePlotRequestsScalesSamplesAndBar) {
    driver.m_nPortNumber = 1, driver.m_nBaudIndex = 2;
    Start(2, 0);
    ExpectPort(1, 300, 1, 80);
    FetchPlot('2', kSettings, char(128));
    // "P10X" and "  50mV ": 500 mV a division; "  500us  ": µs.
    const RawTrace& t = traces[0];  // plot 1, from channel 2
    EXPECT_TRUE(t.voltExponent == -1 && t.voltStep == 20.0 && t.timeExponent == -2 && t.timeStep == 1.25);
    EXPECT_TRUE(t.samples[0] == 100 && t.samples[2001] == 100 && t.samples[3999] == 100);  // constant stays
    ASSERT_EQ(1001u, host.bar.size());  // the start, then one a data byte
    EXPECT_TRUE(host.bar[0] == 0 && host.bar[9] == 0 && host.bar[10] == 1 && host.bar[500] == 50 &&
                host.bar[1000] == 100);
    ExpectFinished("R2(0000,1000,B)\r", 3);  // no closing request
    ExpectNothingToFetch();
}

TEST_F(Os3060Driver, TwoPlotsHalveTheBarAndOpenEachPlot) {
    Start(3, 2);  // any channel but 2 is asked for as channel 1
    FetchPlot('1', Settings("  0.5ms  ", "P1X ", "  2 V  "), char(28));
    EXPECT_EQ(50, host.bar.back());
    host.FireStepTimer();
    host.bar.clear();
    FetchPlot('2', kSettings, char(178));
    EXPECT_TRUE(host.bar[0] == 50 && host.bar[500] == 75 && host.bar.back() == 100);
    const RawTrace& t = traces[0];
    EXPECT_TRUE(t.voltExponent == 0 && t.voltStep == 0.08 && t.timeExponent == -1 && t.timeStep == 0.00125);
    EXPECT_TRUE(t.samples[1234] == 0 && traces[1].samples[1234] == 150);
    ExpectFinished("R2(0000,1000,B)\r", 6);
}

TEST_F(Os3060Driver, FailsAtOnceWithoutMessages) {
    Start(1, 0);
    host.Receive("A\r\n");  // the line feed comes in state 8
    ExpectEnded(3, 1);
    host.Receive("A");  // the port is closed: a late byte sends nothing
    ExpectEnded(3, 1);

    Start(1, 0);
    host.Receive("BA");  // only the carriage return decides
    EXPECT_EQ(5, driver.m_nState);
    host.Receive("\r");
    ExpectEnded(3, 1);

    Start(1, 0);
    Feed({"A\r", kSettings.substr(1)});  // 56 characters
    ExpectEnded(3, 2);

    // A carriage return after 998 data bytes ends the reply short; one after 999 is the
    // thousandth character after the header and completes it.
    traces[0].samples[0] = 7;
    Start(1, 0);
    Feed({"A\r", kSettings, Waveform(std::string(998, char(128))) + std::string(2, char(128))});
    ExpectEnded(3, 3);
    EXPECT_EQ(7, traces[0].samples[0]);
    Start(1, 0);
    Feed({"A\r", kSettings, Waveform(std::string(999, char(128)))});
    EXPECT_TRUE(driver.m_nState == 4 && traces[0].samples[3995] == 100 && traces[0].samples[3996] == 13 - 28);

    ExpectTimeoutAfter({"A\r", "CH1"}, "");  // time-outs, silently
    ExpectPortFailure("");
}

TEST_F(Os3060Driver, PanelTextsAndWidening) {
    EXPECT_EQ(0.0, ReadOs3060Number(" mV"));
    EXPECT_EQ(-2.5, ReadOs3060Number("\t-2.5ms"));
    // "m" and "u" count after the first character only; "u" wins over "m".
    EXPECT_TRUE(Os3060TimeExponent("m 5") == 0 && Os3060TimeExponent("5 ms") == -1 && Os3060TimeExponent("um u") == -2);
    EXPECT_TRUE(Os3060VoltExponent("mV") == 0 && Os3060VoltExponent("5mV") == -1);
    RawTrace t;
    t.voltStep = 3.0;
    EXPECT_FALSE(ParseOs3060Settings(kSettings.substr(0, 56), t));
    EXPECT_EQ(3.0, t.voltStep);

    // One peak of 100 at sample 8; the last bytes 228, 28, 60.
    std::string data(1000, char(28));
    data[2] = char(128), data[997] = char(228), data[999] = char(60);
    int32_t s[kSamples];
    ASSERT_TRUE(ParseOs3060Waveform(Waveform(data), s));
    const int32_t head[20] = {0, 0, 0, 0, 0, 0, 0, 0, 100, 92, 70, 38, 0, -11, -15, -10, 0, 2, 2, 2};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(head[i], s[i]) << i;  // -11.8 is truncated toward zero
    EXPECT_TRUE(s[3988] == 200 && s[3989] == 184 && s[3991] == 74 && s[3992] == 0 && s[3995] == 0 && s[3999] == 32);
}
