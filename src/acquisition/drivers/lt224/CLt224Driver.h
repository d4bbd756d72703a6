#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CScopeDriver.h"
#include "acquisition/drivers/lt224/Lt224Reply.h"

// LECROY LT224: stops the trigger, switches headers off, checks the identity, reads each
// channel's time base and sensitivity and its 2500 data bytes in hexadecimal, then puts the
// trigger back to automatic.
// States: 12 identity awaited, 8 settings request due, 9 settings awaited, 6 waveform
// request due, 7 waveform arriving, 4 plot done.
class CLt224Driver : public CScopeDriver {
public:
    explicit CLt224Driver(RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    void OnChar(uint8_t byte) override;
    bool ParseReply(const std::string& reply) override;

private:

    int32_t m_nWork[kLt224WorkSize] = {};  // the stretch to 4000 samples
    int32_t m_nData[kLt224Points] = {};    // the decoded data bytes
};
