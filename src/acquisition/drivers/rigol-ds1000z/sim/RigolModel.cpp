// SPDX-License-Identifier: GPL-3.0-or-later
// RIGOL DS1054Z on its raw SCPI socket (port 5555): four channels, a screen of 12 divisions
// across and 8 up, 25 codes a division around code 127; in NORMal mode the screen record is 1200
// points, one byte each, in a "#9" block with an LF after it.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SimScpi.h"

namespace {

constexpr int kPoints = 1200;
constexpr int kDivisions = 12;
constexpr int kCodesPerDivision = 25;
constexpr int kReference = 127;

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%e", v);
    return text;
}

class CRigolModel final : public CSimScpiModel {
public:
    explicit CRigolModel(const SimOptions& options) : CSimScpiModel(options) {}

private:
    bool Execute(const std::string& h, const std::string& argument, SimReply& reply) override
    {
        int n = 0;
        std::string& out = reply.bytes;
        if (h == "*IDN?")
            out += IdentityLine("RIGOL TECHNOLOGIES,DS1054Z,DS1ZA000000001,00.04.04.SP3");
        else if (h == "*OPC?")
            out += "1\n";
        else if (Matches(h, "SYSTem:ERRor?"))
            out += "0,\"No error\"\n";
        else if (Matches(h, "TRIGger:STATus?"))
            out += m_bRunning ? "RUN\n" : "STOP\n";
        else if (Matches(h, "RUN")) {
            m_bRunning = true;
            m_bJustRun = true;
        } else if (Matches(h, "STOP") || Matches(h, "SINGle"))
            m_bRunning = false;
        else if (Matches(h, "TIMebase:SCALe?") || Matches(h, "TIMebase:MAIN:SCALe?"))
            out += Number(m_options.secondsPerDivision) + "\n";
        else if (Matches(h, "TIMebase:OFFSet?") || Matches(h, "TIMebase:MAIN:OFFSet?"))
            out += Number(m_options.horizontalOffset) + "\n";
        else if (Matches(h, "CHANnel<n>:DISPlay?", &n))
            out += ChannelOn(n) ? "1\n" : "0\n";
        else if (Matches(h, "CHANnel<n>:SCALe?", &n))
            out += Number(m_options.voltsPerDivision) + "\n";
        else if (Matches(h, "CHANnel<n>:OFFSet?", &n))
            out += Number(0) + "\n";
        else if (Matches(h, "WAVeform:SOURce")) {
            const std::string a = Upper(argument);
            if (a.size() >= 5 && (a.rfind("CHAN", 0) == 0))
                m_nSource = a.back() - '0';
        } else if (Matches(h, "WAVeform:MODE") || Matches(h, "WAVeform:FORMat") || Matches(h, "WAVeform:STARt")
                   || Matches(h, "WAVeform:STOP"))
            ;  // the screen record, one byte a point, is all this stand-in sends
        else if (Matches(h, "WAVeform:PREamble?"))
            out += "0,0," + std::to_string(kPoints) + ",1," + Number(PointStep()) + "," + Number(ScreenLeft()) + ",0,"
                + Number(CodeVolts()) + ",0," + std::to_string(kReference) + "\n";
        else if (Matches(h, "WAVeform:DATA?"))
            AppendRecord(reply);
        else if (Matches(h, "DISPlay:DATA?"))
            AppendBlock(reply, Upper(argument).find("PNG") != std::string::npos ? ScreenPng(800, 480, kDivisions) : ScreenBmp(800, 480, kDivisions));
        else
            return false;
        return true;
    }

    double PointStep() const { return m_options.secondsPerDivision * kDivisions / kPoints; }
    double ScreenLeft() const { return m_options.horizontalOffset - m_options.secondsPerDivision * kDivisions / 2; }
    double CodeVolts() const { return m_options.voltsPerDivision / kCodesPerDivision; }

    void AppendRecord(SimReply& reply)
    {
        // Just after :RUN the sweep is still filling the screen: a short record.
        const bool shortRecord = m_bJustRun && m_options.fault == ESimFault::ShortAfterRun;
        m_bJustRun = false;
        std::string data;
        for (int i = 0; i < (shortRecord ? kPoints / 2 : kPoints); ++i) {
            const double code = std::round(Volts(m_nSource, ScreenLeft() + i * PointStep()) / CodeVolts()) + kReference;
            data += static_cast<char>(std::clamp(code, 0.0, 255.0));
        }
        AppendBlock(reply, data);
    }

    int m_nSource = 1;
    bool m_bJustRun = !m_options.stopped;  // as if it had just been set running
};

const SimModelRegistration kRegistration({.key = "rigol-ds1000z", .name = "RIGOL DS1000Z", .configIndex = 4},
                                           [](const SimOptions& options) {
    return std::make_unique<CRigolModel>(options);
});

}  // namespace
