// kivtool render, and the picture the PCX export writes: the view's renderer, offscreen.
#include <QGuiApplication>
#include <QImage>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "KivTool.h"
#include "KivToolArgs.h"
#include "KivToolCommon.h"
#include "data/CKivDoc.h"
#include "view/ui/CPlotRenderer.h"

namespace {

// The view never renders below 400 x 200; an upper bound keeps a typo from asking
// for gigabytes.
constexpr int kMinWidth = 400, kMinHeight = 200, kMaxSide = 10000;

}  // namespace

// Fonts and timers need an application; offscreen, so no display is ever needed.
void KivToolEnsureApplication() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own chatter (runtime folder, fonts) would mix with the tool's one-line errors.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "kivtool: %s\n", qPrintable(msg));
    });
    static int argc = 1;
    static char name[] = "kivtool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // Qt took the desktop's locale; numbers keep their points
}

namespace {

bool ParseSize(const std::string& s, int& w, int& h) {
    char* end = nullptr;
    const long lw = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str() || (*end != 'x' && *end != 'X')) return false;
    const char* second = end + 1;
    const long lh = std::strtol(second, &end, 10);
    if (end == second || *end || lw < 1 || lh < 1 || lw > kMaxSide || lh > kMaxSide) return false;
    w = std::max<int>(lw, kMinWidth);
    h = std::max<int>(lh, kMinHeight);
    return true;
}

}  // namespace

RgbPicture KivToolRenderPicture(CKivDoc& doc) {
    KivToolEnsureApplication();
    int32_t cursors, white;
    doc.GetViewFlags(cursors, white);
    return ToRgbPicture(RenderPlot(doc, 800, 600, white != 0));
}

int KivToolRender(const std::vector<std::string>& args) {
    KivToolArgs a;
    int status;
    auto doc = KivToolPrepare(args, a, 2, {"--mode", "--size", "--cursors"}, {"--white"}, status);
    if (!doc) return status;
    int w = 800, h = 600;
    if (auto size = a.Value("--size"))
        if (!ParseSize(*size, w, h)) return KivToolFail("--size takes WxH, each 1.." + std::to_string(kMaxSide));
    int32_t cursors, white;
    doc->GetViewFlags(cursors, white);
    KivToolEnsureApplication();
    const QImage picture = RenderPlot(*doc, w, h, white != 0 || a.Has("--white"));
    const std::string& out = a.Positional()[1];
    if (!picture.save(QString::fromStdString(out), "PNG")) return KivToolFail("cannot write " + out);
    return 0;
}
