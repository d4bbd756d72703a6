#pragma once
#include <string>

class CKivDoc;

// The import command's message when a reader refuses the file (caption "Kiv",
// exclamation icon); the command shows it, the readers stay silent.
extern const char kImportBadFormat[];

// Outcome of ImportFile besides the readers' 1 and 0.
constexpr int kImportNotHandled = -1;  // extension we do not read: nothing happens, nothing is said

// Text after the last '.' of the file name ("" when there is none).
std::string PathExtension(const std::string& path);

// Reads path into plot 1 (plot == 1) or plot 2 (any other value) of the document with
// the import form its extension names (CFileForms). 1: read, the document is changed and
// marked modified; 0: the file was refused and the document is as it was;
// kImportNotHandled: no form reads that extension.
int ImportFile(CKivDoc& doc, const std::string& path, int plot);

// Amplitude step of a Tektronix CSV for r = largest magnitude / 75, from the series
// 2, 4, 8 times powers of ten (10^-15 .. 10^15); 0 when r lies beyond the series.
double TekCsvAmplitudeStep(double r);
