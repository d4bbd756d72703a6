// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/CScopeDriver.h"
#include "support/FakePlatform.h"

// A transport that records what the driver asks of it; nothing reaches a device.
struct FakePortLog {
    bool opened = false, openFails = false;
    unsigned port = 0, baud = 0, dataBits = 0, stopBits = 0, writeBuffer = 0;
    char parity = 0;
    uint32_t eventMask = 0;
    std::vector<std::string> sent;
    bool closed = false;
    std::string whyNotOpen;  // what a port that failed to open says
    std::string device;      // the device the address named, "" for the COM number's
    std::string whyGone;     // what a port whose line went says
};

class FakeTransport : public ITransport {
public:
    explicit FakeTransport(FakePortLog& log) : m_log(log) {}
    ~FakeTransport() override { m_log.closed = true; }
    bool Open(ITransportOwner*, const CTransportAddress& address, const CLineSettings& line) override {
        m_log = {true,          m_log.openFails, address.port, line.baud, line.dataBits, line.stopBits,
                 line.writeBuffer, line.parity,  line.events,  {},        false,         m_log.whyNotOpen,
                 address.device, m_log.whyGone};
        return !m_log.openFails;
    }
    std::string WhyNotOpen() const override { return m_log.whyNotOpen; }
    std::string WhyGone() const override { return m_log.whyGone; }
    bool StartReader() override { return true; }
    void Send(const char* bytes, size_t length) override { m_log.sent.emplace_back(bytes, length); }

private:
    FakePortLog& m_log;
};

// The progress window as the drivers see it, with its timers fired by the test.
class FakeProgressHost : public IProgressHost, public ITransportOwner {
public:
    void SetReplyTimer(int ms) override { replyTimer = ms; }
    void KillReplyTimer() override { replyTimer = -1; }
    void SetStepTimer(int ms) override { stepTimer = ms; }
    void KillStepTimer() override { stepTimer = -1; }
    bool HasWindow() const override { return true; }
    void SetBarPos(int pos) override { bar.push_back(pos); }
    void EndDialog(int result) override { ended = result, ++endings; }
    std::unique_ptr<ITransport> CreateTransport(const CTransportAddress&) override {
        return std::make_unique<FakeTransport>(port);
    }
    ITransportOwner* TransportOwner() override { return this; }
    const CPlatform& Platform() const override { return platform; }
    void Post(std::function<void()> task) override { task(); }
    void OnBytes(const uint8_t*, size_t) override {}
    void OnTransportError(const std::string&) override {}

    // The dialogue as the progress window runs it.
    void Start(IHostedDialogue& d) { driver = &d, d.Start(this); }
    // The bytes in one delivery, as a transport hands over what it read at once.
    void Receive(const std::string& bytes) {
        driver->OnBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
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
    int endings = 0;  // EndDialog calls
};
