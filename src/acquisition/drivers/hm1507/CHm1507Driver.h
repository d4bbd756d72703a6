#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CScopeDriver.h"
#include "acquisition/drivers/hm1507/Hm1507Reply.h"

// HAMEG 1507: wakes the interface, checks the identity, holds the screen, reads both
// channels' settings once, then 2048 bytes per channel; releases the hold and returns the
// instrument to local operation. States: 5 wake-up sent, 11/12 identity due/awaited,
// 13/14 hold due/acknowledge awaited, 8/9 settings due/awaited, 6/7 waveform
// due/arriving, 4 plot done, 15 release acknowledge awaited, 16 local request due.
class CHm1507Driver : public CScopeDriver {
public:
    explicit CHm1507Driver(RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    void OnChar(uint8_t byte) override;
    bool ParseReply(const std::string& reply) override;
    bool FirstReplyTaken() const override { return m_nState == 13; }
    bool TimeoutGoesOn() const override { return m_nState == 5; }
    // Back to local operation.
    std::string ClosingRequest() const override;

    std::string m_strAck;      // "0" CR LF
    std::string m_strLineEnd;  // CR LF
    uint8_t m_settings[kHm1507SettingsSize] = {};  // the last "DDF:" block, reused for plot 2

private:
    void RequestWaveform();
};
