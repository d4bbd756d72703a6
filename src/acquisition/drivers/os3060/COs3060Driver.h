#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CScopeDriver.h"
#include "acquisition/drivers/os3060/Os3060Reply.h"

// GOLDSTAR OS-3060: an opening request, each channel's panel settings and its 1000-byte
// waveform widened to 4000 samples. No closing request and no message boxes: every failure
// ends the fetch with state 3 (10 for the port) and the fetch shows its general message.
// States: 5 opening reply awaited, 8 settings request due, 9 settings awaited, 6 waveform
// request due, 7 waveform arriving, 4 plot done.
class COs3060Driver : public CScopeDriver {
public:
    explicit COs3060Driver(RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    void OnChar(uint8_t byte) override;
    bool ParseReply(const std::string& reply) override;
    bool FirstReplyTaken() const override { return m_nState == 8; }

private:
    // Fail at once: state 3 and the end, without a message.
    void Fail();
    void SendOs3060Request(const std::string& command, int32_t state, int replyTimeoutMs);
    int Channel() const { return m_bFirstPlot ? m_nPlot1Channel : m_nPlot2Channel; }
};
