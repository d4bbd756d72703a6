// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CStateDriver.h"
#include "acquisition/drivers/os3060/Os3060Reply.h"

// The OS-3060's dialogue states ("Due": its request goes out at the next step).
enum class EOs3060State : int32_t {
    Done = 0,
    Failed = 3,
    PlotDone = 4,
    OpeningAwaited = 5,
    WaveformDue = 6,
    WaveformArriving = 7,
    SettingsDue = 8,
    SettingsAwaited = 9,
    PortFailed = 10,
};

// GOLDSTAR OS-3060: an opening request, each channel's panel settings and its 1000-byte
// waveform widened to 4000 samples. No closing request and no message boxes of its own: every
// failure ends the fetch with state Failed (PortFailed for the port) and the fetch shows its
// general message; a line that went says so in the one box every model gives it.
class COs3060Driver : public CStateDriver<EOs3060State> {
public:
    explicit COs3060Driver(RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    bool ParseReply(const std::string& reply) override;
    bool FirstReplyTaken() const override { return State() == EOs3060State::SettingsDue; }

protected:
    void OnReplyByte(uint8_t byte) override;

private:
    // Fail at once: state Failed and the end, without a message.
    void Fail();
    void SendOs3060Request(const std::string& command, EOs3060State state, int replyTimeoutMs);
    int Channel() const { return m_bFirstPlot ? m_nPlot1Channel : m_nPlot2Channel; }
};
