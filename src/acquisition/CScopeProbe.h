// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/CScopeDriver.h"

enum class EProbeResult { Answered, Other, Silent, NoPort };

// What the probe found, with one line for the user in the chosen language.
struct ProbeOutcome {
    EProbeResult result = EProbeResult::Silent;
    std::string text;
};

// Is the chosen model on the line? Opens the driver's port with the model's line settings,
// runs only the model's first request and reply with the driver's own check of it, then
// hands the instrument back with the model's closing request. It hosts the driver in the
// real host's place: the timers and the port are the real host's, the driver's message
// boxes go nowhere and no trace reaches a document. The real host's loop ends with 0 (2 when
// cancelled); Outcome() tells what was found.
class CScopeProbe : public IHostedDialogue, private IProgressHost {
public:
    // The driver's port and rate are the ones probed; its plot channels are overwritten.
    explicit CScopeProbe(CScopeDriver& driver);
    ~CScopeProbe() override;
    CScopeProbe(const CScopeProbe&) = delete;
    CScopeProbe& operator=(const CScopeProbe&) = delete;

    bool Start(IProgressHost* host) override;
    void OnTimer(int timerId) override;
    void OnBytes(const uint8_t* bytes, size_t size) override;
    void OnLineGone() override;
    void ClosePort() override;
    void Detach() override;

    const ProbeOutcome& Outcome() const { return m_outcome; }

    // Bytes of a reply the outcome shows; more are cut with "...".
    static constexpr size_t kShownBytes = 64;

private:
    // The driver's host calls.
    void SetReplyTimer(int ms) override;
    void KillReplyTimer() override;
    void SetStepTimer(int ms) override;
    void KillStepTimer() override;
    bool HasWindow() const override { return false; }
    void SetBarPos(int) override {}
    void EndDialog(int result) override;
    std::unique_ptr<ITransport> CreateTransport(const CTransportAddress& address) override;
    ITransportOwner* TransportOwner() override;
    const CPlatform& Platform() const override { return m_quiet; }

    // One received byte, noted for the outcome and handed to the driver.
    void OnChar(uint8_t byte);
    // The reply to the last request, as far as it came: an answer of some other kind.
    EProbeResult Unanswered() const;
    void End(EProbeResult result);
    // Timers stopped, the closing request handed over when asked, the port closed.
    void Close(bool handBack);

    CScopeDriver& m_driver;
    IProgressHost* m_pHost = nullptr;
    CPlatform m_quiet;           // no messages
    std::string m_strReply;      // the first bytes received since...
    std::string m_strReplyTo;    // ...this request was sent
    size_t m_nReplyBytes = 0;
    bool m_bEnded = false;
    ProbeOutcome m_outcome;
    std::string m_strGone;  // why the line went, as its transport told, when it went
};

// Bytes as one printable line: control and non-ASCII bytes as \r, \n, \t or \xHH, the
// backslash and the quote escaped.
std::string PrintableBytes(const std::string& bytes);
