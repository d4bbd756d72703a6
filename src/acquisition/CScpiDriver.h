// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <coroutine>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "acquisition/CScopeDriver.h"
#include "acquisition/ScpiReply.h"
#include "acquisition/ScpiTask.h"
#include "acquisition/ScreenTrace.h"

// Why an SCPI dialogue ended early, as its user reads it (translated, the device named).
class CScpiFailure : public std::runtime_error {
public:
    enum class EKind { NoAnswer, LineGone, Malformed, Refused };
    CScpiFailure(EKind kind, const std::string& text) : std::runtime_error(text), m_kind(kind) {}
    EKind Kind() const { return m_kind; }

private:
    EKind m_kind;
};

// The identity an instrument gives to *IDN?: maker, model, serial number, firmware.
struct ScpiIdentity {
    std::string maker, model, serial, firmware;
};
// The four fields of an *IDN? answer (a leading "IDN " and blanks around fields dropped);
// false for an answer of fewer than three commas' worth.
bool ParseScpiIdentity(const std::string& answer, ScpiIdentity& identity);

// An SCPI instrument's dialogue over any transport (a LAN socket, USBTMC, a serial line),
// written by each family as a coroutine (Fetch) that awaits its replies: one query at a time,
// each with a time-out of its own; a reply that does not come, comes malformed, or a line that
// goes ends the fetch with one message naming the device and what happened.
class CScpiDriver : public CScopeDriver {
public:
    CScpiDriver(const ScopeModel& model, RawTrace* traces);

    bool Start(IProgressHost* host) override;
    void OnBytes(const uint8_t* bytes, size_t size) override;
    void OnTimer(int timerId) override;
    void OnLineGone() override;
    void ClosePort() override;
    void Detach() override;
    void Finish(int result) override;
    bool FirstReplyTaken() const override { return m_bIdentified; }
    // The connection a live view keeps between fetches is open, for a next Start on host.
    bool LineKept(const IProgressHost* host) const { return m_bKeepLine && m_pPort && !m_bLineGone && m_pHost == host; }
    // A byte the probe hands over on its own.
    void OnReplyByte(uint8_t byte) override;

    // What the last fetch found, for the probe: the identity, and whether it is this family's.
    const ScpiIdentity& Identity() const { return m_identity; }

    // What the next Start does: fetch the plots, or the picture of the instrument's screen.
    enum class EJob { Waveforms, Screen };
    EJob m_job = EJob::Waveforms;
    // Whether the family can send its screen as a picture, and the picture a screen job left
    // (a PNG or a BMP file's bytes).
    virtual bool HasScreenImage() const { return false; }
    virtual const std::string& ScreenImage() const { return m_strScreen; }

    // Whether an *IDN? answer is this family's.
    virtual bool Identifies(const ScpiIdentity& identity) const = 0;
    // How long the first reply after connecting (to *IDN?) is waited for, each of the two
    // times a silent instrument is asked.
    virtual int FirstReplyTimeoutMs() const { return 8000; }
    // The identity the instrument gave, with the family Kiv drives it as.
    std::string FoundInstrument() const override;
    // Goes on from another SCPI dialogue that has identified the instrument as this family's:
    // its host, its open connection and what it has read are taken over, the plots asked for
    // too, and this family's fetch starts at once (no second *IDN?).
    void TakeOver(CScpiDriver& from);

protected:
    // The family's dialogue: leaves the fetched plots in the traces (channels m_nPlot1Channel,
    // m_nPlot2Channel; 0 for a plot not fetched). Throws CScpiFailure.
    virtual CScpiTask Fetch() = 0;
    // The job's dialogue: the fetch, or the identity and the screen's picture.
    virtual CScpiTask Job();
    // screen image: the instrument's screen as a picture file into picture.
    virtual CScpiTask FetchScreen(std::string& picture) {
        (void)picture;
        co_return;
    }

    // co_await Query(...): the reply (a line without its LF, a block's bytes, a picture).
    struct ReplyAwaiter {
        CScpiDriver& driver;
        std::string command;
        EScpiReply form;
        int timeoutMs;
        bool await_ready() const noexcept { return false; }
        // False (go on at once, to throw) when the last block turned out longer than it said.
        bool await_suspend(std::coroutine_handle<> awaiting);
        std::string await_resume();
    };
    ReplyAwaiter Query(std::string command, int timeoutMs, EScpiReply form = EScpiReply::Line) {
        return {*this, std::move(command), form, timeoutMs};
    }
    // A command that has no reply; LF is added.
    void Send(const std::string& command);
    // co_await Pause(ms): the dialogue waits on the step timer.
    struct PauseAwaiter {
        CScpiDriver& driver;
        int ms;
        bool await_ready() const noexcept { return ms <= 0; }
        void await_suspend(std::coroutine_handle<> awaiting);
        void await_resume() const noexcept {}
    };
    PauseAwaiter Pause(int ms) { return {*this, ms}; }
    // co_await Identify(): *IDN? asked, parsed and checked to be this family's; nothing when a
    // dialogue before this one has done so.
    CScpiTask Identify();
    // The identity alone: *IDN? asked (once more after a silence) and parsed.
    CScpiTask AskIdentity();
    // After a fetch that ended well: true when the dialogue goes on in another driver.
    virtual bool HandOver() { return false; }
    // Ends the fetch with a message: the device's name, then text with %1.. filled in.
    [[noreturn]] void Fail(const char* text, std::initializer_list<std::string> args = {},
                           CScpiFailure::EKind kind = CScpiFailure::EKind::Refused) const;
    // The record of a plot into its trace (plot 1 or 2), or the failure.
    void StoreScreen(int plot, const ScreenRecord& record) const;
    // Progress of the plot being fetched (plot 1 or 2), percent of its share of the bar.
    void ShowProgress(int plot, int percent);
    // Whether any of the reply last awaited came (line ends aside): after a time-out, a reply
    // cut short rather than none at all.
    bool ReplyBegan() const { return m_reader.HasStray(); }

    ScpiIdentity m_identity;
    bool m_bIdentified = false;

private:
    void Resume();
    void Complete();
    void AwaitReply(std::coroutine_handle<> awaiting, const std::string& command, EScpiReply form, int timeoutMs);
    void TakeReply();
    bool FoundStray();
    void EndWait(std::string failure, CScpiFailure::EKind kind);

    CScpiTask Screen();

    CScpiTask m_task;
    CScpiReader m_reader;
    std::string m_strScreen;
    std::coroutine_handle<> m_waiting;
    enum class EWait { None, Reply, Pause } m_wait = EWait::None;
    EScpiReply m_form = EScpiReply::Line;
    int m_nTimeoutMs = 0;
    std::string m_strQuery;
    std::string m_strAnswer;
    std::string m_strFailure;
    CScpiFailure::EKind m_failureKind = CScpiFailure::EKind::NoAnswer;
    std::string m_strBlockQuery;  // the last block's query, while bytes after it would be strays
    bool m_bAnswered = false;     // the instrument has sent something
};
