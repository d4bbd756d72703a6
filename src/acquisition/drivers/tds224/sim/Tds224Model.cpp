// SPDX-License-Identifier: GPL-3.0-or-later
// TEKTRONIX TDS224: a four-channel scope answering over RS-232. Every reply ends with a line
// feed. The fetch relies on that: the identity is 50 characters plus the line feed (51 bytes),
// and the line feed after a waveform description ending in "mode" is counted together with the
// 2514-byte curve that follows (13-byte header, 2500 points, line feed): 2515 bytes.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <random>

#include "SimModel.h"

namespace {

constexpr int kPoints = 2500;
constexpr int kChannels = 4;
constexpr char kIdentity[] = "ID TEK/TDS 224,CF:91.1CT,FV:v2.12 TDS2CM:CMV:v1.04\n";
// Another instrument of the family, same length, so only the text tells them apart.
constexpr char kOtherIdentity[] = "ID TEK/TDS 210,CF:91.1CT,FV:v2.12 TDS2CM:CMV:v1.04\n";
static_assert(sizeof kIdentity - 1 == 51 && sizeof kOtherIdentity == sizeof kIdentity);

// 25 levels a division around level 128, the centre line of the screen.
constexpr int kCentre = 128;
constexpr int kLevelsPerDivision = 25;

class CTds224Model final : public CSimModel {
public:
    explicit CTds224Model(const SimOptions& options) : CSimModel(options) {}

    void Answer(const std::string& request, SimReply& reply) override
    {
        // Commands are separated by ';'. One that does not start with ':' continues the
        // subsystem of the one before it ("DATA:ENCDG RPBINARY;WIDTH 1" sets DATA:WIDTH).
        std::string path;
        size_t begin = 0;
        while (begin <= request.size()) {
            size_t end = request.find(';', begin);
            if (end == std::string::npos)
                end = request.size();
            std::string command = Trim(request.substr(begin, end - begin));
            begin = end + 1;
            if (command.empty())
                continue;
            if (command[0] == ':') {
                command.erase(0, 1);
                path.clear();
            }
            const size_t space = command.find(' ');
            const std::string header = path + Upper(command.substr(0, space));
            const std::string argument = space == std::string::npos ? std::string() : Upper(Trim(command.substr(space)));
            const size_t colon = header.rfind(':');
            path = colon == std::string::npos ? std::string() : header.substr(0, colon + 1);
            Execute(header, argument, reply);
        }
    }

private:
    void Execute(const std::string& header, const std::string& argument, SimReply& reply)
    {
        if (header == "ID?")
            AppendIdentity(reply);
        else if (header == "WFMPRE:WFID?")
            AppendDescription(reply);
        else if (header == "CURVE?")
            AppendCurve(reply);
        else if (header == "HEADER")
            m_bHeader = argument == "ON" || argument == "1";
        else if (header == "DATA:SOURCE" && argument.size() == 3 && argument.compare(0, 2, "CH") == 0
                 && argument[2] >= '1' && argument[2] < '1' + kChannels)
            m_nSource = argument[2] - '0';
        // Everything else (acquisition state, locks, encoding, channel display) changes
        // nothing this instrument sends.
    }

    void AppendIdentity(SimReply& reply)
    {
        switch (m_options.fault) {
        case ESimFault::WrongId:
            reply.bytes += kOtherIdentity;
            return;
        case ESimFault::Garbage: {
            std::mt19937 random(std::random_device {}());
            std::string noise;
            for (size_t i = 0; i + 1 < sizeof kIdentity; ++i)
                noise += static_cast<char>(random() & 0xFF);
            noise[0] = static_cast<char>(noise[0] == 'I' ? '~' : noise[0]);
            reply.bytes += noise;
            return;
        }
        default:
            reply.bytes += kIdentity;
        }
    }

    void AppendDescription(SimReply& reply) const
    {
        char text[160];
        std::snprintf(text, sizeof text, "Ch%d, DC coupling, %s V/div, %s s/div, %d points, Sample mode\n", m_nSource,
                      MantissaExponent(m_options.voltsPerDivision).c_str(),
                      MantissaExponent(m_options.secondsPerDivision).c_str(), kPoints);
        reply.bytes += text;
    }

    void AppendCurve(SimReply& reply) const
    {
        const int points = m_options.fault == ESimFault::Short ? kPoints - 100 : kPoints;
        if (m_bHeader)
            reply.bytes += ":CURVE ";
        reply.bytes += "#4" + std::to_string(kPoints);
        for (double volts : SampleScreen(ChannelSignal(m_nSource), m_options.secondsPerDivision, points))
            reply.bytes += static_cast<char>(
                QuantizeVolts(volts, m_options.voltsPerDivision, kLevelsPerDivision, kCentre, 0, 255));
        reply.bytes += '\n';
    }

    bool m_bHeader = true;
    int m_nSource = 1;
};

const SimModelRegistration kRegistration({.key = "tds224", .name = "TEKTRONIX TDS224", .configIndex = 2},
                                           [](const SimOptions& options) {
    return std::make_unique<CTds224Model>(options);
});

}  // namespace
