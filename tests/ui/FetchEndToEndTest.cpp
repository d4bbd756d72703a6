// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/CAcquisition.h"
#include "acquisition/CScopeProbe.h"
#include "qtcore/CLoopHost.h"
#include "acquisition/ui/CProgressDlg.h"
#include "document/CKivDoc.h"
#include "support/DriverFixture.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/ScopeSimulator.h"
#include "support/NetSimulator.h"
#include "support/TestFiles.h"

namespace {

using namespace std::string_literals;

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
        progress.Host().m_dTimeScale = timeScale;
        QTimer::singleShot(hungMs, &progress, [&] { run.hung = true, progress.reject(); });
        result = progress.exec();
    }
    run.status = acq.FinishFetch(doc.Source(), result);
    if (run.status == kFetchOk) doc.DataEdited();
    for (const auto& b : messages.boxes) run.boxes.push_back(b.caption + ": " + b.text);
    return run;
}

// What a fetch of a model shows; every registered model is fetched, those below with what
// they must say.
struct Model {
    const char* sim;
    // The driver's own boxes (none from the OS-3060): a wrong or missing identity, a
    // waveform that does not complete, then those of the other states.
    std::vector<std::string> messages;
    std::string requests;  // as the simulator logs a fetch of channels 1 and 2, the closing one last
};

const Model kModels[] = {
    {"os3060", {}, "S1\nRo(1)\nR1(0000,1000,B)\nS1\nRo(2)\nR2(0000,1000,B)\n"},
    {"hm1507",
     {"Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.",
      "Błąd komunikacyjny przy akwizycji danych !", "Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.",
      "Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !",
      "Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.", "Inny błąd !"},
     " \nID?\nHLDWFM=1\nDDF?\nRDWFM1:\0\0\0\x08\nRDWFM2:\0\0\0\x08\nHLDWFM=0\nRM0\n"s},
    {"tds224",
     {kModelMismatch, "Błąd przy akwizycji danych !", "Błąd przy zapytaniu o ustawienia oscyloskopu !", "Inny błąd !"},
     "ACQUIRE:STATE STOP;:LOCK ALL;:ID?\nSELECT:CH1 ON;:DATA:SOURCE CH1;:WFMPRE:WFID?\n"
     "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\nID?\nSELECT:CH2 ON;:DATA:SOURCE CH2;:WFMPRE:WFID?\n"
     "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\nACQUIRE:STATE RUN;:UNLOCK ALL\n"},
    {"lt224",
     {kModelMismatch, "Błąd przy akwizycji danych !", "Błąd przy zapytaniu o ustawienia oscyloskopu !", "Inny błąd !"},
     "TRMD STOP;CHDR OFF;*IDN?\nC1:TRA ON;TIME_DIV?;C1:Volt_DIV?\nCFMT OFF,BYTE,HEX;MSIZ 2500;C1:WF? DAT1\n"
     "TRMD STOP;CHDR OFF;*IDN?\nC2:TRA ON;TIME_DIV?;C2:Volt_DIV?\nCFMT OFF,BYTE,HEX;MSIZ 2500;C2:WF? DAT1\n"
     "TRMD AUTO\n"},
};

// The registered model's entry above, none when it has none.
const Model* Known(int index) {
    for (const Model& m : kModels)
        if (std::string(m.sim) == ScopeModelAt(index).key) return &m;
    return nullptr;
}

// A failed fetch: status 3, the document as it was, and the driver's one box (none from the
// OS-3060; at most one from a model not above), the last shown. A line that went ends every
// model's fetch with status 4 and one box alone, which begins with lineGone.
void ExpectFailed(const Model* m, const FetchRun& run, CKivDoc& doc, const std::vector<uint8_t>& before,
                  const std::string& message = "", const std::string& lineGone = "") {
    EXPECT_EQ(doc.SaveToBytes(), before);
    EXPECT_FALSE(doc.IsModified());
    if (!lineGone.empty()) {
        EXPECT_EQ(run.status, 4);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_TRUE(run.boxes[0].starts_with(lineGone)) << run.boxes[0];
        return;
    }
    EXPECT_EQ(run.status, 3);
    std::vector<std::string> own;
    for (const std::string& box : run.boxes)
        if (box.starts_with("Uwaga: ")) own.push_back(box.substr(7));
    if (m) {
        ASSERT_EQ(own.size(), m->messages.empty() ? 0u : 1u);
    } else {
        ASSERT_LE(own.size(), 1u);
    }
    if (own.empty()) return;
    EXPECT_EQ(run.boxes.back(), "Uwaga: " + own[0]);
    if (!m) return;
    EXPECT_EQ(std::count(m->messages.begin(), m->messages.end(), own[0]), 1) << own[0];
    if (!message.empty()) { EXPECT_EQ(own[0], message); }
}

}  // namespace

// Every registered model against its simulator: both plots read back as the volts and seconds
// the simulator plays (1 V of dc on channel 1, a square of 1 V amplitude on channel 2, 0.5 ms
// a division), and the simulator has received each request whole, the closing one included.
class FetchModel : public ::testing::TestWithParam<int> {};

TEST_P(FetchModel, AgainstItsSimulator) {
    const uint8_t index = static_cast<uint8_t>(GetParam());
    const char* const key = ScopeModelAt(index).key;
    const Model* const m = Known(index);
    const std::string dir = TestDir(std::string("fetch_") + key), log = dir + "/requests.log";
    CAcquisition acq(dir + "/Kiv.cfg");
    acq.m_bSaveOnExit = false;
    acq.m_settings = {1, 1, 2, 1, 2, index, 6, 2};  // both plots from channels 1 and 2, 9600 baud, COM2
    Simulator sim(dir, {"--log", log, "--once"}, key);
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
    const std::vector<uint8_t> logged = FileBytes(log);
    if (m) { EXPECT_EQ(std::string(logged.begin(), logged.end()), m->requests); }

    // kivtool, run by a user who is not root (the tests themselves run as root in CI), on a
    // simulator of that user: from COM2, then from the device by its path whatever the COM
    // numbers stand for. Each run must leave the port free for the next one; the settings
    // stay unwritten unless asked, and a wrong command line saves nothing. That user works in
    // a folder of its own, with copies of the programs, outside a build tree it may not enter.
    const std::string user = geteuid() ? "" : "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    if (!user.empty() && std::system((user + "true").c_str()) != 0) GTEST_SKIP() << "setpriv cannot switch to nobody";
    const OtherUserDir shared(std::string("fetch_kivtool_") + key);
    ASSERT_FALSE(shared.Path().empty());
    const std::string sub = shared.Folder("work", 0777), kivtool = shared.Program(KIVTOOL_PATH);
    Simulator other(sub, {}, key, user, shared.Program(KIV_SCOPE_SIM_PATH));
    ASSERT_TRUE(other.Ready());
    const auto tool = [&](const std::string& args) {
        return RunCommand("cd " + sub + " && " + user + kivtool + " " + args + " --model " + key);
    };
    const auto [fetched, out] = tool("fetch one.kiv --port 2 --plot1 2 --plot2 off");
    ASSERT_EQ(fetched, 0) << out;
    unsetenv("KIV_COM2");
    EXPECT_EQ(tool("probe --device ttySIM"),
              std::pair(0, std::string("Oscyloskop odpowiada jako ") + ScopeModelAt(index).name + ".\n"));
    ASSERT_EQ(tool("fetch two.kiv --device ttySIM").first, 0);
    CKivDoc one, two;
    ASSERT_TRUE(one.OnOpenDocument(sub + "/one.kiv"));
    ASSERT_TRUE(two.OnOpenDocument(sub + "/two.kiv"));
    EXPECT_EQ((std::pair<int, int>(one.Source().m_nPresent, two.Source().m_nPresent)), std::pair(1, 3));
    const int32_t* raw = one.Source().m_nRaw1;  // channel 2: the square, not the dc of channel 1
    EXPECT_NE(*std::min_element(raw, raw + kSamples), *std::max_element(raw, raw + kSamples));
    EXPECT_EQ(tool("fetch four.kiv --plot1 off --plot2 off --save-settings").first, 2);
    EXPECT_FALSE(std::filesystem::exists(sub + "/Kiv.cfg"));
    // One line on stderr: the heading, what the driver said, why the port would not open (the
    // port's own words); probe's the same way, with nothing on stdout.
    const auto [failed, said] = tool("fetch three.kiv --port 7 --save-settings");
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(said.starts_with("kivtool: Błąd transmisji: ")) << said;
    EXPECT_NE(said.find("/dev/ttyS6"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    const auto [unprobed, probed] =
        RunCommand("cd " + sub + " && { " + user + KIVTOOL_PATH " probe --port 7 --model " + key + " >probed.txt; }");
    EXPECT_EQ(unprobed, 1);
    EXPECT_TRUE(probed.starts_with("kivtool: Nie można otworzyć /dev/ttyS6")) << probed;
    EXPECT_EQ(std::count(probed.begin(), probed.end(), '\n'), 1) << probed;
    EXPECT_TRUE(FileBytes(sub + "/probed.txt").empty());
    // A run of fetches over one connection, each into a numbered document.
    ASSERT_EQ(tool("fetch run.kiv --device ttySIM --repeat 3 --interval 10").first, 0);
    for (const char* n : {"0001", "0002", "0003"}) {
        CKivDoc fetched;
        EXPECT_TRUE(fetched.OnOpenDocument(sub + "/run-" + n + ".kiv")) << n;
        EXPECT_EQ(fetched.Source().m_nPresent, 3) << n;
    }
    EXPECT_FALSE(std::filesystem::exists(sub + "/run-0004.kiv"));
    EXPECT_FALSE(std::filesystem::exists(sub + "/run.kiv"));
    EXPECT_EQ(FileBytes(sub + "/Kiv.cfg").size(), 20u);
    EXPECT_FALSE(std::filesystem::exists(sub + "/three.kiv"));
}

// kivtool screenshot from each simulated SCPI family, by the family's key and by auto: a PNG
// that opens, whatever form the family sends its screen in.
TEST(KivToolScreenshot, EverySimulatedScpiFamily) {
    const std::string dir = TestDir("kivtool_screenshot");
    for (int i = 0; i < kScopeModelCount; ++i) {
        const ScopeModel& model = ScopeModelAt(i);
        if (!model.scpi) continue;
        for (const std::string& chosen : {std::string(model.key), std::string("auto")}) {
            SCOPED_TRACE(std::string(model.key) + " as " + chosen);
            NetSimulator sim(dir, model.key);
            ASSERT_NE(sim.Port(), 0u);
            const std::string png = dir + "/" + model.key + ".png";
            std::filesystem::remove(png);
            const auto [status, said] = RunCommand(KIVTOOL_PATH " screenshot " + png + " --device " + sim.Address() +
                                                   " --model " + chosen);
            ASSERT_EQ(std::pair(status, said), std::pair(0, std::string()));
            const std::vector<uint8_t> bytes = FileBytes(png);
            ASSERT_GT(bytes.size(), 8u);
            EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "\x89PNG\r\n\x1a\n");
            EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FetchEndToEnd, FetchModel, ::testing::ValuesIn(SerialModels()),
                         [](const auto& info) { return ParamName(ScopeModelAt(info.param).key); });

// 200 fetches of both plots, each model against each fault at the fast line rate, three in
// turn on the progress window and three on the event-loop host; every run ends by itself. A
// reply fault ends with the driver's message of the state it failed in (the LT224 repairs
// garbage in its waveform digits), a hang-up mid-reply at once with the lost line's message (the
// plain hang-up too, unless the scaled time-out came first); before the fetch, the probe
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
    const std::vector<int> serial = SerialModels();
    const int models = static_cast<int>(serial.size()), replyRuns = 5 * models;
    for (int i = 0; i < runs; ++i) {
        // The first runs spoil a reply, each model once with each fault, on slower timers so
        // that only the fault decides in which state the dialogue fails.
        const uint8_t index = static_cast<uint8_t>(serial[static_cast<size_t>(i % models)]);
        const std::string key = ScopeModelAt(index).key;
        const Model* const m = Known(index);
        const size_t f = i < replyRuns ? i / models : 5 + static_cast<size_t>(i / models - 5) % (faults.size() - 5);
        SCOPED_TRACE(key + " " + faults[f] + " run " + std::to_string(i));
        const bool repaired = key == "lt224" && faults[f] == "garbage";
        acq.m_settings = {1, 1, 2, 1, 2, index, 6, 7};
        if (i < replyRuns) {
            // The probe first, on a simulator of its own named in place of COM7's device.
            Simulator probed(probeDir, {"--fault", faults[f]}, key.c_str());
            CScopeDriver& driver = acq.PrepareDriver();
            driver.m_address.device = probeDir + "/ttySIM";
            CScopeProbe probe(driver);
            CLoopHost host(probe, {});
            host.m_dTimeScale = 0.05;
            host.Run();
            EXPECT_EQ(probe.Outcome().result, repaired ? EProbeResult::Answered : found[f]) << probe.Outcome().text;
        }
        acq.m_settings.nPort = 2;
        Simulator sim(dir, {"--fault", faults[f], "--seed", std::to_string(i)}, key.c_str());
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
            const size_t message = f == 3 ? 1 : 0;  // the waveform's or the identity's
            const bool gone = f == 4 || (f == 8 && run.status == 4);
            ExpectFailed(m, run, doc, before, m && f < 5 && !m->messages.empty() ? m->messages[message] : "",
                         gone ? "Uwaga: COM2 (" + dir + "/ttySIM): odczyt z portu nie powiódł się (" : "");
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
