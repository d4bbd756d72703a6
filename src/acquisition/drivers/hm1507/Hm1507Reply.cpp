// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/hm1507/Hm1507Reply.h"

#include <cstring>

namespace {

constexpr double kVolts[14] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20};
// Codes 3 to 28.
constexpr int kFirstTimeCode = 3;
constexpr double kTimes[26] = {0.5e-6, 1e-6, 2e-6, 5e-6, 10e-6, 20e-6, 50e-6, 0.1e-3, 0.2e-3,
                               0.5e-3, 1e-3, 2e-3, 5e-3, 10e-3, 20e-3, 50e-3, 0.1, 0.2,
                               0.5,    1,    2,    5,    10,   20,   50,   100};

}  // namespace

std::string Hm1507WaveformRequest(int channel) {
    if (channel != 1 && channel != 2) return {};
    std::string request = channel == 1 ? "RDWFM1:" : "RDWFM2:";
    // Start address 0, 0x800 bytes.
    request.append({'\0', '\0', '\0', '\x08'});
    return request;
}

// The instrument never sends the codes outside the tables; should one come, the nearest
// setting keeps the plot's scale finite rather than zero.
double Hm1507VoltsPerDivision(int code) {
    if (code < 0) code = 0;
    if (code > 13) code = 13;
    return kVolts[code];
}

double Hm1507TimePerDivision(int code) {
    int i = code - kFirstTimeCode;
    if (i < 0) i = 0;
    if (i > 25) i = 25;
    return kTimes[i];
}

bool Hm1507ReplyIs(const std::string& reply, int32_t received, const char* expected) {
    return received == static_cast<int32_t>(std::strlen(expected)) && reply == expected;
}

bool Hm1507SettingsBlock(const std::string& reply, int32_t received, uint8_t* block) {
    // Bytes counted before the request went out are not in the reply: the block must be.
    if (received != kHm1507SettingsLength || reply.size() < static_cast<size_t>(kHm1507SettingsLength) ||
        reply.compare(0, 4, "DDF:") != 0)
        return false;
    std::memcpy(block, reply.data() + 4, kHm1507SettingsSize);
    return true;
}

void ParseHm1507Settings(const uint8_t* block, int channel, RawTrace& trace) {
    // Only channels 1 and 2 exist; anything else reads as channel 2 (its request is never sent).
    const bool first = channel == 1;
    double volts = Hm1507VoltsPerDivision((first ? block[0] : block[1]) & 0x0F);
    const uint8_t probe = first ? 64 : 4;
    if ((block[2] & probe) == probe) volts *= 10.0;
    double time = Hm1507TimePerDivision(block[3] & 0x1F);
    if (block[5] & 32) time *= 0.1;
    trace.timeExponent = 0;
    trace.voltExponent = 0;
    trace.voltStep = VoltStepOfDivision(volts);
    trace.timeStep = TimeStepOfDivision(time);
}

bool ParseHm1507Waveform(const std::string& reply, int32_t* samples) {
    const size_t skip = reply.size() > 12 ? kHm1507RequestEcho : 0;
    if (reply.size() - skip < 2000) return false;
    const auto* data = reinterpret_cast<const uint8_t*>(reply.data() + skip);
    for (int i = 0; i < kSamples; ++i) samples[i] = data[i / 2] - kHm1507ZeroByte;
    for (int i = 1; i < kSamples - 1; i += 2) samples[i] = (samples[i - 1] + samples[i + 1]) / 2;
    return true;
}
