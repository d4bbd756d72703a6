// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/os3060/Os3060Reply.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "data/QuarterSteps.h"

namespace {

std::string ChannelDigit(int channel) { return channel == 2 ? "2" : "1"; }

// Positions 0-based in the reply as received.
constexpr size_t kTimeAt = 11, kTimeLength = 9;
constexpr size_t kProbeAt = 37, kProbeLength = 4;
constexpr size_t kVoltsAt = 42, kVoltsLength = 7;

bool HasAfterFirst(std::string_view text, char c) { return text.find(c, 1) != std::string_view::npos; }

}  // namespace

std::string Os3060SettingsRequest(int channel) { return "Ro(" + ChannelDigit(channel) + ")\r"; }

std::string Os3060WaveformRequest(int channel) { return "R" + ChannelDigit(channel) + "(0000,1000,B)\r"; }

bool Os3060OpeningAccepted(const std::string& reply) { return !reply.empty() && reply[0] == 'A'; }

double ReadOs3060Number(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() ? value : 0.0;
}

int32_t Os3060TimeExponent(std::string_view text) {
    // "u" is tested after "m" and wins.
    if (HasAfterFirst(text, 'u')) return -2;
    return HasAfterFirst(text, 'm') ? -1 : 0;
}

int32_t Os3060VoltExponent(std::string_view text) { return HasAfterFirst(text, 'm') ? -1 : 0; }

bool ParseOs3060Settings(const std::string& reply, RawTrace& trace) {
    // Decided by fixed positions alone: what lies between the fields is not read.
    if (reply.size() < kOs3060SettingsLength) return false;
    const std::string_view s = reply;
    const std::string_view time = s.substr(kTimeAt, kTimeLength);
    const std::string_view volts = s.substr(kVoltsAt, kVoltsLength);
    double voltsPerDivision = ReadOs3060Number(volts);
    if (s.substr(kProbeAt, kProbeLength) == "P10X") voltsPerDivision *= 10.0;
    // " 1e308 " under the 10x probe overflows: read like a field without a number.
    if (!std::isfinite(voltsPerDivision)) voltsPerDivision = 0.0;
    trace.timeExponent = Os3060TimeExponent(time);
    trace.voltExponent = Os3060VoltExponent(volts);
    trace.timeStep = TimeStepOfDivision(ReadOs3060Number(time));
    trace.voltStep = VoltStepOfDivision(voltsPerDivision);
    return true;
}

bool ParseOs3060Waveform(const std::string& reply, int32_t* samples) {
    if (reply.size() < kOs3060WaveformHeader + kOs3060WaveformPoints) return false;
    const char* data = reply.data() + kOs3060WaveformHeader;
    for (int i = 0; i < kSamples; ++i) samples[i] = static_cast<uint8_t>(data[i / 4]) - kOs3060ZeroByte;
    WidenOs3060Samples(samples);
    return true;
}

void WidenOs3060Samples(int32_t* samples) { InterpolateQuarterSteps(samples); }

int Os3060WaveformPercent(size_t length) {
    const size_t data = length > kOs3060WaveformHeader ? length - kOs3060WaveformHeader : 0;
    return static_cast<int>(static_cast<double>(std::min<size_t>(data, kOs3060WaveformPoints)) * 0.1);
}
