#include <gtest/gtest.h>

#include "acquisition/drivers/lt224/CLt224Driver.h"
#include "support/FakeProgressHost.h"

namespace {

const std::string kIdentity = "LECROY,LT224 ,LT22400308,08.3.0";
// The echoed request, CR LF, the identity, LF CR: accepted at its 57th byte.
const std::string kIdReply = "TRMD STOP;CHDR OFF;*IDN?\r\n" + kIdentity + "\n\r";
const std::string kMismatch =
    "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony lub\n sprawdź czy "
    "ustawienia portu oscyloskopu zgadzają się z ustawieniami portu w programie.";

std::string Settings(int n, const std::string& values) {
    const std::string c = "C" + std::to_string(n);
    return c + ":TRA ON;TIME_DIV?;" + c + ":Volt_DIV?\r\n" + values + "\n\r";
}

// 34 header characters, bytes 80, 7F, fill ..., FF, 7F in hexadecimal, 6 more: 5040.
std::string Waveform(const std::string& fill) {
    std::string data = "807F";
    for (int i = 2; i < 2498; ++i) data += fill;
    return "C1:WF? DAT1\r\nC1:DAT1,#9000005004\r\n" + data + "FF7F" + "0000\n\r";
}

struct Lt224Driver : ::testing::Test {
    RawTrace traces[2];
    CLt224Driver driver{traces};
    FakeProgressHost host;
    void Start(int ch1, int ch2) {
        host.messages.boxes.clear(), host.ended = -1;
        driver.m_nPlot1Channel = uint8_t(ch1), driver.m_nPlot2Channel = uint8_t(ch2);
        host.Start(driver);
    }
    // The last request, then the state and the reply timer.
    std::string Sent() {
        return host.LastSent() + std::to_string(driver.m_nState) + " " + std::to_string(host.replyTimer);
    }
    // One plot from the identity reply on: each request, state and timer.
    void FetchPlot(int n, const std::string& values, const std::string& fill) {
        host.Receive(kIdReply.substr(0, 56));
        EXPECT_EQ(12, driver.m_nState);
        host.Receive(kIdReply.substr(56));
        EXPECT_TRUE(driver.m_nState == 8 && host.stepTimer == 500 && host.replyTimer == -1);
        host.FireStepTimer();
        const std::string c = "C" + std::to_string(n);
        EXPECT_EQ(c + ":TRA ON;TIME_DIV?;" + c + ":Volt_DIV?\r9 2000", Sent());
        host.Receive(Settings(n, values));
        EXPECT_TRUE(driver.m_nState == 6 && host.stepTimer == 500 && host.replyTimer == -1);
        host.FireStepTimer();
        EXPECT_EQ("CFMT OFF,BYTE,HEX;MSIZ 2500;" + c + ":WF? DAT1\r7 80000", Sent());
        host.Receive(Waveform(fill));
        EXPECT_TRUE(driver.m_nState == 4 && host.replyTimer == -1 && host.stepTimer == 500);
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

TEST_F(Lt224Driver, OnePlotRequestsScalesSamplesAndBar) {
    driver.m_nPortNumber = 5, driver.m_nBaudIndex = 8;
    Start(3, 0);
    const FakePortLog& p = host.port;
    EXPECT_TRUE(p.opened && p.port == 5 && p.baud == 19200 && p.parity == 'N' && p.dataBits == 8 &&
                p.stopBits == 1 && p.eventMask == 9 && p.writeBuffer == 200);
    EXPECT_EQ("TRMD STOP;CHDR OFF;*IDN?\r12 1000", Sent());
    FetchPlot(3, "500E-6;50E-3", "00");
    const RawTrace& t = traces[0];
    EXPECT_TRUE(t.timeExponent == -2 && t.timeStep == 1.25 && t.voltExponent == -1 && t.voltStep == 2.0);
    // Bytes 80, 7F, 00 ..., FF, 7F are 0, 200, 100 ..., 99, 200, each spread over 1.6 samples.
    const int32_t* s = t.samples;
    EXPECT_TRUE(s[0] == 0 && s[1] == 80 && s[2] == 200 && s[3] == 120 && s[4] == 100);
    EXPECT_TRUE(s[3996] == 99 && s[3997] == 99 && s[3998] == 159 && s[3999] == 200);
    ASSERT_EQ(5040u, host.bar.size());  // the start, then one position a byte up to the 5039th
    EXPECT_TRUE(host.bar[49] == 0 && host.bar[50] == 1 && host.bar[2500] == 50 && host.bar[5000] == 100 &&
                host.bar[5039] == 100);
    host.FireStepTimer();
    EXPECT_EQ("TRMD AUTO\r", p.sent.back());
    EXPECT_TRUE(p.sent.size() == 4 && p.closed && driver.m_nState == 0 && host.ended == 0);
    EXPECT_TRUE(host.messages.boxes.empty());

    Start(0, 0);  // nothing to fetch: cancelled at once, no port
    EXPECT_TRUE(driver.m_nState == 0 && host.ended == kDialogCancel && p.sent.size() == 4);
}

TEST_F(Lt224Driver, TwoPlotsHalveTheBarAndAskAgainForTheIdentity) {
    Start(1, 2);
    FetchPlot(1, "500E-6;50E-3", "00");
    EXPECT_TRUE(host.bar[2500] == 25 && host.bar.back() == 50);
    host.FireStepTimer();
    EXPECT_EQ("TRMD STOP;CHDR OFF;*IDN?\r12 1000", Sent());
    host.bar.clear();
    FetchPlot(2, "1E-3;2E0", "C0");  // C0 is -64: code 64, sample 50
    EXPECT_TRUE(host.bar[0] == 50 && host.bar[2499] == 75 && host.bar.back() == 100);
    EXPECT_TRUE(traces[0].samples[2000] == 100 && traces[1].samples[2000] == 50);
    EXPECT_TRUE(traces[1].timeExponent == -1 && traces[1].timeStep == 0.0025 && traces[1].voltExponent == 0 &&
                traces[1].voltStep == 0.08 && traces[0].voltStep == 2.0);
    host.FireStepTimer();
    EXPECT_TRUE(host.port.sent.size() == 7 && host.LastSent() == "TRMD AUTO\r" && host.ended == 0);
}

TEST_F(Lt224Driver, TimeoutMessagesPerStateAndRejectedReplies) {
    Start(1, 0);
    std::string other = kIdReply;
    other[26 + 22] = '9';  // serial number LT22400309
    host.Receive(other);
    ExpectTimeout(kMismatch, 3);
    EXPECT_EQ(1u, host.port.sent.size());  // the trigger stays stopped

    Start(1, 0);
    host.Receive(kIdentity + "\n\r");  // right text, too few bytes to be looked at
    ExpectTimeout(kMismatch, 3);

    Start(1, 0);
    host.Receive(kIdReply);
    ExpectTimeout("Inny błąd !", 3);  // state 8, its step still due

    Start(1, 0);
    host.Receive(kIdReply), host.FireStepTimer();
    const std::string settings = Settings(1, "500E-6;50E-3");
    host.Receive(settings.substr(0, settings.size() - 1));  // ends in LF, not LF CR
    ExpectTimeout("Błąd przy zapytaniu o ustawienia oscyloskopu !", 3);

    Start(1, 0);
    host.Receive(kIdReply), host.FireStepTimer(), host.Receive(settings), host.FireStepTimer();
    host.Receive(Waveform("00").substr(0, 5039));
    ExpectTimeout("Błąd przy akwizycji danych !", 3);

    host.port.openFails = true;
    Start(1, 0);
    EXPECT_TRUE(driver.m_nState == 10 && host.replyTimer == 100 && host.port.sent.empty());
    ExpectTimeout("Nie można zainicjować portu COM !", 10);
}

TEST_F(Lt224Driver, IdentityAndSettingsConditions) {
    std::string reply = kIdReply.substr(0, 53);
    EXPECT_FALSE(Lt224IdentityAccepted(kLt224IdentityRequest, reply, 53));
    EXPECT_EQ(53u, reply.size());  // not cut before the 54th byte
    reply += kIdReply.substr(53, 1);
    EXPECT_FALSE(Lt224IdentityAccepted(kLt224IdentityRequest, reply, 54));
    EXPECT_EQ(kIdReply.substr(23, 31), reply);  // cut to the last 31 and kept so
    reply += kIdReply.substr(54, 3);
    EXPECT_TRUE(Lt224IdentityAccepted(kLt224IdentityRequest, reply, 57));
    reply = kIdentity;
    EXPECT_FALSE(Lt224IdentityAccepted("TRMD STOP;CHDR OFF;*IDN?", reply, 57));  // no CR: no identity request
    EXPECT_FALSE(Lt224IdentityAccepted("*IDN?\r", reply, 57));

    const std::string request = Lt224SettingsRequest(4), good = Settings(4, "500E-6;50E-3");
    EXPECT_TRUE(Lt224SettingsComplete(request, good, 37));
    EXPECT_FALSE(Lt224SettingsComplete(request, good, 36));
    EXPECT_FALSE(Lt224SettingsComplete("C4:TRA ON;TIME_DIV?;\r", good, 48));  // request of 21 compared whole
    EXPECT_FALSE(Lt224SettingsComplete(request, "C4:TRA OFF;TIME_DIV?;C4:Volt_DIV?\r\n500E-6;50E-3\n\r", 49));
    EXPECT_FALSE(Lt224SettingsComplete(request, good.substr(0, good.size() - 2) + "\r\n", 48));
}

TEST_F(Lt224Driver, SettingsExponentsHexCodesAndRefusedWaveforms) {
    RawTrace t;
    EXPECT_TRUE(ParseLt224Settings("C1\r\n500E-6;50E-3\n\r", t));
    EXPECT_TRUE(t.timeExponent == -2 && t.timeStep == 1.25 && t.voltExponent == -1 && t.voltStep == 2.0);
    // Powers of 1000 keep the mantissa; other exponents scale it to the power at or below.
    ASSERT_TRUE(ParseLt224Settings("C1\r\n5E-9;2E3\n\r", t));
    EXPECT_TRUE(t.timeExponent == -3 && t.timeStep == 0.0125 && t.voltExponent == 1 && t.voltStep == 0.08);
    ASSERT_TRUE(ParseLt224Settings("C1\r\n2.5E-5;5E-2\n\r", t));
    EXPECT_TRUE(t.timeExponent == -2 && t.timeStep == 25 * 0.0025 && t.voltExponent == -1 && t.voltStep == 2.0);
    EXPECT_FALSE(ParseLt224Settings("C1\r\n1E-18;1E0\n\r", t));  // below femto
    EXPECT_FALSE(ParseLt224Settings("C1\r\nE-3;1E0\n\r", t));    // no mantissa
    EXPECT_FALSE(ParseLt224Settings("C1\r\n1E-3 1E0\n\r", t));   // no ";"
    EXPECT_FALSE(ParseLt224Settings("\r\n1E-3;1\n\r", t));       // 10 characters
    EXPECT_TRUE(t.timeExponent == -2 && t.timeStep == 25 * 0.0025);  // trace kept

    EXPECT_TRUE(Lt224OffsetCode(0x00) == 128 && Lt224OffsetCode(0x7F) == 255 && Lt224OffsetCode(0x80) == 0 &&
                Lt224OffsetCode(0xFF) == 127);
    EXPECT_TRUE(Lt224Sample(0x00) == 100 && Lt224Sample(0x7F) == 200 && Lt224Sample(0x80) == 0 &&
                Lt224Sample(0xFF) == 99);

    static int32_t work[kLt224WorkSize], bytes[kLt224Points];
    int32_t s[kSamples] = {9, -7, 5};
    std::string garbled = Waveform("00");
    garbled[34 + 3000] = 'G';  // not a hexadecimal digit: refused, former samples stretched
    EXPECT_FALSE(ParseLt224Waveform(garbled, s, bytes, work));
    EXPECT_TRUE(s[0] == 9 && s[1] == 2 && s[2] == -7 && s[3] == 2 && s[4] == 4 && s[5] == 0);
    garbled = Waveform("ab");  // lower case is no digit of the instrument's either
    s[0] = 7;
    EXPECT_FALSE(ParseLt224Waveform(garbled, s, bytes, work));
    EXPECT_EQ(7, s[0]);
    EXPECT_FALSE(ParseLt224Waveform(Waveform("00").substr(0, 5033), s, bytes, work));  // 4999 digits
    EXPECT_TRUE(ParseLt224Waveform(Waveform("00").substr(0, 5034), s, bytes, work));
    EXPECT_TRUE(s[0] == 0 && s[2] == 200 && s[2000] == 100);
}
