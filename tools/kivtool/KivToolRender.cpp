// kivtool render, and the picture the PCX export writes: the view's renderer, offscreen.
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <memory>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "data/CKivDoc.h"
#include "platform/TrNoop.h"
#include "view/NumberText.h"
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

bool KivToolParseSize(const std::string& s, int& w, int& h) {
    const size_t x = s.find_first_of("xX");
    if (x == std::string::npos || !ReadInteger(std::string_view(s).substr(0, x), 1, kMaxSide, w) ||
        !ReadInteger(std::string_view(s).substr(x + 1), 1, kMaxSide, h))
        return false;
    w = std::max(w, kMinWidth);
    h = std::max(h, kMinHeight);
    return true;
}

RgbPicture KivToolRenderPicture(CKivDoc& doc) {
    KivToolEnsureApplication();
    int32_t cursors, white;
    doc.GetViewFlags(cursors, white);
    return ToRgbPicture(RenderPlot(doc, 800, 600, white != 0));
}

int KivToolRender(const KivToolCall& call) {
    int w = 800, h = 600;
    if (auto size = call.Value("size"))
        if (!KivToolParseSize(*size, w, h))
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--size przyjmuje SZERxWYS, każde od 1 do %1"),
                                            {std::to_string(kMaxSide)}));
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    int32_t cursors, white;
    doc->GetViewFlags(cursors, white);
    KivToolEnsureApplication();
    const QImage picture = RenderPlot(*doc, w, h, white != 0 || call.Has("white"));
    const std::string& out = call.File(1);
    if (!picture.save(QString::fromLocal8Bit(out.c_str()), "PNG"))
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "nie można zapisać %1"), {out}));
    return kExitOk;
}
