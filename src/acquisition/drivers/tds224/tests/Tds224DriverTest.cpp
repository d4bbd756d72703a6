// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "acquisition/drivers/tds224/CTds224Driver.h"
#include "platform/PortDevices.h"
#include "support/DriverFixture.h"

namespace {

const std::string kId = "ID TEK/TDS 224,CF:91.1CT,FV:v2.12 TDS2CM:CMV:v1.04X";  // 51 bytes
const std::string kDescription =
    "WFMPRE:WFID \"Ch1, DC coupling, 5.0E-2 V/div, 2.5E-4 s/div, 2500 points, Sample mode";

// ":CURVE #42500", 2500 bytes (first 28, last 255, the rest b), "\r\n".
std::string Curve(char b) {
    std::string data(2500, b);
    data.front() = 28, data.back() = char(255);
    return ":CURVE #42500" + data + "\r\n";
}

struct Tds224Driver : DriverTest<CTds224Driver> {
    // One plot from the identity reply on: each request, state and reply timer.
    void FetchPlot(const std::string& id, int channel, char curveByte) {
        const std::string n = std::to_string(channel);
        ExpectAccepted(id, 8, "SELECT:CH" + n + " ON;:DATA:SOURCE CH" + n + ";:WFMPRE:WFID?\r9 2000");
        ExpectAccepted(kDescription, 6, "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r7 60000");
        ExpectAccepted(Curve(curveByte), 4);
    }
};

}  // namespace

TEST_F(Tds224Driver, TwoPlotsRequestsScalesSamplesAndBar) {
    Start(4, 2);
    EXPECT_EQ("ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r12 1000", Sent());
    FetchPlot(kId + "!", 4, char(128));  // the 52nd identity byte arrives in state 8, harmlessly
    EXPECT_EQ(Scales(traces[0]), std::tuple(-2, 0.625, -1, 2.0));
    // Bytes 28, 128, ..., 128, 255 are 0, 100, ..., 100, 227, each spread over 1.6 samples.
    EXPECT_EQ(At(traces[0].samples, {0, 1, 2, 3998, 3999}), (std::vector<int32_t>{0, 40, 100, 176, 227}));
    // The start, then one position a byte up to the 2514th; plot 1 takes the first half.
    EXPECT_EQ(host.bar.size(), 2515u);
    EXPECT_EQ(At(host.bar, {0, 49, 50, 1250, 2500, -1}), (std::vector<int32_t>{0, 0, 1, 25, 50, 50}));
    EXPECT_EQ("ID?\r12 1000", Step());
    host.bar.clear();
    FetchPlot(kId, 2, char(178));
    EXPECT_EQ(At(host.bar, {0, 1249, -1}), (std::vector<int32_t>{50, 75, 100}));
    EXPECT_EQ(traces[1].samples[2000], 150);
    ExpectFinished("ACQUIRE:STATE RUN;:UNLOCK ALL\r", 7);
}

TEST_F(Tds224Driver, TimeoutMessagesPerStateAndRejectedReplies) {
    Start(1, 0);
    host.Receive("I" + kId);  // 52 bytes, the extra one inside
    EXPECT_EQ(12, driver.m_nState);
    const std::string d = kDescription;
    ExpectTimeoutAfter({kId.substr(0, 50)}, kModelMismatch);  // left stopped and locked
    ExpectTimeoutAfter({kId}, "Inny błąd !");                 // state 8, its step still due
    ExpectTimeoutAfter({kId, d.substr(0, d.size() - 1)}, "Błąd przy zapytaniu o ustawienia oscyloskopu !");
    ExpectTimeoutAfter({kId, d, Curve(0).substr(0, 2514)}, "Błąd przy akwizycji danych !");
    // The line goes while the settings request is due: it times out as soon as it is sent.
    Start(1, 0);
    host.Receive(kId);
    host.LoseLine();
    EXPECT_EQ("SELECT:CH1 ON;:DATA:SOURCE CH1;:WFMPRE:WFID?\r9 0", Step());
    ExpectTimeout("COM2 (" + ResolvePortDevice(2) + "): połączenie zostało przerwane", 4, 2);
}

TEST_F(Tds224Driver, ReplyExponentsShortRepliesAndStretch) {
    RawTrace t;
    auto parse = [&t](const char* volts, const char* time) {
        return ParseTds224Description(
            std::string("Ch1, DC coupling, ") + volts + " V/div, " + time + " s/div, 2500 points, Sample mode", t);
    };
    // Beyond -2..1 and -9..0: the power of 1000 at or below, the mantissa times 1, 10 or 100.
    ASSERT_TRUE(parse("2.0E-3", "1.0E1"));
    EXPECT_EQ(Scales(t), std::tuple(0, 0.025, -1, 0.08));
    EXPECT_FALSE(parse("1.0E-20", "1.0E-3"));  // below femto: refused, trace kept
    EXPECT_FALSE(ParseTds224Description("coupling, 5.0E-2 V/div, 2.5E-4 s/div, mode", t));  // < 51
    EXPECT_EQ(Scales(t), std::tuple(0, 0.025, -1, 0.08));

    static int32_t work[kTds224WorkSize];
    int32_t s[kSamples] = {0, -7, 5};
    StretchScreenRecord(s, work);  // 0,0,0,-7,-7 | -7 x5 | -7,5,5,5,5 | 5,5,5,5,0
    EXPECT_EQ(At(s, {0, 1, 2, 3, 4, 5}), (std::vector<int32_t>{0, -2, -7, 2, 4, 0}));
    s[0] = 9;
    EXPECT_FALSE(ParseTds224Curve(Curve(0).substr(0, 2512), s, work));  // former samples, stretched
    EXPECT_EQ(At(s, {0, 1, 2}), (std::vector<int32_t>{9, 4, -2}));
}
