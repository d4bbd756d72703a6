#include <gtest/gtest.h>

#include <cmath>

#include "analysis/MeanRms.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"

namespace {
const AxisScale kTime{0, 's', 0.001};
// 100 codes at 0.01 V: 1 V, 1000 samples per period.
int Sine(int i) { return 100 + (int)std::floor(100 * std::sin(2 * 3.141592653589793 * i / 1000) + 0.5); }
}  // namespace

// Whole periods: rectified mean 2/pi = 0.6366 V, RMS 1/sqrt(2) = 0.7071 V. A constant
// -1 V reads 1 V for both. With two plots plot 2 comes first.
TEST(MeanRms, SineAndConstantInDialogOrder) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, Sine, kTime, {0, 'V', 0.01});
    doc.m_nCursor1 = 4000, doc.m_nCursor2 = 0;
    std::string v[4];
    bool two = true;
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));  // the mode is computed on the way
    EXPECT_TRUE(!two && v[0] == "637m" && v[1] == "707m");

    FillPlot(doc.Source(), 2, [](int) { return 50; }, kTime, {-1, 'V', 20.0});
    doc.DataChanged();
    doc.m_nCursor1 = 250, doc.m_nCursor2 = 3250;  // three whole periods
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(two);
    EXPECT_EQ((std::vector<std::string>(v, v + 4)), (std::vector<std::string>{"1.00 ", "637m", "1.00 ", "707m"}));
    const MeanRmsFields f = MeanRmsDialogFields(v, two);
    EXPECT_TRUE(f.m_strMean1 == "637m" && f.m_strMean2 == "1.00 " && f.m_strRms1 == "707m" && f.m_strRms2 == "1.00 ");
}

// Both cursors at one place: an empty range, both values 0 with the plot's prefix.
TEST(MeanRms, EmptyRangeUnavailableModeAndEnableRule) {
    CKivDoc doc;
    EXPECT_FALSE(doc.OnUpdateMeanRms().enabled);
    FillPlot(doc.Source(), 1, Sine, kTime, {-1, 'V', 10.0});
    doc.m_nCursor1 = doc.m_nCursor2 = 1234;
    std::string v[4];
    bool two = false;
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(v[0] == "0.000m" && v[1] == "0.000m" && doc.OnUpdateMeanRms().enabled);

    doc.OnModeCommand(ID_MODE_SUM);  // needs both plots
    v[0] = "unchanged";
    EXPECT_TRUE(!doc.ComputeMeanRms(v, two) && v[0] == "unchanged" && doc.OnUpdateMeanRms().enabled);
    doc.OnModeCommand(ID_MODE_FOURIER);
    EXPECT_FALSE(doc.OnUpdateMeanRms().enabled);
}
