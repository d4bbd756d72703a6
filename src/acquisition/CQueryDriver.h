// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CStateDriver.h"

// What distinguishes the instruments that answer queries in text (TDS224, LT224): their
// requests, time-outs and reply lengths.
struct QueryDialogue {
    const char* startRequest;     // the first identity request, which also stops the instrument
    const char* identityRequest;  // the identity request before the second plot
    const char* closingRequest;   // handed over as a fetch ends, to set the instrument running
    int identityTimeoutMs, settingsTimeoutMs, waveformTimeoutMs;
    int32_t waveformLength;  // bytes of the waveform reply, header included
    int32_t progressBytes;   // bytes counted towards the bar
    double progressPerByte;  // percent of the bar per byte
};

// The states of the query dialogue; a second plot checks the identity again.
enum class EQueryState : int32_t {
    Done = 0,
    Failed = 3,
    PlotDone = 4,
    WaveformDue = 6,
    WaveformArriving = 7,
    SettingsDue = 8,
    SettingsAwaited = 9,
    PortFailed = 10,
    IdentityAwaited = 12,
};

// The query dialogue. The models give their requests, reply checks and parsers.
class CQueryDriver : public CStateDriver<EQueryState> {
public:
    CQueryDriver(const ScopeModel& model, RawTrace* traces, const QueryDialogue& dialogue);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    bool FirstReplyTaken() const override { return State() == EQueryState::SettingsDue; }
    std::string ClosingRequest() const override { return m_dialogue.closingRequest; }

protected:
    void OnReplyByte(uint8_t byte) override;
    virtual std::string SettingsRequest(int channel) const = 0;
    virtual std::string WaveformRequest(int channel) const = 0;
    // Checks of the reply so far (m_strCommand, m_strReply, m_nReceived).
    virtual bool IdentityAccepted() = 0;
    virtual bool SettingsComplete() const = 0;

private:
    const QueryDialogue& m_dialogue;
};
