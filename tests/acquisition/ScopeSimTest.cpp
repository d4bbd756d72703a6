#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestFiles.h"

extern char** environ;

namespace {

constexpr char kIdentityRequest[] = "ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r";
constexpr char kCurveRequest[] = "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r";
constexpr char kClosingRequest[] = "ACQUIRE:STATE RUN;:UNLOCK ALL";
constexpr char kIdentityStart[] = "ID TEK/TDS 224,CF:91.1CT,FV:";
constexpr int kWaitMs = 5000;  // bound on every wait; a healthy simulator answers at once

std::string ChannelRequest(int n) {
    return "SELECT:CH" + std::to_string(n) + " ON;:DATA:SOURCE CH" + std::to_string(n) + ";:WFMPRE:WFID?\r";
}

// One kiv-scope-sim process serving a pseudo-terminal that the test opens as the driver would.
class Sim {
public:
    explicit Sim(std::vector<std::string> args) {
        args.insert(args.begin(), {KIV_SCOPE_SIM_PATH, "--model", "tds224"});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_out = out[0];
        std::string path;
        char c;
        while (Readable(m_out) && read(m_out, &c, 1) == 1 && c != '\n') path += c;
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Sim() {
        CloseLine();
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            if (!Readable(m_out)) kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) close(m_out);
    }

    bool Ready() const { return m_pid > 0 && m_fd >= 0; }

    // Sends a request and reads until length bytes, the end text, the hang-up or the bound.
    std::string Exchange(const std::string& request, size_t length, const std::string& end = "") {
        if (write(m_fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return {};
        std::string reply;
        char buffer[4096];
        while (reply.size() < length && !(!end.empty() && reply.ends_with(end)) && Readable(m_fd)) {
            const ssize_t n = read(m_fd, buffer, std::min(sizeof buffer, length - reply.size()));
            if (n <= 0) break;
            reply.append(buffer, static_cast<size_t>(n));
        }
        return reply;
    }
    void Send(const std::string& request) {
        ASSERT_EQ(write(m_fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
        tcdrain(m_fd);
    }
    void CloseLine() {
        if (m_fd >= 0) close(m_fd);
        m_fd = -1;
    }
    // The simulator's stdout closes when it ends.
    bool Exited() {
        if (m_pid <= 0 || !Readable(m_out)) return false;
        int status = 0;
        const bool ended = waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        m_pid = -1;
        return ended;
    }

private:
    static bool Readable(int fd) {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, kWaitMs) == 1;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_fd = -1;
};

}  // namespace

TEST(ScopeSim, ServesTheTds224FetchDialogue) {
#ifndef KIV_SCOPE_SIM_PATH
    GTEST_SKIP() << "kiv-scope-sim is not built";
#else
    const std::string log = TestDir("scope-sim") + "/requests.log";
    // 0.1 V at 0.05 V/div is two divisions, 50 sample units above the zero line (code 100);
    // a 2 kHz square over 10 × 250 µs changes sign every 250 of the 2500 points.
    Sim sim({"--ch1", "dc", "--ch2", "square", "--vdiv", "0.05", "--tdiv", "2.5e-4", "--amp", "0.1", "--freq",
             "2000", "--log", log, "--once"});
    ASSERT_TRUE(sim.Ready());

    const std::string identity = sim.Exchange(kIdentityRequest, 51);
    ASSERT_EQ(identity.size(), 51u);
    EXPECT_EQ(identity.substr(0, 28), kIdentityStart);

    const unsigned char high = 28 + 100 + 50, low = 28 + 100 - 50;
    for (int channel : {1, 2}) {
        SCOPED_TRACE(channel);
        const std::string description = sim.Exchange(ChannelRequest(channel), 200, "mode\n");
        const size_t mode = description.rfind("mode");
        ASSERT_NE(mode, std::string::npos);
        // Starting with the chosen channel also shows that nothing was left over from before.
        EXPECT_EQ(description.substr(0, 4), "Ch" + std::to_string(channel) + ",");
        // The fetch takes the description when "mode" arrives, which needs 51 characters by then.
        EXPECT_GE(mode + 4, 51u);
        EXPECT_NE(description.find("coupling, 5.0E-2 V/div, 2.5E-4 s/div, "), std::string::npos) << description;

        // Whatever follows "mode" still counts towards the 2515 bytes the fetch waits for.
        const size_t stray = description.size() - (mode + 4);
        const std::string curve = sim.Exchange(kCurveRequest, 2515 - stray);
        ASSERT_EQ(stray + curve.size(), 2515u);
        ASSERT_GE(curve.size(), 13u + 2500u);
        const std::string points = curve.substr(13, 2500);
        if (channel == 1) {
            EXPECT_EQ(std::count(points.begin(), points.end(), static_cast<char>(high)), 2500);
        } else {
            const auto at = [&](int i) { return static_cast<unsigned char>(points[static_cast<size_t>(i)]); };
            EXPECT_EQ(at(0), high);
            EXPECT_EQ(at(249), high);
            EXPECT_EQ(at(250), low);
            EXPECT_EQ(at(499), low);
            EXPECT_EQ(at(500), high);
            EXPECT_EQ(at(2499), low);
            EXPECT_EQ(std::count(points.begin(), points.end(), static_cast<char>(high)), 1250);
            EXPECT_EQ(std::count(points.begin(), points.end(), static_cast<char>(low)), 1250);
        }
    }

    // The driver hands over the closing request and closes the port straight away.
    sim.Send(std::string(kClosingRequest) + "\r");
    sim.CloseLine();
    ASSERT_TRUE(sim.Exited());
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::vector<std::string> expected = {
        "ACQUIRE:STATE STOP;:LOCK ALL;:ID?",
        "SELECT:CH1 ON;:DATA:SOURCE CH1;:WFMPRE:WFID?",
        "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?",
        "SELECT:CH2 ON;:DATA:SOURCE CH2;:WFMPRE:WFID?",
        "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?",
        kClosingRequest,
    };
    EXPECT_EQ(lines, expected);
#endif
}

TEST(ScopeSim, FaultsSpoilTheirReply) {
#ifndef KIV_SCOPE_SIM_PATH
    GTEST_SKIP() << "kiv-scope-sim is not built";
#else
    {
        Sim sim({"--fault", "wrong-id"});
        ASSERT_TRUE(sim.Ready());
        const std::string identity = sim.Exchange(kIdentityRequest, 51);
        EXPECT_EQ(identity.size(), 51u);
        EXPECT_NE(identity.substr(0, 28), kIdentityStart);
    }
    // Part of the curve, then the line drops and the instrument is gone.
    Sim sim({"--fault", "hangup"});
    ASSERT_TRUE(sim.Ready());
    EXPECT_EQ(sim.Exchange(kIdentityRequest, 51).substr(0, 28), kIdentityStart);
    EXPECT_TRUE(sim.Exchange(ChannelRequest(1), 200, "mode\n").ends_with("mode\n"));
    const std::string curve = sim.Exchange(kCurveRequest, 2515);
    EXPECT_GT(curve.size(), 13u);
    EXPECT_LT(curve.size() + 1, 2515u);
    EXPECT_TRUE(sim.Exited());
#endif
}
