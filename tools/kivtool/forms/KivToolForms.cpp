// The module half of kivtool: everything that needs QtGui or libzip.
#include <QGuiApplication>
#include <QImage>
#include <clocale>
#include <cstdio>

#include "KivToolForms.h"
#include "document/CKivDoc.h"
#include "sigrok/SigrokSession.h"
#include "render/CPlotRenderer.h"
#include "render/PictureForms.h"

namespace {

// Fonts need an application; offscreen, so no display is ever needed.
void EnsureApplication() {
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

bool SavePng(CKivDoc& doc, int width, int height, bool whiteBackground, const std::string& path) {
    EnsureApplication();
    return RenderPlot(doc, width, height, whiteBackground).save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

int ReadSigrok(CDataSrc& src, const std::string& path, int plot, const std::string& channel) {
    return ReadSigrokSession(src, path, plot, channel);
}

RgbPicture Picture(CKivDoc& doc) {
    int32_t cursors, white;
    doc.GetViewFlags(cursors, white);
    EnsureApplication();
    return ToRgbPicture(RenderPlot(doc, 800, 600, white != 0));
}

}  // namespace

extern "C" const KivToolFormsApi* KivToolFormsOpen() {
    static const KivToolFormsApi api{EnsureApplication, SavePng, Picture, ReadSigrok};
    static const bool registered = [] {
        RegisterSigrokForms();
        RegisterPictureForms();
        return true;
    }();
    (void)registered;
    return &api;
}
