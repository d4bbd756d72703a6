#pragma once
// kiv-scope-sim on a pseudo-terminal that COM2 opens, and a fetch through the real port and
// progress window against it.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTimer>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/CAcquisition.h"
#include "acquisition/ui/CProgressDlg.h"
#include "data/CKivDoc.h"
#include "support/FakePlatform.h"

extern char** environ;

// Open descriptors and running threads of this process.
inline std::pair<int, int> Resources() {
    int fds = 0, threads = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) (void)e, ++fds;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) (void)e, ++threads;
    return {fds, threads};
}

// kiv-scope-sim serving one model on a pseudo-terminal that COM2 opens.
class Simulator {
public:
    Simulator(const std::string& dir, const std::vector<std::string>& extra, const char* model = "tds224")
        : m_link(dir + "/ttySIM") {
        std::vector<std::string> args = {KIV_SCOPE_SIM_PATH, "--model", model, "--link", m_link,
                                         "--ch1",            "dc",      "--ch2",  "square"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) m_pid = -1;
        for (int i = 0; i < 500 && !std::filesystem::exists(m_link); ++i) usleep(10000);
        setenv("KIV_COM2", m_link.c_str(), 1);
    }
    ~Simulator() {
        unsetenv("KIV_COM2");
        if (m_pid > 0) kill(m_pid, SIGTERM), waitpid(m_pid, nullptr, 0);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    bool Ready() const { return m_pid > 0 && std::filesystem::exists(m_link); }

private:
    std::string m_link;
    pid_t m_pid = -1;
};

struct FetchRun {
    int status = -1;
    std::vector<MsgIcon> icons;
    std::vector<std::string> texts, captions;
    int driverBoxes = 0;  // boxes of the driver's own (caption "Uwaga")
    bool hung = false;    // the dialogue did not end by itself and was cancelled
};

// The fetch as the command runs it, every timer of the dialogue timeScale times its period.
// A dialogue still running after twice the longest reply time-out (80 s), scaled, and ten
// seconds more is cancelled and reported as hung rather than left to block the test.
inline FetchRun Fetch(CAcquisition& acq, CKivDoc& doc, double timeScale = 0.1) {
    FakeMessages messages;
    CPlatform platform{&messages, nullptr};
    CScopeDriver& driver = acq.PrepareDriver();
    CProgressDlg progress(driver, platform);
    progress.m_dTimeScale = timeScale;
    FetchRun run;
    QTimer::singleShot(static_cast<int>(160000 * timeScale) + 10000, &progress, [&] {
        run.hung = true;
        progress.reject();
    });
    run.status = acq.FinishFetch(doc, progress.exec());
    for (const auto& b : messages.boxes) {
        run.icons.push_back(b.icon), run.texts.push_back(b.text), run.captions.push_back(b.caption);
        run.driverBoxes += b.caption == "Uwaga";
    }
    return run;
}
