#pragma once
#include <string>

// The mean/RMS dialogs' texts and fields. ComputeMeanRms lives on the document
// (data/CKivDoc.h); this maps its strings onto the dialog that shows them.
inline constexpr char kMeanRmsErrorText[] = "Błąd przy wyliczaniu\n\n";
inline constexpr char kMeanRmsErrorCaption[] = "Kiv";

struct MeanRmsFields {
    bool bTwoPlots = false;  // template 148 (Y1 and Y2) instead of 147
    std::string m_strMean1, m_strRms1, m_strMean2, m_strRms2;
};

// values as ComputeMeanRms fills them; Y1 is plot 1 (or the result curve), Y2 plot 2.
MeanRmsFields MeanRmsDialogFields(const std::string values[4], bool bTwoPlots);
