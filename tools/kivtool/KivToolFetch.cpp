// kivtool fetch: the instrument's dialogue without windows. The settings come from
// "Kiv.cfg" in the working directory, changed by the options, and are written back only
// with --save-settings.
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "KivTool.h"
#include "KivToolArgs.h"
#include "KivToolCommon.h"
#include "acquisition/CAcquisition.h"
#include "platform/CComPort.h"

namespace {

// The progress window's part: timers, the modal loop, the port's messages; on a terminal
// the bar is a line on stderr, ended before any message.
class CConsoleProgress : public QObject, public IProgressHost, public IComPortOwner, private IMessages {
public:
    CConsoleProgress(CScopeDriver& driver, const CPlatform& platform)
        : m_driver(driver), m_pMessages(platform.messages), m_platform{this, nullptr}, m_bTerminal(isatty(2)) {
        connect(&m_reply, &QTimer::timeout, this, [this] { m_driver.OnTimer(kReplyTimer); });
        connect(&m_step, &QTimer::timeout, this, [this] { m_driver.OnTimer(kStepTimer); });
    }
    ~CConsoleProgress() override { m_driver.m_pHost = nullptr; }

    int Run() {
        QTimer::singleShot(0, this, [this] { m_driver.Start(this); });
        return m_loop.exec();
    }

    void SetReplyTimer(int ms) override { m_reply.start(ms); }
    void KillReplyTimer() override { m_reply.stop(); }
    void SetStepTimer(int ms) override { m_step.start(ms); }
    void KillStepTimer() override { m_step.stop(); }
    bool HasWindow() const override { return true; }
    void SetBarPos(int pos) override {
        if (!m_bTerminal || pos == m_nPos) return;
        m_nPos = pos;
        const int filled = std::clamp(pos, 0, 100) / 2;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(), std::string(50 - filled, ' ').c_str(),
                     pos);
        m_bBar = true;
    }
    void EndDialog(int result) override {
        m_reply.stop();
        m_step.stop();
        EndBar();
        m_loop.exit(result);
    }
    std::unique_ptr<ISerialPort> CreatePort() override { return std::make_unique<CComPort>(); }
    IComPortOwner* PortOwner() override { return this; }
    const CPlatform& Platform() const override { return m_platform; }

    void Post(std::function<void()> task) override { QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection); }
    void OnComPortMessage(int message, unsigned param, unsigned) override {
        if (message == WM_COMPORT_RXCHAR) m_driver.OnChar(static_cast<uint8_t>(param));
    }
    void OnComPortError(const std::string& text) override { m_platform.Message(text, "Application Error", MsgIcon::Error); }

private:
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon, MsgButtons buttons) override {
        EndBar();
        return m_pMessages ? m_pMessages->Show(text, caption, icon, buttons) : MsgResult::Ok;
    }
    void EndBar() {
        if (m_bBar) std::fputc('\n', stderr);
        m_bBar = false;
        m_nPos = -1;
    }

    CScopeDriver& m_driver;
    IMessages* m_pMessages;
    CPlatform m_platform;
    QTimer m_reply, m_step;
    QEventLoop m_loop;
    bool m_bTerminal;
    bool m_bBar = false;
    int m_nPos = -1;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool ParseNumber(const std::string& s, long lo, long hi, long& out) {
    char* end = nullptr;
    out = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && !*end && out >= lo && out <= hi;
}

// INDEX, the list's name or its short key ("tds224"), in any case.
int ModelIndex(const std::string& text) {
    long index;
    if (ParseNumber(text, 0, kScopeModelCount - 1, index)) return static_cast<int>(index);
    const std::string want = Lower(text);
    for (int i = 0; i < kScopeModelCount; ++i)
        if (want == Lower(ScopeModelAt(i).name) || want == ScopeModelAt(i).key) return i;
    return -1;
}

}  // namespace

int KivToolFetch(const std::vector<std::string>& args) {
    KivToolArgs a;
    std::string error;
    if (!a.Parse(args, {"--model", "--port", "--baud", "--plot1", "--plot2", "--into"}, {"--save-settings"}, error))
        return KivToolFail(error);
    if (a.Positional().size() != 1) return KivToolFail("expected one output document; see --help");
    CAcquisition acq;
    acq.m_bSaveOnExit = a.Has("--save-settings");
    AcquisitionSettings& s = acq.m_settings;
    if (auto m = a.Value("--model")) {
        const int index = ModelIndex(*m);
        if (index < 0) {
            std::string keys;
            for (int i = 0; i < kScopeModelCount; ++i)
                keys += std::string(i + 1 < kScopeModelCount ? ", " : " or ") + ScopeModelAt(i).key;
            return KivToolFail("unknown model " + *m + " (0.." + std::to_string(kScopeModelCount - 1) + keys + ")");
        }
        s.nInstrument = static_cast<uint8_t>(index);
    }
    const ScopeModel& model = ScopeModelAt(s.nInstrument);
    long n;
    if (auto p = a.Value("--port")) {
        if (!ParseNumber(*p, 1, 255, n)) return KivToolFail("--port takes 1..255 (COMn)");
        s.nPort = static_cast<uint8_t>(n);
    }
    if (auto b = a.Value("--baud")) {
        int index = -1;
        for (int i = model.lowestBaud; i <= model.highestBaud; ++i)
            if (*b == std::to_string(kBaudRates[i])) index = i;
        if (index < 0)
            return KivToolFail("--baud takes a rate from " + std::to_string(kBaudRates[model.lowestBaud]) + " to " +
                               std::to_string(kBaudRates[model.highestBaud]) + " for " + model.name);
        s.nBaudIndex = static_cast<uint8_t>(index + 1);
    }
    for (int plot = 1; plot <= 2; ++plot) {
        auto v = a.Value(plot == 1 ? "--plot1" : "--plot2");
        if (!v) continue;
        uint32_t& on = plot == 1 ? s.bPlot1 : s.bPlot2;
        if (*v == "off") {
            on = 0;
        } else if (ParseNumber(*v, 1, model.channels, n)) {
            on = 1;
            (plot == 1 ? s.nPlot1Channel : s.nPlot2Channel) = static_cast<uint8_t>(n);
        } else {
            return KivToolFail("--plot" + std::to_string(plot) + " takes off or a channel 1.." +
                               std::to_string(model.channels));
        }
    }
    if (!s.bPlot1 && !s.bPlot2) return KivToolFail("nothing to fetch: both plots are off");
    auto doc = KivToolInto(a, error);
    if (!doc) return KivToolFail(error);

    KivToolEnsureApplication();
    const CPlatform platform = KivToolPlatform();
    CScopeDriver& driver = acq.PrepareDriver();
    int result;
    {
        CConsoleProgress progress(driver, platform);
        result = progress.Run();
    }
    const int status = acq.FinishFetch(*doc, result);
    if (status != kFetchOk) {
        ReportFetchStatus(status, platform);
        return 1;
    }
    return KivToolSave(*doc, a.Positional()[0]);
}
