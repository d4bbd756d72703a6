// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TrNoop.h"
#include <cstdint>
#include <memory>
#include <string>

#include "acquisition/IProgressHost.h"
#include "acquisition/RawTrace.h"
#include "acquisition/ScopeModel.h"

// The states every driver family shares (each family's own enum class keeps these values):
// the fetch's status is the state its dialogue ended in.
// Reported: the dialogue ended with a message that says everything, no second one follows (in
// the serial families its number is PlotDone's, which an ended dialogue never steps on from).
enum class EScopeState : int32_t { Done = 0, Failed = 3, Reported = 4, PortFailed = 10 };

// One instrument model's dialogue over a transport: a small state machine driven by received
// bytes, the reply timer and the step timer, all on the host's thread.
class CScopeDriver : public IHostedDialogue {
public:
    // traces[0] and traces[1] receive plot 1 and plot 2 (owned by the acquisition).
    CScopeDriver(const ScopeModel& model, RawTrace* traces);
    virtual ~CScopeDriver();
    CScopeDriver(const CScopeDriver&) = delete;
    CScopeDriver& operator=(const CScopeDriver&) = delete;

    bool Start(IProgressHost* host) override { (void)host; return true; }
    virtual void OnTimeout() {}
    virtual void ScheduleStep();
    virtual void Step() {}
    // Byte by byte, until a byte ends the dialogue and closes the port: what came with it is
    // no one's reply.
    void OnBytes(const uint8_t* bytes, size_t size) override;
    // One received byte: appended to the reply and counted, then the model's OnReplyByte.
    void OnChar(uint8_t byte);
    void ClosePort() override;
    virtual bool ParseReply(const std::string& reply) { (void)reply; return true; }
    virtual void Finish(int result);

    // The host's timer event: the reply timer's time-out first, then, for every timer,
    // the step timer is stopped and the next step runs, unless the time-out ended the dialogue.
    void OnTimer(int timerId) override;
    // A dead line never answers: the reply awaited now, and any asked for later, times out
    // at once with the message its time-out has, instead of after the full wait. A line
    // that is merely silent still gets the full wait.
    void OnLineGone() override;
    // The port goes with the host that receives its bytes.
    void Detach() override;
    // percent 0..100 of the plot being fetched; with both plots each takes half the bar.
    void SetProgress(int percent);

    // What the probe needs of a model. The first exchange's reply was taken (the identity,
    // or the OS-3060's opening reply).
    virtual bool FirstReplyTaken() const { return false; }
    // A reply time-out in the current state moves the dialogue on rather than failing it.
    virtual bool TimeoutGoesOn() const { return false; }
    // The request that hands the instrument back as a fetch ends; empty when there is none.
    virtual std::string ClosingRequest() const { return {}; }
    // The instrument as the probe names it once its first reply was taken.
    virtual std::string FoundInstrument() const { return m_model.name; }
    // How the fetch ended, asked when the host is told: a driver that hands its dialogue on
    // answers for the one that ends it.
    virtual int32_t FetchState() const { return m_nState; }

    const ScopeModel& Model() const { return m_model; }
    // The device as messages name it ("/dev/ttyUSB0", "tcp://10.0.0.5:5555", "COM2 (/dev/ttyS1)").
    std::string DeviceName() const { return m_address.Name(); }
    const RawTrace& Trace(int plot) const { return m_pTraces[plot == 1 ? 0 : 1]; }

    // Between the fetches of a live view the connection stays open where the driver can keep it
    // (an SCPI instrument's); a serial line opens anew for each.
    bool m_bKeepLine = false;
    uint8_t m_nPlot1Channel = 0;  // 1-based; 0: plot 1 is not fetched
    uint8_t m_nPlot2Channel = 0;
    int32_t m_nState = static_cast<int32_t>(EScopeState::PortFailed);  // the family's enum as a number
    int32_t m_nReceived = 0;  // bytes since the current request was sent
    int32_t m_bBothPlots = 0;
    int32_t m_bFirstPlot = 0;  // 1 while plot 1 is fetched
    std::string m_strCommand;  // the request last sent
    std::string m_strReply;    // bytes received since then
    std::unique_ptr<ITransport> m_pPort;
    IProgressHost* m_pHost = nullptr;

protected:
    // The model's reaction to a byte just appended to m_strReply (and counted in m_nReceived).
    virtual void OnReplyByte(uint8_t byte) { (void)byte; }
    // The common start: remembers the host; with no channel chosen ends at once as
    // cancelled; else sets the plot flags and the bar, opens the address at the configured
    // rate and starts its reader. False when the dialogue must not go on (cancelled, or the
    // port failed: state PortFailed and a 100 ms reply timer that reports it).
    bool StartCommon(IProgressHost* host);
    // Sets the command (terminator included), empties the reply, sends the bytes and arms
    // the reply timer. The received count is the caller's.
    void SendRequest(const std::string& command, int replyTimeoutMs);
    // The same without a reply timer: the closing requests, and requests whose timer the
    // driver arms itself.
    void SendOnly(const std::string& command);
    // The reply timer, through which the driver knows whether a reply is awaited.
    void ArmReplyTimer(int ms);
    void StopReplyTimer();
    // An accepted reply: the next state, the reply timer stopped, the count restarted and
    // the step timer armed for the next request.
    void AcceptReply(int32_t nextState);
    // Instrument channel of the plot being fetched.
    int CurrentChannel() const { return m_bFirstPlot ? m_nPlot1Channel : m_nPlot2Channel; }
    // A time-out's box: caption "Uwaga", stop icon.
    void Warn(const char* text);
    // The common end of a reply time-out: the waiting state's message, state Failed and the
    // end of the dialogue; a port that never opened says so and ends with 0, keeping state
    // PortFailed; a line that went ends as EndLineGone does. The instrument is left as the
    // dialogue left it: only a finished fetch releases it.
    void FailOnTimeout(const char* message);
    // After the line went: one box naming the device and why (the transport's words), state
    // Reported and the end of the dialogue. False, and nothing done, while the line is there.
    bool EndLineGone();
    // Why the port did not open, in a box of its own (caption "Kiv"), when the port knows:
    // KIV_TR_NOOP("Kiv", "Nie można zainicjować portu COM !") alone leaves the user guessing on Linux.
    void ExplainPortFailure();
    // The trace of the plot being fetched.
    RawTrace& CurrentTrace() { return m_pTraces[m_bFirstPlot ? 0 : 1]; }

    const ScopeModel& m_model;
    RawTrace* m_pTraces;
    bool m_bReplyAwaited = false;  // the reply timer runs
    bool m_bLineGone = false;      // since this fetch's port said so

public:
    // Where and at which rate (index into kBaudRates) the next Start opens, set from the
    // configuration before a fetch; a device given here stands in for what COMn stands for.
    CTransportAddress m_address{2, {}};
    int m_nBaud = BaudIndexOf(9600);
};

inline constexpr char kPortInitFailed[] = KIV_TR_NOOP("Kiv", "Nie można zainicjować portu COM !");
inline constexpr char kOtherError[] = KIV_TR_NOOP("Kiv", "Inny błąd !");
// The reply time-outs' messages of the query dialogue, which any driver may give: no identity
// or another one, no settings, no waveform.
inline constexpr char kWrongModelError[] = KIV_TR_NOOP("Kiv",
    "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony lub\n "
    "sprawdź czy ustawienia portu oscyloskopu zgadzają się z ustawieniami portu w programie.");
inline constexpr char kSettingsError[] = KIV_TR_NOOP("Kiv", "Błąd przy zapytaniu o ustawienia oscyloskopu !");
inline constexpr char kAcquisitionError[] = KIV_TR_NOOP("Kiv", "Błąd przy akwizycji danych !");
