#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Generator.h"
#include "data/CKivDoc.h"
#include "support/FakePlatform.h"

TEST(Generator, DefaultsGiveOneSinePeriodInBothPlots) {
    const GeneratorParams p;
    EXPECT_TRUE(p.m_dAmplitude == 1 && p.m_dDuration == 1 && p.m_dStartPhase == 0 && p.m_dPeriod == 1);
    EXPECT_TRUE(p.m_nKind == kGenSine && p.m_nTarget == 3);
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    ASSERT_EQ(doc.OnGenerate(&p), 1);
    const CDataSrc& s = doc.Source();
    for (int i = 0; i < kSamples; ++i) {  // 50 codes per unit, rounded half up
        const int code = 100 + (int)std::floor(50 * std::sin(2 * 3.141592653589793 * i / 4000) + 0.5);
        ASSERT_TRUE(s.m_nRaw1[i] == code && s.m_nRaw2[i] == code) << i;
    }
    EXPECT_TRUE(s.m_nRaw1[1000] == 150 && s.m_nRaw1[3000] == 50);
    EXPECT_TRUE(s.m_nPresent == 3 && s.m_nEnabled == 3);
    EXPECT_TRUE(s.m_timeScale2.step == 0.00025 && s.m_timeScale2.unit == 0 && s.m_ampScale1.step == 0.02);
    EXPECT_TRUE(doc.IsModified() && host.view.redraws == 1);

    CKivDoc cancelled;
    EXPECT_EQ(cancelled.OnGenerate(nullptr), 0);
    EXPECT_TRUE(!cancelled.IsModified() && cancelled.Source().m_nPresent == 0);
}

// D = 3.90625 s makes dt = 2^-10 s exactly, and P = 400 dt has 200-sample halves. A
// start phase in the second half period (or past a whole one) starts low and holds
// until the counter passes P.
TEST(Generator, SquareWavesWithSeveralPhases) {
    const double dt = 1.0 / 1024;
    GeneratorParams p;
    p.m_nKind = kGenSquare, p.m_nTarget = 2, p.m_dDuration = 3.90625, p.m_dPeriod = 400 * dt;
    struct {
        double phase;
        int first, level;  // level of the first `first` samples; then 200 per level
    } cases[] = {
        {0, 200, 150},         // counter from 0
        {100 * dt, 102, 50},   // counter from 300 dt, pending until 401 dt
        {300 * dt, 100, 150},  // counter from 100 dt
        {500 * dt, 102, 50},   // past P: 2P - phi = 300 dt again
    };
    for (const auto& c : cases) {
        CDataSrc s;
        p.m_dStartPhase = c.phase;
        ASSERT_EQ(s.Generate(&p), 1);
        for (int i = 0; i < kSamples; ++i) {
            const int level = i < c.first || ((i - c.first) / 200) % 2 ? c.level : 200 - c.level;
            ASSERT_EQ(s.m_nRaw2[i], level) << c.phase << " " << i;
        }
        EXPECT_TRUE(s.m_nPresent == 2 && s.m_timeScale2.step == dt);
    }
}

TEST(Generator, ConstantLevels) {
    GeneratorParams p;
    p.m_nKind = kGenConstant, p.m_nTarget = 1, p.m_dStartPhase = 0.25;
    CDataSrc s;
    s.m_nPresent = 2;  // plot 2 holds data but is off: switched on too
    ASSERT_EQ(s.Generate(&p), 1);
    EXPECT_TRUE(s.m_nRaw1[999] == 100 && s.m_nRaw1[1000] == 150 && s.m_nEnabled == 3);
    struct {
        double amplitude, phase;
        int level;
        double step;
    } cases[] = {
        {1, 1.0, 150, 0.02},  // phi >= D: the whole record at the level
        {1, 7.5, 150, 0.02},
        {-1, 1.0, 50, 0.02},
        {-899.66, 0, 49, 17.9932},  // -899.66 / 17.9932 is a hair below -50: trunc gives 49
        {0, 0, 100, 1.0},           // flat, step 1
    };
    for (const auto& c : cases) {
        p.m_dAmplitude = c.amplitude, p.m_dStartPhase = c.phase;
        ASSERT_EQ(s.Generate(&p), 1);
        for (int i = 0; i < kSamples; ++i) ASSERT_EQ(s.m_nRaw1[i], c.level) << c.amplitude << " " << i;
        EXPECT_NEAR(s.m_ampScale1.step, c.step, 1e-12);
    }
}

TEST(Generator, DialogRangesAndPhaseRule) {
    GeneratorParams p;
    EXPECT_EQ(FirstFieldOutOfRange(p), GeneratorField::None);
    p.m_dDuration = 1e-12, p.m_dPeriod = 20000;  // the first failing field in exchange order
    EXPECT_EQ(FirstFieldOutOfRange(p), GeneratorField::Duration);
    p.m_dDuration = 1e-11, p.m_dStartPhase = 9999.99995;
    EXPECT_EQ(FirstFieldOutOfRange(p), GeneratorField::StartPhase);
    p.m_dStartPhase = 0, p.m_dAmplitude = NAN;
    EXPECT_EQ(FirstFieldOutOfRange(p), GeneratorField::Amplitude);
    GeneratorParams q;
    q.m_dStartPhase = 1.0;  // equal to the duration: refused
    EXPECT_FALSE(StartPhaseBelowDuration(q));
    EXPECT_TRUE(GeneratorValueLabel(kGenConstant) == std::string("Wartość") && !GeneratorTimingEnabled(kGenConstant));
}
