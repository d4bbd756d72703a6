// SPDX-License-Identifier: GPL-3.0-or-later
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
        ExpectAccepted("A\r", 8, std::string("Ro(") + channel + ")\r9 20000");
        ExpectAccepted(settings, 6, std::string("R") + channel + "(0000,1000,B)\r7 20000");
        ExpectAccepted(Waveform(std::string(1000, dataByte)), 4);
    }
    // Failed at once: state 3, result 0, port closed, nothing sent since, no box.
    void ExpectFailed(size_t requests) { EXPECT_EQ(Ended(), std::tuple(3, 0, -1, true, requests, 0u)); }
};

}  // namespace

TEST_F(Os3060Driver, TwoPlotsRequestsScalesSamplesAndBar) {
    Start(3, 2);  // any channel but 2 is asked for as channel 1
    FetchPlot('1', Settings("  0.5ms  ", "P1X ", "  2 V  "), char(28));
    EXPECT_EQ(Scales(traces[0]), std::tuple(-1, 0.00125, 0, 0.08));
    // The start, then one position a data byte; plot 1 takes the first half.
    EXPECT_EQ(host.bar.size(), 1001u);
    EXPECT_EQ(At(host.bar, {0, 19, 20, 500, 1000}), (std::vector<int32_t>{0, 0, 1, 25, 50}));
    host.FireStepTimer();
    host.bar.clear();
    FetchPlot('2', kSettings, char(128));
    EXPECT_EQ(At(host.bar, {0, 500, -1}), (std::vector<int32_t>{50, 75, 100}));
    // "P10X" and "  50mV ": 500 mV a division; "  500us  ": µs.
    EXPECT_EQ(Scales(traces[1]), std::tuple(-2, 1.25, -1, 20.0));
    EXPECT_EQ(At(traces[0].samples, {0, 1234, 3999}), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(At(traces[1].samples, {0, 2001, 3999}), (std::vector<int32_t>{100, 100, 100}));  // constant stays
    ExpectFinished("R2(0000,1000,B)\r", 6);  // no closing request
    ExpectPortFailureAndNothingToFetch("");
}

TEST_F(Os3060Driver, FailsAtOnceWithoutMessages) {
    Start(1, 0);
    host.Receive("A\r\n");  // the line feed comes in state 8
    ExpectFailed(1);
    host.Receive("A");  // the port is closed: a late byte sends nothing
    ExpectFailed(1);
    // What came in the same read as the failing byte is no one's reply: the dialogue ends once.
    Start(1, 0);
    const int endings = host.endings;
    host.Receive("A\r\nA\r\n");
    ExpectFailed(1);
    EXPECT_EQ(host.endings, endings + 1);

    Start(1, 0);
    host.Receive("BA");  // only the carriage return decides
    EXPECT_EQ(driver.m_nState, 5);
    host.Receive("\r");
    ExpectFailed(1);

    Start(1, 0);
    Feed({"A\r", kSettings.substr(1)});  // 56 characters
    ExpectFailed(2);

    // A carriage return after 998 data bytes ends the reply short; one after 999 is the
    // thousandth character after the header and completes it.
    traces[0].samples[0] = 7;
    Start(1, 0);
    Feed({"A\r", kSettings, Waveform(std::string(998, char(128))) + std::string(2, char(128))});
    ExpectFailed(3);
    EXPECT_EQ(traces[0].samples[0], 7);
    Start(1, 0);
    Feed({"A\r", kSettings, Waveform(std::string(999, char(128)))});
    EXPECT_EQ(driver.m_nState, 4);
    EXPECT_EQ(At(traces[0].samples, {3995, 3996}), (std::vector<int32_t>{100, 13 - 28}));

    ExpectTimeoutAfter({"A\r", "CH1"}, "");  // time-outs, silently
}

TEST_F(Os3060Driver, PanelTexts) {
    EXPECT_EQ(ReadOs3060Number(" mV"), 0.0);
    EXPECT_EQ(ReadOs3060Number("\t-2.5ms"), -2.5);
    // "m" and "u" count after the first character only; "u" wins over "m".
    for (const auto& [text, time, volt] : {std::tuple("m 5", 0, 0), std::tuple("5 ms", -1, -1),
                                           std::tuple("um u", -2, -1), std::tuple("5mV", -1, -1)})
        EXPECT_EQ(std::tuple(Os3060TimeExponent(text), Os3060VoltExponent(text)), std::tuple(time, volt)) << text;
    RawTrace t;
    t.voltStep = 3.0;
    EXPECT_FALSE(ParseOs3060Settings(kSettings.substr(0, 56), t));
    EXPECT_EQ(t.voltStep, 3.0);
}

// Each group of five data values p0..p4 (samples b, b+4, ..., b+16) gives samples b+9..b+11
// from the degree-4 polynomial through them at t = 2.25, 2.5, 2.75: value + 0.5, truncated
// toward zero. The exact values, worked out as fractions, in the comments.
TEST_F(Os3060Driver, Widening) {
    struct Group {
        int32_t p[5], widened[3];
    };
    const Group groups[] = {
        {{46, 72, 154, 89, 10}, {152, 139, 118}},     // 9733/64, 2231/16, 235/2
        {{-13, 5, -29, -21, 27}, {-32, -31, -27}},    // -65/2, -259/8, -911/32
        {{17, -17, -13, 1, -3}, {-8, -5, -1}},        // -299/32, -11/2, -61/32
        {{-15, 7, 4, -22, -7}, {-1, -8, -15}},        // -1827/1024, -555/64, -16163/1024
        {{22, -29, -9, 23, 24}, {0, 9, 17}},          // -11/64, 137/16, 33/2
        {{0, 30, 18, -26, 4}, {8, -3, -15}},          // 15/2, -35/8, -517/32
    };
    for (const Group& g : groups) {
        int32_t s[kSamples] = {};
        for (int j = 0; j < 5; ++j) s[4 * j] = g.p[j];
        WidenOs3060Samples(s);
        EXPECT_EQ(At(s, {9, 10, 11}), std::vector<int32_t>(g.widened, g.widened + 3)) << g.p[0];
    }

    // Through the waveform: one peak of 100 at sample 8; the last bytes 228, 28, 60. Samples
    // 1 to 3, 5 to 7 and 3993 to 3999 keep the repeated data values.
    std::string data(1000, char(28));
    data[2] = char(128), data[997] = char(228), data[999] = char(60);
    int32_t s[kSamples];
    ASSERT_TRUE(ParseOs3060Waveform(Waveform(data), s));
    EXPECT_EQ(std::vector<int32_t>(s, s + 20),
              (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 0, 0, 100, 92, 70, 38, 0, -11, -15, -10, 0, 2, 2, 2}));
    EXPECT_EQ(std::vector<int32_t>(s + 3988, s + 4000),
              (std::vector<int32_t>{200, 184, 139, 74, 0, 0, 0, 0, 32, 32, 32, 32}));
}
