// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

#include "acquisition/CScpiDriver.h"

// TEKTRONIX TDS1000/TDS2000 (B, C), TPS2000, TBS1000 (B) over USBTMC: the TDS224's command
// language with headers off. Each channel's whole record (2500 points over the 10 divisions
// of the screen), one signed byte a point; a running instrument is stopped for the fetch, so
// both plots come from one acquisition, and set running again after it.
class CTektronixTds2000Driver : public CScpiDriver {
public:
    explicit CTektronixTds2000Driver(RawTrace* traces);

    bool Identifies(const ScpiIdentity& identity) const override;
    bool HasScreenImage() const override { return true; }

    static constexpr int kTextTimeoutMs = 2000;
    // WFMPre? takes about a second on this firmware.
    static constexpr int kPreambleTimeoutMs = 6000;
    static constexpr int kCurveTimeoutMs = 5000;
    static constexpr int kScreenTimeoutMs = 20000;

protected:
    // Either job: headers off first, then *IDN? (a TBS1000C told apart from other instruments).
    CScpiTask Job() override;
    CScpiTask Fetch() override;
    // screen image: the BMP HARDCopy STARt sends, bare.
    CScpiTask FetchScreen(std::string& picture) override;

private:
    CScpiTask FetchPlot(int plot, int channel);
    // A reply that is one of the words ("0|1"), else the fetch ends saying what came.
    void Expect(const std::string& command, const std::string& reply, std::string_view words) const;
};
