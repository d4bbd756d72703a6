// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kiv-scope-sim on a pseudo-terminal that COM2 opens.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/ScopeRegistry.h"
#include "support/TestFiles.h"

extern char** environ;

// The models reached over a serial line, whose simulators serve a pseudo-terminal; the SCPI
// families have tests of their own over a network socket.
inline std::vector<int> SerialModels() {
    std::vector<int> indices;
    for (int i = 0; i < kScopeModelCount; ++i)
        if (!ScopeModelAt(i).scpi) indices.push_back(i);
    return indices;
}

// A model's key as a test's name: letters, digits and underscores only.
inline std::string ParamName(std::string key) {
    for (char& c : key)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return key;
}

// Open descriptors and running threads of this process.
inline std::pair<int, int> Resources() {
    int fds = 0, threads = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) (void)e, ++fds;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) (void)e, ++threads;
    return {fds, threads};
}

// kiv-scope-sim serving one model (channel 1 dc, channel 2 square) on a pseudo-terminal
// linked at dir/ttySIM; runner, words such as "setpriv --reuid=nobody", starts it, from program
// (a copy that runner's user may reach).
class Simulator {
public:
    Simulator(const std::string& dir, const std::vector<std::string>& extra, const char* model = "tds224",
              const std::string& runner = "", const std::string& program = KIV_SCOPE_SIM_PATH)
        : m_link(dir + "/ttySIM") {
        std::istringstream words(runner);
        std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        args.insert(args.end(), {program, "--model", model, "--link", m_link, "--ch1", "dc", "--ch2", "square"});
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) m_pid = -1;
        for (int i = 0; i < 500 && m_pid > 0 && !std::filesystem::exists(m_link); ++i) usleep(10000);
        setenv("KIV_COM2", m_link.c_str(), 1);
    }
    ~Simulator() {
        if (m_fd >= 0) close(m_fd);
        unsetenv("KIV_COM2");
        if (m_pid > 0) kill(m_pid, SIGTERM), waitpid(m_pid, nullptr, 0);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    bool Ready() const { return m_pid > 0 && std::filesystem::exists(m_link); }

    // The line as a port opens it (raw), for tests that speak to the simulator themselves.
    bool Open() {
        m_fd = Ready() ? open(m_link.c_str(), O_RDWR | O_NOCTTY) : -1;
        termios tio{};
        if (m_fd < 0 || tcgetattr(m_fd, &tio) != 0) return false;
        cfmakeraw(&tio);
        return tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }
    // Sends a request and reads until length bytes, the end text, the hang-up or 5 s of silence.
    std::string Exchange(const std::string& request, size_t length, const std::string& end = "") {
        if (write(m_fd, request.data(), request.size()) == static_cast<ssize_t>(request.size())) tcdrain(m_fd);
        std::string reply;
        char buffer[4096];
        pollfd p{m_fd, POLLIN, 0};
        while (reply.size() < length && !(!end.empty() && reply.ends_with(end)) && poll(&p, 1, 5000) == 1) {
            const ssize_t n = read(m_fd, buffer, std::min(sizeof buffer, length - reply.size()));
            if (n <= 0) break;
            reply.append(buffer, static_cast<size_t>(n));
        }
        return reply;
    }
    // The status the simulator ends with by itself within five seconds; -1 while it runs.
    int ExitStatus() {
        int status = 0;
        for (int i = 0; i < 500 && m_pid > 0; ++i, usleep(10000))
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) m_pid = 0;
        return m_pid == 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::string m_link;
    pid_t m_pid = -1;
    int m_fd = -1;
};
