// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/hm1507/CHm1507Driver.h"

#include "acquisition/ScopeRegistry.h"

#include <algorithm>

namespace {

constexpr char kWakeUp[] = " \r";
constexpr char kIdentify[] = "ID?";
constexpr char kHold[] = "HLDWFM=1";
constexpr char kSettings[] = "DDF?\r";
constexpr char kRelease[] = "HLDWFM=0";
constexpr char kLocal[] = "RM0";

constexpr int kWakeUpTimeoutMs = 1000;
constexpr int kReplyTimeoutMs = 2000;
constexpr int kWaveformTimeoutMs = 80000;

}  // namespace

// This folder's entry in the model list.
KIV_SCOPE_DRIVER_ENTRY(hm1507) {
    static const ScopeDriverEntry entry = {
        .model = {.name = "HAMEG 1507", .key = "hm1507", .channels = 2, .lowestBaud = BaudIndexOf(300),
                  .highestBaud = BaudIndexOf(19200), .stopBits = 2, .writeBuffer = 80},
        .codes = {.lowest = 0 - kHm1507ZeroByte, .highest = 255 - kHm1507ZeroByte},
        .create = [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<CHm1507Driver>(traces); },
    };
    return entry;
}

CHm1507Driver::CHm1507Driver(RawTrace* traces)
    : CStateDriver(ScopeDriverEntry_hm1507().model, traces), m_strAck(kHm1507Ack), m_strLineEnd("\r\n") {}

bool CHm1507Driver::Start(IProgressHost* host) {
    // As with every model: the state and the host's result tell the outcome.
    if (!StartCommon(host)) return true;
    SetState(EHm1507State::WakeUpSent);
    m_nReceived = 0;
    SendRequest(kWakeUp, kWakeUpTimeoutMs);
    return true;
}

void CHm1507Driver::RequestWaveform() {
    // Only channels 1 and 2 have a request; for any other nothing goes out and the
    // acquisition time-out ends the fetch.
    const std::string request = Hm1507WaveformRequest(CurrentChannel());
    if (!request.empty()) SendOnly(request);
    StopReplyTimer();
    ArmReplyTimer(kWaveformTimeoutMs);
}

void CHm1507Driver::OnTimeout() {
    const char* message = kOtherError;
    switch (State()) {
    case EHm1507State::WakeUpSent:
        // An interface already awake does not answer; the identity request goes out in
        // the Step of this same timer event.
        StopReplyTimer();
        SetState(EHm1507State::IdentityDue);
        m_nReceived = 0;
        ScheduleStep();
        return;
    case EHm1507State::IdentityAwaited:
        message = KIV_TR_NOOP("Kiv", "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.");
        break;
    case EHm1507State::HoldAwaited:
        message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.");
        break;
    case EHm1507State::SettingsAwaited:
        message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !");
        break;
    case EHm1507State::WaveformArriving:
        message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy akwizycji danych !");
        break;
    case EHm1507State::ReleaseAwaited:
        message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.");
        break;
    default: break;
    }
    FailOnTimeout(message);
}

void CHm1507Driver::Step() {
    switch (State()) {
    case EHm1507State::IdentityDue:
        SetState(EHm1507State::IdentityAwaited);
        SendOnly(kIdentify);
        StopReplyTimer();
        ArmReplyTimer(kReplyTimeoutMs);
        break;
    case EHm1507State::HoldDue:
        SetState(EHm1507State::HoldAwaited);
        SendRequest(kHold, kReplyTimeoutMs);
        break;
    case EHm1507State::SettingsDue:
        SetState(EHm1507State::SettingsAwaited);
        SendRequest(kSettings, kReplyTimeoutMs);
        break;
    case EHm1507State::WaveformDue:
        SetState(EHm1507State::WaveformArriving);
        RequestWaveform();
        break;
    case EHm1507State::PlotDone:
        if (m_bBothPlots && m_bFirstPlot) {
            // Plot 2 takes its settings from the block read for plot 1.
            m_bFirstPlot = 0;
            SetState(EHm1507State::SettingsAwaited);
            if (ParseReply(m_strReply)) {
                SetState(EHm1507State::WaveformArriving);
                RequestWaveform();
            }
            break;
        }
        SetState(EHm1507State::ReleaseAwaited);
        SendRequest(kRelease, kReplyTimeoutMs);
        break;
    case EHm1507State::LocalDue:
        SetState(EHm1507State::Done);
        SendOnly(ClosingRequest());
        Finish(0);
        break;
    default: break;
    }
}

void CHm1507Driver::OnReplyByte(uint8_t) {
    switch (State()) {
    case EHm1507State::WakeUpSent:
        if (Hm1507ReplyIs(m_strReply, m_nReceived, m_strAck.c_str())) Accept(EHm1507State::IdentityDue);
        break;
    case EHm1507State::IdentityAwaited:
        // A wrong identity is not refused here: the time-out reports the wrong model.
        if (m_strCommand == kIdentify && Hm1507ReplyIs(m_strReply, m_nReceived, kHm1507Identity))
            Accept(EHm1507State::HoldDue);
        break;
    case EHm1507State::HoldAwaited:
        if (m_strCommand == kHold && Hm1507ReplyIs(m_strReply, m_nReceived, m_strAck.c_str()))
            Accept(EHm1507State::SettingsDue);
        break;
    case EHm1507State::SettingsAwaited:
        if (Hm1507SettingsBlock(m_strReply, m_nReceived, m_settings) && ParseReply(m_strReply))
            Accept(EHm1507State::WaveformDue);
        break;
    case EHm1507State::WaveformArriving:
        if (m_nReceived < kHm1507WaveformLength) {
            SetProgress(static_cast<int>(std::min(m_nReceived, 2000) * 0.05));
            break;
        }
        if (m_nReceived == kHm1507WaveformLength) {
            m_nReceived = 0;
            if (ParseReply(m_strReply)) {
                SetState(EHm1507State::PlotDone);
                StopReplyTimer();
                ScheduleStep();
            }
        }
        break;
    case EHm1507State::ReleaseAwaited:
        if (m_strCommand == kRelease && Hm1507ReplyIs(m_strReply, m_nReceived, m_strAck.c_str()))
            Accept(EHm1507State::LocalDue);
        break;
    default: break;
    }
}

std::string CHm1507Driver::ClosingRequest() const { return kLocal + m_strLineEnd; }

bool CHm1507Driver::ParseReply(const std::string& reply) {
    if (State() == EHm1507State::SettingsAwaited) {
        ParseHm1507Settings(m_settings, CurrentChannel(), CurrentTrace());
        return true;
    }
    if (State() == EHm1507State::WaveformArriving) return ParseHm1507Waveform(reply, CurrentTrace().samples);
    return true;
}
