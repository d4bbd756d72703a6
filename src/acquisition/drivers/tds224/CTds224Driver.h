// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CQueryDriver.h"
#include "acquisition/drivers/tds224/Tds224Reply.h"

// TEKTRONIX TDS224: stops and locks the instrument, checks its identity, reads each
// channel's description and 2500-point curve, then restarts and unlocks it.
class CTds224Driver : public CQueryDriver {
public:
    explicit CTds224Driver(RawTrace* traces);

    bool ParseReply(const std::string& reply) override;

protected:
    std::string SettingsRequest(int channel) const override;
    std::string WaveformRequest(int channel) const override;
    bool IdentityAccepted() override;
    bool SettingsComplete() const override;

private:
    int32_t m_nWork[kTds224WorkSize] = {};  // the curve's stretch to 4000 samples
};
