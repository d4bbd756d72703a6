// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>

#include "acquisition/CAcquisition.h"
#include "document/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

// The model list in the order Kiv.cfg stores: the first four where every Kiv.cfg ever written
// expects them (name, key, channels, rates, stop bits, write buffer); for every registered
// model a key of its own that finds it, rates inside the table and its driver in the acquisition.
TEST(Acquisition, ModelRegistry) {
    const char* const expected[] = {"GOLDSTAR OS-3060 os3060 2 300-9600 1 80", "HAMEG 1507 hm1507 2 300-19200 2 80",
                                    "TEKTRONIX TDS224 tds224 4 1200-9600 1 80",
                                    "LECROY LT224 lt224 4 1200-19200 1 200"};
    ASSERT_GE(kScopeModelCount, 4);
    CAcquisition a(TestDir("acq_models") + "/Kiv.cfg");
    a.m_bSaveOnExit = false;
    for (int i = 0; i < kScopeModelCount; ++i) {
        const ScopeModel& m = ScopeModelAt(i);
        ASSERT_TRUE(m.lowestBaud <= m.highestBaud && m.highestBaud < kBaudRateCount) << m.key;
        char entry[100];
        std::snprintf(entry, sizeof entry, "%s %s %d %d-%d %d %d", m.name, m.key, m.channels, kBaudRates[m.lowestBaud],
                      kBaudRates[m.highestBaud], m.stopBits, m.writeBuffer);
        if (i < 4) { EXPECT_EQ(std::string(entry), expected[i]); }
        EXPECT_EQ(FindScopeModel(m.key), i);
        EXPECT_EQ(&a.Driver(i).Model(), &m) << m.key;
    }
    EXPECT_EQ(FindScopeModel("LECROY LT224"), -1);
}

TEST(Acquisition, ConfigurationFileDefaultsAndFallbacks) {
    const std::string path = TestDir("acq_config") + "/Kiv.cfg";
    // First start: HAMEG 1507, COM2, 9600 baud, both plots from channels 1 and 2.
    { CAcquisition a(path); }
    const std::vector<uint8_t> defaults = {1, 0, 0, 0, 1, 0, 0, 0, 2, 1, 2, 1, 7, 2, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(FileBytes(path), defaults);

    std::vector<uint8_t> mine = {0, 0, 0, 0, 1, 0, 0, 0, 4, 3, 1, 2, 6, 1, 9, 9, 9, 9, 9, 9};
    WriteBytes(path, std::string(mine.begin(), mine.end()));
    {
        CAcquisition a(path);
        EXPECT_EQ(std::tuple(int(a.m_settings.nInstrument), a.m_settings.bPlot2), std::tuple(2, 0u));
        a.m_settings.nPort = 3;
    }
    mine[13] = 3;
    std::fill(mine.begin() + 14, mine.end(), 0);
    EXPECT_EQ(FileBytes(path), mine);

    // A short record or an instrument outside the list: the defaults.
    for (std::vector<uint8_t> bad : {std::vector<uint8_t>(mine.begin(), mine.end() - 1), mine}) {
        if (bad.size() == 20) bad[11] = kScopeModelCount;
        WriteBytes(path, std::string(bad.begin(), bad.end()));
        CAcquisition a(path);
        EXPECT_EQ(std::tuple(int(a.m_settings.nInstrument), int(a.m_settings.nBaud)), std::tuple(1, 6));
        a.m_bSaveOnExit = false;
    }
    EXPECT_EQ(FileBytes(path).size(), 20u);  // the last one, not written back
}

TEST(Acquisition, OnlyASuccessfulFetchReachesTheDocument) {
    CAcquisition a(TestDir("acq_fetch") + "/Kiv.cfg");
    a.m_bSaveOnExit = false;
    a.m_settings = {1, 0, 2, 3, 1, 2, 5, 4};  // plot 2 only, from channel 1; TDS224, 4800 baud, COM4
    CScopeDriver& d = a.PrepareDriver();
    EXPECT_EQ(&d, &a.Driver(2));
    EXPECT_EQ(std::tuple(d.m_nPlot1Channel, d.m_nPlot2Channel, d.m_address.port, d.m_address.device, d.m_nBaud),
              std::tuple(0, 1, 4u, "", 5));

    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 77; });
    const std::vector<uint8_t> before = doc.SaveToBytes();
    for (int i = 0; i < kSamples; ++i) a.m_traces[1].samples[i] = i % 200;
    a.m_traces[1].timeExponent = -2, a.m_traces[1].timeStep = 0.625;
    a.m_traces[1].voltExponent = -1, a.m_traces[1].voltStep = 2.0;

    d.m_nState = 0;
    EXPECT_EQ(a.FinishFetch(doc.Source(), kDialogCancel), kFetchCancelled);
    d.m_nState = 3;
    EXPECT_EQ(a.FinishFetch(doc.Source(), 0), 3);
    EXPECT_EQ(doc.SaveToBytes(), before);
    EXPECT_FALSE(doc.IsModified());

    d.m_nState = 0;
    EXPECT_EQ(a.FinishFetch(doc.Source(), 0), kFetchOk);
    doc.DataEdited();
    const CDataSrc& s = doc.Source();  // plot 1 not fetched: kept
    EXPECT_EQ(std::tuple(s.m_nRaw1[0], s.m_nRaw2[199], s.m_nPresent, s.m_nEnabled, s.m_timeScale2.exponent,
                         s.m_timeScale2.step, s.m_ampScale2.step, s.m_ampScale2.unit, doc.IsModified()),
              std::tuple(77, 199, 3, 3, -2, 0.625, 2.0, 'V', true));
}
