// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool fetch, probe and screenshot: the instrument's dialogue without windows. The settings
// come from "Kiv.cfg" in the working directory, changed by the options, and are written back
// only with --save-settings. Whatever the instrument says ends as one line on stderr.
#include <unistd.h>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "KivToolForms.h"
#include "acquisition/CAcquisition.h"
#include "acquisition/CScopeProbe.h"
#include "acquisition/CScpiAutoDriver.h"
#include "data/SafeFile.h"
#include "document/CKivDoc.h"
#include "qtcore/CLoopHost.h"
#include "platform/TrNoop.h"
#include "platform/Translate.h"
#include "qtcore/CPortSettings.h"
#include "qtcore/KivLanguage.h"
#include "units/NumberText.h"

namespace {

constexpr int kMaxRepeat = 100000000;              // OUT-100000000.kiv at most
constexpr int kMaxIntervalMs = 24 * 3600 * 1000;  // a day

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

// What the instrument's dialogue says, kept for the one line the command ends with: the
// driver's boxes, a transmission error as the heading of what they said.
class KeptMessages : public IMessages {
public:
    MsgResult Show(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
        if (text == kTransmissionError)
            m_bTransmissionError = true;
        else
            m_strSaid += (m_strSaid.empty() ? "" : " ") + KivToolOneLine(KivTrStd("Kiv", text));
        return MsgResult::Ok;
    }
    std::string Line() const {
        if (!m_bTransmissionError) return m_strSaid;
        const std::string heading = KivTrStd("Kiv", kTransmissionError);
        return m_strSaid.empty() ? heading : heading + ": " + m_strSaid;
    }

private:
    std::string m_strSaid;
    bool m_bTransmissionError = false;
};

// The instrument dialogue on the loop host, on --device when given, else on what the COM
// number stands for (KIV_COMn, the device chosen in the program, /dev/ttyS<n-1>). One host
// serves every fetch of a run, so that a kept connection stays its own.
class LineRun {
public:
    LineRun(const KivToolCall& call, CScopeDriver& driver, IHostedDialogue& dialogue, bool bar)
        : m_call(call), m_driver(driver), m_dialogue(dialogue), m_bBar(bar) {}
    ~LineRun() { Close(); }

    int Run() {
        KivToolEnsureApplication();
        if (!m_pHost) {
            CPortSettings::Load();
            m_pHost = std::make_unique<CLoopHost>(m_dialogue, platform);
            if (m_bBar && isatty(2)) m_pHost->m_fnBar = DrawBar;
        }
        m_driver.m_address.device = m_call.Value("device").value_or("");
        return m_pHost->Run();
    }
    // The kept connection closed; the host goes with it.
    void Close() {
        m_driver.m_bKeepLine = false;
        m_driver.ClosePort();
        m_pHost.reset();
    }

    KeptMessages messages;
    CPlatform platform{&messages, nullptr};

private:
    const KivToolCall& m_call;
    CScopeDriver& m_driver;
    IHostedDialogue& m_dialogue;
    bool m_bBar;
    std::unique_ptr<CLoopHost> m_pHost;
};

// The loop turns while it waits, so that a kept connection hears its line go.
void WaitFor(qint64 ms) {
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

// OUT.kiv, fetch n of count: OUT-0001.kiv, more digits when count needs them.
std::string Numbered(const std::string& path, int n, int count) {
    const size_t width = std::max<size_t>(4, std::to_string(count).size());
    const std::string digits = std::to_string(n);
    return path.substr(0, path.size() - 4) + "-" + std::string(width - digits.size(), '0') + digits + ".kiv";
}

bool IsKivName(const std::string& path) { return path.size() >= 4 && path.compare(path.size() - 4, 4, ".kiv") == 0; }

}  // namespace

std::vector<KivToolOption> KivToolLineOptions() {
    return {
        {"model", KIV_TR_NOOP("kivtool", "MODEL"), KIV_TR_NOOP("kivtool", "instrument zamiast zapisanego w Kiv.cfg: %1"),
         ModelKeys()},
        {"port", KIV_TR_NOOP("kivtool", "N"), KIV_TR_NOOP("kivtool", "port COMn, 1..255")},
        {"device", KIV_TR_NOOP("kivtool", "ADRES"),
         KIV_TR_NOOP("kivtool", "port szeregowy (np. /dev/ttyUSB0 albo nazwa z /dev/serial/by-id), przyrząd "
                                "sieciowy (tcp://HOST[:PORT] albo HOST:PORT; bez portu ten, na którym słucha rodzina "
                                "przyrządu) albo przyrząd USBTMC (/dev/usbtmcN) zamiast urządzenia, które oznacza "
                                "numer COM; wyklucza --port")},
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
    int repeat = 0, interval = 0;
    if (auto r = call.Value("repeat"))
        if (!ReadInteger(*r, 1, kMaxRepeat, repeat))
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--repeat przyjmuje liczbę pobrań 1..%1"),
                                            {std::to_string(kMaxRepeat)}));
    if (auto i = call.Value("interval")) {
        if (!repeat) return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--interval działa tylko z --repeat")));
        if (!ReadInteger(*i, 0, kMaxIntervalMs, interval))
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--interval przyjmuje milisekundy 0..%1"),
                                            {std::to_string(kMaxIntervalMs)}));
    }
    const std::string& out = call.File(0);
    // Refused before the instrument is asked anything.
    if (!IsKivName(out)) return KivToolUsage(out + ": " + KivTrStd("Kiv", kNotKivDocumentName));
    int status;
    if (!KivToolInto(call, status)) return status;

    acq.m_bSaveOnExit = call.Has("save-settings");
    CScopeDriver& driver = acq.PrepareDriver();
    driver.m_bKeepLine = repeat > 0;
    LineRun line(call, driver, driver, true);
    QElapsedTimer clock;
    for (int n = 1; n <= std::max(repeat, 1); ++n) {
        if (n > 1) WaitFor(interval - clock.elapsed());
        clock.start();
        auto doc = KivToolInto(call, status);
        if (!doc) return status;
        acq.PrepareDriver();
        const int fetched = acq.FinishFetch(doc->Source(), line.Run());
        if (fetched != kFetchOk) {
            line.Close();
            ReportFetchStatus(fetched, line.platform);
            const std::string said = line.messages.Line();
            return KivToolFail(said.empty() ? KivTrStd("Kiv", kTransmissionError) : said);
        }
        doc->DataEdited();
        if (const int saved = KivToolSave(*doc, repeat ? Numbered(out, n, repeat) : out)) return saved;
    }
    if (const std::string said = line.messages.Line(); !said.empty()) KivToolNote(said);
    return kExitOk;
}

int KivToolProbe(const KivToolCall& call) {
    CAcquisition acq;
    acq.m_bSaveOnExit = false;  // a probe changes nothing
    if (const int status = ApplyLineOptions(call, acq.m_settings)) return status;
    CScopeDriver& driver = acq.PrepareDriver();
    CScopeProbe probe(driver);
    LineRun line(call, driver, probe, false);
    line.Run();
    const std::string found = KivToolOneLine(KivTrStd("Kiv", probe.Outcome().text));
    if (probe.Outcome().result != EProbeResult::Answered) return KivToolFail(found);
    std::printf("%s\n", found.c_str());
    return kExitOk;
}

int KivToolScreenshot(const KivToolCall& call) {
    CAcquisition acq;
    acq.m_bSaveOnExit = false;
    if (const int status = ApplyLineOptions(call, acq.m_settings)) return status;
    CScopeDriver& chosen = acq.PrepareDriver();
    auto* driver = dynamic_cast<CScpiDriver*>(&chosen);
    // The automatic choice learns the family from the instrument, which then says it.
    if (!driver || (&chosen.Model() != &AutoScopeModel() && !driver->HasScreenImage()))
        return KivToolFail(KivText(KIV_TR_NOOP("Kiv", "%1 nie wysyła obrazu swojego ekranu"), {chosen.Model().name}));
    const KivToolFormsApi* forms = KivToolForms();  // a BMP becomes a PNG there
    if (!forms) return kExitFailure;
    // The picture needs no plot: only the instrument's identity goes before it.
    driver->m_job = CScpiDriver::EJob::Screen;
    driver->m_nPlot1Channel = 1;
    LineRun line(call, *driver, *driver, true);
    const int result = line.Run();
    line.Close();
    if (result == kDialogCancel || driver->m_nState != kFetchOk) {
        ReportFetchStatus(result == kDialogCancel ? kFetchCancelled : driver->m_nState, line.platform);
        const std::string said = line.messages.Line();
        return KivToolFail(said.empty() ? KivTrStd("Kiv", kTransmissionError) : said);
    }
    std::string png;
    if (!forms->screenPng(driver->ScreenImage(), png))
        return KivToolFail(KivText(KIV_TR_NOOP("Kiv", "%1: obraz ekranu jest uszkodzony"), {driver->DeviceName()}));
    const std::string& path = call.File(0);
    if (!WriteFileAtomically(path, png))
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "nie można zapisać %1"), {path}));
    return kExitOk;
}
