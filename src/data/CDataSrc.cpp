// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CDataSrc.h"

#include <algorithm>

#include "data/CArchive.h"
#include "units/SINotation.h"

// The raw arrays and scales are cleared too, so that a fresh pair saves and
// compares deterministically; nothing reads them while their plot is empty.
CDataSrc::CDataSrc()
    : m_nPresent(0),
      m_nEnabled(0),
      m_crColour1(0),
      m_crColour2(0),
      m_bInvert1(0), m_bOffset1(0), m_bMultiplier1(0), m_nOffset1(0), m_fMultiplier1(1.0f),
      m_bInvert2(0), m_bOffset2(0), m_bMultiplier2(0), m_nOffset2(0), m_fMultiplier2(1.0f) {
    std::fill(std::begin(m_nRaw1), std::end(m_nRaw1), 100);
    std::fill(std::begin(m_nRaw2), std::end(m_nRaw2), 100);
    std::fill(std::begin(m_nShown1), std::end(m_nShown1), 100);
    std::fill(std::begin(m_nShown2), std::end(m_nShown2), 100);
}

CDataSrc::PlotFields CDataSrc::Fields(int plot) {
    if (plot == 1)
        return {m_nRaw1, &m_crColour1, &m_timeScale1, &m_ampScale1, &m_bInvert1,
                &m_bOffset1, &m_bMultiplier1, &m_nOffset1, &m_fMultiplier1};
    return {m_nRaw2, &m_crColour2, &m_timeScale2, &m_ampScale2, &m_bInvert2,
            &m_bOffset2, &m_bMultiplier2, &m_nOffset2, &m_fMultiplier2};
}

void CDataSrc::GetPlotSettings(PlotSettings& s, int plot) const {
    const PlotFields f = const_cast<CDataSrc*>(this)->Fields(plot);
    s.bEnabled = m_nEnabled & (plot == 1 ? 1 : 2);
    s.bInvert = *f.invert;
    s.crColour = *f.colour;
    s.bOffset = *f.offsetOn;
    s.bMultiplier = *f.multiplierOn;
    s.nOffset = *f.offset;
    s.fMultiplier = *f.multiplier;
    s.nAmpExponent = f.amp->exponent;
    s.dAmpStep = f.amp->step;
}

void CDataSrc::SetPlotSettings(PlotSettings& s, int plot) {
    // A negative factor is an inversion plus its magnitude; the caller's record learns it too.
    if (s.bMultiplier && s.fMultiplier < 0) {
        s.fMultiplier = -s.fMultiplier;
        s.bInvert = !s.bInvert;
    }
    const uint8_t bit = plot == 1 ? 1 : 2;
    if (s.bEnabled)
        m_nEnabled |= bit;
    else
        m_nEnabled &= ~bit;
    const PlotFields f = Fields(plot);
    *f.colour = s.crColour;
    *f.invert = s.bInvert;
    *f.offsetOn = s.bOffset;
    *f.multiplierOn = s.bMultiplier;
    *f.offset = s.nOffset;
    *f.multiplier = s.fMultiplier;
}

// One plot's settings, each step only where asked: with both plots on the inversions
// come first, then the offsets, then the multipliers.
void CDataSrc::ApplySettings(int plot, int32_t* shown, AxisScale& scale, bool invert, bool offset, bool multiplier) {
    const PlotFields f = Fields(plot);
    if (invert && *f.invert)
        for (int i = 0; i < kSamples; ++i) shown[i] = Sat32(200 - int64_t{shown[i]});
    if (offset && *f.offsetOn)
        for (int i = 0; i < kSamples; ++i) shown[i] = Sat32(int64_t{shown[i]} + *f.offset);
    if (multiplier && *f.multiplierOn) scale.step *= static_cast<double>(*f.multiplier);
}

// Each output averages the finer samples that fit into one coarser step, together
// with one zero-line code; once the finer record runs out the outputs are 100.
void CDataSrc::AverageDown(const int32_t* finer, int32_t* out, double finerStep, double coarserStep) {
    int j = 0;
    for (int o = 0; o < kSamples; ++o) {
        int64_t sum = 100;  // imported codes may use all 32 bits
        int32_t n = 0;
        double t = 0.0;
        if (coarserStep > 0) {
            do {
                if (j >= kSamples) break;
                sum += finer[j];
                ++j;
                t += finerStep;
                ++n;
            } while (t < coarserStep);
        }
        out[o] = static_cast<int32_t>(sum / (n + 1));
    }
}

void CDataSrc::Rebuild() {
    switch (m_nEnabled) {
    case 1:
    case 2: {
        const int plot = m_nEnabled;
        std::copy_n(plot == 1 ? m_nRaw1 : m_nRaw2, kSamples, m_nShown1);
        m_axisX = plot == 1 ? m_timeScale1 : m_timeScale2;
        m_axisY1 = plot == 1 ? m_ampScale1 : m_ampScale2;
        ApplySettings(plot, m_nShown1, m_axisY1, true, true, true);
        return;
    }
    case 3:
        break;
    default:
        return;
    }

    m_axisY1 = m_ampScale1;
    m_axisY2 = m_ampScale2;
    const AxisScale& t1 = m_timeScale1;
    const AxisScale& t2 = m_timeScale2;
    if (t1.exponent == t2.exponent && t1.step == t2.step) {
        std::copy_n(m_nRaw1, kSamples, m_nShown1);
        std::copy_n(m_nRaw2, kSamples, m_nShown2);
        m_axisX = t1;
    } else {
        bool firstCoarser;
        if (t1.exponent != t2.exponent)
            firstCoarser = t1.exponent > t2.exponent;
        else
            firstCoarser = t1.step >= t2.step;
        const AxisScale& coarse = firstCoarser ? t1 : t2;
        const AxisScale& fine = firstCoarser ? t2 : t1;
        const double f = ScaleByPow1000(fine.step, int64_t{fine.exponent} - coarse.exponent);
        if (firstCoarser) {
            std::copy_n(m_nRaw1, kSamples, m_nShown1);
            AverageDown(m_nRaw2, m_nShown2, f, coarse.step);
        } else {
            std::copy_n(m_nRaw2, kSamples, m_nShown2);
            AverageDown(m_nRaw1, m_nShown1, f, coarse.step);
        }
        m_axisX = coarse;
    }
    for (int step = 0; step < 3; ++step) {
        ApplySettings(1, m_nShown1, m_axisY1, step == 0, step == 1, step == 2);
        ApplySettings(2, m_nShown2, m_axisY2, step == 0, step == 1, step == 2);
    }
}

namespace {

void SerializeScale(CArchive& ar, AxisScale& s) {
    if (ar.IsStoring()) {
        ar.WriteI32(s.exponent);
        ar.WriteF64(s.step);
        ar.WriteI32(s.unit);
    } else {
        s.exponent = ar.ReadI32();
        s.step = ar.ReadF64();
        s.unit = ar.ReadI32();
    }
}

}  // namespace

// Plot block: colour, time scale, amplitude scale, invert, offset flag, multiplier,
// the offset flag a second time (the multiplier flag is not kept), offset, codes.
void CDataSrc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteU8(m_nPresent);
        ar.WriteU8(m_nEnabled);
        for (int p = 0; p < 2; ++p) {
            if (!(m_nPresent & (1 << p))) continue;
            const PlotFields r = Fields(p + 1);
            ar.WriteU32(*r.colour);
            SerializeScale(ar, *r.time);
            SerializeScale(ar, *r.amp);
            ar.WriteI32(*r.invert);
            ar.WriteI32(*r.offsetOn);
            ar.WriteF32(*r.multiplier);
            ar.WriteI32(*r.offsetOn);
            ar.WriteI32(*r.offset);
            for (int i = 0; i < kSamples; ++i) ar.WriteU8(static_cast<uint8_t>(r.raw[i]));
        }
    } else {
        m_nPresent = ar.ReadU8();
        m_nEnabled = ar.ReadU8();
        for (int p = 0; p < 2; ++p) {
            if (!(m_nPresent & (1 << p))) continue;
            const PlotFields r = Fields(p + 1);
            *r.colour = ar.ReadU32();
            SerializeScale(ar, *r.time);
            SerializeScale(ar, *r.amp);
            *r.invert = ar.ReadI32();
            *r.offsetOn = ar.ReadI32();
            *r.multiplier = ar.ReadF32();
            *r.offsetOn = ar.ReadI32();
            *r.offset = ar.ReadI32();
            // Codes come back unsigned: a stored -27 reads as 229.
            for (int i = 0; i < kSamples; ++i) r.raw[i] = ar.ReadU8();
        }
        Rebuild();
    }
}
