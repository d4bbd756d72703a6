// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/CFourierCursor.h"

#include <cmath>

#include "platform/TrNoop.h"

namespace {

// Pixels per harmonic, kept as a 32-bit float like the bar layout.
float HarmonicPitch(const WindowRect& rc) { return static_cast<float>(MulF(rc.right - rc.left, 0.02f)); }

}  // namespace

int CFourierCursor::SelectHarmonic(const CData& mode, const WindowRect& rcPlot) {
    const double s = HarmonicPitch(rcPlot);
    const bool two = mode.ShowsTwoCurves();
    const int b = two ? 6 : 10;
    const int d = m_nClickX - rcPlot.left;
    const double a = d / s, e = (d + b) / s;
    int k;
    if (Trunc(a) == Trunc(e))
        k = Trunc(a);
    else  // the harmonic that holds the larger part of the bar's span
        k = e - std::floor(e) <= std::ceil(a) - a ? Trunc(a) : Trunc(e);
    if (k < 0) k = 0;
    if (k > kHarmonics - 1) k = kHarmonics - 1;
    m_nHarmonic = k;
    if (two)
        m_nPlot = m_nClickX >= k * s + rcPlot.left + 8 ? 1 : 0;
    else
        m_nPlot = mode.GetPlotMask() == 2 ? 1 : 0;
    m_strPlot = m_nPlot ? KIV_TR_NOOP("Kiv", "Wykres drugi") : KIV_TR_NOOP("Kiv", "Wykres pierwszy");
    return k;
}

int CFourierCursor::LineX(const CData& mode, const WindowRect& rcPlot) const {
    const double s = HarmonicPitch(rcPlot);
    const int shift = !mode.ShowsTwoCurves() ? 5 : (m_nPlot ? 12 : 3);
    int x = rcPlot.left + Trunc(m_nHarmonic * s) + shift;
    if (x > rcPlot.right) x = rcPlot.right;
    if (x < rcPlot.left) x = rcPlot.left;
    return x;
}
