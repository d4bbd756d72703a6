#include <gtest/gtest.h>

#include "acquisition/drivers/tds224/CTds224Driver.h"
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
        ExpectAccepted(id, 8);
        const std::string n = std::to_string(channel);
        EXPECT_EQ("SELECT:CH" + n + " ON;:DATA:SOURCE CH" + n + ";:WFMPRE:WFID?\r9 2000", Step());
        ExpectAccepted(kDescription, 6);
        EXPECT_EQ("HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r7 60000", Step());
        ExpectAccepted(Curve(curveByte), 4);
    }
};

}  // namespace

TEST_F(Tds224Driver, OnePlotRequestsScalesSamplesAndBar) {
    driver.m_nPortNumber = 3, driver.m_nBaudIndex = 5;
    Start(4, 0);
    ExpectPort(3, 2400, 1, 80);
    EXPECT_EQ("ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r12 1000", Sent());
    FetchPlot(kId, 4, char(128));
    const RawTrace& t = traces[0];
    EXPECT_TRUE(t.voltExponent == -1 && t.voltStep == 2.0 && t.timeExponent == -2 && t.timeStep == 0.625);
    // Bytes 28, 128, ..., 128, 255 are 0, 100, ..., 100, 227, each spread over 1.6 samples.
    const int32_t* s = t.samples;
    EXPECT_TRUE(s[0] == 0 && s[1] == 40 && s[2] == 100 && s[3998] == 176 && s[3999] == 227);
    ASSERT_EQ(2515u, host.bar.size());  // the start, then one position a byte up to the 2514th
    EXPECT_TRUE(host.bar[0] == 0 && host.bar[25] == 1 && host.bar[1250] == 50 && host.bar[2500] == 100);
    ExpectFinished("ACQUIRE:STATE RUN;:UNLOCK ALL\r", 4);
    ExpectNothingToFetch();
}

TEST_F(Tds224Driver, TwoPlotsHalveTheBarAndATrailingIdentityByteIsHarmless) {
    Start(1, 2);
    FetchPlot(kId + "!", 1, char(78));  // the 52nd byte arrives in state 8
    EXPECT_TRUE(host.bar[1250] == 25 && host.bar.back() == 50);
    EXPECT_EQ("ID?\r12 1000", Step());
    host.bar.clear();
    FetchPlot(kId, 2, char(178));
    EXPECT_TRUE(host.bar[0] == 50 && host.bar[1249] == 75 && host.bar.back() == 100);
    EXPECT_TRUE(traces[0].samples[2000] == 50 && traces[1].samples[2000] == 150);
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
    ExpectPortFailure("Nie można zainicjować portu COM !");
}

TEST_F(Tds224Driver, ReplyExponentsShortRepliesAndStretch) {
    RawTrace t;
    auto parse = [&t](const char* volts, const char* time) {
        return ParseTds224Description(
            std::string("Ch1, DC coupling, ") + volts + " V/div, " + time + " s/div, 2500 points, Sample mode", t);
    };
    // Beyond -2..1 and -9..0: the power of 1000 at or below, the mantissa times 1, 10 or 100.
    ASSERT_TRUE(parse("2.0E-3", "1.0E1"));
    EXPECT_TRUE(t.voltExponent == -1 && t.voltStep == 2.0 * 0.04 && t.timeExponent == 0 && t.timeStep == 0.025);
    EXPECT_FALSE(parse("1.0E-20", "1.0E-3"));  // below femto: refused, trace kept
    EXPECT_FALSE(ParseTds224Description("coupling, 5.0E-2 V/div, 2.5E-4 s/div, mode", t));  // < 51
    EXPECT_TRUE(t.voltExponent == -1 && t.timeExponent == 0);

    static int32_t work[kTds224WorkSize];
    int32_t s[kSamples] = {0, -7, 5};
    StretchScreenRecord(s, work);  // 0,0,0,-7,-7 | -7 x5 | -7,5,5,5,5 | 5,5,5,5,0
    EXPECT_TRUE(s[0] == 0 && s[1] == -2 && s[2] == -7 && s[3] == 2 && s[4] == 4 && s[5] == 0);
    s[0] = 9;
    EXPECT_FALSE(ParseTds224Curve(Curve(0).substr(0, 2512), s, work));  // former samples, stretched
    EXPECT_TRUE(s[0] == 9 && s[1] == 4 && s[2] == -2);
}
