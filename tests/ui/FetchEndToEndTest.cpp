#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/CAcquisition.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/ScopeSimulator.h"
#include "support/TestFiles.h"

TEST(FetchEndToEnd, Tds224SimulatorIntoADocument) {
    const std::string dir = TestDir("fetch_e2e");
    CAcquisition acq(dir + "/Kiv.cfg");
    acq.m_bSaveOnExit = false;
    acq.m_settings = {1, 1, 4, 1, 2, 2, 7, 2};  // both plots from channels 1 and 2, TDS224, 9600 baud, COM2
    {
        Simulator sim(dir, {});
        ASSERT_TRUE(sim.Ready());
        CKivDoc doc;
        const FetchRun run = Fetch(acq, doc);
        ASSERT_EQ(run.status, kFetchOk) << (run.texts.empty() ? "" : run.texts[0]);
        const CDataSrc& s = doc.Source();
        EXPECT_EQ(s.m_nPresent, 3);
        // 1 V of dc at 0.5 V a division: two divisions of 25 codes above the zero line.
        EXPECT_EQ(s.m_nRaw1[0], 150);
        EXPECT_EQ(s.m_nRaw1[3999], 150);
        EXPECT_EQ(s.m_ampScale1.exponent, -1);
        EXPECT_DOUBLE_EQ(s.m_ampScale1.step, 20.0);  // 500 mV a division
        EXPECT_EQ(s.m_timeScale1.exponent, -2);
        EXPECT_DOUBLE_EQ(s.m_timeScale1.step, 1.25);  // 500 µs a division
        EXPECT_EQ(*std::max_element(s.m_nRaw2, s.m_nRaw2 + kSamples), 150);
        EXPECT_EQ(*std::min_element(s.m_nRaw2, s.m_nRaw2 + kSamples), 50);
        EXPECT_TRUE(doc.IsModified());
    }
    // Counted once Qt has made what it keeps for the rest of the run.
    const auto resources = Resources();
    {
        Simulator sim(dir, {});
        ASSERT_TRUE(sim.Ready());
        // Plot 2 alone: plot 1 keeps what it had.
        CKivDoc second;
        FillPlot(second.Source(), 1, [](int) { return 42; });
        acq.m_settings.bPlot1 = 0;
        ASSERT_EQ(Fetch(acq, second).status, kFetchOk);
        EXPECT_EQ(second.Source().m_nRaw1[0], 42);
        EXPECT_EQ(second.Source().m_nPresent, 3);
        acq.m_settings.bPlot1 = 1;
    }
    // Each fault ends in its driver's message; the document stays as it was.
    struct Fault {
        const char* name;
        const char* message;
    };
    for (const Fault& f : {Fault{"silent", "Typ oscyloskopu nie zgadza się !"},
                           Fault{"garbage", "Typ oscyloskopu nie zgadza się !"},
                           Fault{"wrong-id", "Typ oscyloskopu nie zgadza się !"},
                           Fault{"short", "Błąd przy akwizycji danych !"},
                           Fault{"hangup", "Błąd przy akwizycji danych !"}}) {
        SCOPED_TRACE(f.name);
        Simulator sim(dir, {"--fault", f.name});
        ASSERT_TRUE(sim.Ready());
        CKivDoc doc;
        const std::vector<uint8_t> before = doc.SaveToBytes();
        const FetchRun run = Fetch(acq, doc, 0.05);
        EXPECT_EQ(run.status, 3);
        ASSERT_FALSE(run.texts.empty());
        EXPECT_EQ(run.texts.back().rfind(f.message, 0), 0u) << run.texts.back();
        EXPECT_EQ(run.icons.back(), MsgIcon::Error);
        EXPECT_EQ(doc.SaveToBytes(), before);
        EXPECT_FALSE(doc.IsModified());
    }
    // Both plots off: the window opens and closes at once, cancelled, without a word.
    acq.m_settings.bPlot1 = acq.m_settings.bPlot2 = 0;
    CKivDoc untouched;
    const FetchRun none = Fetch(acq, untouched);
    EXPECT_EQ(none.status, kFetchCancelled);
    EXPECT_TRUE(none.texts.empty());
    // No port left open, no reader left running.
    EXPECT_EQ(Resources(), resources);
}

// kivtool fetch: the same dialogue without windows; settings stay unwritten unless asked.
TEST(FetchEndToEnd, KivtoolFetch) {
    const std::string dir = TestDir("fetch_kivtool");
    Simulator sim(dir, {});
    ASSERT_TRUE(sim.Ready());
    const std::string tool = std::string("cd ") + dir + " && " + KIVTOOL_PATH + " fetch ";
    auto run = [&](const std::string& args) {
        FILE* p = popen((tool + args + " 2>&1").c_str(), "r");
        std::string out;
        char buf[512];
        size_t n;
        while (p && (n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        const int st = p ? pclose(p) : -1;
        return std::pair(WIFEXITED(st) ? WEXITSTATUS(st) : -1, out);
    };
    auto [status, out] = run("one.kiv --model tds224 --port 2 --plot1 2 --plot2 off");
    ASSERT_EQ(status, 0) << out;
    CKivDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/one.kiv"));
    EXPECT_EQ(doc.Source().m_nPresent, 1);
    const int32_t* raw = doc.Source().m_nRaw1;
    EXPECT_EQ(*std::min_element(raw, raw + kSamples), 50);  // channel 2: the square, not the dc of channel 1
    EXPECT_FALSE(std::filesystem::exists(dir + "/Kiv.cfg"));

    std::tie(status, out) = run("two.kiv --model tds224 --port 7 --save-settings");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, "kivtool: Uwaga: Nie można zainicjować portu COM !\nkivtool: Kiv: Błąd transmisji\n");
    EXPECT_EQ(FileBytes(dir + "/Kiv.cfg").size(), 20u);
    EXPECT_FALSE(std::filesystem::exists(dir + "/two.kiv"));
}

// The other three models: one and two plots read back as the volts the simulator plays
// (1 V of dc, a square of 1 V amplitude), and every fault ends in a failed, silent-or-told
// fetch with the document untouched. The OS-3060 says nothing of its own.
struct Model {
    const char* sim;
    uint8_t index;
    uint8_t baudIndex;
};

class FetchModel : public ::testing::TestWithParam<Model> {};

TEST_P(FetchModel, AgainstItsSimulator) {
    const Model& m = GetParam();
    const std::string dir = TestDir(std::string("fetch_") + m.sim);
    {
        CAcquisition acq(dir + "/Kiv.cfg");
        acq.m_bSaveOnExit = false;
        acq.m_settings = {1, 1, 2, 1, 2, m.index, m.baudIndex, 2};
        {
            Simulator sim(dir, {}, m.sim);
            ASSERT_TRUE(sim.Ready());
            CKivDoc doc;
            const FetchRun run = Fetch(acq, doc);
            ASSERT_EQ(run.status, kFetchOk) << (run.texts.empty() ? "" : run.texts[0]);
            const CDataSrc& s = doc.Source();
            auto volts = [&](int32_t code, const AxisScale& a) { return (code - 100) * a.step * std::pow(1000.0, a.exponent); };
            EXPECT_EQ(*std::min_element(s.m_nRaw1, s.m_nRaw1 + kSamples), *std::max_element(s.m_nRaw1, s.m_nRaw1 + kSamples));
            EXPECT_NEAR(volts(s.m_nRaw1[0], s.m_ampScale1), 1.0, 0.05);
            // The square's two levels, away from its edges (the OS-3060's widening rings there).
            std::vector<int32_t> square(s.m_nRaw2, s.m_nRaw2 + kSamples);
            std::sort(square.begin(), square.end());
            EXPECT_NEAR(volts(square[kSamples / 10], s.m_ampScale2), -1.0, 0.05);
            EXPECT_NEAR(volts(square[kSamples * 9 / 10], s.m_ampScale2), 1.0, 0.05);
            acq.m_settings.bPlot1 = 0;
            CKivDoc one;
            ASSERT_EQ(Fetch(acq, one).status, kFetchOk);
            EXPECT_EQ(one.Source().m_nPresent, 2);
            acq.m_settings.bPlot1 = 1;
        }
        for (const char* fault : {"silent", "garbage", "wrong-id", "short", "hangup"}) {
            SCOPED_TRACE(fault);
            Simulator sim(dir, {"--fault", fault}, m.sim);
            ASSERT_TRUE(sim.Ready());
            CKivDoc doc;
            const std::vector<uint8_t> before = doc.SaveToBytes();
            const FetchRun run = Fetch(acq, doc, 0.03);
            EXPECT_EQ(run.status, 3);
            EXPECT_EQ(run.driverBoxes == 0, m.index == 0);
            EXPECT_EQ(doc.SaveToBytes(), before);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FetchEndToEnd, FetchModel,
                         ::testing::Values(Model{"os3060", 0, 7}, Model{"hm1507", 1, 7}, Model{"lt224", 3, 7}),
                         [](const auto& info) { return std::string(info.param.sim); });
