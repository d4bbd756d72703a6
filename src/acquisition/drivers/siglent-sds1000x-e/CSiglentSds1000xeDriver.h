// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "acquisition/CScpiDriver.h"

// SIGLENT SDS1000X-E and SDS2000X-E (the legacy command set) over the raw socket (port 5025) or
// USBTMC. Each channel's screen record, 14 divisions, as signed bytes 25 codes a division,
// thinned on the instrument to the fewest points that still give every sample a point of
// its own; a running instrument is stopped for the fetch, so both plots come from one
// acquisition, and set running again after it.
class CSiglentSds1000xeDriver : public CScpiDriver {
public:
    explicit CSiglentSds1000xeDriver(RawTrace* traces);

    bool Identifies(const ScpiIdentity& identity) const override;
    bool HasScreenImage() const override { return true; }

    static constexpr int kTextTimeoutMs = 2000;
    // The X-E was seen to hang on commands sent closer together than this: a setting waits it
    // out before the next request.
    static constexpr int kCommandGapMs = 50;
    static constexpr int kScreenTimeoutMs = 10000;
    // A waveform's wait: m_nWaveformWaitMs, then a millisecond for this many points (the whole
    // record, as some firmware ignores the thinning), at most kLongestWaveformWaitMs; two such
    // waits (a silent WF? asked once more) and the rest of a fetch stay within half a minute.
    static constexpr int kWaveformPointsPerMs = 1500;
    static constexpr int kLongestWaveformWaitMs = 13000;
    static constexpr int kScreenDivisions = 14;
    static constexpr int kCodesPerDivision = 25;

    int m_nWaveformWaitMs = 5000;  // tests shorten it

    // The wait for a waveform whose screen holds this many points.
    int WaveformTimeoutMs(long points) const;

protected:
    // Either job, after CHDR OFF and the identity (a new-set Siglent told so).
    CScpiTask Job() override;
    CScpiTask Fetch() override;
    // screen image: SCDP, a bare BMP.
    CScpiTask FetchScreen(std::string& picture) override;

private:
    CScpiTask Connect();
    CScpiTask Command(std::string command);
    CScpiTask ReadTimeBase();
    CScpiTask FetchPlot(int plot, int channel);
    // The answer to query as a number (one above 0 where positive), else the fetch ends saying so.
    double Number(const std::string& query, const std::string& answer, bool positive = false) const;

    double m_dSecondsPerDivision = 0, m_dSampleRate = 0, m_dDelay = 0;
    long m_nScreenPoints = 0;  // the record's points across the screen
    int m_nSparsing = 1;       // every this many-th point sent
};
