#include <gtest/gtest.h>

#include <cmath>

#include "analysis/MeanRms.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"

// Three whole periods of a 1 V sine (100 codes at 0.01 V, 1000 samples a period), the
// cursors either way round: rectified mean 2/pi = 0.6366 V, RMS 1/sqrt(2) = 0.7071 V. A
// constant -1 V (in mV) reads 1 V for both, and as plot 2 it comes first. Which commands
// are enabled, empty ranges and the dialogs are the shell's, kivtool's and the dialogs' tests.
TEST(MeanRms, SineConstantOrderAndTheModesThatHaveNoValues) {
    CKivDoc doc;
    const AxisScale time{0, 's', 0.001};
    auto sine = [](int i) { return 100 + (int)std::floor(100 * std::sin(2 * 3.141592653589793 * i / 1000) + 0.5); };
    FillPlot(doc.Source(), 1, sine, time, {0, 'V', 0.01});
    FillPlot(doc.Source(), 2, [](int) { return 50; }, time, {-1, 'V', 20.0});
    doc.m_nCursor1 = 3250, doc.m_nCursor2 = 250;
    std::string v[4];
    bool two = false;
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(two);
    EXPECT_EQ((std::vector<std::string>(v, v + 4)), (std::vector<std::string>{"1.00 ", "637m", "1.00 ", "707m"}));
    const MeanRmsFields f = MeanRmsDialogFields(v, two);
    EXPECT_EQ(std::vector<std::string>({f.m_strMean1, f.m_strMean2, f.m_strRms1, f.m_strRms2}),
              std::vector<std::string>({"637m", "1.00 ", "707m", "1.00 "}));

    doc.OnPlotToggle(ID_PLOT2_TOGGLE);
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_EQ(std::tuple(two, v[0], v[1]), std::tuple(false, "637m", "707m"));
    doc.OnModeCommand(ID_MODE_SUM);  // needs both plots: no values, yet the command stays
    EXPECT_FALSE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(doc.OnUpdateMeanRms().enabled);
}
