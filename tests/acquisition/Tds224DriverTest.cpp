#include <gtest/gtest.h>

#include "acquisition/drivers/tds224/CTds224Driver.h"
#include "support/FakeProgressHost.h"

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

struct Tds224Driver : ::testing::Test {
    RawTrace traces[2];
    CTds224Driver driver{traces};
    FakeProgressHost host;
    void Start(int ch1, int ch2) {
        host.messages.boxes.clear(), host.ended = -1;
        driver.m_nPlot1Channel = uint8_t(ch1), driver.m_nPlot2Channel = uint8_t(ch2);
        host.Start(driver);
    }
    // One plot from the identity reply on: each request, state and reply timer.
    void FetchPlot(const std::string& id, int channel, char curveByte) {
        host.Receive(id);
        EXPECT_TRUE(driver.m_nState == 8 && host.stepTimer == 500 && host.replyTimer == -1);
        const std::string n = std::to_string(channel);
        host.FireStepTimer();
        EXPECT_EQ("SELECT:CH" + n + " ON;:DATA:SOURCE CH" + n + ";:WFMPRE:WFID?\r" + "9 2000", Sent());
        host.Receive(kDescription);
        ASSERT_EQ(6, driver.m_nState);
        host.FireStepTimer();
        EXPECT_EQ("HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r7 60000", Sent());
        host.Receive(Curve(curveByte));
        EXPECT_TRUE(driver.m_nState == 4 && host.replyTimer == -1 && host.stepTimer == 500);
    }
    // The last request, then the state and the reply timer.
    std::string Sent() {
        return host.LastSent() + std::to_string(driver.m_nState) + " " + std::to_string(host.replyTimer);
    }
    void ExpectTimeout(const std::string& text, int state) {
        host.FireReplyTimer();
        ASSERT_EQ(1u, host.messages.boxes.size());
        const auto& box = host.messages.boxes[0];
        EXPECT_TRUE(box.text == text && box.caption == "Uwaga" && box.icon == MsgIcon::Error);
        EXPECT_TRUE(driver.m_nState == state && host.ended == 0 && host.replyTimer == -1 && host.port.closed);
    }
};

}  // namespace

TEST_F(Tds224Driver, OnePlotRequestsScalesSamplesAndBar) {
    driver.m_nPortNumber = 3, driver.m_nBaudIndex = 5;
    Start(4, 0);
    const FakePortLog& p = host.port;
    EXPECT_TRUE(p.opened && p.port == 3 && p.baud == 2400 && p.parity == 'N' && p.dataBits == 8 &&
                p.stopBits == 1 && p.eventMask == 9 && p.writeBuffer == 80);
    EXPECT_EQ("ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r12 1000", Sent());
    FetchPlot(kId, 4, char(128));
    const RawTrace& t = traces[0];
    EXPECT_TRUE(t.voltExponent == -1 && t.voltStep == 2.0 && t.timeExponent == -2 && t.timeStep == 0.625);
    // Bytes 28, 128, ..., 128, 255 are 0, 100, ..., 100, 227, each spread over 1.6 samples.
    const int32_t* s = t.samples;
    EXPECT_TRUE(s[0] == 0 && s[1] == 40 && s[2] == 100 && s[3998] == 176 && s[3999] == 227);
    ASSERT_EQ(2515u, host.bar.size());  // the start, then one position a byte up to the 2514th
    EXPECT_TRUE(host.bar[0] == 0 && host.bar[25] == 1 && host.bar[1250] == 50 && host.bar[2500] == 100);
    host.FireStepTimer();
    EXPECT_EQ("ACQUIRE:STATE RUN;:UNLOCK ALL\r", p.sent.back());
    EXPECT_TRUE(p.closed && driver.m_nState == 0 && host.ended == 0 && host.messages.boxes.empty());

    Start(0, 0);  // nothing to fetch: cancelled at once, no port
    EXPECT_TRUE(driver.m_nState == 0 && host.ended == kDialogCancel && p.sent.size() == 4);
}

TEST_F(Tds224Driver, TwoPlotsHalveTheBarAndATrailingIdentityByteIsHarmless) {
    Start(1, 2);
    FetchPlot(kId + "!", 1, char(78));  // the 52nd byte arrives in state 8
    EXPECT_TRUE(host.bar[1250] == 25 && host.bar.back() == 50);
    host.FireStepTimer();
    EXPECT_EQ("ID?\r12 1000", Sent());
    host.bar.clear();
    FetchPlot(kId, 2, char(178));
    EXPECT_TRUE(host.bar[0] == 50 && host.bar[1249] == 75 && host.bar.back() == 100);
    EXPECT_TRUE(traces[0].samples[2000] == 50 && traces[1].samples[2000] == 150);
    host.FireStepTimer();
    EXPECT_TRUE(host.port.sent.size() == 7 && host.LastSent() == "ACQUIRE:STATE RUN;:UNLOCK ALL\r");
}

TEST_F(Tds224Driver, TimeoutMessagesPerStateAndRejectedReplies) {
    Start(1, 0);
    host.Receive("I" + kId);  // 52 bytes, the extra one inside
    EXPECT_EQ(12, driver.m_nState);
    Start(1, 0);
    host.Receive(kId.substr(0, 50));
    ExpectTimeout("Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony lub\n sprawdź czy "
                  "ustawienia portu oscyloskopu zgadzają się z ustawieniami portu w programie.", 3);
    EXPECT_EQ(1u, host.port.sent.size());  // left stopped and locked

    Start(1, 0);
    host.Receive(kId);
    ExpectTimeout("Inny błąd !", 3);  // state 8, its step still due

    Start(1, 0);
    host.Receive(kId), host.FireStepTimer();
    host.Receive(kDescription.substr(0, kDescription.size() - 1));  // "... Sample mod"
    ExpectTimeout("Błąd przy zapytaniu o ustawienia oscyloskopu !", 3);

    Start(1, 0);
    host.Receive(kId), host.FireStepTimer(), host.Receive(kDescription), host.FireStepTimer();
    host.Receive(Curve(0).substr(0, 2514));
    ExpectTimeout("Błąd przy akwizycji danych !", 3);

    host.port.openFails = true;
    Start(1, 0);
    EXPECT_TRUE(driver.m_nState == 10 && host.replyTimer == 100 && host.port.sent.empty());
    ExpectTimeout("Nie można zainicjować portu COM !", 10);
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
