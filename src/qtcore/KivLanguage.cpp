// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtcore/KivLanguage.h"

#include "platform/Translate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

std::unique_ptr<QTranslator> g_translator;

// The installed tree first, then the build tree, so that tests and a run from the build
// folder find the file too.
bool LoadEnglish(QTranslator& translator) {
    const QString name = QStringLiteral("kiv_en");
    // kivtool looks before any application object exists: the executable's own link says where it is.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (translator.load(name, QFileInfo(exe).absolutePath() + QStringLiteral("/../share/kiv/translations")))
        return true;
    return translator.load(name, QStringLiteral(KIV_TRANSLATIONS_BUILD_DIR));
}

// The core composes its messages from templates it translates itself.
std::string TranslateForCore(const char* context, const char* text) { return KivTr(context, text).toStdString(); }

}  // namespace

bool KivWantsEnglish() {
    const QByteArray chosen = qgetenv("KIV_LANG");
    if (chosen == "en") return true;
    if (chosen == "pl") return false;
    return QLocale::system().language() != QLocale::Polish;
}

bool LoadKivLanguage() {
    UnloadKivLanguage();
    if (!KivWantsEnglish()) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!LoadEnglish(*translator)) return false;
    if (QCoreApplication::instance()) QCoreApplication::installTranslator(translator.get());
    g_translator = std::move(translator);
    SetKivTranslator(TranslateForCore);
    return true;
}

void UnloadKivLanguage() {
    SetKivTranslator(nullptr);
    if (g_translator && QCoreApplication::instance()) QCoreApplication::removeTranslator(g_translator.get());
    g_translator.reset();
}

QString KivTr(const char* context, const char* text) {
    if (g_translator && text && *text) {
        const QString translated = g_translator->translate(context, text);
        if (!translated.isEmpty()) return translated;
    }
    return QString::fromUtf8(text);
}

std::string KivTrStd(const char* context, const std::string& text) {
    return KivTr(context, text.c_str()).toStdString();
}
