// kivtool fetch and probe: the instrument's dialogue without windows. The settings come from
// "Kiv.cfg" in the working directory, changed by the options, and are written back only
// with --save-settings.
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "acquisition/CAcquisition.h"
#include "acquisition/CScopeProbe.h"
#include "qtcore/CLoopHost.h"
#include "platform/TrNoop.h"
#include "qtcore/CPortSettings.h"
#include "qtcore/KivLanguage.h"
#include "units/NumberText.h"

namespace {

// The bar of a fetch on a terminal: a line on stderr, ended before any message.
void DrawBar(int pos) {
    if (pos < 0) {
        std::fputc('\n', stderr);
        return;
    }
    const int filled = std::clamp(pos, 0, 100) / 2;
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(), std::string(50 - filled, ' ').c_str(),
                 pos);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// INDEX, the list's name or its short key ("tds224"), in any case.
int ModelIndex(const std::string& text) {
    int index = -1;
    if (ReadInteger(text, 0, kScopeModelCount - 1, index)) return index;
    const std::string want = Lower(text);
    if (want == "auto") return kAutoInstrument;
    for (int i = 0; i < kScopeModelCount; ++i)
        if (want == Lower(ScopeModelAt(i).name) || want == ScopeModelAt(i).key) return i;
    return -1;
}

// What --model takes: the indices, the keys, and auto.
std::string ModelKeys() {
    std::string keys = "0.." + std::to_string(kScopeModelCount - 1);
    for (int i = 0; i < kScopeModelCount; ++i) keys += std::string(", ") + ScopeModelAt(i).key;
    return keys + ", auto";
}

// --model, --port and --baud over what Kiv.cfg gave; the status (usage error or 0).
int ApplyLineOptions(const KivToolCall& call, AcquisitionSettings& s) {
    if (auto m = call.Value("model")) {
        const int index = ModelIndex(*m);
        if (index < 0)
            return KivToolUsage(
                KivToolText(KIV_TR_NOOP("kivtool", "nieznany model %1 (%2)"), {*m, ModelKeys()}));
        s.nInstrument = static_cast<uint8_t>(index);
    }
    const ScopeModel& model = InstrumentModel(s.nInstrument);
    if (auto p = call.Value("port"))
        if (!ReadInteger(*p, 1, 255, s.nPort))
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--port przyjmuje 1..255 (COMn)")));
    if (call.Has("port") && call.Has("device"))
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--port i --device wykluczają się")));
    if (auto b = call.Value("baud")) {
        int index = -1;
        for (int i = model.lowestBaud; i <= model.highestBaud; ++i)
            if (*b == std::to_string(kBaudRates[i])) index = i;
        if (index < 0)
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--baud przyjmuje prędkość od %1 do %2 dla %3"),
                                            {std::to_string(kBaudRates[model.lowestBaud]),
                                             std::to_string(kBaudRates[model.highestBaud]), model.name}));
        s.nBaud = static_cast<uint8_t>(index);
    }
    return kExitOk;
}

// The instrument dialogue on the loop host, on --device when given, else on what the COM
// number stands for (KIV_COMn, the device chosen in the program, /dev/ttyS<n-1>).
int RunOnLine(const KivToolCall& call, CScopeDriver& driver, IHostedDialogue& dialogue, const CPlatform& platform,
              bool bar) {
    KivToolEnsureApplication();
    CPortSettings::Load();
    driver.m_address.device = call.Value("device").value_or("");
    CLoopHost host(dialogue, platform);
    if (bar && isatty(2)) host.m_fnBar = DrawBar;
    return host.Run();
}

}  // namespace

std::vector<KivToolOption> KivToolLineOptions() {
    return {
        {"model", KIV_TR_NOOP("kivtool", "MODEL"), KIV_TR_NOOP("kivtool", "instrument zamiast zapisanego w Kiv.cfg: %1"),
         ModelKeys()},
        {"port", KIV_TR_NOOP("kivtool", "N"), KIV_TR_NOOP("kivtool", "port COMn, 1..255")},
        {"device", KIV_TR_NOOP("kivtool", "ŚCIEŻKA"),
         KIV_TR_NOOP("kivtool", "urządzenie portu szeregowego (np. /dev/ttyUSB0 albo nazwa z /dev/serial/by-id) "
                                "zamiast tego, które oznacza numer COM; wyklucza --port")},
        {"baud", KIV_TR_NOOP("kivtool", "PRĘDKOŚĆ"), KIV_TR_NOOP("kivtool", "prędkość, jedna z oferowanych przez model")},
    };
}

int KivToolFetch(const KivToolCall& call) {
    CAcquisition acq;
    acq.m_bSaveOnExit = false;  // until the options are known to be right
    AcquisitionSettings& s = acq.m_settings;
    if (const int status = ApplyLineOptions(call, s)) return status;
    const ScopeModel& model = InstrumentModel(s.nInstrument);
    for (int plot = 1; plot <= 2; ++plot) {
        auto v = call.Value(plot == 1 ? "plot1" : "plot2");
        if (!v) continue;
        uint32_t& on = plot == 1 ? s.bPlot1 : s.bPlot2;
        if (*v == "off") {
            on = 0;
        } else if (ReadInteger(*v, 1, model.channels, plot == 1 ? s.nPlot1Channel : s.nPlot2Channel)) {
            on = 1;
        } else {
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--plot%1 przyjmuje off lub kanał 1..%2"),
                                            {std::to_string(plot), std::to_string(model.channels)}));
        }
    }
    if (!s.bPlot1 && !s.bPlot2)
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "nie ma czego pobrać: oba wykresy są wyłączone")));
    int status;
    auto doc = KivToolInto(call, status);
    if (!doc) return status;

    acq.m_bSaveOnExit = call.Has("save-settings");
    const CPlatform platform = KivToolPlatform();
    CScopeDriver& driver = acq.PrepareDriver();
    const int fetched = acq.FinishFetch(doc->Source(), RunOnLine(call, driver, driver, platform, true));
    if (fetched != kFetchOk) {
        ReportFetchStatus(fetched, platform);
        return kExitFailure;
    }
    doc->DataEdited();
    return KivToolSave(*doc, call.File(0));
}

int KivToolProbe(const KivToolCall& call) {
    CAcquisition acq;
    acq.m_bSaveOnExit = false;  // a probe changes nothing
    if (const int status = ApplyLineOptions(call, acq.m_settings)) return status;
    CScopeDriver& driver = acq.PrepareDriver();
    CScopeProbe probe(driver);
    RunOnLine(call, driver, probe, KivToolPlatform(), false);
    std::printf("%s\n", KivTrStd("Kiv", probe.Outcome().text).c_str());
    return probe.Outcome().result == EProbeResult::Answered ? kExitOk : kExitFailure;
}
