#pragma once
#include <string>

#include "data/CExportForm.h"

class CData;
class CKivDoc;

// Message of the spreadsheet form when its file cannot be written (caption "UWAGA !",
// exclamation icon). The Tektronix and picture forms fail silently.
extern const char kExportCannotSave[];

// File bytes of the data forms from a mode's computed record (whole record, values in
// base units). Spreadsheet: 4000 rows of time and one or two values, decimal commas.
// Tektronix 460A: 500 rows of time and the mean of 8 samples of the first curve.
void WriteSpreadsheetCsv(const CData& mode, std::string& out);
void WriteTektronixCsv(const CData& mode, std::string& out);

// The export command's work once the user has chosen the path and the form: writes the
// form's file whole or not at all (the spreadsheet form says so when it cannot), then
// asks the view for a new picture, as a picture form rendered it at its own size.
// 1 when a file was written.
int ExportDocument(CKivDoc& doc, const std::string& path, const CExportForm& form, const ExportPicture& picture = {},
                   const ExportScene& scene = {});
// The same with the form the path's extension names; a path naming none writes nothing.
int ExportDocument(CKivDoc& doc, const std::string& path, const ExportPicture& picture = {},
                   const ExportScene& scene = {});
