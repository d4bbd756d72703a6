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
// for gigabytes.
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
    const KivToolFormsApi* pictures = KivToolForms();
    return pictures ? pictures->picture(doc) : RgbPicture{};
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
    const KivToolFormsApi* pictures = KivToolForms();
    if (!pictures) return kExitFailure;
    const std::string& out = call.File(1);
    if (!pictures->savePng(*doc, w, h, white != 0 || call.Has("white"), out))
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "nie można zapisać %1"), {out}));
    return kExitOk;
}
