// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/FourierPanelValues.h"

#include <cmath>
#include <cstdio>

#include "units/SINotation.h"

namespace {

std::string Fixed2(double v) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

}  // namespace

void FormatFourierPanel(FourierPanelValues& v) {
    FormatSI(v.m_strAmplitude, v.m_fAmplitude, v.m_nAmpExponent);
    // A frequency is the reciprocal of a time: its prefix power is the time's negated.
    v.m_dFrequency = std::fabs(v.m_dFrequency);
    v.m_nFreqExponent = -v.m_nFreqExponent;
    FormatSI(v.m_strFrequency, v.m_dFrequency, v.m_nFreqExponent);
    v.m_strFrequency += "Hz";
    if (std::fabs(v.m_dPhase) < 0.01) v.m_dPhase = 0;
    v.m_strPhaseRad = Fixed2(v.m_dPhase);
    // 180 / 3.14159, as the panel has always converted, not 180 / pi.
    v.m_strPhaseDeg = Fixed2(v.m_dPhase * 57.29582790879778);
    FormatSI(v.m_strA0, v.m_dA0, 0);
    FormatSI(v.m_strAn, v.m_dAn, 0);
    FormatSI(v.m_strBn, v.m_dBn, 0);
}
