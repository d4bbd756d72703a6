// kivtool import and export: the readers and writers the import and export commands use.
#include <cstdio>

#include "KivTool.h"
#include "KivToolArgs.h"
#include "KivToolCommon.h"
#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "data/CFileForms.h"
#include "data/CKivDoc.h"

int KivToolImport(const std::vector<std::string>& args) {
    KivToolArgs a;
    std::string error;
    if (!a.Parse(args, {"--plot", "--into"}, {}, error)) return KivToolFail(error);
    if (a.Positional().size() != 2) return KivToolFail("expected an input file and an output document; see --help");
    const std::string plot = a.Value("--plot").value_or("");
    if (plot != "1" && plot != "2") return KivToolFail("--plot takes 1 or 2");
    auto doc = KivToolInto(a, error);
    if (!doc) return KivToolFail(error);
    const std::string& in = a.Positional()[0];
    switch (ImportFile(*doc, in, plot == "1" ? 1 : 2)) {
    case 1: break;
    case kImportNotHandled: return KivToolFail(in + ": not a .dso or .csv/.CSV file");
    default: return KivToolFail(in + ": " + kImportBadFormat);
    }
    return KivToolSave(*doc, a.Positional()[1]);
}

int KivToolExport(const std::vector<std::string>& args) {
    KivToolArgs a;
    int status;
    auto doc = KivToolPrepare(args, a, 2, {"--mode", "--cursors"}, {}, status);
    if (!doc) return status;
    const std::string& out = a.Positional()[1];
    const CExportForm* form = CFileForms::ExportForPath(out);
    if (!form) return KivToolFail(out + ": the name must end in .csv, .CSV or .pcx");
    if (!ExportDocument(*doc, out, *form, [&] { return KivToolRenderPicture(*doc); })) {
        // The spreadsheet form reports its own failure; the other two fail silently.
        return form->CannotSaveText() ? 1 : KivToolFail("cannot write " + out);
    }
    return 0;
}
