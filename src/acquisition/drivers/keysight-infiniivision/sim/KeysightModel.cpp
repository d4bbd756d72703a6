// SPDX-License-Identifier: GPL-3.0-or-later
// Agilent DSO-X 2024A on its raw SCPI socket (port 5025): four channels, a screen of 10
// divisions across and 8 up, 32 codes a division around code 128, the screen's centre one
// division above 0 V; in NORMal points mode the screen record is 1000 time buckets, one
// unsigned byte each, in a "#8" block with an LF after it. :WAV:SOUR switches its channel on.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <utility>

#include "SimScpi.h"

namespace {

constexpr int kPoints = 1000;
constexpr int kDivisions = 10;
constexpr int kCodesPerDivision = 32;
constexpr int kReference = 128;
constexpr int kBlockDigits = 8;

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.8E", v);
    return text;
}

class CKeysightModel final : public CSimScpiModel {
public:
    explicit CKeysightModel(const SimOptions& options) : CSimScpiModel(options)
    {
        for (int n = 1; n <= kSimChannels; ++n)
            m_bShown[n - 1] = ChannelOn(n);
    }

private:
    bool Execute(const std::string& h, const std::string& argument, SimReply& reply) override
    {
        // Some take about ten seconds to answer the first query after a connection.
        if (m_options.fault == ESimFault::SlowFirst && !std::exchange(m_bAnswered, true))
            std::this_thread::sleep_for(std::chrono::milliseconds(m_options.slowFirstMs));
        int n = 0;
        std::string& out = reply.bytes;
        const std::string a = Upper(argument);
        if (h == "*IDN?")
            out += IdentityLine("AGILENT TECHNOLOGIES,DSO-X 2024A,MY00000001,02.50.2019022736");
        else if (h == "*OPC?")
            out += "1\n";
        else if (Matches(h, "SYSTem:ERRor?"))
            out += "+0,\"No error\"\n";
        else if (Matches(h, "OPERegister:CONDition?"))
            out += m_bRunning ? "+40\n" : "+0\n";  // Run, and Wait Trig while armed
        else if (Matches(h, "RUN"))
            m_bRunning = true;
        else if (Matches(h, "STOP") || Matches(h, "SINGle") || Matches(h, "DIGitize")) {
            m_bRunning = false;
            m_bPlusZeroDue = true;
        } else if (Matches(h, "TIMebase:SCALe?"))
            out += Number(m_options.secondsPerDivision) + "\n";
        else if (Matches(h, "TIMebase:RANGe?"))
            out += Number(m_options.secondsPerDivision * kDivisions) + "\n";
        else if (Matches(h, "TIMebase:POSition?"))
            out += Number(m_options.horizontalOffset) + "\n";
        else if (Matches(h, "TIMebase:REFerence?"))
            out += "CENT\n";
        else if (Matches(h, "CHANnel<n>:DISPlay?", &n))
            out += Shown(n) ? "1\n" : "0\n";
        else if (Matches(h, "CHANnel<n>:SCALe?", &n))
            out += Number(m_options.voltsPerDivision) + "\n";
        else if (Matches(h, "CHANnel<n>:OFFSet?", &n))
            out += Number(CentreVolts()) + "\n";
        else if (Matches(h, "WAVeform:SOURce")) {
            if (!Matches(a, "CHANnel<n>", &n) || n < 1 || n > kSimChannels)
                return false;
            m_nSource = n;
            m_bShown[n - 1] = true;
        } else if (Matches(h, "WAVeform:FORMat"))
            return a == "BYTE" || a == "BYT";  // the only form this stand-in sends
        else if (Matches(h, "WAVeform:UNSigned") || Matches(h, "WAVeform:BYTeorder") || Matches(h, "WAVeform:POINts")
                 || Matches(h, "WAVeform:POINts:MODE"))
            ;  // the screen record, one unsigned byte a point, is all this stand-in sends
        else if (Matches(h, "WAVeform:POINts?"))
            out += std::to_string(kPoints) + "\n";
        else if (Matches(h, "WAVeform:PREamble?")) {
            // Once an acquisition has ended, the first preamble may come as "+0".
            if (m_options.fault == ESimFault::PlusZero && std::exchange(m_bPlusZeroDue, false))
                out += "+0\n";
            else
                out += "+0,+0,+" + std::to_string(kPoints) + ",+1," + Number(PointStep()) + "," + Number(ScreenLeft())
                    + ",+0," + Number(CodeVolts()) + "," + Number(CentreVolts()) + ",+" + std::to_string(kReference)
                    + "\n";
        } else if (Matches(h, "WAVeform:DATA?"))
            AppendRecord(reply);
        else if (Matches(h, "DISPlay:DATA?"))
            AppendBlock(reply, a.find("PNG") != std::string::npos ? ScreenPng(800, 480) : ScreenBmp(800, 480), "\n",
                        kBlockDigits);
        else
            return false;
        return true;
    }

    bool Shown(int channel) const { return channel >= 1 && channel <= kSimChannels && m_bShown[channel - 1]; }
    double PointStep() const { return m_options.secondsPerDivision * kDivisions / kPoints; }
    double ScreenLeft() const { return m_options.horizontalOffset - m_options.secondsPerDivision * kDivisions / 2; }
    double CodeVolts() const { return m_options.voltsPerDivision / kCodesPerDivision; }
    double CentreVolts() const { return m_options.voltsPerDivision; }

    // Code 0 is a bucket without data: a signal below the screen stays at code 1.
    void AppendRecord(SimReply& reply)
    {
        std::string data;
        for (int i = 0; i < kPoints; ++i) {
            const double volts = Volts(m_nSource, ScreenLeft() + i * PointStep()) - CentreVolts();
            data += static_cast<char>(std::clamp(std::round(volts / CodeVolts()) + kReference, 1.0, 255.0));
        }
        AppendBlock(reply, data, "\n", kBlockDigits);
    }

    int m_nSource = 1;
    bool m_bShown[kSimChannels] = {};
    bool m_bAnswered = false;
    bool m_bPlusZeroDue = true;  // as if an acquisition had just ended
};

// configIndex: the driver's place in KIV_SCOPE_DRIVERS.
const SimModelRegistration kRegistration({.key = "keysight-infiniivision",
                                          .name = "KEYSIGHT InfiniiVision X",
                                          .configIndex = 6},
                                         [](const SimOptions& options) {
    return std::make_unique<CKeysightModel>(options);
});

}  // namespace
