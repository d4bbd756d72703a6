// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kiv-scope-sim playing a network instrument on a loopback port, and a host without Qt that
// runs a driver's dialogue over a real transport to it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/IProgressHost.h"
#include "platform/Transports.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

extern char** environ;

// The simulator listening on 127.0.0.1 (any free port), its requests logged, its complaints
// about unknown commands kept.
class NetSimulator {
public:
    NetSimulator(const std::string& dir, const char* model, const std::vector<std::string>& extra = {})
        : m_log(dir + "/requests.log"), m_errors(dir + "/stderr.txt") {
        std::remove(m_log.c_str());
        const std::string portFile = dir + "/port.txt";
        std::remove(portFile.c_str());
        std::vector<std::string> args{KIV_SCOPE_SIM_PATH, "--model", model, "--listen", "127.0.0.1:0", "--log", m_log};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, portFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 2, m_errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&m_pid, argv[0], &files, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&files);
        for (int i = 0; i < 500 && m_pid > 0 && m_port == 0; ++i, usleep(2000)) {
            std::ifstream in(portFile);
            in >> m_port;
        }
    }
    ~NetSimulator() { Stop(); }
    NetSimulator(const NetSimulator&) = delete;
    NetSimulator& operator=(const NetSimulator&) = delete;

    std::string Address() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }
    unsigned Port() const { return m_port; }
    void Stop() {
        if (m_pid > 0) kill(m_pid, SIGTERM), waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    // Every request the instrument got, one a line.
    std::vector<std::string> Requests() const { return Lines(m_log); }
    // The same once the log has not grown for 100 ms (2 s at most): what a closing fetch sent
    // last reaches the instrument after the fetch has ended.
    std::vector<std::string> SettledRequests() const {
        std::vector<std::string> last = Requests();
        for (int i = 0; i < 20; ++i) {
            usleep(100000);
            std::vector<std::string> now = Requests();
            if (now == last) break;
            last = std::move(now);
        }
        return last;
    }
    // What it said of requests its programming guide does not have.
    std::vector<std::string> Complaints() const { return Lines(m_errors); }

private:
    static std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    std::string m_log, m_errors;
    pid_t m_pid = -1;
    unsigned m_port = 0;
};

// The progress window's part without Qt: a queue of posted tasks, watched descriptors and two
// timers, run on the test's thread until the dialogue ends or time is up.
class LoopHost : public IProgressHost, public ITransportOwner {
public:
    void SetReplyTimer(int ms) override { m_reply = Deadline(ms), m_replyMs = ms; }
    void KillReplyTimer() override { m_replyMs = -1; }
    void SetStepTimer(int ms) override { m_step = Deadline(ms), m_stepOn = true; }
    void KillStepTimer() override { m_stepOn = false; }
    bool HasWindow() const override { return false; }
    void SetBarPos(int) override {}
    void EndDialog(int result) override { m_ended = result; }
    std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address) override {
        return ::CreateTransport(address);
    }
    ITransportOwner* TransportOwner() override { return this; }
    const CPlatform& Platform() const override { return platform; }
    void Post(std::function<void()> task) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_tasks.push_back(std::move(task));
        const uint64_t one = 1;
        if (m_wake >= 0 && write(m_wake, &one, sizeof one) < 0) {
            // The counter is full: the loop wakes anyway.
        }
    }
    bool WatchReadable(int fd, std::function<void()> ready) override {
        m_watched[fd] = std::move(ready);
        return true;
    }
    void StopWatching(int fd) override { m_watched.erase(fd); }
    void OnBytes(const uint8_t* bytes, size_t size) override { m_dialogue->OnBytes(bytes, size); }
    void OnTransportError(const std::string& text) override { platform.Message(text, "Błąd transmisji", MsgIcon::Error); }
    void OnLineGone() override { m_dialogue->OnLineGone(); }

    // Runs the dialogue to its end (or for limitMs); the EndDialog result, -1 when it never ended.
    int Run(IHostedDialogue& dialogue, int limitMs = 30000) {
        m_dialogue = &dialogue;
        m_ended = -1;
        {
            // Only while it runs: tests count what is left open after it.
            std::lock_guard<std::mutex> lock(m_lock);
            m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        }
        const auto limit = Deadline(limitMs);
        const bool started = dialogue.Start(this);
        while (started && m_ended == -1 && Clock::now() < limit) {
            std::function<void()> task;
            {
                std::lock_guard<std::mutex> lock(m_lock);
                if (!m_tasks.empty()) task = std::move(m_tasks.front()), m_tasks.pop_front();
            }
            if (task) {
                task();
                continue;
            }
            auto next = limit;
            if (m_replyMs >= 0) next = std::min(next, m_reply);
            if (m_stepOn) next = std::min(next, m_step);
            pollfd fds[8] = {{m_wake, POLLIN, 0}};
            size_t used = 1;
            for (auto watched = m_watched.begin(); watched != m_watched.end() && used < std::size(fds); ++watched)
                fds[used++] = {watched->first, POLLIN, 0};
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
            if (poll(fds, used, static_cast<int>(std::max<int64_t>(wait, 0))) > 0) {
                uint64_t count;
                if ((fds[0].revents & POLLIN) && read(m_wake, &count, sizeof count) < 0) {
                    // Another wake took it.
                }
                for (size_t i = 1; i < used && m_ended == -1; ++i) {
                    auto watched = m_watched.find(fds[i].fd);
                    if (!fds[i].revents || watched == m_watched.end()) continue;
                    const std::function<void()> ready = watched->second;  // it may stop watching itself
                    ready();
                }
            }
            if (m_ended != -1) break;
            if (m_replyMs >= 0 && Clock::now() >= m_reply) {
                m_reply = Deadline(m_replyMs);  // it repeats until stopped
                dialogue.OnTimer(kReplyTimer);
            } else if (m_stepOn && Clock::now() >= m_step) {
                m_stepOn = false;
                dialogue.OnTimer(kStepTimer);
            }
        }
        if (started) dialogue.Detach();
        std::lock_guard<std::mutex> lock(m_lock);
        close(m_wake);
        m_wake = -1;
        return m_ended;
    }

    FakeMessages messages;
    CPlatform platform{&messages, nullptr};

private:
    using Clock = std::chrono::steady_clock;
    static Clock::time_point Deadline(int ms) { return Clock::now() + std::chrono::milliseconds(ms); }

    IHostedDialogue* m_dialogue = nullptr;
    std::mutex m_lock;
    int m_wake = -1;  // eventfd
    std::map<int, std::function<void()>> m_watched;
    std::deque<std::function<void()>> m_tasks;
    Clock::time_point m_reply{}, m_step{};
    int m_replyMs = -1;
    bool m_stepOn = false;
    int m_ended = -1;
};
