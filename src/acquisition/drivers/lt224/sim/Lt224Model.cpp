// SPDX-License-Identifier: GPL-3.0-or-later
// LECROY LT224: a four-channel scope answering over RS-232. A request line that holds
// queries is answered with the line echoed, CR LF, the answers separated by ';', LF CR:
// the identity reply is 24 + 2 + 31 + 2 = 59 bytes and the fetch takes it at the 57th.
// A waveform query is answered by its data block alone, 5040 bytes: "Cn:WF? DAT1" CR LF,
// "Cn:DAT1,#9000005004" CR LF (34 bytes), 2502 points (MSIZ 2500 gives two more) as
// hexadecimal signed bytes, LF CR.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "SimModel.h"

namespace {

constexpr int kPoints = 2502;
constexpr int kScreenPoints = 2500;  // ten divisions
constexpr int kChannels = 4;
constexpr char kIdentity[] = "LECROY,LT224 ,LT22400308,08.3.0";
// Another instrument of the same type: only the serial number tells them apart.
constexpr char kOtherIdentity[] = "LECROY,LT224 ,LT22400309,08.3.0";
static_assert(sizeof kIdentity - 1 == 31 && sizeof kOtherIdentity == sizeof kIdentity);

// 32 levels a division around 0, the centre line of the screen.
constexpr int kLevelsPerDivision = 32;

// Engineering notation as the instrument writes it: 500E-6, 50E-3, 2E0.
std::string Engineering(double value)
{
    int exponent = 3 * static_cast<int>(std::floor(std::log10(value) / 3.0));
    double mantissa = value / std::pow(10.0, exponent);
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", mantissa);
    if (std::atof(text) >= 1000.0) {
        exponent += 3;
        mantissa /= 1000.0;
    } else if (std::atof(text) < 1.0) {
        exponent -= 3;
        mantissa *= 1000.0;
    }
    std::snprintf(text, sizeof text, "%.4gE%d", mantissa, exponent);
    return text;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

class CLt224Model final : public CSimModel {
public:
    explicit CLt224Model(const SimOptions& options) : CSimModel(options) {}

    void Answer(const std::string& request, SimReply& reply) override
    {
        std::string answers;
        size_t begin = 0;
        while (begin <= request.size()) {
            size_t end = request.find(';', begin);
            if (end == std::string::npos)
                end = request.size();
            const std::string command = Trim(request.substr(begin, end - begin));
            begin = end + 1;
            if (command.empty())
                continue;
            // "Cn:" addresses a channel; the rest is the header and its argument.
            int channel = 0;
            std::string rest = Upper(command);
            if (rest.size() > 3 && rest[0] == 'C' && rest[2] == ':' && rest[1] >= '1' && rest[1] < '1' + kChannels) {
                channel = rest[1] - '0';
                rest.erase(0, 3);
            }
            const size_t space = rest.find(' ');
            const std::string header = rest.substr(0, space);
            const std::string argument = space == std::string::npos ? std::string() : Trim(rest.substr(space));
            if (header == "WF?" && channel && argument == "DAT1") {
                AppendWaveform(channel, reply);
                return;
            }
            std::string answer;
            if (header == "*IDN?")
                answer = m_options.fault == ESimFault::WrongId ? kOtherIdentity : kIdentity;
            else if (header == "TIME_DIV?")
                answer = Engineering(m_options.secondsPerDivision);
            else if (header == "VOLT_DIV?" && channel)
                answer = Engineering(m_options.voltsPerDivision);
            // Everything else (trigger mode, headers, trace display, format, memory size)
            // changes nothing this instrument sends.
            if (!answer.empty())
                answers += (answers.empty() ? "" : ";") + answer;
        }
        if (!answers.empty())
            reply.bytes += request + "\r\n" + answers + "\n\r";
    }

private:
    void AppendWaveform(int channel, SimReply& reply) const
    {
        const int points = m_options.fault == ESimFault::Short ? kPoints - 100 : kPoints;
        const std::string c = "C" + std::to_string(channel);
        char count[16];
        std::snprintf(count, sizeof count, "%09d", 2 * kPoints);
        reply.bytes += c + ":WF? DAT1\r\n" + c + ":DAT1,#9" + count + "\r\n";
        const SignalSpec signal = ChannelSignal(channel);
        const double screen = 10.0 * m_options.secondsPerDivision;
        for (int i = 0; i < points; ++i) {
            const double volts = SignalAt(signal, screen * i / kScreenPoints);
            const int level = QuantizeVolts(volts, m_options.voltsPerDivision, kLevelsPerDivision, 0, -128, 127);
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(level & 0xFF));
            reply.bytes += hex;
        }
        if (m_options.fault == ESimFault::Garbage) {
            // Line noise over the data: every 97th digit becomes a byte that is none.
            std::mt19937 random(std::random_device {}());
            const size_t data = reply.bytes.size() - 2 * static_cast<size_t>(points);
            for (size_t i = data; i < reply.bytes.size(); i += 97) {
                char noise;
                do
                    noise = static_cast<char>(random() & 0xFF);
                while (IsHexDigit(noise));
                reply.bytes[i] = noise;
            }
        }
        reply.bytes += "\n\r";
    }
};

const SimModelRegistration kRegistration({.key = "lt224", .name = "LECROY LT224", .configIndex = 3},
                                           [](const SimOptions& options) {
    return std::make_unique<CLt224Model>(options);
});

}  // namespace
