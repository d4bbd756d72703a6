#include <gtest/gtest.h>

#include <cmath>

#include "analysis/MeanRms.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"

// Whole periods of a 1 V sine (100 codes at 0.01 V, 1000 samples a period): rectified
// mean 2/pi = 0.6366 V, RMS 1/sqrt(2) = 0.7071 V. A constant -1 V reads 1 V for both.
// With two plots plot 2 comes first.
TEST(MeanRms, SineConstantDialogOrderEmptyRangeAndEnableRule) {
    CKivDoc doc;
    EXPECT_FALSE(doc.OnUpdateMeanRms().enabled);
    const AxisScale time{0, 's', 0.001};
    auto sine = [](int i) { return 100 + (int)std::floor(100 * std::sin(2 * 3.141592653589793 * i / 1000) + 0.5); };
    FillPlot(doc.Source(), 1, sine, time, {0, 'V', 0.01});
    doc.m_nCursor1 = 4000, doc.m_nCursor2 = 0;
    std::string v[4];
    bool two = true;
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(!two && v[0] == "637m" && v[1] == "707m" && doc.OnUpdateMeanRms().enabled);
    doc.m_nCursor1 = doc.m_nCursor2 = 1234;  // empty range: 0
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(v[0] == "0.000 " && v[1] == "0.000 ");

    FillPlot(doc.Source(), 2, [](int) { return 50; }, time, {-1, 'V', 20.0});
    doc.DataChanged();
    doc.m_nCursor1 = 250, doc.m_nCursor2 = 3250;  // three whole periods
    ASSERT_TRUE(doc.ComputeMeanRms(v, two) && two);
    EXPECT_EQ((std::vector<std::string>(v, v + 4)), (std::vector<std::string>{"1.00 ", "637m", "1.00 ", "707m"}));
    const MeanRmsFields f = MeanRmsDialogFields(v, two);
    EXPECT_TRUE(f.m_strMean1 == "637m" && f.m_strMean2 == "1.00 " && f.m_strRms1 == "707m" && f.m_strRms2 == "1.00 ");

    doc.OnPlotToggle(ID_PLOT2_TOGGLE);
    doc.OnModeCommand(ID_MODE_SUM);  // needs both plots
    EXPECT_TRUE(!doc.ComputeMeanRms(v, two) && doc.OnUpdateMeanRms().enabled);
    doc.OnModeCommand(ID_MODE_FOURIER);
    EXPECT_FALSE(doc.OnUpdateMeanRms().enabled);
}
