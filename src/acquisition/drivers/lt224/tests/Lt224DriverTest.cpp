// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "acquisition/drivers/lt224/CLt224Driver.h"
#include "support/DriverFixture.h"

namespace {

const std::string kIdentity = "LECROY,LT224 ,LT22400308,08.3.0";
// The echoed request, CR LF, the identity, LF CR: accepted at its 57th byte.
const std::string kIdReply = "TRMD STOP;CHDR OFF;*IDN?\r\n" + kIdentity + "\n\r";

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

struct Lt224Driver : DriverTest<CLt224Driver> {
    // One plot from the identity reply on: each request, state and timer.
    void FetchPlot(int n, const std::string& values, const std::string& fill) {
        host.Receive(kIdReply.substr(0, 56));
        EXPECT_EQ(12, driver.m_nState);
        const std::string c = "C" + std::to_string(n);
        ExpectAccepted(kIdReply.substr(56), 8, c + ":TRA ON;TIME_DIV?;" + c + ":Volt_DIV?\r9 2000");
        ExpectAccepted(Settings(n, values), 6, "CFMT OFF,BYTE,HEX;MSIZ 2500;" + c + ":WF? DAT1\r7 80000");
        ExpectAccepted(Waveform(fill), 4);
    }
};

}  // namespace

TEST_F(Lt224Driver, TwoPlotsRequestsScalesSamplesAndBar) {
    driver.m_address.port = 5, driver.m_nBaud = BaudIndexOf(19200);
    Start(3, 2);
    ExpectPort(5, 19200, 1, 200);
    EXPECT_EQ("TRMD STOP;CHDR OFF;*IDN?\r12 1000", Sent());
    FetchPlot(3, "500E-6;50E-3", "00");
    EXPECT_EQ(Scales(traces[0]), std::tuple(-2, 1.25, -1, 2.0));
    // Bytes 80, 7F, 00 ..., FF, 7F are 0, 200, 100 ..., 99, 200, each spread over 1.6 samples.
    EXPECT_EQ(At(traces[0].samples, {0, 1, 2, 3, 4, 3996, 3997, 3998, 3999}),
              (std::vector<int32_t>{0, 80, 200, 120, 100, 99, 99, 159, 200}));
    // The start, then one position a byte up to the 5039th; plot 1 takes the first half.
    EXPECT_EQ(host.bar.size(), 5040u);
    EXPECT_EQ(At(host.bar, {99, 100, 2500, 5000, 5039}), (std::vector<int32_t>{0, 1, 25, 50, 50}));
    EXPECT_EQ("TRMD STOP;CHDR OFF;*IDN?\r12 1000", Step());  // the identity again
    host.bar.clear();
    FetchPlot(2, "1E-3;2E0", "C0");  // C0 is -64: code 64, sample 50
    EXPECT_EQ(At(host.bar, {0, 2499, -1}), (std::vector<int32_t>{50, 75, 100}));
    EXPECT_EQ(traces[1].samples[2000], 50);
    EXPECT_EQ(Scales(traces[1]), std::tuple(-1, 0.0025, 0, 0.08));
    ExpectFinished("TRMD AUTO\r", 7);
    ExpectPortFailureAndNothingToFetch("Nie można zainicjować portu COM !");
}

TEST_F(Lt224Driver, TimeoutMessagesPerStateAndRejectedReplies) {
    std::string other = kIdReply;
    other[26 + 22] = '9';  // serial number LT22400309
    const std::string settings = Settings(1, "500E-6;50E-3");
    ExpectTimeoutAfter({other}, kModelMismatch);                    // the trigger stays stopped
    ExpectTimeoutAfter({kIdentity + "\n\r"}, kModelMismatch);        // right text, too few bytes to be looked at
    ExpectTimeoutAfter({kIdReply}, "Inny błąd !");                  // state 8, its step still due
    ExpectTimeoutAfter({kIdReply, settings.substr(0, settings.size() - 1)},  // ends in LF, not LF CR
                       "Błąd przy zapytaniu o ustawienia oscyloskopu !");
    ExpectTimeoutAfter({kIdReply, settings, Waveform("00").substr(0, 5039)}, "Błąd przy akwizycji danych !");
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

TEST_F(Lt224Driver, SettingsExponentsHexCodesAndStrayCharacters) {
    RawTrace t;
    // Powers of 1000 keep the mantissa; other exponents scale it to the power at or below.
    ASSERT_TRUE(ParseLt224Settings("C1\r\n5E-9;2E3\n\r", t));
    EXPECT_EQ(Scales(t), std::tuple(-3, 0.0125, 1, 0.08));
    ASSERT_TRUE(ParseLt224Settings("C1\r\n2.5E-5;5E-2\n\r", t));
    EXPECT_EQ(Scales(t), std::tuple(-2, 0.0625, -1, 2.0));
    for (const char* refused : {"C1\r\n1E-18;1E0\n\r",  // below femto
                                "C1\r\nE-3;1E0\n\r",    // no mantissa
                                "C1\r\n1E-3 1E0\n\r",   // no ";"
                                "\r\n1E-3;1\n\r"})      // 10 characters
        EXPECT_FALSE(ParseLt224Settings(refused, t)) << refused;
    EXPECT_EQ(Scales(t), std::tuple(-2, 0.0625, -1, 2.0));  // kept

    for (const auto& [byte, code, sample] : {std::tuple(0x00, 128, 100), std::tuple(0x7F, 255, 200),
                                             std::tuple(0x80, 0, 0), std::tuple(0xFF, 127, 99)})
        EXPECT_EQ(std::tuple(Lt224OffsetCode(byte), Lt224Sample(byte)), std::tuple(code, sample)) << byte;

    // A stray character (lower case included) makes its byte the one before; the first byte
    // falls back to 00. 5000 characters after the header are enough.
    static int32_t work[kLt224WorkSize], bytes[kLt224Points];
    int32_t s[kSamples] = {9, -7, 5};
    EXPECT_FALSE(ParseLt224Waveform(Waveform("00").substr(0, 5033), s, bytes, work));  // 4999 digits
    EXPECT_EQ(At(s, {0, 1, 2, 3, 4, 5}), (std::vector<int32_t>{9, 2, -7, 2, 4, 0}));  // kept and stretched
    std::string garbled = Waveform("40").substr(0, 5034);
    garbled.replace(34, 2, "8Z"), garbled.replace(38, 4, "G00a"), garbled[5033] = '\n';  // bytes 0, 2, 3, 2499
    ASSERT_TRUE(ParseLt224Waveform(garbled, s, bytes, work));
    EXPECT_EQ(At(bytes, {0, 1, 2, 3, 4, 2498, 2499}), (std::vector<int32_t>{0, 0x7F, 0x7F, 0x7F, 0x40, 0xFF, 0xFF}));
    EXPECT_EQ(s[0], 100);  // the zero line
}
