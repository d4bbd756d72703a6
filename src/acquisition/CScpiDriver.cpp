// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/CScpiDriver.h"

#include <utility>

#include "platform/Translate.h"

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string Seconds(int ms) {
    const int tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

// A command as the messages quote it: its first word, which names it well enough.
std::string Quoted(const std::string& command) { return command.substr(0, command.find(' ')); }

}  // namespace

bool ParseScpiIdentity(const std::string& answer, ScpiIdentity& identity) {
    std::string text = Trimmed(answer);
    for (const char* header : {"*IDN ", "IDN "})
        if (text.rfind(header, 0) == 0) text.erase(0, std::char_traits<char>::length(header));
    // Maker, model, serial, and the rest (firmware texts hold commas of their own).
    std::string fields[4];
    size_t at = 0;
    int count = 0;
    for (; count < 4; ++count) {
        const size_t comma = count < 3 ? text.find(',', at) : std::string::npos;
        fields[count] = Trimmed(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        if (comma == std::string::npos) {
            ++count;
            break;
        }
        at = comma + 1;
    }
    if (count < 3 || fields[0].empty() || fields[1].empty()) return false;
    identity = {fields[0], fields[1], fields[2], fields[3]};
    return true;
}

CScpiDriver::CScpiDriver(const ScopeModel& model, RawTrace* traces) : CScopeDriver(model, traces) {}

bool CScpiDriver::Start(IProgressHost* host) {
    m_task.Reset();
    m_wait = EWait::None;
    m_waiting = {};
    if (LineKept(host)) {
        // The same instrument on the same connection: no second *IDN?.
        if (!m_nPlot1Channel && !m_nPlot2Channel && m_job == EJob::Waveforms) {
            host->EndDialog(kDialogCancel);
            return false;
        }
        m_bFirstPlot = m_nPlot1Channel ? 1 : 0;
        m_bBothPlots = m_nPlot1Channel && m_nPlot2Channel ? 1 : 0;
        SetProgress(0);
    } else {
        m_reader.Clear();
        m_bIdentified = m_bAnswered = false;
        m_identity = {};
        if (!StartCommon(host)) return false;
    }
    m_nState = static_cast<int32_t>(EScopeState::Failed);
    m_task = Job();
    m_task.Start();
    if (m_task.Done()) Complete();
    return true;
}

CScpiTask CScpiDriver::Job() { return m_job == EJob::Screen ? Screen() : Fetch(); }

CScpiTask CScpiDriver::Screen() {
    m_strScreen.clear();
    co_await Identify();
    if (!HasScreenImage()) Fail(KIV_TR_NOOP("Kiv", "%1 nie wysyła obrazu swojego ekranu"), {Model().name});
    ShowProgress(1, 0);
    co_await FetchScreen(m_strScreen);
    ShowProgress(1, 100);
}

void CScpiDriver::Send(const std::string& command) {
    m_strCommand = command + "\n";
    if (m_pPort) m_pPort->Send(m_strCommand.data(), m_strCommand.size());
}

std::string CScpiDriver::FoundInstrument() const {
    if (!m_bIdentified) return Model().name;
    std::string text = m_identity.maker + " " + m_identity.model;
    if (!m_identity.serial.empty()) text += " (" + m_identity.serial + ")";
    return text + " — " + Model().name;
}

void CScpiDriver::TakeOver(CScpiDriver& from) {
    m_pHost = from.m_pHost;
    m_pPort = std::move(from.m_pPort);
    m_address = from.m_address;
    m_nPlot1Channel = from.m_nPlot1Channel, m_nPlot2Channel = from.m_nPlot2Channel;
    m_bFirstPlot = from.m_bFirstPlot, m_bBothPlots = from.m_bBothPlots;
    m_bLineGone = from.m_bLineGone;
    m_reader = std::move(from.m_reader);
    m_identity = from.m_identity;
    m_bIdentified = m_bAnswered = true;
    m_wait = EWait::None;
    m_waiting = {};
    m_nState = static_cast<int32_t>(EScopeState::Failed);
    m_job = from.m_job;
    m_bKeepLine = from.m_bKeepLine;
    m_task = Job();
    m_task.Start();
    if (m_task.Done()) Complete();
}

void CScpiDriver::OnReplyByte(uint8_t byte) {
    m_bAnswered = true;
    m_reader.Append(&byte, 1);
    if (m_wait == EWait::Reply) TakeReply();
}

bool CScpiDriver::ReplyAwaiter::await_suspend(std::coroutine_handle<> awaiting) {
    if (driver.FoundStray()) return false;
    driver.AwaitReply(awaiting, command, form, timeoutMs);
    return true;
}

std::string CScpiDriver::ReplyAwaiter::await_resume() {
    if (!driver.m_strFailure.empty())
        throw CScpiFailure(driver.m_failureKind, std::exchange(driver.m_strFailure, std::string()));
    return std::move(driver.m_strAnswer);
}

void CScpiDriver::PauseAwaiter::await_suspend(std::coroutine_handle<> awaiting) {
    driver.m_waiting = awaiting;
    driver.m_wait = EWait::Pause;
    if (driver.m_pHost) driver.m_pHost->SetStepTimer(ms);
}

// Whatever came before the query is no answer to it: a late reply to one that timed out.
void CScpiDriver::AwaitReply(std::coroutine_handle<> awaiting, const std::string& command, EScpiReply form,
                             int timeoutMs) {
    m_waiting = awaiting;
    m_wait = EWait::Reply;
    m_form = form;
    m_nTimeoutMs = timeoutMs;
    m_strQuery = command;
    m_strAnswer.clear();
    m_strFailure.clear();
    m_reader.Clear();
    const std::string line = command + "\n";
    if (m_pPort) m_pPort->SendQuery(line.data(), line.size(), timeoutMs);
    ArmReplyTimer(timeoutMs);
}

void CScpiDriver::OnBytes(const uint8_t* bytes, size_t size) {
    m_bAnswered = true;
    m_reader.Append(bytes, size);
    if (m_wait == EWait::Reply) TakeReply();
}

void CScpiDriver::TakeReply() {
    std::string why;
    switch (m_reader.Take(m_form, m_strAnswer, why)) {
    case CScpiReader::EResult::Incomplete: return;
    case CScpiReader::EResult::Done:
        m_strBlockQuery = m_form == EScpiReply::Block ? m_strQuery : std::string();
        EndWait({}, CScpiFailure::EKind::NoAnswer);
        return;
    case CScpiReader::EResult::Malformed:
        m_reader.Clear();
        EndWait(DeviceName() + ": " +
                    KivText(KIV_TR_NOOP("Kiv", "%1 (odpowiedź na %2)"), {KivTranslate("Kiv", why.c_str()), Quoted(m_strQuery)}),
                CScpiFailure::EKind::Malformed);
        return;
    }
}

void CScpiDriver::EndWait(std::string failure, CScpiFailure::EKind kind) {
    StopReplyTimer();
    m_wait = EWait::None;
    m_strFailure = std::move(failure);
    m_failureKind = kind;
    Resume();
}

void CScpiDriver::Resume() {
    if (auto awaiting = std::exchange(m_waiting, {})) awaiting.resume();
    if (m_task.Valid() && m_task.Done()) Complete();
}

// Bytes after a block that are no trailer: the block was longer than its header said.
bool CScpiDriver::FoundStray() {
    if (m_strBlockQuery.empty() || !m_reader.HasStray()) return false;
    m_strFailure = DeviceName() + ": " + KivText(KIV_TR_NOOP("Kiv", "blok danych jest dłuższy, niż mówi jego nagłówek (odpowiedź na %1)"),
                                                  {Quoted(std::exchange(m_strBlockQuery, std::string()))});
    m_failureKind = CScpiFailure::EKind::Malformed;
    m_reader.Clear();
    return true;
}

void CScpiDriver::Complete() {
    std::string message;
    if (auto error = m_task.Error()) {
        try {
            std::rethrow_exception(error);
        } catch (const CScpiFailure& failure) {
            message = failure.what();
        } catch (const std::exception& other) {
            message = DeviceName() + ": " + other.what();
        }
    } else if (FoundStray()) {
        message = std::exchange(m_strFailure, std::string());
    } else if (HandOver()) {
        m_task.Reset();
        return;
    }
    m_task.Reset();
    m_nState = static_cast<int32_t>(message.empty() ? EScopeState::Done : EScopeState::Reported);
    // One box says what happened and where; the fetch's status then needs no second one.
    if (!message.empty()) Warn(message.c_str());
    Finish(0);
}

void CScpiDriver::OnTimer(int timerId) {
    if (timerId == kStepTimer) {
        if (m_pHost) m_pHost->KillStepTimer();
        if (m_wait != EWait::Pause) return;
        m_wait = EWait::None;
        Resume();
        return;
    }
    if (m_wait == EWait::Reply) {
        const size_t got = m_reader.Buffered();
        std::string text;
        if (m_bLineGone) {
            // Before the instrument said anything the connection never was: the query is no news.
            const std::string why = m_pPort ? m_pPort->WhyGone() : std::string();
            if (!m_bAnswered)
                text = why.empty() ? KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "połączenie zostało przerwane")) : why;
            else
                text = KivText(KIV_TR_NOOP("Kiv", "%1 (czekano na %2)"),
                               {why.empty() ? KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "połączenie zostało przerwane")) : why, Quoted(m_strQuery)});
        } else if (m_reader.ExpectedSize() > 0) {
            text = KivText(KIV_TR_NOOP("Kiv", "blok danych zapowiadał %1 bajtów, w ciągu %2 s przyszło mniej (odpowiedź na %3)"),
                           {std::to_string(m_reader.ExpectedSize()), Seconds(m_nTimeoutMs), Quoted(m_strQuery)});
        } else if (got > 0) {
            text = KivText(KIV_TR_NOOP("Kiv", "odpowiedź na %1 nie skończyła się w ciągu %2 s"),
                           {Quoted(m_strQuery), Seconds(m_nTimeoutMs)});
        } else {
            text = KivText(KIV_TR_NOOP("Kiv", "brak odpowiedzi na %1 w ciągu %2 s"), {Quoted(m_strQuery), Seconds(m_nTimeoutMs)});
        }
        EndWait(DeviceName() + ": " + text, m_bLineGone ? CScpiFailure::EKind::LineGone : CScpiFailure::EKind::NoAnswer);
        return;
    }
    StopReplyTimer();
    if (m_nState == static_cast<int32_t>(EScopeState::PortFailed)) {
        // The transport never opened: one box with the device and the system's reason.
        const std::string why = m_pPort ? m_pPort->WhyNotOpen() : std::string();
        Warn((DeviceName() + ": " + (why.empty() ? KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "nie można otworzyć połączenia")) : why)).c_str());
        m_nState = static_cast<int32_t>(EScopeState::Reported);
        Finish(0);
    }
}

void CScpiDriver::OnLineGone() {
    m_bLineGone = true;
    if (m_wait != EWait::Reply) return;
    TakeReply();
    // Through the reply timer at once, so a line gone and a silence end the same way.
    if (m_wait == EWait::Reply) ArmReplyTimer(0);
}

// A live view's fetch that ended well keeps its connection for the next one.
void CScpiDriver::Finish(int result) {
    if (!m_bKeepLine || m_nState != static_cast<int32_t>(EScopeState::Done) || !m_pPort || m_bLineGone)
        return CScopeDriver::Finish(result);
    StopReplyTimer();
    if (m_pHost) m_pHost->EndDialog(result);
}

void CScpiDriver::ClosePort() {
    m_task.Reset();
    m_wait = EWait::None;
    m_waiting = {};
    CScopeDriver::ClosePort();
}

void CScpiDriver::Detach() {
    ClosePort();
    m_pHost = nullptr;
}

CScpiTask CScpiDriver::Identify() {
    if (m_bIdentified) co_return;
    co_await AskIdentity();
    if (!Identifies(m_identity))
        Fail(KIV_TR_NOOP("Kiv", "to nie jest %1, przyrząd przedstawia się jako %2 %3"),
             {Model().name, m_identity.maker, m_identity.model});
    m_bIdentified = true;
}

CScpiTask CScpiDriver::AskIdentity() {
    // A silent instrument gets a second chance: some answer the first query after a
    // connection late, or not at all.
    std::string answer;
    for (int attempt = 0;; ++attempt) {
        try {
            answer = co_await Query("*IDN?", FirstReplyTimeoutMs());
            break;
        } catch (const CScpiFailure& failure) {
            if (attempt > 0 || failure.Kind() != CScpiFailure::EKind::NoAnswer) throw;
        }
    }
    if (!ParseScpiIdentity(answer, m_identity))
        Fail(KIV_TR_NOOP("Kiv", "odpowiedź na *IDN? to nie jest tożsamość przyrządu: „%1”"), {answer.substr(0, 60)});
}

void CScpiDriver::Fail(const char* text, std::initializer_list<std::string> args, CScpiFailure::EKind kind) const {
    throw CScpiFailure(kind, DeviceName() + ": " + KivText(text, args));
}

void CScpiDriver::StoreScreen(int plot, const ScreenRecord& record) const {
    std::string why;
    const int channel = plot == 1 ? m_nPlot1Channel : m_nPlot2Channel;
    if (!ScreenToTrace(record, m_pTraces[plot == 1 ? 0 : 1], why))
        Fail(KIV_TR_NOOP("Kiv", "kanał %1: %2"), {std::to_string(channel), KivTranslate("Kiv", why.c_str())},
             CScpiFailure::EKind::Malformed);
}

void CScpiDriver::ShowProgress(int plot, int percent) {
    m_bFirstPlot = plot == 1 ? 1 : 0;
    SetProgress(percent);
}
