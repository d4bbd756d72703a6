#pragma once
#include <string>

class CData;
class CKivDoc;
struct RgbPicture;

// Message of the spreadsheet form when its file cannot be written (caption "UWAGA !",
// exclamation icon). The Tektronix and PCX forms fail silently.
extern const char kExportCannotSave[];

// The export form follows the file's extension alone, case-sensitively.
enum class ExportForm { None, Spreadsheet, Tektronix, Pcx };
ExportForm ExportFormOf(const std::string& path);  // "csv", "CSV", "pcx"; anything else None

// File bytes of the data forms from a mode's computed record (whole record, values in
// base units). Spreadsheet: 4000 rows of time and one or two values, decimal commas.
// Tektronix 460A: 500 rows of time and the mean of 8 samples of the first curve.
void WriteSpreadsheetCsv(const CData& mode, std::string& out);
void WriteTektronixCsv(const CData& mode, std::string& out);

// The export command's work once the user has chosen the path: computes the current
// mode if needed, writes the form the extension names (the harmonics table for "csv"
// in Fourier mode; picture is needed only for "pcx"), then asks the view for a new
// picture. Files are written whole or not at all. 1 when a file was written.
int ExportDocument(CKivDoc& doc, const std::string& path, const RgbPicture* picture);
