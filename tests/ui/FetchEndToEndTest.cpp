#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "acquisition/CAcquisition.h"
#include "acquisition/CScopeProbe.h"
#include "acquisition/ui/CLoopHost.h"
#include "acquisition/ui/CProgressDlg.h"
#include "data/CKivDoc.h"
#include "support/DriverFixture.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/ScopeSimulator.h"
#include "support/TestFiles.h"

// kivtool fetch: the same dialogue without windows; settings stay unwritten unless asked.
// Run by a user who is not root (the tests themselves run as root in CI), twice on one
// simulator: the first fetch must leave the port free for the next one.
TEST(FetchEndToEnd, KivtoolFetchAsAUser) {
    const std::string dir = TestDir("fetch_kivtool");
    const std::string user = geteuid() ? "" : "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    if (!user.empty() && std::system((user + "true").c_str()) != 0) GTEST_SKIP() << "setpriv cannot switch to nobody";
    chmod(dir.c_str(), 0777);
    Simulator sim(dir, {}, "tds224", user);
    ASSERT_TRUE(sim.Ready());
    auto run = [&](const std::string& args) {
        return RunCommand("cd " + dir + " && " + user + KIVTOOL_PATH " fetch " + args);
    };
    for (const char* name : {"one.kiv", "two.kiv"}) {
        const auto [status, out] = run(std::string(name) + " --model tds224 --port 2 --plot1 2 --plot2 off");
        ASSERT_EQ(status, 0) << name << ": " << out;
        CKivDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(dir + "/" + name));
        EXPECT_EQ(doc.Source().m_nPresent, 1);
        const int32_t* raw = doc.Source().m_nRaw1;
        EXPECT_EQ(*std::min_element(raw, raw + kSamples), 50);  // channel 2: the square, not the dc of channel 1
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/Kiv.cfg"));
    EXPECT_EQ(run("four.kiv --plot1 off --plot2 off --save-settings").first, 2);  // a wrong line saves nothing
    EXPECT_FALSE(std::filesystem::exists(dir + "/Kiv.cfg"));

    // The driver's box, why the port would not open (the port's own words), the fetch's box.
    const auto [failed, said] = run("three.kiv --model tds224 --port 7 --save-settings");
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(said.starts_with("kivtool: Uwaga: Nie można zainicjować portu COM !\nkivtool: Kiv: ")) << said;
    EXPECT_TRUE(said.ends_with("\nkivtool: Kiv: Błąd transmisji\n")) << said;
    EXPECT_GT(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_EQ(FileBytes(dir + "/Kiv.cfg").size(), 20u);
    EXPECT_FALSE(std::filesystem::exists(dir + "/three.kiv"));
}

namespace {

struct FetchRun {
    int status = -1;
    bool hung = false;               // the dialogue did not end by itself and was cancelled
    std::vector<std::string> boxes;  // "caption: text" of every box shown
};

// The fetch as the command runs it (or as kivtool does, on the event-loop host), every timer
// of the dialogue timeScale times its period. A dialogue still running after twice the
// longest reply time-out (80 s), scaled, and ten seconds more is cancelled and reported as
// hung rather than left to block the test.
FetchRun Fetch(CAcquisition& acq, CKivDoc& doc, double timeScale = 0.1, bool onLoop = false) {
    FakeMessages messages;
    CPlatform platform{&messages, nullptr};
    CScopeDriver& driver = acq.PrepareDriver();
    FetchRun run;
    const int hungMs = static_cast<int>(160000 * timeScale) + 10000;
    int result;
    if (onLoop) {
        CLoopHost host(driver, platform);
        host.m_dTimeScale = timeScale;
        QTimer::singleShot(hungMs, &host, [&] { run.hung = true, host.Cancel(); });
        result = host.Run();
    } else {
        CProgressDlg progress(driver, platform);
        progress.m_dTimeScale = timeScale;
        QTimer::singleShot(hungMs, &progress, [&] { run.hung = true, progress.reject(); });
        result = progress.exec();
    }
    run.status = acq.FinishFetch(doc, result);
    for (const auto& b : messages.boxes) run.boxes.push_back(b.caption + ": " + b.text);
    return run;
}


struct Model {
    const char* sim;
    uint8_t index;
    // The driver's own boxes (none from the OS-3060): a wrong or missing identity, a
    // waveform that does not complete, then those of the other states.
    std::vector<std::string> messages;
    std::vector<std::string> requests;  // of a fetch of channels 1 and 2, the closing one last
};

const Model kModels[] = {
    {"os3060", 0, {}, {"S1", "Ro(1)", "R1(0000,1000,B)", "S1", "Ro(2)", "R2(0000,1000,B)"}},
    {"hm1507", 1,
     {"Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.",
      "Błąd komunikacyjny przy akwizycji danych !", "Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.",
      "Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !",
      "Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.", "Inny błąd !"},
     {" ", "ID?", "HLDWFM=1", "DDF?", std::string("RDWFM1:\0\0\0\x08", 11), std::string("RDWFM2:\0\0\0\x08", 11),
      "HLDWFM=0", "RM0"}},
    {"tds224", 2,
     {kModelMismatch, "Błąd przy akwizycji danych !", "Błąd przy zapytaniu o ustawienia oscyloskopu !", "Inny błąd !"},
     {"ACQUIRE:STATE STOP;:LOCK ALL;:ID?", "SELECT:CH1 ON;:DATA:SOURCE CH1;:WFMPRE:WFID?",
      "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?", "ID?", "SELECT:CH2 ON;:DATA:SOURCE CH2;:WFMPRE:WFID?",
      "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?", "ACQUIRE:STATE RUN;:UNLOCK ALL"}},
    {"lt224", 3,
     {kModelMismatch, "Błąd przy akwizycji danych !", "Błąd przy zapytaniu o ustawienia oscyloskopu !", "Inny błąd !"},
     {"TRMD STOP;CHDR OFF;*IDN?", "C1:TRA ON;TIME_DIV?;C1:Volt_DIV?", "CFMT OFF,BYTE,HEX;MSIZ 2500;C1:WF? DAT1",
      "TRMD STOP;CHDR OFF;*IDN?", "C2:TRA ON;TIME_DIV?;C2:Volt_DIV?", "CFMT OFF,BYTE,HEX;MSIZ 2500;C2:WF? DAT1",
      "TRMD AUTO"}},
};

// A failed fetch: status 3, the document as it was, and the driver's one box (none from the
// OS-3060), the last shown: a line that hangs up is reported first ("Application Error").
void ExpectFailed(const Model& m, const FetchRun& run, CKivDoc& doc, const std::vector<uint8_t>& before,
                  const std::string& message = "") {
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(doc.SaveToBytes(), before);
    EXPECT_FALSE(doc.IsModified());
    std::vector<std::string> own;
    for (const std::string& box : run.boxes)
        if (box.starts_with("Uwaga: ")) own.push_back(box.substr(7));
    ASSERT_EQ(own.size(), m.messages.empty() ? 0u : 1u);
    if (own.empty()) return;
    EXPECT_EQ(run.boxes.back(), "Uwaga: " + own[0]);
    EXPECT_EQ(std::count(m.messages.begin(), m.messages.end(), own[0]), 1) << own[0];
    if (message.empty()) return;
    EXPECT_EQ(own[0], message);
}

}  // namespace

// Every model against its simulator: both plots read back as the volts and seconds the
// simulator plays (1 V of dc on channel 1, a square of 1 V amplitude on channel 2, 0.5 ms a
// division), and the simulator has received each request whole, the closing one included.
class FetchModel : public ::testing::TestWithParam<Model> {};

TEST_P(FetchModel, AgainstItsSimulator) {
    const Model& m = GetParam();
    const std::string dir = TestDir(std::string("fetch_") + m.sim), log = dir + "/requests.log";
    CAcquisition acq(dir + "/Kiv.cfg");
    acq.m_bSaveOnExit = false;
    acq.m_settings = {1, 1, 2, 1, 2, m.index, 7, 2};  // both plots from channels 1 and 2, 9600 baud, COM2
    Simulator sim(dir, {"--log", log, "--once"}, m.sim);
    ASSERT_TRUE(sim.Ready());
    CKivDoc doc;
    const FetchRun run = Fetch(acq, doc);
    ASSERT_EQ(run.status, kFetchOk) << (run.boxes.empty() ? "" : run.boxes[0]);
    const CDataSrc& s = doc.Source();
    EXPECT_EQ(s.m_nPresent, 3);
    EXPECT_TRUE(doc.IsModified());
    auto base = [](int32_t code, const AxisScale& a) { return (code - 100) * a.step * std::pow(1000.0, a.exponent); };
    EXPECT_EQ(*std::min_element(s.m_nRaw1, s.m_nRaw1 + kSamples), *std::max_element(s.m_nRaw1, s.m_nRaw1 + kSamples));
    EXPECT_NEAR(base(s.m_nRaw1[0], s.m_ampScale1), 1.0, 0.05);
    EXPECT_DOUBLE_EQ(base(101, s.m_timeScale2), 1.25e-6);  // 10 divisions of 0.5 ms over 4000 samples
    // The square's two levels, away from its edges (the OS-3060's widening rings there).
    std::vector<int32_t> square(s.m_nRaw2, s.m_nRaw2 + kSamples);
    std::sort(square.begin(), square.end());
    EXPECT_NEAR(base(square[kSamples / 10], s.m_ampScale2), -1.0, 0.05);
    EXPECT_NEAR(base(square[kSamples * 9 / 10], s.m_ampScale2), 1.0, 0.05);
    // It ends when the port closes, once it has served and logged what came before.
    EXPECT_EQ(sim.ExitStatus(), 0);
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    EXPECT_EQ(lines, m.requests);

    // kivtool on the simulator's device by its path, whatever the COM numbers stand for.
    const std::string sub = TestDir(std::string("fetch_device_") + m.sim);
    Simulator other(sub, {}, m.sim);
    ASSERT_TRUE(other.Ready());
    unsetenv("KIV_COM2");
    const std::string tool = "cd " + sub + " && " KIVTOOL_PATH " ";
    const auto [probed, said] = RunCommand(tool + "probe --model " + m.sim + " --device ttySIM");
    EXPECT_EQ(probed, 0) << said;
    EXPECT_EQ(said, std::string("Oscyloskop odpowiada jako ") + ScopeModelAt(m.index).name + ".\n");
    const auto [fetched, out] = RunCommand(tool + "fetch got.kiv --model " + m.sim + " --device ttySIM");
    ASSERT_EQ(fetched, 0) << out;
    CKivDoc got;
    ASSERT_TRUE(got.OnOpenDocument(sub + "/got.kiv"));
    EXPECT_EQ(got.Source().m_nPresent, 3);
}

INSTANTIATE_TEST_SUITE_P(FetchEndToEnd, FetchModel, ::testing::ValuesIn(kModels),
                         [](const auto& info) { return std::string(info.param.sim); });

// 200 fetches of both plots, each model against each fault at the fast line rate, three in
// turn on the progress window and three on the event-loop host; every run ends by itself. A
// reply fault ends with the driver's message of the state it failed in (the LT224 repairs
// garbage in its waveform digits), a hang-up mid-reply at once; before the fetch, the probe
// tells silence, another instrument or the model. A line fault either succeeds, filling the
// document, or fails, leaving it as it was. KIV_FAULT_TIME_SCALE and KIV_FAULT_RUNS override
// the dialogue's time scale and the number of runs, for unscaled runs by hand.
TEST(FaultLoop, EveryModelEndsEveryFault) {
    auto fromEnv = [](const char* name, double fallback) {
        const double value = std::getenv(name) ? std::atof(std::getenv(name)) : 0.0;
        return value > 0.0 ? value : fallback;
    };
    // Small for a short loop, yet a clean transfer at the pseudo-terminal's speed must beat its
    // scaled time-out (the LT224's 5040-byte waveform gets 0.8 s).
    const double scale = fromEnv("KIV_FAULT_TIME_SCALE", 0.01);
    const int runs = static_cast<int>(fromEnv("KIV_FAULT_RUNS", 200));
    // The stall outlasts every reply time-out (80 s at most): it must end in the time-out.
    const std::string stallLong = "stall:" + std::to_string(static_cast<int>(100000 * scale));
    const std::vector<std::string> faults = {"silent", "garbage", "wrong-id", "short", "hangup-mid", stallLong,
                                             "drop:7", "drop:500", "hangup", "noise:0.001", "noise:0.05", "stall:50"};
    // What the probe finds behind each reply fault.
    const EProbeResult found[] = {EProbeResult::Silent, EProbeResult::Other, EProbeResult::Other,
                                   EProbeResult::Answered, EProbeResult::Answered};
    const std::string dir = TestDir("fault_loop"), probeDir = TestDir("fault_probe");
    CAcquisition acq(dir + "/Kiv.cfg");
    acq.m_bSaveOnExit = false;
    std::pair<int, int> resources;
    for (int i = 0; i < runs; ++i) {
        // The first 20 runs spoil a reply, each model once with each fault, on slower timers
        // so that only the fault decides in which state the dialogue fails.
        const Model& m = kModels[i % 4];
        const size_t f = i < 20 ? i / 4 : 5 + static_cast<size_t>(i / 4 - 5) % (faults.size() - 5);
        SCOPED_TRACE(std::string(m.sim) + " " + faults[f] + " run " + std::to_string(i));
        const bool repaired = m.index == 3 && faults[f] == "garbage";
        acq.m_settings = {1, 1, 2, 1, 2, m.index, 7, 7};
        if (i < 20) {
            // The probe first, on a simulator of its own named in place of COM7's device.
            Simulator probed(probeDir, {"--fault", faults[f]}, m.sim);
            CScopeProbe probe(acq.PrepareDriver());
            CLoopHost host(probe, {});
            host.m_strDevice = probeDir + "/ttySIM";
            host.m_dTimeScale = 0.05;
            host.Run();
            EXPECT_EQ(probe.Outcome().result, repaired ? EProbeResult::Answered : found[f]) << probe.Outcome().text;
        }
        acq.m_settings.nPort = 2;
        Simulator sim(dir, {"--fault", faults[f], "--seed", std::to_string(i)}, m.sim);
        ASSERT_TRUE(sim.Ready());
        CKivDoc doc;
        FillPlot(doc.Source(), 1, [](int k) { return k % 200; });
        const std::vector<uint8_t> before = doc.SaveToBytes();
        // Should the GUI thread itself never come back, the alarm ends the program. A line that
        // hangs up mid-reply ends the fetch at once: on unscaled timers, the alarm at half the
        // shortest waveform time-out (20 s, OS-3060) tells it waited for its time-out instead.
        const bool hangup = f == 4;
        alarm(hangup ? 10 : static_cast<unsigned>(160 * scale) + 60);
        const FetchRun run = Fetch(acq, doc, hangup ? 1.0 : f < 5 ? std::max(scale, 0.05) : scale, i / 3 % 2 == 1);
        alarm(0);
        EXPECT_FALSE(run.hung);
        // Besides the repaired garbage, reply faults and the next four line faults must fail.
        if (!repaired && (f < 9 || run.status != kFetchOk)) {
            const size_t message = f == 3 || f == 4 ? 1 : 0;  // the waveform's or the identity's
            ExpectFailed(m, run, doc, before, f < 5 && !m.messages.empty() ? m.messages[message] : "");
        } else {
            EXPECT_EQ(std::tuple(run.status, doc.Source().m_nPresent, doc.IsModified()), std::tuple(kFetchOk, 3, true));
            EXPECT_EQ(run.boxes, std::vector<std::string>{});
        }
        // Counted after the first success, once Qt has made what it keeps for the rest of the run.
        if (resources.first == 0 && run.status == kFetchOk) resources = Resources();
    }
    // Both plots off: the window opens and closes at once, cancelled, without a word.
    acq.m_settings.bPlot1 = acq.m_settings.bPlot2 = 0;
    CKivDoc untouched;
    const FetchRun none = Fetch(acq, untouched);
    EXPECT_EQ(none.status, kFetchCancelled);
    EXPECT_EQ(none.boxes, std::vector<std::string>{});
    // No port left open, no reader left running; Qt may have ended idle threads of its own.
    const auto after = Resources();
    EXPECT_LE(after.first, resources.first);
    EXPECT_LE(after.second, resources.second);
}
