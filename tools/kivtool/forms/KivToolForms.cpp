// SPDX-License-Identifier: GPL-3.0-or-later
// The module half of kivtool: everything that needs QtGui or libzip.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <clocale>
#include <cstdio>

#include "KivToolForms.h"
#include "data/SafeFile.h"
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

std::string PngBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return {};
    return bytes.toStdString();
}

bool SavePng(CKivDoc& doc, int width, int height, bool whiteBackground, const std::string& path) {
    EnsureApplication();
    const std::string png = PngBytes(RenderPlot(doc, width, height, whiteBackground));
    return !png.empty() && WriteFileAtomically(path, png);
}

bool ScreenPng(const std::string& picture, std::string& png) {
    const QByteArray bytes = QByteArray::fromRawData(picture.data(), static_cast<qsizetype>(picture.size()));
    const char* form = nullptr;  // Qt tells the form by its first bytes
    QImage image;
    if (!image.loadFromData(bytes, form)) return false;
    // The instrument's own PNG is written as it came, byte for byte.
    png = picture.starts_with("\x89PNG\r\n\x1a\n") ? picture : PngBytes(image);
    return !png.empty();
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
    static const KivToolFormsApi api{EnsureApplication, SavePng, Picture, ReadSigrok, ScreenPng};
    static const bool registered = [] {
        RegisterSigrokForms();
        RegisterPictureForms();
        return true;
    }();
    (void)registered;
    return &api;
}
