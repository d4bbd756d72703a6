// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/lt224/Lt224Reply.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "acquisition/DivisionText.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string Lt224SettingsRequest(int channel) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%d%s", "C", channel, ":TRA ON;TIME_DIV?;");
    std::string request = text;
    std::snprintf(text, sizeof text, "%s%d%s", "C", channel, ":Volt_DIV?\r");
    return request + text;
}

std::string Lt224WaveformRequest(int channel) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%d%s", "C", channel, ":WF? DAT1\r");
    return std::string("CFMT OFF,BYTE,HEX;MSIZ 2500;") + text;
}

bool Lt224IdentityAccepted(const std::string& command, std::string& reply, int32_t received) {
    if (command != kLt224IdentityRequest || received < kLt224IdentityCheckFrom) return false;
    // Whatever the instrument writes before its identity (the echoed request) is dropped.
    if (reply.size() > 31) reply.erase(0, reply.size() - 31);
    return reply == kLt224Identity;
}

bool Lt224SettingsComplete(const std::string& command, const std::string& reply, int32_t received) {
    if (received <= kLt224SettingsAfter) return false;
    const std::string_view request = command, echo = reply;
    // The channel prefix "Cn" is two characters for every channel the instrument has.
    const std::string_view asked = request.size() > 31 ? request.substr(2, 18) : request;
    const std::string_view echoed = echo.size() > 20 ? echo.substr(2, 18) : echo;
    return asked == kLt224SettingsEcho && echoed == kLt224SettingsEcho && echo.ends_with("\n\r");
}

bool ParseLt224Settings(const std::string& reply, RawTrace& trace) {
    if (reply.size() < 11) return false;
    const size_t crlf = reply.find("\r\n");
    if (crlf == std::string::npos) return false;
    const std::string values = reply.substr(crlf + 2);
    const size_t semicolon = values.find(';');
    if (semicolon == std::string::npos) return false;
    const size_t lfcr = values.find("\n\r", semicolon + 1);
    if (lfcr == std::string::npos) return false;
    return ScaleTraceDivisions(values.substr(0, semicolon), values.substr(semicolon + 1, lfcr - semicolon - 1), trace);
}

int32_t Lt224OffsetCode(int32_t byte) { return byte < 128 ? byte + 128 : byte - 128; }

int32_t Lt224Sample(int32_t byte) { return Lt224OffsetCode(byte) * 200 / 255; }

void DecodeLt224Hex(const char* digits, int32_t* bytes) {
    // A byte the line garbled (a digit outside 0-9, A-F) repeats the byte before it, so a
    // noisy transfer draws no spike and the other 2499 points still reach the user; the
    // first byte falls back to 00, the zero line.
    int32_t previous = 0;
    for (int i = 0; i < kLt224Points; ++i) {
        const int high = HexDigit(digits[2 * i]), low = HexDigit(digits[2 * i + 1]);
        if (high >= 0 && low >= 0) previous = high * 16 + low;
        bytes[i] = previous;
    }
}

bool ParseLt224Waveform(const std::string& reply, int32_t* samples, int32_t* bytes, int32_t* work) {
    const size_t skip = reply.size() > 18 ? std::min<size_t>(kLt224WaveformHeader, reply.size()) : 0;
    const bool whole = reply.size() - skip >= static_cast<size_t>(2 * kLt224Points);
    if (whole) {
        DecodeLt224Hex(reply.data() + skip, bytes);
        for (int i = 0; i < kLt224Points; ++i) samples[i] = Lt224Sample(bytes[i]);
    }
    StretchScreenRecord(samples, work);
    return whole;
}
