#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "acquisition/CAcquisition.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/ScopeSimulator.h"
#include "support/TestFiles.h"

namespace {

struct Model {
    const char* sim;
    uint8_t index;
    std::vector<std::string> messages;  // the driver's own boxes; none for the OS-3060
};

const std::vector<Model>& Models() {
    static const std::vector<Model> models = {
        {"os3060", 0, {}},
        {"hm1507", 1,
         {"Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.",
          "Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.",
          "Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !",
          "Błąd komunikacyjny przy akwizycji danych !", "Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.",
          kOtherError}},
        {"tds224", 2, {QueryTimeoutMessage(12), QueryTimeoutMessage(9), QueryTimeoutMessage(7), kOtherError}},
        {"lt224", 3, {QueryTimeoutMessage(12), QueryTimeoutMessage(9), QueryTimeoutMessage(7), kOtherError}},
    };
    return models;
}

double FromEnv(const char* name, double fallback) {
    const char* text = std::getenv(name);
    const double value = text ? std::atof(text) : 0.0;
    return value > 0.0 ? value : fallback;
}

enum EOutcome { kOk, kFailed, kWrong };

}  // namespace

// 200 fetches of both plots, each model against each line fault at the fast line rate.
// Every run ends: a success fills the document, a failure (status 3) leaves it as it was
// and ends in the model's own message (the OS-3060 has none). KIV_FAULT_TIME_SCALE and
// KIV_FAULT_RUNS override the dialogue's time scale and the number of runs, for timing
// unscaled runs by hand.
TEST(FaultLoop, EveryModelEndsEveryLineFault) {
    // Small for a short loop, yet a clean transfer at the pseudo-terminal's speed must beat its
    // scaled time-out (the LT224's 5040-byte waveform gets 0.8 s).
    const double scale = FromEnv("KIV_FAULT_TIME_SCALE", 0.01);
    const int runs = static_cast<int>(FromEnv("KIV_FAULT_RUNS", 200));
    // The stall outlasts every reply time-out (80 s at most): it must end in the time-out.
    const std::string stallLong = "stall:" + std::to_string(static_cast<int>(100000 * scale));
    const std::vector<std::string> faults = {stallLong,     "drop:7",   "drop:500",  "noise:0.001",
                                             "noise:0.05", "stall:50", "hangup-mid"};
    const std::vector<std::string> mustFail = {stallLong, "drop:7", "drop:500", "hangup-mid"};
    const std::string dir = TestDir("fault_loop");
    CAcquisition acq(dir + "/Kiv.cfg");
    acq.m_bSaveOnExit = false;
    {
        // Qt makes what it keeps for the rest of the run on the first fetch.
        acq.m_settings = {1, 1, 4, 1, 2, 2, 7, 2};
        Simulator sim(dir, {});
        ASSERT_TRUE(sim.Ready());
        CKivDoc doc;
        ASSERT_EQ(Fetch(acq, doc).status, kFetchOk);
    }
    const auto resources = Resources();

    std::map<std::string, std::map<std::string, std::array<int, 3>>> tally;  // fault, model, outcome
    std::map<std::string, double> seconds;  // model
    const auto loopStart = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        const Model& m = Models()[static_cast<size_t>(i) % Models().size()];
        const std::string& fault = faults[static_cast<size_t>(i) / Models().size() % faults.size()];
        SCOPED_TRACE(std::string(m.sim) + " " + fault + " run " + std::to_string(i));
        acq.m_settings = {1, 1, 2, 1, 2, m.index, 7, 2};
        Simulator sim(dir, {"--fault", fault, "--seed", std::to_string(i)}, m.sim);
        ASSERT_TRUE(sim.Ready());
        CKivDoc doc;
        FillPlot(doc.Source(), 1, [](int k) { return k % 200; });
        const std::vector<uint8_t> before = doc.SaveToBytes();
        const auto runStart = std::chrono::steady_clock::now();
        // Should the GUI thread itself never come back, the alarm ends the program.
        alarm(static_cast<unsigned>(160 * scale) + 60);
        const FetchRun run = Fetch(acq, doc, scale);
        alarm(0);
        seconds[m.sim] += std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart).count();

        EOutcome outcome = kWrong;
        if (run.status == kFetchOk && !run.hung)
            outcome = doc.Source().m_nPresent == 3 && doc.IsModified() && run.texts.empty() ? kOk : kWrong;
        else if (run.status == 3 && !run.hung && doc.SaveToBytes() == before && !doc.IsModified()) {
            const bool own = m.messages.empty()
                ? run.driverBoxes == 0
                : !run.texts.empty() && run.captions.back() == "Uwaga" && run.icons.back() == MsgIcon::Error &&
                      std::count(m.messages.begin(), m.messages.end(), run.texts.back()) == 1;
            outcome = own ? kFailed : kWrong;
        }
        ++tally[fault][m.sim][outcome];
        EXPECT_NE(outcome, kWrong) << "status " << run.status << (run.hung ? ", hung" : "") << ", last box: "
                                   << (run.texts.empty() ? "none" : run.captions.back() + ": " + run.texts.back());
        if (std::count(mustFail.begin(), mustFail.end(), fault)) {
            EXPECT_NE(outcome, kOk) << "must fail";
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - loopStart).count();
    // No port left open, no reader left running; Qt may have ended idle threads of its own.
    const auto after = Resources();
    EXPECT_LE(after.first, resources.first);
    EXPECT_LE(after.second, resources.second);

    std::string table = "ok/failed/wrong  ";
    for (const Model& m : Models()) table += std::string(9 - std::string(m.sim).size(), ' ') + m.sim;
    for (const std::string& fault : faults) {
        char row[64];
        std::snprintf(row, sizeof row, "\n%-16s", fault.c_str());
        table += row;
        for (const Model& m : Models()) {
            const auto& n = tally[fault][m.sim];
            std::snprintf(row, sizeof row, " %8s", (std::to_string(n[kOk]) + "/" + std::to_string(n[kFailed]) + "/" +
                                                    std::to_string(n[kWrong])).c_str());
            table += row;
        }
    }
    table += "\nseconds         ";
    for (const Model& m : Models()) {
        char cell[32];
        std::snprintf(cell, sizeof cell, " %8.1f", seconds[m.sim]);
        table += cell;
    }
    std::printf("%s\n%d runs at time scale %g in %.1f s\n", table.c_str(), runs, scale, wall);
    RecordProperty("tally", table);
    RecordProperty("wall_seconds", std::to_string(wall));
}
