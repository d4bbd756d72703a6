// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataFourier.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "data/CDataSrc.h"
#include "data/IModeHost.h"
#include "platform/TrNoop.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr char kProgressTitle[] = KIV_TR_NOOP("Kiv", "oblicznie DFT ");
constexpr char kCaption[] = "Kiv";
constexpr char kCursorsCoincide[] = KIV_TR_NOOP("Kiv", "Kursory pokrywanją się. Zmień pozycję kursorów ");
// "/n" is part of the text as the program has always shown it, not a line break.
constexpr char kTooFewSamples[] = KIV_TR_NOOP("Kiv",
    "Liczba próbek jest za mała do przeprowadzenia analizy widmowej, ustaw większy przedział czasu./n "
    "Otrzymane dane nie bedą poprawne");

// floor below a fractional part of one half, ceil from it on.
int32_t Nearest(double v) {
    double whole;
    const double frac = std::modf(v, &whole);
    return Trunc(frac < 0.5 ? std::floor(v) : std::ceil(v));
}

void ToPhysical(const int32_t* codes, double step, double* x) {
    for (int i = 0; i < kSamples; ++i) x[i] = (codes[i] - 100.0) * step;
}

// Bars are 0..200 codes of the largest amplitude A, and the step becomes A / 200. A
// plot flat at the zero line has A = 0: no bars (codes 0, so every read-out is 0) and
// the step is kept, so the amplitude axis never gets a zero step.
void FillBars(const double* amp, int32_t* harm, AxisScale& scale) {
    double top = 0;
    for (int k = 0; k < kHarmonics; ++k)
        if (amp[k] > top) top = amp[k];
    const double perTop = 200 / top;
    if (!std::isfinite(perTop)) {
        std::fill(harm, harm + kHarmonics, 0);
        return;
    }
    for (int k = 0; k < kHarmonics; ++k) harm[k] = Nearest(amp[k] * 200 / top);
    scale.step = 1 / perTop;
}

// Windows-1250 for the Polish letters; the table file is read by Windows programs.
std::string ToCp1250(const char* utf8) {
    static const struct {
        char32_t code;
        unsigned char byte;
    } kMap[] = {{0x104, 0xA5}, {0x105, 0xB9}, {0x106, 0xC6}, {0x107, 0xE6}, {0x118, 0xCA}, {0x119, 0xEA},
                {0x141, 0xA3}, {0x142, 0xB3}, {0x143, 0xD1}, {0x144, 0xF1}, {0xD3, 0xD3},  {0xF3, 0xF3},
                {0x15A, 0x8C}, {0x15B, 0x9C}, {0x179, 0x8F}, {0x17A, 0x9F}, {0x17B, 0xAF}, {0x17C, 0xBF}};
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p;) {
        if (*p < 0x80) {
            out += static_cast<char>(*p++);
            continue;
        }
        char32_t c = 0;
        int more = 0;
        if ((*p & 0xE0) == 0xC0) c = *p & 0x1F, more = 1;
        else if ((*p & 0xF0) == 0xE0) c = *p & 0x0F, more = 2;
        else c = *p & 0x07, more = 3;
        ++p;
        for (; more > 0 && (*p & 0xC0) == 0x80; --more) c = (c << 6) | (*p++ & 0x3F);
        char byte = '?';
        for (const auto& m : kMap)
            if (m.code == c) byte = static_cast<char>(m.byte);
        out += byte;
    }
    return out;
}

// "%.15f" with a decimal comma.
std::string Decimal(double v) {
    const int len = std::snprintf(nullptr, 0, "%.15f", v);
    std::string s(static_cast<size_t>(len) + 1, '\0');
    std::snprintf(s.data(), s.size(), "%.15f", v);
    s.resize(static_cast<size_t>(len));
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

}  // namespace

void CDataFourier::SetPercent(int percent) {
    if (m_pProgress) m_pProgress->SetPercent(percent);
}

void CDataFourier::BuildAngleTable(int basis) {
    // The table depends on the basis alone: a recalculation over a span as long as the last
    // one (a zoom, an edit, a mode switch back) keeps it and saves its 2 x 4000 sines.
    if (basis == m_nAngleBasis) return;
    m_nAngleBasis = basis;
    for (int r = 0; r < basis; ++r) {
        const double angle = kTwoPi * r / basis;
        m_dCos[r] = std::cos(angle);
        m_dNegSin[r] = -std::sin(angle);
    }
}

// Direct sums over samples i1..i2-1 with the basis period M = N + 1, angles counted
// from sample 0 of the record. Bin k and its mirror M - k together give harmonic k.
// The angle 2 pi f i / M is reduced to 2 pi ((f i) mod M) / M in integers, which is
// the same angle without the rounding of the large product.
void CDataFourier::Transform(const double* x, int i1, int i2, double* amp, double* phase, double* a,
                             double* b) const {
    const int M = i2 - i1 + 1;
    // The 100 frequencies: bins 0..49, then their mirrors M - 50 .. M - 1. Four at a time:
    // each keeps its own sums in the order of the samples, so every sum is the one a
    // frequency at a time gives, bit for bit, without each addition waiting on the last.
    constexpr int kFreqs = 2 * kHarmonics, kLanes = 4;
    double cosSums[kFreqs], sinSums[kFreqs];
    for (int f0 = 0; f0 < kFreqs; f0 += kLanes) {
        int step[kLanes], r[kLanes];
        double cs[kLanes] = {}, ss[kLanes] = {};
        for (int l = 0; l < kLanes; ++l) {
            const int f = f0 + l;
            const int freq = f < kHarmonics ? f : M - kFreqs + f;
            step[l] = (freq % M + M) % M;
            r[l] = static_cast<int>(int64_t{step[l]} * i1 % M);
        }
        for (int i = i1; i < i2; ++i) {
            const double xi = x[i];
#pragma GCC unroll 4  // the lanes in registers, not in memory
            for (int l = 0; l < kLanes; ++l) {
                cs[l] += xi * m_dCos[r[l]];
                ss[l] += xi * m_dNegSin[r[l]];
                r[l] += step[l];
                if (r[l] >= M) r[l] -= M;
            }
        }
        for (int l = 0; l < kLanes; ++l) cosSums[f0 + l] = cs[l], sinSums[f0 + l] = ss[l];
    }
    const double* c = cosSums;
    const double* s = sinSums;
    const double* cm = cosSums + kHarmonics;
    const double* sm = sinSums + kHarmonics;

    amp[0] = std::sqrt(s[0] * s[0] + c[0] * c[0]) / M;
    phase[0] = a[0] = b[0] = 0;
    for (int k = 1; k < kHarmonics; ++k) {
        a[k] = (cm[kHarmonics - k] + c[k]) / M;
        b[k] = (s[k] - sm[kHarmonics - k]) / M;
        amp[k] = std::sqrt(a[k] * a[k] + b[k] * b[k]);
        phase[k] = std::atan2(b[k], a[k]);
    }
    double top = 0;
    for (int k = 0; k < kHarmonics; ++k) top = std::max(top, amp[k]);
    // Harmonics below 0.5 % of the largest keep their amplitude but no phase.
    for (int k = 1; k < kHarmonics; ++k)
        if (amp[k] < 0.005 * top) a[k] = b[k] = phase[k] = 0;
}

void CDataFourier::Recalculate() {
    float t1 = 0, t2 = 0;
    int i1 = 0, i2 = 0, exponent = 0;
    m_pHost->GetCurrentMode()->CursorRawValues(t1, t2, i1, i2, exponent, 3);
    if (i1 > i2) {
        std::swap(i1, i2);
        std::swap(t1, t2);
    }
    const CPlatform& platform = m_pHost->Platform();
    if (i1 == i2) {
        // Not ready: the next paint asks again and shows the message again.
        platform.Message(kCursorsCoincide, kCaption, MsgIcon::Exclamation);
        return;
    }
    const int n = i2 - i1;
    const double span = static_cast<double>(t2) - static_cast<double>(t1);
    // Half the sampling rate below harmonic 49; the spectrum is computed anyway.
    if (n / (2 * span) < 49 / span) platform.Message(kTooFewSamples, kCaption, MsgIcon::Exclamation);

    m_bReady = 1;
    const CDataSrc& src = Source();
    if (src.m_nEnabled == 0) return;
    const AxisScale harmonicAxis{0, 'H', 0.0125};
    m_scaleX = harmonicAxis;
    if (!m_pProgress && platform.progress) {
        m_pProgress = platform.progress;
        m_pProgress->Open(kProgressTitle);
    }

    double amp1[kHarmonics], amp2[kHarmonics];
    if (BothPlotsOn()) {
        CopyFromSource(src.m_crColour1);
        m_scaleX = harmonicAxis;
        SetPercent(10);
        ToPhysical(m_nCalc1, m_scaleY1.step, m_dX1);
        ToPhysical(m_nCalc2, m_scaleY2.step, m_dX2);
        SetPercent(20);
        std::fill(std::begin(amp1), std::end(amp1), 0.0);
        std::fill(std::begin(amp2), std::end(amp2), 0.0);
        SetPercent(40);
        BuildAngleTable(n + 1);
        Transform(m_dX1, i1, i2, amp1, m_dPhase1, m_dA1, m_dB1);
        SetPercent(90);
        Transform(m_dX2, i1, i2, amp2, m_dPhase2, m_dA2, m_dB2);
        SetPercent(100);
        FillBars(amp1, m_nHarm1, m_scaleY1);
        FillBars(amp2, m_nHarm2, m_scaleY2);
    } else {
        SetPercent(10);
        CopyFromSource(src.m_crColour1);
        m_scaleX = harmonicAxis;
        ToPhysical(m_nCalc1, m_scaleY1.step, m_dX1);
        SetPercent(20);
        std::fill(std::begin(amp1), std::end(amp1), 0.0);
        SetPercent(50);
        BuildAngleTable(n + 1);
        Transform(m_dX1, i1, i2, amp1, m_dPhase1, m_dA1, m_dB1);
        SetPercent(90);
        SetPercent(100);
        FillBars(amp1, m_nHarm1, m_scaleY1);
    }
    if (m_pProgress) {
        m_pProgress->Close();
        m_pProgress = nullptr;
    }
    ResetZoom();
}

void CDataFourier::GetHarmonic(int n, float& amplitude, int& exponent, double& phase, double& a0, double& an,
                               double& bn, int plot) {
    const bool second = BothPlotsOn() && plot != 1;
    const int32_t* harm = second ? m_nHarm2 : m_nHarm1;
    const AxisScale& scale = second ? m_scaleY2 : m_scaleY1;
    amplitude = static_cast<float>(harm[n] * scale.step);
    exponent = scale.exponent;
    phase = (second ? m_dPhase2 : m_dPhase1)[n];
    a0 = harm[0] * scale.step;
    an = (second ? m_dA2 : m_dA1)[n];
    bn = (second ? m_dB2 : m_dB1)[n];
}

// The amplitude column is the amplitude the panel shows (bar code times step, a
// 32-bit float), so float artefacts appear in its last digits; a, b and the phase
// are the transform's doubles. No SI prefix: values are in the plot's unit.
void CDataFourier::ExportHarmonics(std::string& out) {
    const uint8_t enabled = Source().m_nEnabled;
    if (enabled == 0) return;
    const bool two = BothPlotsOn();
    if (two) {
        out += ToCp1250("wykres z kanału 1;;;;;;;wykres z kanału 2\r\n");
        out += ToCp1250(
            "nr harm;an1 współczynnik;bn1 współczynnik;hn1 amplituda;fin1 faza;;;an2 współczynnik;"
            "bn2 współczynnik;hn2 amplituda;fin2 faza\r\n");
    } else {
        out += ToCp1250("wykres z kanału 1\r\n");
        out += ToCp1250("nr harm;an współczynnik;bn współczynnik;hn amplituda;fin faza;\r\n");
    }
    for (int n = 0; n < kHarmonics; ++n) {
        float amplitude = 0;
        int exponent = 0;
        double phase = 0, a0 = 0, an = 0, bn = 0;
        GetHarmonic(n, amplitude, exponent, phase, a0, an, bn, 1);
        out += std::to_string(n) + ';' + Decimal(an) + ';' + Decimal(bn) + ';' + Decimal(amplitude) + ';' +
               Decimal(phase);
        if (!two) {
            out += ";\r\n";
            continue;
        }
        GetHarmonic(n, amplitude, exponent, phase, a0, an, bn, 2);
        out += ";;;" + Decimal(an) + ';' + Decimal(bn) + ';' + Decimal(amplitude) + ';' + Decimal(phase) + "\r\n";
    }
}
