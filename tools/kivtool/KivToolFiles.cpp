// kivtool import and export: the file forms of the program's import and export commands.
#include "KivTool.h"
#include "KivToolCommon.h"
#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "data/CFileForms.h"
#include "data/CKivDoc.h"

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
    if (plot != "1" && plot != "2") return KivToolUsage("--plot przyjmuje 1 lub 2");
    const std::string& in = call.File(0);
    if (!CFileForms::ImportForPath(in))
        return KivToolUsage(in + ": nieznany rodzaj pliku (czytane: " + ImportExtensions() + ")");
    int status;
    auto doc = KivToolInto(call, status);
    if (!doc) return status;
    if (ImportFile(*doc, in, plot == "1" ? 1 : 2) != 1) return KivToolFail(in + ": " + kImportBadFormat);
    return KivToolSave(*doc, call.File(1));
}

int KivToolExport(const KivToolCall& call) {
    const std::string& out = call.File(1);
    const CExportForm* form = nullptr;
    if (auto name = call.Value("format")) {
        form = CFileForms::ExportNamed(*name);
        if (!form) return KivToolUsage("nieznany format " + *name + " (formaty: " + ExportNames(false) + ")");
    } else {
        form = CFileForms::ExportForPath(out);
        if (!form)
            return KivToolUsage(out + ": nieznany rodzaj pliku; podaj --format albo rozszerzenie " +
                                ExportNames(true));
    }
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    if (!ExportDocument(*doc, out, *form, [&] { return KivToolRenderPicture(*doc); })) {
        // A form with its own message has said it; the others fail silently in the program.
        return form->CannotSaveText() ? kExitFailure : KivToolFail("nie można zapisać " + out);
    }
    return kExitOk;
}
