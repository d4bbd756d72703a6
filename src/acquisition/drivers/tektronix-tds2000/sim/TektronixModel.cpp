// SPDX-License-Identifier: GPL-3.0-or-later
// TEKTRONIX TDS 2024C, whose USBTMC messages are played on a TCP socket: four channels, a
// record of 2500 points over the 10 divisions of the screen, 25 codes a division with code 0
// at the channel's position (signed bytes, RIBinary). Replies carry their headers until
// HEADer OFF; a curve (or its description) asked for a channel that is not displayed gets no
// reply at all, as on the instrument (events 2244 and 420).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "SimScpi.h"

namespace {

constexpr int kPoints = 2500;
constexpr int kDivisions = 10;
constexpr int kCodesPerDivision = 25;

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6E", v);
    return text;
}

class CTektronixModel final : public CSimScpiModel {
public:
    explicit CTektronixModel(const SimOptions& options) : CSimScpiModel(options) {}

private:
    bool Execute(const std::string& h, const std::string& argument, SimReply& reply) override
    {
        int n = 0;
        std::string& out = reply.bytes;
        const std::string a = Upper(argument);
        if (h == "*IDN?")
            out += IdentityLine("TEKTRONIX,TDS 2024C,C042765,CF:91.1CT FV:v24.26");
        else if (h == "*CLS")
            ;
        else if (h == "*OPC?" || Matches(h, "BUSY?"))
            out += h == "*OPC?" ? "1\n" : Value("BUSY", "0");
        else if (Matches(h, "HEADer"))
            m_bHeader = a == "ON" || a == "1";
        else if (Matches(h, "HEADer?"))
            out += Value("HEADER", m_bHeader ? "1" : "0");
        else if (Matches(h, "SELect:CH<n>?", &n))
            out += Value("SELECT:CH" + std::to_string(n), ChannelOn(n) ? "1" : "0");
        else if (Matches(h, "ACQuire:STATE?"))
            out += Value("ACQUIRE:STATE", m_bRunning ? "1" : "0");
        else if (Matches(h, "ACQuire:STATE"))
            m_bRunning = a == "RUN" || a == "ON" || a == "1";
        else if (Matches(h, "ACQuire:STOPAfter?"))
            out += Value("ACQUIRE:STOPAFTER", "RUNSTOP");
        else if (Matches(h, "HORizontal:MAIn:SCAle?"))
            out += Value("HORIZONTAL:MAIN:SCALE", Number(m_options.secondsPerDivision));
        else if (Matches(h, "HORizontal:MAIn:POSition?"))
            out += Value("HORIZONTAL:MAIN:POSITION", Number(m_options.horizontalOffset));
        else if (Matches(h, "CH<n>:SCAle?", &n))
            out += Value("CH" + std::to_string(n) + ":SCALE", Number(m_options.voltsPerDivision));
        else if (Matches(h, "DATa:SOUrce"))
            m_nSource = a.size() == 3 && a.rfind("CH", 0) == 0 ? a[2] - '0' : 0;
        else if (Matches(h, "DATa:ENCdg"))
            return a == "RIBINARY" || a == "RIB";  // the stand-in sends signed bytes alone
        else if (Matches(h, "DATa:WIDth"))
            return a == "1";
        else if (Matches(h, "DATa:STARt") || Matches(h, "DATa:STOP"))
            return Matches(h, "DATa:STARt") ? a == "1" : a == std::to_string(kPoints);
        else if (Matches(h, "WFMPre?"))
            AppendPreamble(out);
        else if (Matches(h, "CURVe?"))
            AppendCurve(reply);
        else if (Matches(h, "HARDCopy:FORMat"))
            return a == "BMP";
        else if (Matches(h, "HARDCopy:PORT"))
            return a == "USB";
        else if (Matches(h, "HARDCopy") && (a == "STAR" || a == "START"))
            out += ScreenBmp(320, 240);  // the file bare, no block around it
        else
            return false;
        return true;
    }

    std::string Value(const std::string& header, const std::string& value) const
    {
        return (m_bHeader ? ":" + header + " " + value : value) + "\n";
    }

    // Even channels sit a division above the centre: code 25 is their 0 V.
    int Offset(int channel) const { return channel % 2 == 0 ? kCodesPerDivision : 0; }
    double PointStep() const { return m_options.secondsPerDivision * kDivisions / kPoints; }
    double FirstTime() const { return m_options.horizontalOffset - m_options.secondsPerDivision * kDivisions / 2; }
    double CodeVolts() const { return m_options.voltsPerDivision / kCodesPerDivision; }

    bool Shown() const
    {
        if (ChannelOn(m_nSource))
            return true;
        std::fprintf(stderr, "kiv-scope-sim: event 2244, Waveform requested is not activated (CH%d)\n", m_nSource);
        return false;
    }

    void AppendPreamble(std::string& out) const
    {
        if (!Shown())
            return;
        if (m_options.fault == ESimFault::SlowPreamble)
            std::this_thread::sleep_for(std::chrono::seconds(1));
        const std::string id = "\"Ch" + std::to_string(m_nSource) + ", DC coupling, "
            + MantissaExponent(m_options.voltsPerDivision) + " V/div, " + MantissaExponent(m_options.secondsPerDivision)
            + " s/div, 2500 points, Sample mode\"";
        const std::string fields[] = {"1", "8", "BIN", "RI", "MSB", std::to_string(kPoints), id, "Y",
            Number(PointStep()), "0", Number(FirstTime()), "\"s\"", Number(CodeVolts()), Number(0),
            Number(Offset(m_nSource)), "\"Volts\""};
        static const char* const kNames[] = {"BYT_NR", "BIT_NR", "ENCDG", "BN_FMT", "BYT_OR", "NR_PT", "WFID",
            "PT_FMT", "XINCR", "PT_OFF", "XZERO", "XUNIT", "YMULT", "YZERO", "YOFF", "YUNIT"};
        std::string text = m_bHeader ? ":WFMPRE:" : "";
        for (size_t i = 0; i < std::size(fields); ++i)
            text += (i ? ";" : "") + (m_bHeader ? std::string(kNames[i]) + " " : "") + fields[i];
        out += text + "\n";
    }

    void AppendCurve(SimReply& reply)
    {
        if (!Shown())
            return;
        std::string data;
        for (int i = 0; i < kPoints; ++i) {
            const double volts = Volts(m_nSource, FirstTime() + i * PointStep());
            const double code = std::round(volts / CodeVolts()) + Offset(m_nSource);
            data += static_cast<char>(static_cast<int8_t>(std::clamp(code, -128.0, 127.0)));
        }
        if (m_bHeader)
            reply.bytes += ":CURVE ";
        AppendBlock(reply, data, "\n", 0);
    }

    bool m_bHeader = true;
    int m_nSource = 1;
};

const SimModelRegistration kRegistration(
    {.key = "tektronix-tds2000", .name = "TEKTRONIX TDS1000/TDS2000/TBS1000 (USB)", .configIndex = 7},
    [](const SimOptions& options) { return std::make_unique<CTektronixModel>(options); });

}  // namespace
