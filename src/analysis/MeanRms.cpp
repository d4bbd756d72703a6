// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/MeanRms.h"

#include <algorithm>
#include <cmath>

#include "data/CData.h"
#include "units/SINotation.h"

bool ComputeMeanRms(CData* mode, int cursor1, int cursor2, std::string values[4], bool& bTwoPlots) {
    if (!mode->IsAvailable()) return false;
    // The values follow the picture: a mode not drawn since its data changed is
    // brought up to date first (the view has always done so already).
    if (!mode->m_bReady) mode->Recalculate();
    bTwoPlots = mode->BothPlotsOn();
    const int lo = std::min(cursor1, cursor2);
    const int hi = std::max(cursor1, cursor2);
    const int n = hi - lo;

    const int plots[2] = {bTwoPlots ? 2 : 1, 1};
    const int count = bTwoPlots ? 2 : 1;
    double mean[2] = {0, 0}, rms[2] = {0, 0};
    int exponent[2] = {0, 0};
    for (int p = 0; p < count; ++p) {
        double sum = 0, squares = 0;
        float v = 0;
        exponent[p] = mode->GetScale(plots[p] == 1 ? 5 : 6).exponent;
        for (int i = lo; i < hi; ++i) {
            mode->ValueAt(i, v, exponent[p], plots[p]);
            sum += std::fabs(static_cast<double>(v));
            squares += static_cast<double>(v) * v;
        }
        // Both cursors at one place: an empty range reads 0.
        if (n > 0) {
            mean[p] = sum / n;
            rms[p] = std::sqrt(squares / n);
        }
    }
    int k = 0;
    for (int p = 0; p < count; ++p) FormatSI(values[k++], mean[p], exponent[p]);
    for (int p = 0; p < count; ++p) FormatSI(values[k++], rms[p], exponent[p]);
    return true;
}

MeanRmsFields MeanRmsDialogFields(const std::string values[4], bool bTwoPlots) {
    MeanRmsFields f;
    f.bTwoPlots = bTwoPlots;
    if (bTwoPlots) {
        f.m_strMean1 = values[1];
        f.m_strMean2 = values[0];
        f.m_strRms1 = values[3];
        f.m_strRms2 = values[2];
    } else {
        f.m_strMean1 = values[0];
        f.m_strRms1 = values[1];
    }
    return f;
}
