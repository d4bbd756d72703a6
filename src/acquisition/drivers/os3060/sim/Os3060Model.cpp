// SPDX-License-Identifier: GPL-3.0-or-later
// GOLDSTAR OS-3060: a two-channel scope answering over RS-232. Requests and replies are
// lines ended by a carriage return. "S1" is acknowledged with "A"; "Ro(n)" answers channel
// n's panel settings in fixed columns (time at 11..19, probe at 37..40, volts at 42..48);
// "Rn(0000,1000,B)" answers a 14-character header and 1000 raw bytes, 28 on the bottom
// line of the screen, 128 on the centre line, 25 a division.
#include <cstdio>
#include <random>

#include "SimModel.h"

namespace {

constexpr int kChannels = 2;
constexpr int kPoints = 1000;
constexpr int kCentre = 128;
constexpr int kLevelsPerDivision = 25;
constexpr int kLowest = 28, kHighest = 228;  // the screen; never a carriage return
// Above this the panel shows a tenth of it and the x10 probe.
constexpr double kLargestDirectVolts = 5.0;

// A number and its unit, right-aligned in width characters, then trailing blanks.
std::string Column(double value, const char* unit, int width, int trailing)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.3g%s", value, unit);
    char text[64];
    std::snprintf(text, sizeof text, "%*s%*s", width, number, trailing, "");
    return text;
}

std::string TimeColumn(double seconds)
{
    if (seconds >= 1.0)
        return Column(seconds, "s", 7, 2);
    if (seconds >= 1e-3)
        return Column(seconds * 1e3, "ms", 7, 2);
    return Column(seconds * 1e6, "us", 7, 2);
}

std::string VoltsColumn(double volts)
{
    return volts >= 1.0 ? Column(volts, "V", 6, 1) : Column(volts * 1e3, "mV", 6, 1);
}

// "1" or "2" between the given prefix and suffix, exactly; 0 otherwise.
int ChannelOf(const std::string& request, const std::string& prefix, const std::string& suffix)
{
    if (request.size() != prefix.size() + 1 + suffix.size() || request.compare(0, prefix.size(), prefix) != 0
        || request.compare(prefix.size() + 1, suffix.size(), suffix) != 0)
        return 0;
    const char digit = request[prefix.size()];
    return digit >= '1' && digit < '1' + kChannels ? digit - '0' : 0;
}

class COs3060Model final : public CSimModel {
public:
    explicit COs3060Model(const SimOptions& options) : CSimModel(options) {}

    void Answer(const std::string& request, SimReply& reply) override
    {
        if (request == "S1")
            AppendAcknowledge(reply);
        else if (const int channel = ChannelOf(request, "Ro(", ")"))
            AppendSettings(channel, reply);
        else if (const int channel = ChannelOf(request, "R", "(0000,1000,B)"))
            AppendWaveform(channel, reply);
        // Anything else gets no answer.
    }

private:
    void AppendAcknowledge(SimReply& reply) const
    {
        switch (m_options.fault) {
        case ESimFault::WrongId:
            // Another instrument of the family: it does not know the request.
            reply.bytes += "?S1\r";
            return;
        case ESimFault::Garbage: {
            // Line noise: never an "A" first, never a carriage return inside.
            std::mt19937 random(std::random_device {}());
            std::string noise;
            for (int i = 0; i < 20; ++i) {
                char c = static_cast<char>(random() & 0xFF);
                noise += c == '\r' || (i == 0 && c == 'A') ? '~' : c;
            }
            reply.bytes += noise + '\r';
            return;
        }
        default:
            reply.bytes += "A\r";
        }
    }

    void AppendSettings(int channel, SimReply& reply) const
    {
        double volts = m_options.voltsPerDivision;
        const bool probe = volts > kLargestDirectVolts;
        if (probe)
            volts /= 10.0;
        const std::string line = "CH" + std::to_string(channel) + " T/DIV: " + TimeColumn(m_options.secondsPerDivision)
            + " CPL:DC TRG:AUTO " + (probe ? "P10X" : "P1X ") + " " + VoltsColumn(volts) + " NORM  \r";
        // The columns are what the fetch reads; a value too wide for them would shift them.
        if (line.size() == 57 && line.compare(37, 4, probe ? "P10X" : "P1X ") == 0)
            reply.bytes += line;
        else
            std::fprintf(stderr, "kiv-scope-sim: ustawienia nie mieszczą się w kolumnach panelu\n");
    }

    void AppendWaveform(int channel, SimReply& reply) const
    {
        const int points = m_options.fault == ESimFault::Short ? kPoints - 100 : kPoints;
        reply.bytes += "CH" + std::to_string(channel) + " 1000 BYTE:";
        for (double volts : SampleScreen(ChannelSignal(channel), m_options.secondsPerDivision, points))
            reply.bytes += static_cast<char>(
                QuantizeVolts(volts, m_options.voltsPerDivision, kLevelsPerDivision, kCentre, kLowest, kHighest));
        reply.bytes += '\r';
    }
};

const SimModelRegistration kRegistration({.key = "os3060", .name = "GOLDSTAR OS-3060", .configIndex = 0},
                                           [](const SimOptions& options) {
    return std::make_unique<COs3060Model>(options);
});

}  // namespace
