// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CQueryDriver.h"
#include "acquisition/drivers/lt224/Lt224Reply.h"

// LECROY LT224: stops the trigger, switches headers off, checks the identity, reads each
// channel's time base and sensitivity and its 2500 data bytes in hexadecimal, then puts the
// trigger back to automatic.
class CLt224Driver : public CQueryDriver {
public:
    explicit CLt224Driver(RawTrace* traces);

    bool ParseReply(const std::string& reply) override;

protected:
    std::string SettingsRequest(int channel) const override { return Lt224SettingsRequest(channel); }
    std::string WaveformRequest(int channel) const override { return Lt224WaveformRequest(channel); }
    bool IdentityAccepted() override;
    bool SettingsComplete() const override;

private:
    int32_t m_nWork[kLt224WorkSize] = {};  // the stretch to 4000 samples
    int32_t m_nData[kLt224Points] = {};    // the decoded data bytes
};
