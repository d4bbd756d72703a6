// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TrNoop.h"
#include <string>

class CData;

// The mean/RMS dialogs' texts and fields, and the values they show.
inline constexpr char kMeanRmsErrorText[] = KIV_TR_NOOP("Kiv", "Błąd przy wyliczaniu\n\n");
inline constexpr char kMeanRmsErrorCaption[] = "Kiv";

struct MeanRmsFields {
    bool bTwoPlots = false;  // the dialog with rows Y1 and Y2 instead of the one-row dialog
    std::string m_strMean1, m_strRms1, m_strMean2, m_strRms2;
};

// values as ComputeMeanRms fills them; Y1 is plot 1 (or the result curve), Y2 plot 2.
MeanRmsFields MeanRmsDialogFields(const std::string values[4], bool bTwoPlots);

// Rectified mean and RMS of the mode's display samples between the cursors, as the
// dialog's strings: one plot [mean, RMS]; two plots [mean 2, mean 1, RMS 2, RMS 1].
// False when the mode is not available.
bool ComputeMeanRms(CData* mode, int cursor1, int cursor2, std::string values[4], bool& bTwoPlots);
