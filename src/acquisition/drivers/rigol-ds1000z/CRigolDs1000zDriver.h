// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "acquisition/CScpiDriver.h"

// RIGOL DS1000Z (DS1054Z, DS1074Z, DS1104Z, MSO1000Z, DS1000Z-E) and the DHO800/900 that answer
// its commands, over its raw socket (port 5555) or USBTMC. The screen record of each channel
// in NORMal mode, one byte a point; a running instrument is stopped for the fetch, so both
// plots come from one acquisition, and set running again after it.
class CRigolDs1000zDriver : public CScpiDriver {
public:
    explicit CRigolDs1000zDriver(RawTrace* traces);

    bool Identifies(const ScpiIdentity& identity) const override;
    bool HasScreenImage() const override { return true; }

    static constexpr int kTextTimeoutMs = 2000;
    static constexpr int kBlockTimeoutMs = 5000;
    // A block shorter than its record (the sweep still filling just after :RUN) is asked for
    // again this many times, this far apart.
    static constexpr int kShortBlockRetries = 3;
    static constexpr int kShortBlockPauseMs = 100;
    static constexpr int kScreenTimeoutMs = 10000;

protected:
    CScpiTask Fetch() override;
    // screen image: :DISP:DATA? (a PNG, or a BMP from older firmware) in a "#9" block.
    CScpiTask FetchScreen(std::string& picture) override;

private:
    CScpiTask FetchPlot(int plot, int channel);

    double m_dScreenLeft = 0, m_dScreenSpan = 0;
};
