// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "acquisition/drivers/hm1507/CHm1507Driver.h"
#include "support/DriverFixture.h"

namespace {

const std::string kAck = "0\r\n";
const std::string kId = "ID:HM1507-2  V01            \r\n";  // 30 bytes
const std::string kMismatch = "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.";

std::string Request(char channel) { return std::string("RDWFM") + channel + ":" + std::string("\0\0\0\x08", 4); }

// "DDF:" and the 14-byte block: volts codes of both channels, probe bits, time code, magnifier.
std::string Settings(uint8_t v1, uint8_t v2, uint8_t probes, uint8_t time, uint8_t magnify) {
    std::string block(14, '\xEE');  // bytes the driver must not read
    block[0] = char(v1), block[1] = char(v2), block[2] = char(probes), block[3] = char(time), block[5] = char(magnify);
    return "DDF:" + block;
}

// The echoed request, then 2048 bytes b; the first four are 28, 128, 0, 1 and byte 1998 is 29.
std::string Waveform(char channel, char b) {
    std::string data(2048, b);
    data[0] = 28, data[1] = char(128), data[2] = 0, data[3] = 1, data[1998] = 29;
    return Request(channel) + data;
}

const std::string kSettings = Settings(9, 9, 0, 13, 0);

struct Hm1507Driver : DriverTest<CHm1507Driver> {
    // Wake-up, identity and hold acknowledged; the settings request sent.
    void UpToSettings() {
        ExpectAccepted(kAck, 11, "ID?12 2000");
        ExpectAccepted(kId, 13, "HLDWFM=114 2000");
        ExpectAccepted(kAck, 8, "DDF?\r9 2000");
    }
};

}  // namespace

TEST_F(Hm1507Driver, Plot2AloneRequestsScalesSamplesAndBar) {
    driver.m_address.port = 1, driver.m_nBaud = BaudIndexOf(19200);
    Start(0, 1);  // the bar runs from 0 to 100 for plot 2 alone
    ExpectPort(1, 19200, 2, 80);
    EXPECT_EQ(" \r5 1000", Sent());
    UpToSettings();
    // Code 0x29 (9: 1 V) with the probe bit: 10 V; time code 13 (1 ms) magnified: 0.1 ms.
    ExpectAccepted(Settings(0x29, 0x00, 0x40, 13 | 0xE0, 0x20), 6, Request('1') + "7 80000");  // binary tail too
    EXPECT_EQ(std::tuple(traces[1].timeExponent, traces[1].voltExponent, traces[1].voltStep), std::tuple(0, 0, 0.4));
    EXPECT_DOUBLE_EQ(traces[1].timeStep, 2.5e-7);
    ExpectAccepted(Waveform('1', char(100)), 4, "HLDWFM=015 2000");
    // Bytes 28, 128, 0, 1: even samples 0, 100, -28, -27; odd ones the truncated mean.
    EXPECT_EQ(At(traces[1].samples, {0, 1, 2, 3, 4, 5, 6, 3996, 3997, 3998, 3999}),
              (std::vector<int32_t>{0, 50, 100, 36, -28, -27, -27, 1, 36, 72, 72}));
    EXPECT_EQ(host.bar.size(), 2059u);  // the start, then one position a byte up to the 2058th
    EXPECT_EQ(At(host.bar, {0, 19, 20, 1000, 2000, 2058}), (std::vector<int32_t>{0, 0, 1, 50, 100, 100}));
    ExpectAccepted(kAck, 16);
    ExpectFinished("RM0\r\n", 7);
    ExpectPortFailureAndNothingToFetch("Nie można zainicjować portu COM !");
}

TEST_F(Hm1507Driver, SilentWakeUpAndTwoPlotsFromOneSettingsRequest) {
    Start(2, 1);
    host.FireReplyTimer();  // no answer to the wake-up: the identity request goes out at once
    EXPECT_EQ("ID?12 2000", Sent());
    EXPECT_EQ(std::tuple(host.messages.boxes.size(), host.stepTimer), std::tuple(0u, -1));
    // Channel 2: code 10 (2 V), probe bit 4 set; channel 1: code 5 (50 mV), bit 64 clear.
    // Time code 31 lies beyond the table: taken as the slowest setting, 100 s.
    Feed({kId, kAck, Settings(0x05, 0x0A, 0x04, 31, 0x00)});
    EXPECT_EQ(Scales(traces[0]), std::tuple(0, 0.25, 0, 0.8));
    EXPECT_EQ(Request('2') + "7 80000", Step());
    host.Receive(Waveform('2', char(78)));
    EXPECT_EQ(At(host.bar, {1000, -1}), (std::vector<int32_t>{25, 50}));
    host.bar.clear();
    EXPECT_EQ(Request('1') + "7 80000", Step());  // straight to the second waveform, the block already read
    EXPECT_EQ(Scales(traces[1]), std::tuple(0, 0.25, 0, 0.002));
    host.Receive(Waveform('1', char(178)));
    EXPECT_EQ(At(host.bar, {0, 1000, -1}), (std::vector<int32_t>{50, 75, 100}));
    EXPECT_EQ(std::tuple(traces[0].samples[2000], traces[1].samples[2000]), std::tuple(50, 150));
    host.FireStepTimer(), host.Receive(kAck);
    ExpectFinished("RM0\r\n", 8);
}

TEST_F(Hm1507Driver, TimeoutMessagesPerStateAndRejectedReplies) {
    Start(1, 0);
    Feed({kAck, "ID:HM1507-2   V01            \r\n"});  // 31 bytes, the extra one inside
    EXPECT_EQ(12, driver.m_nState);
    const std::string acquiring = "Błąd komunikacyjny przy akwizycji danych !";
    ExpectTimeoutAfter({kAck, kId.substr(0, 29)}, kMismatch);  // left as it was: no release, no local request
    // A trailing 31st byte is counted into the hold's acknowledge, which then never fits.
    ExpectTimeoutAfter({kAck, kId + "!", kAck}, "Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.");
    ExpectTimeoutAfter({kAck, kId}, "Inny błąd !");  // state 13, its step still due
    ExpectTimeoutAfter({kAck, kId, kAck, "DDF;" + kSettings.substr(4)},
                       "Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !");
    ExpectTimeoutAfter({kAck, kId, kAck, kSettings, Waveform('1', 0).substr(0, 2058)}, acquiring);
    ExpectTimeoutAfter({kAck, kId, kAck, kSettings, Waveform('1', 0), "0\n\r"},
                       "Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.");

    // No channel 3 on this model: nothing is asked for and the acquisition times out.
    Start(3, 0);
    Feed({kAck, kId, kAck, kSettings});
    EXPECT_EQ("DDF?\r7 80000", Step());
    ExpectTimeout(acquiring, 3, 4);
}

TEST_F(Hm1507Driver, CodesOutsideTheTablesAndShortWaveforms) {
    // Outside the tables the nearest setting stands: volts 14, 15 are 20 V; time 0..2 are
    // 0.5 µs, 29..31 are 100 s.
    EXPECT_EQ(std::tuple(Hm1507VoltsPerDivision(0), Hm1507VoltsPerDivision(15)), std::tuple(0.001, 20.0));
    EXPECT_EQ(std::tuple(Hm1507TimePerDivision(2), Hm1507TimePerDivision(29)), std::tuple(0.5e-6, 100.0));
    int32_t s[kSamples] = {7};
    EXPECT_FALSE(ParseHm1507Waveform(std::string(2010, 'x'), s));  // 1999 bytes after the echo
    EXPECT_EQ(7, s[0]);
}
