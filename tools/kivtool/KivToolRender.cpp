// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool render, and the picture the PCX export writes: the view's renderer, offscreen, from
// the kivtool-forms module.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <dlfcn.h>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "KivToolForms.h"
#include "document/CKivDoc.h"
#include "platform/TrNoop.h"
#include "units/NumberText.h"

namespace {

// The view never renders below 400 x 200; an upper bound keeps a typo from asking
// for gigabytes. A size outside them is brought inside, with a note.
constexpr int kMinWidth = 400, kMinHeight = 200, kMaxSide = 10000;

}  // namespace

// The instrument dialogue's timers need an event loop; no display is ever needed.
void KivToolEnsureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kivtool";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // Qt took the desktop's locale; numbers keep their points
}

const KivToolFormsApi* KivToolForms() {
    static const KivToolFormsApi* api = [] {
        const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
        std::string why;
        for (const QString& path : {folder + QStringLiteral("/kivtool-forms.so"),
                                    folder + QStringLiteral("/../" KIV_MODULE_DIR "/kivtool-forms.so")}) {
            if (void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL)) {
                if (auto open = reinterpret_cast<decltype(&KivToolFormsOpen)>(dlsym(module, "KivToolFormsOpen")))
                    return open();
            }
            if (why.empty()) why = dlerror();
        }
        KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "nie można wczytać modułu form plików: %1"), {why}));
        return static_cast<const KivToolFormsApi*>(nullptr);
    }();
    return api;
}

bool KivToolSize(const KivToolCall& call, int& w, int& h, int& status) {
    const auto text = call.Value("size");
    if (!text) return true;
    const size_t x = text->find_first_of("xX");
    int64_t width = 0, height = 0;
    if (x == std::string::npos || !ReadInteger(std::string_view(*text).substr(0, x), 1, INT64_MAX, width) ||
        !ReadInteger(std::string_view(*text).substr(x + 1), 1, INT64_MAX, height)) {
        status = KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--size przyjmuje SZERxWYS, dwie dodatnie liczby całkowite, nie %1"),
                                          {*text}));
        return false;
    }
    w = static_cast<int>(std::clamp<int64_t>(width, kMinWidth, kMaxSide));
    h = static_cast<int>(std::clamp<int64_t>(height, kMinHeight, kMaxSide));
    if (w != width || h != height)
        KivToolNote(KivToolText(KIV_TR_NOOP("kivtool", "rozmiar %1 zmieniony na %2 (najmniej %3, każdy bok najwyżej %4)"),
                                {*text, std::to_string(w) + "x" + std::to_string(h),
                                 std::to_string(kMinWidth) + "x" + std::to_string(kMinHeight), std::to_string(kMaxSide)}));
    return true;
}

RgbPicture KivToolRenderPicture(CKivDoc& doc) {
    const KivToolFormsApi* pictures = KivToolForms();
    return pictures ? pictures->picture(doc) : RgbPicture{};
}

int KivToolRender(const KivToolCall& call) {
    int w = 800, h = 600, status = kExitOk;
    if (!KivToolSize(call, w, h, status)) return status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    int32_t cursors, white;
    doc->GetViewFlags(cursors, white);
    const KivToolFormsApi* pictures = KivToolForms();
    if (!pictures) return kExitFailure;
    const std::string& out = call.File(1);
    if (!pictures->savePng(*doc, w, h, white != 0 || call.Has("white"), out))
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "nie można zapisać %1"), {out}));
    return kExitOk;
}
