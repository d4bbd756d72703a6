// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "data/CData.h"

// The harmonic the user picked in Fourier mode by clicking under its bar. Only the
// clicked x is kept; the harmonic and the plot are picked again at every render,
// because the bars move when the window or the number of curves changes.
class CFourierCursor {
public:
    // Sets m_nHarmonic, m_nPlot and m_strPlot from m_nClickX; returns the harmonic.
    int SelectHarmonic(const CData& mode, const WindowRect& rcPlot);
    // x of the cursor line for the current selection, inside the plot.
    int LineX(const CData& mode, const WindowRect& rcPlot) const;

    int m_nClickX = 0;  // view client coordinates
    int m_nHarmonic = 0;
    std::string m_strPlot = "Wykres pierwszy";  // untranslated: the panel shows it in the user's language
    int m_nPlot = 0;  // 0 the first plot, 1 the second
};
