// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// The fields of the Fourier cursor panel. The view fills the numbers and
// m_nHarmonic / m_strPlot; FormatFourierPanel turns the numbers into the texts the
// panel shows, changing the numbers as the panel always has.
struct FourierPanelValues {
    int m_nHarmonic = 0;
    std::string m_strPlot;
    std::string m_strFrequency;
    std::string m_strAmplitude;
    std::string m_strPhaseRad;
    std::string m_strPhaseDeg;
    std::string m_strA0;
    std::string m_strAn;
    std::string m_strBn;
    float m_fAmplitude = 0;
    int m_nAmpExponent = 0;
    int m_nFreqExponent = 0;  // exponent of the time axis; negated by the formatting
    double m_dFrequency = 0;  // n / (t2 - t1), either sign; made positive
    double m_dPhase = 0;      // radians; below 0.01 in magnitude it becomes 0
    double m_dA0 = 0;
    double m_dAn = 0;
    double m_dBn = 0;
};

void FormatFourierPanel(FourierPanelValues& v);
