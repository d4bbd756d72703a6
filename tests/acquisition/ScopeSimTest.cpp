#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestFiles.h"

extern char** environ;

namespace {

constexpr char kIdentityRequest[] = "ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r";
constexpr char kCurveRequest[] = "HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r";
constexpr char kIdentity[] = "ID TEK/TDS 224,CF:91.1CT,FV:v2.12 TDS2CM:CMV:v1.04\n";
constexpr int kWaitMs = 5000;  // bound on every wait; a healthy simulator answers at once

std::string ChannelRequest(int n) {
    return "SELECT:CH" + std::to_string(n) + " ON;:DATA:SOURCE CH" + std::to_string(n) + ";:WFMPRE:WFID?\r";
}

// One kiv-scope-sim process serving a pseudo-terminal that the test opens as the driver would.
class Sim {
public:
    explicit Sim(std::vector<std::string> args, const char* model = "tds224") {
        args.insert(args.begin(), {KIV_SCOPE_SIM_PATH, "--model", model});
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

std::vector<std::string> LogLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

// Most HM1507 requests have no terminator; the log holds each one whole, "RM0" without its CR LF.
TEST(ScopeSim, LogsWholeHm1507Requests) {
    const std::string log = TestDir("scope-sim-hm1507") + "/requests.log";
    Sim sim({"--log", log, "--once"}, "hm1507");
    ASSERT_TRUE(sim.Ready());
    const std::string waveform = std::string("RDWFM1:") + std::string("\0\0\0\x08", 4);
    EXPECT_EQ(sim.Exchange(" \r", 3), "0\r\n");
    EXPECT_EQ(sim.Exchange("ID?", 30).substr(0, 11), "ID:HM1507-2");
    EXPECT_EQ(sim.Exchange("HLDWFM=1", 3), "0\r\n");
    EXPECT_EQ(sim.Exchange("DDF?\r", 18).substr(0, 4), "DDF:");
    EXPECT_EQ(sim.Exchange(waveform, 2059).substr(0, 11), waveform);
    EXPECT_EQ(sim.Exchange("HLDWFM=0", 3), "0\r\n");
    sim.Send("RM0\r\n");
    sim.CloseLine();
    ASSERT_TRUE(sim.Exited());
    const std::vector<std::string> expected = {" ", "ID?", "HLDWFM=1", "DDF?", waveform, "HLDWFM=0", "RM0"};
    EXPECT_EQ(LogLines(log), expected);
}

// The line faults: lost bytes counted over all replies, one flipped bit a byte (the same
// seed, the same noise), a stall that loses nothing, a hang-up half-way through the curve.
TEST(ScopeSim, LineFaults) {
    const std::string identity = kIdentity;
    {
        // Bytes 20 and 40 of the first identity, 60, 80 and 100 of the second.
        Sim sim({"--fault", "drop:20"});
        ASSERT_TRUE(sim.Ready());
        std::string first = identity, second = identity;
        first.erase(39, 1), first.erase(19, 1);
        second.erase(48, 1), second.erase(28, 1), second.erase(8, 1);
        EXPECT_EQ(sim.Exchange(kIdentityRequest, 51, "\n"), first);
        EXPECT_EQ(sim.Exchange("ID?\r", 51, "\n"), second);
    }
    auto noisy = [](const char* seed) {
        Sim sim({"--fault", "noise:1", "--seed", seed});
        return sim.Ready() ? sim.Exchange(kIdentityRequest, 51) : std::string();
    };
    const std::string a = noisy("7");
    ASSERT_EQ(a.size(), identity.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(std::popcount(static_cast<unsigned char>(a[i] ^ identity[i])), 1) << i;
    EXPECT_EQ(noisy("7"), a);
    EXPECT_NE(noisy("8"), a);

    std::string clean;  // the curve without a fault
    for (const std::string fault : {"", "stall:200", "hangup-mid"}) {
        SCOPED_TRACE(fault);
        Sim sim(fault.empty() ? std::vector<std::string>{} : std::vector<std::string>{"--fault", fault});
        ASSERT_TRUE(sim.Ready());
        EXPECT_EQ(sim.Exchange(kIdentityRequest, 51), identity);
        EXPECT_TRUE(sim.Exchange(ChannelRequest(1), 200, "mode\n").ends_with("mode\n"));
        const std::string curve = sim.Exchange(kCurveRequest, 2514);
        if (fault.empty()) {
            clean = curve;
            ASSERT_EQ(clean.size(), 2514u);
        } else if (fault != "hangup-mid") {
            EXPECT_EQ(curve, clean);
        } else {
            // What the far side had not read when the line went is lost.
            EXPECT_LE(curve.size(), 2514u / 2);
            EXPECT_EQ(curve, clean.substr(0, curve.size()));
            EXPECT_TRUE(sim.Exited());
        }
    }
}

// Malformed fault values are refused with a message that names them, status 2.
TEST(ScopeSim, RefusesMalformedFaults) {
    for (const char* fault : {"drop:0", "drop:", "noise:2", "noise:x", "stall:-1", "stall", "jam"}) {
        SCOPED_TRACE(fault);
        const std::string command = std::string(KIV_SCOPE_SIM_PATH) + " --model tds224 --fault " + fault + " 2>&1";
        FILE* p = popen(command.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buffer[256];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
        const int status = pclose(p);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
        EXPECT_EQ(out.rfind(std::string("kiv-scope-sim: ") + (fault[0] == 'j' ? "unknown fault " : "--fault "), 0), 0u)
            << out;
        EXPECT_NE(out.find(fault), std::string::npos) << out;
    }
}
