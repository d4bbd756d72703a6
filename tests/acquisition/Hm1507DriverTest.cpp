#include <gtest/gtest.h>

#include "acquisition/drivers/hm1507/CHm1507Driver.h"
#include "support/FakeProgressHost.h"

namespace {

const std::string kAck = "0\r\n";
const std::string kId = "ID:HM1507-2  V01            \r\n";  // 30 bytes
const std::string kMismatch = "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.";

std::string Request(char channel) { return std::string("RDWFM") + channel + ":" + std::string("\0\0\0\x08", 4); }

// "DDF:" and the 14-byte block: volts codes of both channels, probe bits, time code, magnifier.
std::string Settings(uint8_t v1, uint8_t v2, uint8_t probes, uint8_t time, uint8_t magnifier) {
    std::string block(14, '\xEE');  // bytes the driver must not read
    block[0] = char(v1), block[1] = char(v2), block[2] = char(probes), block[3] = char(time), block[5] = char(magnifier);
    return "DDF:" + block;
}

// The echoed request, then 2048 bytes b; the first four are 28, 128, 0, 1 and byte 1998 is 29.
std::string Waveform(char channel, char b) {
    std::string data(2048, b);
    data[0] = 28, data[1] = char(128), data[2] = 0, data[3] = 1, data[1998] = 29;
    return Request(channel) + data;
}

struct Hm1507Driver : ::testing::Test {
    RawTrace traces[2];
    CHm1507Driver driver{traces};
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
    // Wake-up, identity and hold acknowledged; the settings request sent.
    void UpToSettings(const std::string& id = kId) {
        host.Receive(kAck);
        EXPECT_TRUE(driver.m_nState == 11 && host.stepTimer == 500 && host.replyTimer == -1);
        host.FireStepTimer();
        EXPECT_EQ("ID?12 2000", Sent());
        host.Receive(id);
        ASSERT_EQ(13, driver.m_nState);
        host.FireStepTimer();
        EXPECT_EQ("HLDWFM=114 2000", Sent());
        host.Receive(kAck);
        ASSERT_EQ(8, driver.m_nState);
        host.FireStepTimer();
        EXPECT_EQ("DDF?\r9 2000", Sent());
    }
    void ToWaveform(int channel) {
        Start(channel, 0), UpToSettings(), host.Receive(Settings(9, 9, 0, 13, 0)), host.FireStepTimer();
    }
    void ExpectTimeout(const std::string& text, int state) {
        host.FireReplyTimer();
        ASSERT_EQ(1u, host.messages.boxes.size());
        const auto& box = host.messages.boxes[0];
        EXPECT_TRUE(box.text == text && box.caption == "Uwaga" && box.icon == MsgIcon::Error) << box.text;
        EXPECT_TRUE(driver.m_nState == state && host.ended == 0 && host.replyTimer == -1 && host.port.closed);
    }
};

}  // namespace

TEST_F(Hm1507Driver, OnePlotRequestsScalesSamplesAndBar) {
    EXPECT_TRUE(driver.m_strAck == kAck && driver.m_strLineEnd == "\r\n" && std::string(driver.Model().name) == "HAMEG 1507");
    driver.m_nPortNumber = 1, driver.m_nBaudIndex = 8;
    Start(1, 0);
    const FakePortLog& p = host.port;
    EXPECT_TRUE(p.opened && p.port == 1 && p.baud == 19200 && p.parity == 'N' && p.dataBits == 8 &&
                p.stopBits == 2 && p.eventMask == 9 && p.writeBuffer == 80);
    EXPECT_EQ(" \r5 1000", Sent());
    UpToSettings();
    // Code 0x29 (9: 1 V) with the probe bit: 10 V; time code 13 (1 ms) magnified: 0.1 ms.
    host.Receive(Settings(0x29, 0x00, 0x40, 13 | 0xE0, 0x20));
    const RawTrace& t = traces[0];
    EXPECT_TRUE(driver.m_nState == 6 && host.replyTimer == -1 && host.stepTimer == 500 && t.voltExponent == 0 &&
                t.timeExponent == 0);
    EXPECT_DOUBLE_EQ(0.4, t.voltStep);
    EXPECT_DOUBLE_EQ(2.5e-7, t.timeStep);
    host.FireStepTimer();
    EXPECT_EQ(Request('1') + "7 80000", Sent());  // 11 bytes, binary tail included
    host.Receive(Waveform('1', char(100)));
    EXPECT_TRUE(driver.m_nState == 4 && host.replyTimer == -1 && host.stepTimer == 500);
    // Bytes 28, 128, 0, 1: even samples 0, 100, -28, -27; odd ones the truncated mean.
    const int32_t* s = t.samples;
    EXPECT_TRUE(s[0] == 0 && s[1] == 50 && s[2] == 100 && s[3] == 36 && s[4] == -28 && s[5] == -27 && s[6] == -27);
    EXPECT_TRUE(s[3996] == 1 && s[3997] == 36 && s[3998] == 72 && s[3999] == 72);
    ASSERT_EQ(2059u, host.bar.size());  // the start, then one position a byte up to the 2058th
    EXPECT_TRUE(host.bar[0] == 0 && host.bar[19] == 0 && host.bar[20] == 1 && host.bar[1000] == 50 &&
                host.bar[2000] == 100 && host.bar[2058] == 100);
    host.FireStepTimer();
    EXPECT_EQ("HLDWFM=015 2000", Sent());
    host.Receive(kAck);
    EXPECT_TRUE(driver.m_nState == 16 && host.stepTimer == 500);
    host.FireStepTimer();
    EXPECT_EQ("RM0\r\n", host.LastSent());
    EXPECT_TRUE(p.closed && driver.m_nState == 0 && host.ended == 0 && host.replyTimer == -1);
    EXPECT_TRUE(host.messages.boxes.empty() && p.sent.size() == 7);

    Start(0, 0);  // nothing to fetch: cancelled at once, no port
    EXPECT_TRUE(driver.m_nState == 0 && host.ended == kDialogCancel && p.sent.size() == 7);
}

TEST_F(Hm1507Driver, SilentWakeUpAndTwoPlotsFromOneSettingsRequest) {
    Start(2, 1);
    host.FireReplyTimer();  // no answer to the wake-up: the identity request goes out at once
    EXPECT_EQ("ID?12 2000", Sent());
    EXPECT_TRUE(host.messages.boxes.empty() && host.stepTimer == -1);
    host.Receive(kId), host.FireStepTimer(), host.Receive(kAck), host.FireStepTimer();
    // Channel 2: code 10 (2 V), probe bit 4 set; channel 1: code 5 (50 mV), bit 64 clear.
    // Time code 31 lies beyond the table: taken as the slowest setting, 100 s.
    host.Receive(Settings(0x05, 0x0A, 0x04, 31, 0x00));
    EXPECT_DOUBLE_EQ(0.8, traces[0].voltStep);
    EXPECT_DOUBLE_EQ(0.25, traces[0].timeStep);
    host.FireStepTimer();
    EXPECT_EQ(Request('2') + "7 80000", Sent());
    host.Receive(Waveform('2', char(78)));
    EXPECT_TRUE(host.bar[1000] == 25 && host.bar.back() == 50);
    host.bar.clear();
    host.FireStepTimer();  // straight to the second waveform, with the block already read
    EXPECT_EQ(Request('1') + "7 80000", Sent());
    EXPECT_DOUBLE_EQ(0.002, traces[1].voltStep);
    EXPECT_DOUBLE_EQ(0.25, traces[1].timeStep);
    host.Receive(Waveform('1', char(178)));
    EXPECT_TRUE(host.bar[0] == 50 && host.bar[1000] == 75 && host.bar.back() == 100);
    EXPECT_TRUE(traces[0].samples[2000] == 50 && traces[1].samples[2000] == 150);
    host.FireStepTimer(), host.Receive(kAck), host.FireStepTimer();
    EXPECT_EQ(1, std::count(host.port.sent.begin(), host.port.sent.end(), "DDF?\r"));
    EXPECT_TRUE(host.port.sent.size() == 8 && host.LastSent() == "RM0\r\n" && host.ended == 0);
}

TEST_F(Hm1507Driver, TimeoutMessagesPerStateAndRejectedReplies) {
    Start(1, 0);
    host.Receive(kAck), host.FireStepTimer();
    host.Receive("ID:HM1507-2   V01            \r\n");  // 31 bytes, the extra one inside
    EXPECT_EQ(12, driver.m_nState);
    Start(1, 0);
    host.Receive(kAck), host.FireStepTimer();
    host.Receive(kId.substr(0, 29));
    ExpectTimeout(kMismatch, 3);
    EXPECT_EQ(2u, host.port.sent.size());  // left as it was: no release, no local request

    // A trailing 31st byte is counted into the hold's acknowledge, which then never fits.
    Start(1, 0);
    host.Receive(kAck), host.FireStepTimer(), host.Receive(kId + "!");
    EXPECT_EQ(13, driver.m_nState);
    host.FireStepTimer(), host.Receive(kAck);
    ExpectTimeout("Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.", 3);

    Start(1, 0);
    host.Receive(kAck), host.FireStepTimer(), host.Receive(kId);
    ExpectTimeout("Inny błąd !", 3);  // state 13, its step still due

    Start(1, 0);
    UpToSettings();
    host.Receive("DDF;" + Settings(9, 9, 0, 13, 0).substr(4));
    ExpectTimeout("Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !", 3);

    ToWaveform(1);
    host.Receive(Waveform('1', 0).substr(0, 2058));
    ExpectTimeout("Błąd komunikacyjny przy akwizycji danych !", 3);

    ToWaveform(1);
    host.Receive(Waveform('1', 0)), host.FireStepTimer(), host.Receive("0\n\r");
    ExpectTimeout("Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.", 3);

    // No channel 3 on this model: nothing is asked for and the acquisition times out.
    ToWaveform(3);
    EXPECT_EQ("DDF?\r7 80000", Sent());
    ExpectTimeout("Błąd komunikacyjny przy akwizycji danych !", 3);

    host.port.openFails = true;
    Start(1, 0);
    EXPECT_TRUE(driver.m_nState == 10 && host.replyTimer == 100 && host.port.sent.empty());
    ExpectTimeout("Nie można zainicjować portu COM !", 10);
}

TEST_F(Hm1507Driver, CodesOutsideTheTablesAndShortWaveforms) {
    // Outside the tables the nearest setting stands: volts 14, 15 are 20 V; time 0..2 are
    // 0.5 µs, 29..31 are 100 s.
    EXPECT_TRUE(Hm1507VoltsPerDivision(0) == 0.001 && Hm1507VoltsPerDivision(15) == 20 &&
                Hm1507TimePerDivision(2) == 0.5e-6 && Hm1507TimePerDivision(29) == 100);
    int32_t s[kSamples] = {7};
    EXPECT_FALSE(ParseHm1507Waveform(std::string(2010, 'x'), s));  // 1999 bytes after the echo
    EXPECT_EQ(7, s[0]);
}
