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
        {"HAMEG 1507", "hm1507", 2, 1, 7, 2, 80},
        [](RawTrace* traces) -> std::unique_ptr<CScopeDriver> { return std::make_unique<CHm1507Driver>(traces); },
    };
    return entry;
}

CHm1507Driver::CHm1507Driver(RawTrace* traces)
    : CScopeDriver(ScopeDriverEntry_hm1507().model, traces), m_strAck(kHm1507Ack), m_strLineEnd("\r\n") {}

bool CHm1507Driver::Start(IProgressHost* host) {
    // As with every model: the state and the host's result tell the outcome.
    if (!StartCommon(host)) return true;
    m_nState = 5;
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
    switch (m_nState) {
    case 5:
        // An interface already awake does not answer; the identity request goes out in
        // the Step of this same timer event.
        StopReplyTimer();
        m_nState = 11;
        m_nReceived = 0;
        ScheduleStep();
        return;
    case 12:
        message = KIV_TR_NOOP("Kiv", "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony.");
        break;
    case 14: message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu."); break;
    case 9: message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !"); break;
    case 7: message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy akwizycji danych !"); break;
    case 15: message = KIV_TR_NOOP("Kiv", "Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu."); break;
    default: break;
    }
    FailOnTimeout(message);
}

void CHm1507Driver::Step() {
    switch (m_nState) {
    case 11:
        m_nState = 12;
        SendOnly(kIdentify);
        StopReplyTimer();
        ArmReplyTimer(kReplyTimeoutMs);
        break;
    case 13:
        m_nState = 14;
        SendRequest(kHold, kReplyTimeoutMs);
        break;
    case 8:
        m_nState = 9;
        SendRequest(kSettings, kReplyTimeoutMs);
        break;
    case 6:
        m_nState = 7;
        RequestWaveform();
        break;
    case 4:
        if (m_bBothPlots && m_bFirstPlot) {
            // Plot 2 takes its settings from the block read for plot 1.
            m_bFirstPlot = 0;
            m_nState = 9;
            if (ParseReply(m_strReply)) {
                m_nState = 7;
                RequestWaveform();
            }
            break;
        }
        m_nState = 15;
        SendRequest(kRelease, kReplyTimeoutMs);
        break;
    case 16:
        m_nState = 0;
        SendOnly(ClosingRequest());
        Finish(0);
        break;
    default: break;
    }
}

void CHm1507Driver::OnChar(uint8_t byte) {
    m_strReply.push_back(static_cast<char>(byte));
    ++m_nReceived;
    switch (m_nState) {
    case 5:
        if (Hm1507ReplyIs(m_strReply, m_nReceived, m_strAck.c_str())) Accept(11);
        break;
    case 12:
        // A wrong identity is not refused here: the time-out reports the wrong model.
        if (m_strCommand == kIdentify && Hm1507ReplyIs(m_strReply, m_nReceived, kHm1507Identity)) Accept(13);
        break;
    case 14:
        if (m_strCommand == kHold && Hm1507ReplyIs(m_strReply, m_nReceived, m_strAck.c_str())) Accept(8);
        break;
    case 9:
        if (Hm1507SettingsBlock(m_strReply, m_nReceived, m_settings) && ParseReply(m_strReply)) Accept(6);
        break;
    case 7:
        if (m_nReceived < kHm1507WaveformLength) {
            SetProgress(static_cast<int>(std::min(m_nReceived, 2000) * 0.05));
            break;
        }
        if (m_nReceived == kHm1507WaveformLength) {
            m_nReceived = 0;
            if (ParseReply(m_strReply)) {
                m_nState = 4;
                StopReplyTimer();
                ScheduleStep();
            }
        }
        break;
    case 15:
        if (m_strCommand == kRelease && Hm1507ReplyIs(m_strReply, m_nReceived, m_strAck.c_str())) Accept(16);
        break;
    default: break;
    }
}

std::string CHm1507Driver::ClosingRequest() const { return kLocal + m_strLineEnd; }

bool CHm1507Driver::ParseReply(const std::string& reply) {
    if (m_nState == 9) {
        ParseHm1507Settings(m_settings, CurrentChannel(), CurrentTrace());
        return true;
    }
    if (m_nState == 7) return ParseHm1507Waveform(reply, CurrentTrace().samples);
    return true;
}
