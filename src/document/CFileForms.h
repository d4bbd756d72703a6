// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "document/CExportForm.h"
#include "document/CImportForm.h"

// The file forms of the import and export commands, in the order their dialogs list
// them: the program's own first, then those added at start-up (the picture forms of the
// desktop half need QtGui and register from there).
class CFileForms {
public:
    static std::vector<const CExportForm*> Exports();
    static std::vector<const CImportForm*> Imports();
    static const CExportForm* ExportNamed(const std::string& name);
    // The first form whose extension the path ends in; null for none.
    static const CExportForm* ExportForPath(const std::string& path);
    static const CImportForm* ImportForPath(const std::string& path);
    // A form of a name already there replaces it.
    static void AddExport(std::unique_ptr<CExportForm> form);
    static void AddImport(std::unique_ptr<CImportForm> form);
};

// Text after the last '.' of the file name ("" when there is none).
std::string PathExtension(const std::string& path);
