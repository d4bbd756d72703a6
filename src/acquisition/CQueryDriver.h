#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CScopeDriver.h"

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

// The query dialogue: 12 identity awaited, 8 settings request due, 9 settings awaited,
// 6 waveform request due, 7 waveform arriving, 4 plot done; a second plot checks the
// identity again. The models give their requests, reply checks and parsers.
class CQueryDriver : public CScopeDriver {
public:
    CQueryDriver(const ScopeModel& model, RawTrace* traces, const QueryDialogue& dialogue);

    bool Start(IProgressHost* host) override;
    void OnTimeout() override;
    void Step() override;
    void OnChar(uint8_t byte) override;
    bool FirstReplyTaken() const override { return m_nState == 8; }
    std::string ClosingRequest() const override { return m_dialogue.closingRequest; }

protected:
    virtual std::string SettingsRequest(int channel) const = 0;
    virtual std::string WaveformRequest(int channel) const = 0;
    // Checks of the reply so far (m_strCommand, m_strReply, m_nReceived).
    virtual bool IdentityAccepted() = 0;
    virtual bool SettingsComplete() const = 0;

private:
    const QueryDialogue& m_dialogue;
};
