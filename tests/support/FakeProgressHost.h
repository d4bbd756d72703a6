#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/CScopeDriver.h"
#include "support/FakePlatform.h"

// A port that records what the driver asks of it; nothing reaches a device.
struct FakePortLog {
    bool opened = false, openFails = false;
    unsigned port = 0, baud = 0, dataBits = 0, stopBits = 0, writeBuffer = 0;
    char parity = 0;
    uint32_t eventMask = 0;
    std::vector<std::string> sent;
    bool closed = false;
    std::string whyNotOpen;  // what a port that failed to open says
};

class FakeSerialPort : public ISerialPort {
public:
    explicit FakeSerialPort(FakePortLog& log) : m_log(log) {}
    ~FakeSerialPort() override { m_log.closed = true; }
    bool Open(IComPortOwner*, unsigned port, unsigned baud, char parity, unsigned dataBits, unsigned stopBits,
              uint32_t eventMask, unsigned writeBuffer) override {
        m_log = {true,   m_log.openFails, port, baud, dataBits, stopBits, writeBuffer, parity, eventMask, {}, false,
                 m_log.whyNotOpen};
        return !m_log.openFails;
    }
    std::string WhyNotOpen() const override { return m_log.whyNotOpen; }
    bool StartReader() override { return true; }
    void Send(const char* bytes, size_t length) override { m_log.sent.emplace_back(bytes, length); }

private:
    FakePortLog& m_log;
};

// The progress window as the drivers see it, with its timers fired by the test.
class FakeProgressHost : public IProgressHost, public IComPortOwner {
public:
    void SetReplyTimer(int ms) override { replyTimer = ms; }
    void KillReplyTimer() override { replyTimer = -1; }
    void SetStepTimer(int ms) override { stepTimer = ms; }
    void KillStepTimer() override { stepTimer = -1; }
    bool HasWindow() const override { return true; }
    void SetBarPos(int pos) override { bar.push_back(pos); }
    void EndDialog(int result) override { ended = result; }
    std::unique_ptr<ISerialPort> CreatePort() override { return std::make_unique<FakeSerialPort>(port); }
    IComPortOwner* PortOwner() override { return this; }
    const CPlatform& Platform() const override { return platform; }
    void Post(std::function<void()> task) override { task(); }
    void OnComPortMessage(int, unsigned, unsigned) override {}
    void OnComPortError(const std::string&) override {}

    // The dialogue as the progress window runs it.
    void Start(IHostedDialogue& d) { driver = &d, d.Start(this); }
    void Receive(const std::string& bytes) {
        for (unsigned char c : bytes) driver->OnChar(c);
    }
    void FireReplyTimer() { driver->OnTimer(kReplyTimer); }
    void FireStepTimer() { driver->OnTimer(kStepTimer); }
    void LoseLine() { driver->OnLineGone(); }
    // The last request sent, "" when none.
    std::string LastSent() const { return port.sent.empty() ? std::string() : port.sent.back(); }

    IHostedDialogue* driver = nullptr;
    FakeMessages messages;
    CPlatform platform{&messages, nullptr};
    FakePortLog port;
    int replyTimer = -1, stepTimer = -1;
    std::vector<int> bar;
    int ended = -1;  // result of EndDialog, -1 while the dialogue runs
};
