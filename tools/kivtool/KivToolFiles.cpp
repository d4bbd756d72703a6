// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool import and export: the file forms of the program's import and export commands.
#include "KivTool.h"
#include "KivToolCommon.h"
#include "KivToolForms.h"
#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "document/DocumentFiles.h"
#include "document/CFileForms.h"
#include "document/CKivDoc.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

namespace {

std::string ImportExtensions() {
    std::string s;
    for (const CImportForm* f : CFileForms::Imports()) {
        const std::string ext = f->Extension();
        std::string lower = ext;
        for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        s += (s.empty() ? "." : ", .") + ext + (lower != ext ? ", ." + lower : "");
    }
    return s;
}

std::string ExportNames(bool extensions) {
    std::string s;
    for (const CExportForm* f : CFileForms::Exports())
        if (!extensions || *f->FilterText()) s += (s.empty() ? "" : ", ") + std::string(extensions ? "." : "") +
                                                  (extensions ? f->Extension() : f->Name());
    return s;
}

}  // namespace

int KivToolImport(const KivToolCall& call) {
    const std::string plot = call.Value("plot").value_or("");
    if (plot != "1" && plot != "2")
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--plot przyjmuje 1 lub 2")));
    const std::string& in = call.File(0);
    const KivToolFormsApi* forms = KivToolForms();  // the sigrok session comes with it
    if (!forms) return kExitFailure;
    if (!CFileForms::ImportForPath(in))
        return KivToolUsage(
            KivToolText(KIV_TR_NOOP("kivtool", "%1: nieznany rodzaj pliku (czytane: %2)"), {in, ImportExtensions()}));
    const auto channel = call.Value("channel");
    if (channel && PathExtension(in) != "sr")
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--channel dotyczy tylko sesji sigrok (.sr)")));
    int status;
    auto doc = KivToolInto(call, status);
    if (!doc) return status;
    const int p = plot == "1" ? 1 : 2;
    if (channel) {
        if (!forms->readSigrok(doc->Source(), in, p, *channel))
            return KivToolFail(in + ": " + KivTrStd("Kiv", kImportBadFormat));
        doc->DataChanged();
    } else if (ImportFile(*doc, in, p) != 1) {
        return KivToolFail(in + ": " + KivTrStd("Kiv", kImportBadFormat));
    }
    return KivToolSave(*doc, call.File(1));
}

int KivToolExport(const KivToolCall& call) {
    const std::string& out = call.File(1);
    if (!KivToolForms()) return kExitFailure;  // the picture forms come with it
    const CExportForm* form = nullptr;
    if (auto name = call.Value("format")) {
        form = CFileForms::ExportNamed(*name);
        if (!form)
            return KivToolUsage(
                KivToolText(KIV_TR_NOOP("kivtool", "nieznany format %1 (formaty: %2)"), {*name, ExportNames(false)}));
    } else {
        form = CFileForms::ExportForPath(out);
        if (!form)
            return KivToolUsage(KivToolText(
                KIV_TR_NOOP("kivtool", "%1: nieznany rodzaj pliku; podaj --format albo rozszerzenie %2"),
                {out, ExportNames(true)}));
    }
    ExportScene scene;
    int status = kExitOk;
    if (!KivToolSize(call, scene.width, scene.height, status)) return status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    int32_t cursors, white;
    doc->GetViewFlags(cursors, white);
    scene.whiteBackground = white != 0 || call.Has("white");
    KivToolForms()->ensureApplication();  // the picture forms draw with the program's fonts
    if (!ExportDocument(*doc, out, *form, [&] { return KivToolRenderPicture(*doc); }, scene)) {
        // A form with its own message has said it; the others fail silently in the program.
        if (form->CannotSaveText()) return kExitFailure;
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "nie można zapisać %1"), {out}));
    }
    return kExitOk;
}
