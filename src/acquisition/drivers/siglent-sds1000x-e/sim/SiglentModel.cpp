// SPDX-License-Identifier: GPL-3.0-or-later
// SIGLENT SDS1104X-E on its raw SCPI socket (port 5025), legacy command set: four channels, a
// screen 14 divisions across, 25 signed codes a division around 0. Replies carry a header and
// a unit ("C1:VDIV 5.00E-01V") until CHDR OFF. The record is 14000 points across the screen
// (the 14k memory depth) at up to 1 GSa/s; WFSU thins it. A waveform comes as "C1:WF DAT2,"
// (with headers off "DAT2,"), a "#9" block and two LFs; SCDP sends a bare BMP. Channel 2 is
// offset a division down, so that a driver that takes the offset the wrong way round shows it.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SimScpi.h"

namespace {

constexpr int kDivisions = 14;
constexpr double kDepth = 14000;
constexpr double kFastestRate = 1e9;
constexpr int kCodesPerDivision = 25;

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2E", v);
    return text;
}

class CSiglentModel final : public CSimScpiModel {
public:
    explicit CSiglentModel(const SimOptions& options) : CSimScpiModel(options) {}

private:
    enum class EHeader { Off, Short, Long };

    bool Execute(const std::string& h, const std::string& argument, SimReply& reply) override
    {
        std::string& out = reply.bytes;
        if (h == "*IDN?") {
            out += IdentityLine("Siglent Technologies,SDS1104X-E,SDSMMEBC4R1275,8.1.6.1.35R2");
            return true;
        }
        // "C<n>:" before a channel's command; the command in its short or long form.
        int channel = 0;
        std::string word = h;
        if (word.size() > 3 && word[0] == 'C' && std::isdigit(static_cast<unsigned char>(word[1]))) {
            const size_t colon = word.find(':');
            if (colon == std::string::npos)
                return false;
            channel = std::atoi(word.c_str() + 1);
            if (!ChannelExists(channel))
                return false;
            word.erase(0, colon + 1);
        }
        const bool query = !word.empty() && word.back() == '?';
        if (query)
            word.pop_back();
        const std::string a = Upper(argument);
        auto is = [&](const char* shortName, const char* longName, bool channelCommand) {
            if ((word != shortName && word != longName) || (channel != 0) != channelCommand)
                return false;
            m_strName = m_header == EHeader::Long ? longName : shortName;
            return true;
        };
        if (is("CHDR", "COMM_HEADER", false)) {
            if (query)
                Answer(out, 0, m_header == EHeader::Off ? "OFF" : m_header == EHeader::Short ? "SHORT" : "LONG");
            else if (a == "OFF" || a == "SHORT" || a == "LONG")
                m_header = a == "OFF" ? EHeader::Off : a == "SHORT" ? EHeader::Short : EHeader::Long;
            else
                return false;
        } else if (is("TRA", "TRACE", true) && query)
            Answer(out, channel, ChannelOn(channel) ? "ON" : "OFF");
        else if (is("VDIV", "VOLT_DIV", true) && query)
            Answer(out, channel, Number(m_options.voltsPerDivision), "V");
        else if (is("OFST", "OFFSET", true) && query)
            Answer(out, channel, Number(Offset(channel)), "V");
        else if (is("TDIV", "TIME_DIV", false) && query)
            Answer(out, 0, Number(m_options.secondsPerDivision), "S");
        else if (is("SARA", "SAMPLE_RATE", false) && query)
            Answer(out, 0, Number(SampleRate()), "Sa/s");
        else if (is("SANU", "SAMPLE_NUM", false) && query && a.size() == 2 && a[0] == 'C')
            Answer(out, 0, Number(Points()), "pts");
        else if (is("TRDL", "TRIG_DELAY", false) && query)
            Answer(out, 0, Number(m_options.horizontalOffset), "S");
        else if (is("TRMD", "TRIG_MODE", false)) {
            if (query)
                Answer(out, 0, m_bRunning ? m_strMode : "STOP");
            else if (a == "STOP")
                m_bRunning = false;
            else if (a == "AUTO" || a == "NORM" || a == "SINGLE")
                m_strMode = a, m_bRunning = true;
            else
                return false;
        } else if (is("SAST", "SAMPLE_STATUS", false) && query)
            Answer(out, 0, !m_bRunning ? "Stop" : m_strMode == "SINGLE" ? "Ready" : "Trig'd");
        else if (is("STOP", "STOP", false) && !query)
            m_bRunning = false;
        else if (is("ARM", "ARM_ACQUISITION", false) && !query)
            m_bRunning = true;
        else if (is("WFSU", "WAVEFORM_SETUP", false)) {
            if (query)
                Answer(out, 0, "SP," + std::to_string(m_nSparsing) + ",NP," + std::to_string(m_nMost) + ",FP,"
                        + std::to_string(m_nFirst));
            else if (!SetUp(a))
                return false;
        } else if (is("WF", "WAVEFORM", true) && query && a == "DAT2")
            AppendWaveform(reply, channel);
        else if (is("SCDP", "SCREEN_DUMP", false) && !query)
            out += ScreenBmp(800, 480, kDivisions);
        else
            return false;
        return true;
    }

    static bool ChannelExists(int channel) { return channel >= 1 && channel <= kSimChannels; }
    double Offset(int channel) const { return channel == 2 ? -m_options.voltsPerDivision : 0.0; }
    double Points() const
    {
        return std::min(kDepth, std::round(kFastestRate * kDivisions * m_options.secondsPerDivision));
    }
    double SampleRate() const { return Points() / (kDivisions * m_options.secondsPerDivision); }

    // value after the header the mode asks for, with its unit unless headers are off.
    void Answer(std::string& out, int channel, const std::string& value, const char* unit = "") const
    {
        if (m_header != EHeader::Off)
            out += (channel ? "C" + std::to_string(channel) + ":" : std::string()) + m_strName + " " + value + unit;
        else
            out += value;
        out += "\n";
    }

    // "SP,4,NP,0,FP,0", any of the pairs alone.
    bool SetUp(const std::string& a)
    {
        std::vector<std::string> items;
        for (size_t at = 0;;) {
            const size_t comma = a.find(',', at);
            items.push_back(Trim(a.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
            if (comma == std::string::npos)
                break;
            at = comma + 1;
        }
        if (items.size() % 2 != 0)
            return false;
        for (size_t i = 0; i < items.size(); i += 2) {
            const std::string& value = items[i + 1];
            if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos || value.size() > 9)
                return false;
            const long n = std::stol(value);
            if (items[i] == "SP")
                m_nSparsing = n;
            else if (items[i] == "NP")
                m_nMost = n;
            else if (items[i] == "FP")
                m_nFirst = n;
            else
                return false;
        }
        return true;
    }

    void AppendWaveform(SimReply& reply, int channel)
    {
        // Now and then the firmware takes a WF? and sends nothing.
        if (m_options.fault == ESimFault::SilentWf && !m_bWaveformDropped) {
            m_bWaveformDropped = true;
            return;
        }
        const long points = static_cast<long>(Points());
        const long step = std::max(1L, m_nSparsing);
        const double left = m_options.horizontalOffset - kDivisions * m_options.secondsPerDivision / 2;
        const double codeVolts = m_options.voltsPerDivision / kCodesPerDivision;
        std::string data;
        for (long i = m_nFirst; i < points && (m_nMost == 0 || static_cast<long>(data.size()) < m_nMost); i += step) {
            const double volts = Volts(channel, left + i / SampleRate()) + Offset(channel);
            data += static_cast<char>(static_cast<int8_t>(std::clamp(std::round(volts / codeVolts), -128.0, 127.0)));
        }
        reply.bytes += m_header == EHeader::Off ? "DAT2," : "C" + std::to_string(channel) + ":" + m_strName + " DAT2,";
        AppendBlock(reply, data, "\n\n");
    }

    EHeader m_header = EHeader::Short;
    std::string m_strName;  // the header a reply carries: the command's short or long name
    std::string m_strMode = "AUTO";
    long m_nSparsing = 0, m_nMost = 0, m_nFirst = 0;
    bool m_bWaveformDropped = false;
};

const SimModelRegistration kRegistration({.key = "siglent-sds1000x-e", .name = "SIGLENT SDS1000X-E/SDS2000X-E",
                                             .configIndex = 5},
                                           [](const SimOptions& options) {
    return std::make_unique<CSiglentModel>(options);
});

}  // namespace
