#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CScopeDriver.h"
#include "acquisition/drivers/tds224/Tds224Reply.h"

// TEKTRONIX TDS224: stops and locks the instrument, checks its identity, reads each
// channel's description and 2500-point curve, then restarts and unlocks it.
// States: 12 identity awaited, 8 channel request due, 9 description awaited, 6 curve
// request due, 7 curve arriving, 4 plot done.
class CTds224Driver : public CScopeDriver {
public:
    explicit CTds224Driver(RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    void OnChar(uint8_t byte) override;
    bool ParseReply(const std::string& reply) override;

private:

    int32_t m_nWork[kTds224WorkSize] = {};  // the curve's stretch to 4000 samples
};
