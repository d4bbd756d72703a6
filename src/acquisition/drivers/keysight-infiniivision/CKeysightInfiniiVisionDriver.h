// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "acquisition/CScpiDriver.h"

// KEYSIGHT / AGILENT InfiniiVision X (1000X, 2000X, 3000X, 3000T: DSO-X, MSO-X, DSOX, EDUX) over
// its raw socket (port 5025) or USBTMC. The screen record of each channel in NORMal points
// mode, one unsigned byte a point; a running instrument is stopped for the fetch, so both plots
// come from one acquisition, and set running again after it.
class CKeysightInfiniiVisionDriver : public CScpiDriver {
public:
    explicit CKeysightInfiniiVisionDriver(RawTrace* traces);

    bool Identifies(const ScpiIdentity& identity) const override;
    int FirstReplyTimeoutMs() const override { return kFirstReplyTimeoutMs; }
    bool HasScreenImage() const override { return true; }

    // Some models answer nothing for about ten seconds after a connection; twice this (a
    // silent instrument is asked once more) still ends within half a minute.
    static constexpr int kFirstReplyTimeoutMs = 14000;
    static constexpr int kTextTimeoutMs = 2000;
    static constexpr int kBlockTimeoutMs = 5000;
    static constexpr int kScreenTimeoutMs = 10000;
    // The first :WAV:PRE? after an acquisition may be answered "+0": it is asked this often.
    static constexpr int kPreambleAttempts = 3;

protected:
    CScpiTask Fetch() override;
    // screen image: :DISP:DATA? PNG, COLor in a "#8" block.
    CScpiTask FetchScreen(std::string& picture) override;

private:
    CScpiTask FetchPlot(int plot, int channel);
    // A reply read as a number, or the fetch ends saying what came.
    double Number(const std::string& query, const std::string& answer) const;
    [[noreturn]] void Malformed(const std::string& query, const std::string& answer) const;

    double m_dScreenLeft = 0, m_dScreenSpan = 0;
};
