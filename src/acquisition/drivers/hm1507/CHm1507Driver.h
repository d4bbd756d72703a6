// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CStateDriver.h"
#include "acquisition/drivers/hm1507/Hm1507Reply.h"

// The HM1507's dialogue states ("Due": its request goes out at the next step).
enum class EHm1507State : int32_t {
    Done = 0,
    Failed = 3,
    PlotDone = 4,
    WakeUpSent = 5,
    WaveformDue = 6,
    WaveformArriving = 7,
    SettingsDue = 8,
    SettingsAwaited = 9,
    PortFailed = 10,
    IdentityDue = 11,
    IdentityAwaited = 12,
    HoldDue = 13,
    HoldAwaited = 14,  // its acknowledge
    ReleaseAwaited = 15,  // its acknowledge
    LocalDue = 16,
};

// HAMEG 1507: wakes the interface, checks the identity, holds the screen, reads both
// channels' settings once, then 2048 bytes per channel; releases the hold and returns the
// instrument to local operation.
class CHm1507Driver : public CStateDriver<EHm1507State> {
public:
    explicit CHm1507Driver(RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    bool ParseReply(const std::string& reply) override;
    bool FirstReplyTaken() const override { return State() == EHm1507State::HoldDue; }
    bool TimeoutGoesOn() const override { return State() == EHm1507State::WakeUpSent; }
    // Back to local operation.
    std::string ClosingRequest() const override;

    std::string m_strAck;      // "0" CR LF
    std::string m_strLineEnd;  // CR LF
    uint8_t m_settings[kHm1507SettingsSize] = {};  // the last "DDF:" block, reused for plot 2

protected:
    void OnReplyByte(uint8_t byte) override;

private:
    void RequestWaveform();
};
