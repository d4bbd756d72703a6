// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "acquisition/CScopeProbe.h"
#include "acquisition/ScopeRegistry.h"
#include "platform/SerialDevices.h"
#include "platform/Translate.h"
#include "support/ScopeSimulator.h"
#include "support/FakeProgressHost.h"

namespace {

// Every kind of byte a line shows escaped: a quote, a backslash, a tab, a control and a
// non-ASCII byte, CR LF.
const std::string kWrong = "X\"\\\t\x01\xE9\r\n";

struct ProbeCase {
    const char* key;
    std::vector<std::string> before;  // replies before the first exchange's own, each followed by the step
    std::string reply;                // the reply the model's check takes
    std::vector<std::string> sent;    // whatever the answer: the requests, the closing one last
    std::vector<int> waits;           // the reply timer of each request to a line silent from the start
    std::string other;                // how kWrong is shown: the OS-3060 refuses it at the carriage return
};

const ProbeCase kCases[] = {
    {"os3060", {}, "A\r", {"S1\r"}, {1000}, R"("X\"\\\t\x01\xE9\r")"},
    {"hm1507", {"0\r\n"}, "ID:HM1507-2  V01            \r\n", {" \r", "ID?", "RM0\r\n"}, {1000, 2000},
     R"("X\"\\\t\x01\xE9\r\n")"},
    {"tds224", {}, "ID TEK/TDS 224,CF:91.1CT,FV:v2.12 TDS2CM:CMV:v1.04X",
     {"ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r", "ACQUIRE:STATE RUN;:UNLOCK ALL\r"}, {1000}, R"("X\"\\\t\x01\xE9\r\n")"},
    {"lt224", {}, "TRMD STOP;CHDR OFF;*IDN?\r\nLECROY,LT224 ,LT22400308,08.3.0",
     {"TRMD STOP;CHDR OFF;*IDN?\r", "TRMD AUTO\r"}, {1000}, R"("X\"\\\t\x01\xE9\r\n")"},
};

// The case of a model, none for a model the cases do not know.
const ProbeCase* CaseOf(const char* key) {
    for (const ProbeCase& c : kCases)
        if (std::string(c.key) == key) return &c;
    return nullptr;
}

enum Way { kAnswers, kOther, kSilent, kGone, kNoPort, kNoPortWhy };

// Every registered model, by its index.
class ScopeProbe : public ::testing::TestWithParam<int> {};

}  // namespace

// Each outcome on COM3: one line of text, no driver box, the port closed, the host ended with
// 0 and no timer left; the instrument handed back whatever it answered. A line silent after
// the replies before the first exchange's own ends after that exchange's time-out (the bytes
// shown answer the last request), a dead one at once, through every wait. A model the cases
// do not know is tried without a line and on a silent or dead one.
TEST_P(ScopeProbe, FourOutcomes) {
    const ProbeCase* known = CaseOf(ScopeModelAt(GetParam()).key);
    const ProbeCase c = known ? *known : ProbeCase{};
    RawTrace traces[2];
    auto driver = ScopeDriverAt(GetParam()).create(traces);
    driver->m_address.port = 3;
    const std::string name = driver->Model().name;
    const std::string silent = "Brak odpowiedzi (" + name + "): sprawdź kabel, zasilanie, port i prędkość transmisji.";
    const std::pair<EProbeResult, std::string> outcomes[] = {
        {EProbeResult::Answered, "Oscyloskop odpowiada jako " + name + "."},
        {EProbeResult::Other, "Odpowiada coś innego niż " + name + ": " + c.other},
        {EProbeResult::Silent, silent},
        {EProbeResult::Silent, driver->DeviceName() + ": połączenie odrzucone"},  // the line's own reason
        {EProbeResult::NoPort, "Nie można otworzyć portu COM3."},
        {EProbeResult::NoPort, "Brak urządzenia /dev/ttyS2. Podłącz adapter."},
    };
    for (const Way way : {kAnswers, kOther, kSilent, kGone, kNoPort, kNoPortWhy}) {
        if (!known && way <= kOther) continue;
        SCOPED_TRACE(way);
        FakeProgressHost host;
        host.port.openFails = way >= kNoPort;
        host.port.whyNotOpen = way == kNoPortWhy ? "Brak urządzenia /dev/ttyS2.\nPodłącz adapter.\n" : "";
        host.port.whyGone = "połączenie odrzucone";
        CScopeProbe probe(*driver);
        host.Start(probe);
        std::vector<int> waits;
        if (way <= kSilent)
            for (const std::string& reply : c.before) host.Receive(reply), host.FireStepTimer();
        if (way <= kOther) host.Receive(way == kAnswers ? c.reply : kWrong);
        if (way == kGone) host.LoseLine();
        for (int i = 0; i < 4 && host.ended == -1; ++i) waits.push_back(host.replyTimer), host.FireReplyTimer();
        EXPECT_EQ(std::pair(probe.Outcome().result, probe.Outcome().text), outcomes[way]);
        if (!known) {
            EXPECT_EQ(host.port.sent.empty(), way >= kNoPort);
            if (way == kGone) { EXPECT_EQ(waits, std::vector<int>(std::max<size_t>(waits.size(), 1), 0)); }
        } else {
            if (way == kSilent) { EXPECT_EQ(waits, std::vector<int>{c.waits.back()}); }
            if (way == kGone) { EXPECT_EQ(waits, std::vector<int>(c.waits.size(), 0)); }
            EXPECT_EQ(host.port.sent, way >= kNoPort ? std::vector<std::string>{} : c.sent);
        }
        EXPECT_EQ(std::tuple(host.ended, host.replyTimer, host.stepTimer, host.port.closed),
                  std::tuple(0, -1, -1, true));
        EXPECT_EQ(host.messages.boxes.size(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Models, ScopeProbe, ::testing::ValuesIn(SerialModels()),
                         [](const auto& info) { return ParamName(ScopeModelAt(info.param).key); });

// A long reply shows its first 64 bytes; cancelled half-way, the instrument is handed back.
TEST(ScopeProbeLimits, LongReplyAndCancel) {
    RawTrace traces[2];
    auto driver = ScopeDriverAt(FindScopeModel("tds224")).create(traces);
    FakeProgressHost host;
    CScopeProbe probe(*driver);
    host.Start(probe);
    host.Receive(std::string(70, 'x'));
    host.FireReplyTimer();
    EXPECT_EQ(probe.Outcome().text, "Odpowiada coś innego niż TEKTRONIX TDS224: \"" + std::string(64, 'x') + "...\"");
    host.Start(probe);
    probe.ClosePort();
    EXPECT_EQ(host.port.sent,
              (std::vector<std::string>{"ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r", "ACQUIRE:STATE RUN;:UNLOCK ALL\r"}));
    EXPECT_EQ(std::tuple(host.replyTimer, host.port.closed), std::tuple(-1, true));
}

// A composed text is translated as its template, in context Kiv, then filled in one pass: the
// device's own "%2" stays. Without the translator the Polish comes back.
TEST(ScopeProbeLimits, ComposedTextsAreTranslatedAsTemplates) {
    static const std::map<std::string, std::string> english{
        {"Nie można otworzyć %1: takie urządzenie nie istnieje (%2).", "%2: cannot open %1."},
        {"Nie znaleziono żadnego portu szeregowego: sprawdź, czy urządzenie jest podłączone.", "No serial port."},
        {"Nie można otworzyć portu COM%1.", "Cannot open port COM%1."}};
    SetKivTranslator([](const char* context, const char* text) {
        const auto it = english.find(text);
        return std::string(std::string(context) == "Kiv" && it != english.end() ? it->second : text);
    });
    RawTrace traces[2];
    auto driver = ScopeDriverAt(FindScopeModel("tds224")).create(traces);
    driver->m_address.port = 3;
    FakeProgressHost host;
    host.port.openFails = true;
    CScopeProbe probe(*driver);
    host.Start(probe);
    const auto explain = [] { return ExplainOpenFailure("/nowhere/tty%2", ENOENT, {"/nowhere", "/nowhere"}); };
    const std::string device = explain();
    SetKivTranslator(nullptr);
    EXPECT_EQ(probe.Outcome().text, "Cannot open port COM3.");
    EXPECT_EQ(device, "No such file or directory: cannot open /nowhere/tty%2. No serial port.");
    EXPECT_EQ(explain(), "Nie można otworzyć /nowhere/tty%2: takie urządzenie nie istnieje (No such file or directory). "
                         "Nie znaleziono żadnego portu szeregowego: sprawdź, czy urządzenie jest podłączone.");
}
