#include <gtest/gtest.h>

#include "analysis/FourierPanelValues.h"

TEST(FourierPanel, FormatsTheReadOuts) {
    FourierPanelValues v;
    v.m_fAmplitude = 1.5f, v.m_nAmpExponent = -1;
    v.m_dFrequency = -250, v.m_nFreqExponent = -1;  // cursors reversed, time in ms: kHz
    v.m_dPhase = -1.5, v.m_dA0 = 0.0047, v.m_dAn = -2.5, v.m_dBn = 0;
    FormatFourierPanel(v);
    EXPECT_TRUE(v.m_strAmplitude == "1.50m" && v.m_strFrequency == "250kHz");
    EXPECT_TRUE(v.m_dFrequency == 250 && v.m_nFreqExponent == 1);
    EXPECT_TRUE(v.m_strPhaseRad == "-1.50" && v.m_strPhaseDeg == "-85.94");  // 1.5 * 180 / 3.14159 = 85.9437
    EXPECT_TRUE(v.m_strA0 == "4.70m" && v.m_strAn == "-2.50 " && v.m_strBn == "0.000 ");

    v.m_dPhase = -0.0099;  // below 0.01 rad: 0, not "-0.00"
    FormatFourierPanel(v);
    EXPECT_TRUE(v.m_dPhase == 0 && v.m_strPhaseRad == "0.00" && v.m_strPhaseDeg == "0.00");
    v.m_dPhase = 3.141592653589793;  // 180 / 3.14159 * pi = 180.00015
    FormatFourierPanel(v);
    EXPECT_EQ(v.m_strPhaseDeg, "180.00");
}
