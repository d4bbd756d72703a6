// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/Generator.h"
#include "document/CKivDoc.h"

// 100 + 50 sin(2 pi i / 4000) rounded half up; the last sample, -0.0785, rounds to 100.
TEST(Generator, DefaultsGiveOneSinePeriodInBothPlots) {
    CKivDoc doc;
    const GeneratorParams p;
    ASSERT_EQ(doc.OnGenerate(&p), 1);
    const CDataSrc& s = doc.Source();
    const std::pair<int, int> points[] = {{0, 100},    {250, 119},  {500, 135},  {1000, 150},
                                          {2000, 100}, {2500, 65},  {3000, 50},  {3999, 100}};
    for (auto [i, code] : points) EXPECT_EQ(s.m_nRaw1[i], code) << i;
    EXPECT_TRUE(std::equal(s.m_nRaw1, s.m_nRaw1 + kSamples, s.m_nRaw2));
    EXPECT_EQ(std::tuple(s.m_nPresent, s.m_nEnabled, s.m_nShown2[1000]), std::tuple(3, 3, 150));  // rebuilt
    EXPECT_EQ(std::tuple(s.m_timeScale2.step, s.m_timeScale2.unit, s.m_ampScale1.step), std::tuple(0.00025, 0, 0.02));
    EXPECT_TRUE(doc.IsModified());

    CKivDoc cancelled;
    ASSERT_EQ(cancelled.OnGenerate(nullptr), 0);
    EXPECT_EQ(std::pair(cancelled.IsModified(), cancelled.Source().m_nPresent), std::pair(false, uint8_t{0}));
}

// D = 3.90625 s makes dt = 2^-10 s exactly, and P = 400 dt has 200-sample halves. A
// start phase in the second half period (or past a whole one) starts low and holds
// until the counter passes P. Each case: phase in dt, length and level of the first run.
TEST(Generator, SquareWavesAndConstantLevels) {
    const double dt = 1.0 / 1024;
    GeneratorParams p;
    p.m_nKind = kGenSquare, p.m_nTarget = 2, p.m_dDuration = 3.90625, p.m_dPeriod = 400 * dt;
    const int squares[][3] = {
        {0, 200, 150},    // counter from 0
        {100, 102, 50},   // counter from 300 dt, pending until 401 dt
        {300, 100, 150},  // counter from 100 dt
        {500, 102, 50},   // past P: 2P - phi = 300 dt again
    };
    for (const auto& [phase, first, level] : squares) {
        CDataSrc s;
        p.m_dStartPhase = phase * dt;
        ASSERT_EQ(GenerateSignal(s, &p), 1);
        for (int i = 0; i < kSamples; ++i)
            ASSERT_EQ(s.m_nRaw2[i], i < first || ((i - first) / 200) % 2 ? level : 200 - level) << phase << " " << i;
        EXPECT_EQ(std::pair(s.m_nPresent, s.m_timeScale2.step), std::pair(uint8_t{2}, dt));
    }

    // A constant: level trunc(A / |0.02 A| + 100) from sample trunc(4000 phi / D), or from 0
    // when phi >= D.
    p = GeneratorParams(), p.m_nKind = kGenConstant, p.m_nTarget = 1;
    CDataSrc s;
    s.m_nPresent = 2;  // plot 2 holds data but is off: switched on too
    const double levels[][5] = {
        // amplitude, phase, first sample at the level, level, step
        {1, 0.25, 1000, 150, 0.02}, {1, 1.0, 0, 150, 0.02}, {-1, 7.5, 0, 50, 0.02},
        {-899.66, 0, 0, 49, 17.9932},  // -899.66 / 17.9932 is a hair below -50
        {0, 0.5, 0, 100, 1.0},         // flat, step 1
    };
    for (const auto& [amplitude, phase, first, level, step] : levels) {
        p.m_dAmplitude = amplitude, p.m_dStartPhase = phase;
        ASSERT_EQ(GenerateSignal(s, &p), 1);
        for (int i = 0; i < kSamples; ++i) ASSERT_EQ(s.m_nRaw1[i], i < first ? 100 : level) << amplitude << " " << i;
        EXPECT_NEAR(s.m_ampScale1.step, step, 1e-12);
        EXPECT_EQ(s.m_nEnabled, 3);
    }
}

// The first failing field in exchange order; values in range and a phase not below the
// duration are kivtool's test.
TEST(Generator, DialogRanges) {
    GeneratorParams p;
    p.m_dDuration = 1e-12, p.m_dPeriod = 20000;
    EXPECT_EQ(FirstFieldOutOfRange(p), GeneratorField::Duration);
    p.m_dDuration = 1e-11, p.m_dStartPhase = 9999.99995, p.m_dPeriod = 1e-10;
    EXPECT_EQ(FirstFieldOutOfRange(p), GeneratorField::StartPhase);
}
