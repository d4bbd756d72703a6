// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/DocumentFiles.h"

#include "data/SafeFile.h"
#include "document/CFileForms.h"
#include "document/CKivDoc.h"
#include "platform/TrNoop.h"

const char kImportBadFormat[] = KIV_TR_NOOP("Kiv", "Nieprawidłowy format pliku");
const char kExportCannotSave[] = KIV_TR_NOOP("Kiv",
    "Plik o tej nazwie nie może być zapisany. Sprawdź czy plik jest już otwarty!");

int ImportFile(CKivDoc& doc, const std::string& path, int plot) {
    const CImportForm* form = CFileForms::ImportForPath(path);
    if (!form) return kImportNotHandled;
    if (!form->Read(doc.Source(), path, plot)) return 0;
    doc.DataEdited();
    return 1;
}

int ExportDocument(CKivDoc& doc, const std::string& path, const CExportForm& form, const ExportPicture& picture,
                   const ExportScene& scene) {
    std::string bytes;
    int written = 0;
    if (form.Write(CExportJob{doc, *doc.GetCurrentMode(), picture, scene}, bytes)) {
        written = WriteFileAtomically(path, bytes);
        if (!written && form.CannotSaveText())
            doc.Platform().Message(form.CannotSaveText(), KIV_TR_NOOP("Kiv", "UWAGA !"), MsgIcon::Exclamation);
    }
    // A picture form had the view render at 800 x 600: it draws its own picture again.
    doc.RedrawView();
    return written;
}

int ExportDocument(CKivDoc& doc, const std::string& path, const ExportPicture& picture, const ExportScene& scene) {
    if (const CExportForm* form = CFileForms::ExportForPath(path))
        return ExportDocument(doc, path, *form, picture, scene);
    doc.RedrawView();
    return 0;
}
