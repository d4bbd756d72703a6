// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/RawTrace.h"

// The LT224's replies as the driver reads them; none of this needs a port.

constexpr int kLt224IdentityCheckFrom = 54;  // bytes received before the identity is compared
constexpr int kLt224SettingsAfter = 36;      // the settings reply is looked at beyond this count
constexpr int kLt224WaveformLength = 5040;   // bytes of the waveform reply, header included
constexpr int kLt224WaveformHeader = 34;
constexpr int kLt224Points = 2500;           // data bytes, two hexadecimal digits each
constexpr int kLt224WorkSize = kLt224Points * 8;

inline constexpr char kLt224IdentityRequest[] = "TRMD STOP;CHDR OFF;*IDN?\r";
inline constexpr char kLt224Identity[] = "LECROY,LT224 ,LT22400308,08.3.0";  // 31 characters
inline constexpr char kLt224SettingsEcho[] = ":TRA ON;TIME_DIV?;";             // 18 characters

// The settings request of a channel, "C1:TRA ON;TIME_DIV?;C1:Volt_DIV?\r" for channel 1.
std::string Lt224SettingsRequest(int channel);
// The waveform request of a channel, "CFMT OFF,BYTE,HEX;MSIZ 2500;C1:WF? DAT1\r" for channel 1.
std::string Lt224WaveformRequest(int channel);

// From the 54th byte after the identity request on, cuts reply to its last 31 characters
// (it stays cut) and compares it with the one identity this driver accepts. Any other
// request, or fewer bytes, decides nothing and leaves reply alone.
bool Lt224IdentityAccepted(const std::string& command, std::string& reply, int32_t received);

// True when more than 36 bytes have come, the request was a settings request, the reply
// echoes it and the reply ends with line feed, carriage return.
bool Lt224SettingsComplete(const std::string& command, const std::string& reply, int32_t received);

// "<echo>\r\n<time>;<volts>\n\r" into the trace's exponents and steps. False (trace
// untouched) for a reply under 11 characters, a missing separator or an unreadable setting.
bool ParseLt224Settings(const std::string& reply, RawTrace& trace);

// The offset code of a data byte (the byte read as signed, plus 128) and its sample on the
// 0..200 scale: 00 -> 128 -> 100, 7F -> 255 -> 200, 80 -> 0 -> 0, FF -> 127 -> 99.
int32_t Lt224OffsetCode(int32_t byte);
int32_t Lt224Sample(int32_t byte);

// 2500 bytes from 5000 hexadecimal digits ("0"-"9", "A"-"F"). A byte with any other
// character takes the value of the byte before it (the first one 00).
void DecodeLt224Hex(const char* digits, int32_t* bytes);

// The waveform reply after its 34-character header into samples 0..2499. False when fewer
// than 5000 characters follow: the former samples stay then. Either way the first 2500
// samples are stretched to 4000 through work (kLt224WorkSize values); bytes holds
// kLt224Points values.
bool ParseLt224Waveform(const std::string& reply, int32_t* samples, int32_t* bytes, int32_t* work);
