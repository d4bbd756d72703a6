// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "document/CExportForm.h"

class CKivDoc;

// The import and export commands' work on a document once the user has chosen the file.

// The import command's message when a reader refuses the file (caption "Kiv",
// exclamation icon); the command shows it, the readers stay silent.
extern const char kImportBadFormat[];
// Message of the spreadsheet form when its file cannot be written (caption "UWAGA !",
// exclamation icon). The Tektronix and picture forms fail silently.
extern const char kExportCannotSave[];

// Outcome of ImportFile besides the readers' 1 and 0.
constexpr int kImportNotHandled = -1;  // extension we do not read: nothing happens, nothing is said

// Reads path into plot 1 (plot == 1) or plot 2 (any other value) of the document with
// the import form its extension names (CFileForms). 1: read, the document is changed and
// marked modified; 0: the file was refused and the document is as it was;
// kImportNotHandled: no form reads that extension.
int ImportFile(CKivDoc& doc, const std::string& path, int plot);

// Writes the form's file whole or not at all (the spreadsheet form says so when it cannot),
// then asks the view for a new picture, as a picture form rendered it at its own size.
// 1 when a file was written.
int ExportDocument(CKivDoc& doc, const std::string& path, const CExportForm& form, const ExportPicture& picture = {},
                   const ExportScene& scene = {});
// The same with the form the path's extension names; a path naming none writes nothing.
int ExportDocument(CKivDoc& doc, const std::string& path, const ExportPicture& picture = {},
                   const ExportScene& scene = {});
