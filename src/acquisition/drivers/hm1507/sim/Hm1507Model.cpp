// SPDX-License-Identifier: GPL-3.0-or-later
// HAMEG 1507: a two-channel scope with a terse RS-232 interface. Some requests end with a
// carriage return (the wake-up " ", "DDF?", "RM0" CR LF), others with nothing ("ID?",
// "HLDWFM=1", "HLDWFM=0" and the 11-byte binary "RDWFMn:" 00 00 00 08), so the model frames
// them by their known lengths. Every request that expects an answer gets "0" CR LF or its
// data: the identity is 30 bytes, the settings 18 ("DDF:" and 14 binary bytes), a
// waveform the echoed request and 2048 bytes, of which the screen's 10 divisions are the
// first 2000, 25 codes a division around code 128.
#include <cmath>
#include <random>

#include "SimModel.h"

namespace {

constexpr char kAck[] = "0\r\n";
constexpr char kIdentity[] = "ID:HM1507-2  V01            \r\n";
// Another instrument of the family, same length, so only the text tells them apart.
constexpr char kOtherIdentity[] = "ID:HM1508-2  V01            \r\n";
static_assert(sizeof kIdentity - 1 == 30 && sizeof kOtherIdentity == sizeof kIdentity);

constexpr int kPoints = 2048;
constexpr int kScreenPoints = 2000;
constexpr int kCentre = 128;
constexpr int kLevelsPerDivision = 25;
constexpr size_t kWaveformRequest = 11;

constexpr double kVolts[14] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20};
constexpr int kFirstTimeCode = 3;
constexpr double kTimes[26] = {0.5e-6, 1e-6, 2e-6, 5e-6, 10e-6, 20e-6, 50e-6, 0.1e-3, 0.2e-3,
                               0.5e-3, 1e-3, 2e-3, 5e-3, 10e-3, 20e-3, 50e-3, 0.1, 0.2,
                               0.5,    1,    2,    5,    10,   20,   50,   100};

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Index of the table entry nearest to value on a logarithmic scale.
template <size_t N>
int Nearest(const double (&table)[N], double value) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(N); ++i)
        if (std::fabs(std::log(table[i] / value)) < std::fabs(std::log(table[best] / value))) best = i;
    return best;
}

class CHm1507Model final : public CSimModel {
public:
    explicit CHm1507Model(const SimOptions& options) : CSimModel(options) { ChooseSettings(); }

    SimFrame FrameRequest(const std::string& pending) const override {
        if (StartsWith(pending, "\n")) return {1, 1};  // a line feed that came after its carriage return
        if (StartsWith(pending, "ID?")) return {3, 0};
        if (StartsWith(pending, "HLDWFM=")) return pending.size() >= 8 ? SimFrame{8, 0} : SimFrame{};
        if (StartsWith(pending, "RDWFM"))
            return pending.size() >= kWaveformRequest ? SimFrame{kWaveformRequest, 0} : SimFrame{};
        const size_t cr = pending.find('\r');
        if (cr == std::string::npos) return {};
        // "RM0" ends with CR LF, the rest with CR alone.
        return cr + 1 < pending.size() && pending[cr + 1] == '\n' ? SimFrame{cr + 2, 2} : SimFrame{cr + 1, 1};
    }

    void Answer(const std::string& request, SimReply& reply) override {
        if (request == " " || request == "HLDWFM=1" || request == "HLDWFM=0")
            reply.bytes += kAck;
        else if (request == "ID?")
            AppendIdentity(reply);
        else if (request == "DDF?")
            AppendSettings(reply);
        else if (request.size() == kWaveformRequest && (StartsWith(request, "RDWFM1:") || StartsWith(request, "RDWFM2:")))
            AppendWaveform(request, reply);
        // "RM0" (back to the front panel) and anything unknown get no answer.
    }

    // Two stop bits.
    SimCharFrame CharFrame() const override { return {8, false, 2}; }

private:
    // The panel as the options ask for it, in the instrument's own steps: volts beyond
    // 20 V a division need the x10 probe, times below 0.5 µs the x10 magnifier.
    void ChooseSettings() {
        double volts = m_options.voltsPerDivision;
        m_bProbe = volts > 20.0 * 1.5;
        m_nVoltCode = Nearest(kVolts, m_bProbe ? volts / 10.0 : volts);
        m_dVolts = kVolts[m_nVoltCode] * (m_bProbe ? 10.0 : 1.0);
        double time = m_options.secondsPerDivision;
        m_bMagnifier = time < 0.5e-6 / 1.5;
        const int t = Nearest(kTimes, m_bMagnifier ? time * 10.0 : time);
        m_nTimeCode = t + kFirstTimeCode;
        m_dTime = kTimes[t] * (m_bMagnifier ? 0.1 : 1.0);
    }

    void AppendIdentity(SimReply& reply) const {
        switch (m_options.fault) {
        case ESimFault::WrongId: reply.bytes += kOtherIdentity; return;
        case ESimFault::Garbage: {
            std::mt19937 random(std::random_device{}());
            std::string noise;
            for (size_t i = 0; i + 1 < sizeof kIdentity; ++i) noise += static_cast<char>(random() & 0xFF);
            noise[0] = static_cast<char>(noise[0] == 'I' ? '~' : noise[0]);
            reply.bytes += noise;
            return;
        }
        default: reply.bytes += kIdentity;
        }
    }

    void AppendSettings(SimReply& reply) const {
        // Bits the driver does not read (coupling, trigger and the like) are set too, so a
        // reader that forgets to mask them shows it.
        std::string block(14, '\0');
        block[0] = static_cast<char>(0x30 | m_nVoltCode);
        block[1] = static_cast<char>(0x30 | m_nVoltCode);
        block[2] = static_cast<char>(m_bProbe ? 64 | 4 : 0);
        block[3] = static_cast<char>(0x80 | m_nTimeCode);
        block[5] = static_cast<char>(m_bMagnifier ? 32 | 1 : 1);
        reply.bytes += "DDF:" + block;
    }

    void AppendWaveform(const std::string& request, SimReply& reply) const {
        const int channel = request[5] - '0';
        const int points = m_options.fault == ESimFault::Short ? kPoints - 100 : kPoints;
        reply.bytes += request;
        // SampleScreen spreads its points over 10 divisions; the 48 points past the screen
        // continue at the same rate.
        const double stretched = m_dTime * kPoints / kScreenPoints;
        const auto volts = SampleScreen(ChannelSignal(channel), stretched, kPoints);
        for (int i = 0; i < points; ++i)
            reply.bytes += static_cast<char>(QuantizeVolts(volts[i], m_dVolts, kLevelsPerDivision, kCentre, 0, 255));
    }

    int m_nVoltCode = 0, m_nTimeCode = kFirstTimeCode;
    bool m_bProbe = false, m_bMagnifier = false;
    double m_dVolts = 1.0, m_dTime = 1e-3;
};

const SimModelRegistration kRegistration({.key = "hm1507", .name = "HAMEG 1507", .configIndex = 1},
                                           [](const SimOptions& options) {
    return std::make_unique<CHm1507Model>(options);
});

}  // namespace
