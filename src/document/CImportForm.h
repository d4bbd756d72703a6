// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

class CDataSrc;

// One form of the import command: its line in the open dialog and the reader of its files.
class CImportForm {
public:
    virtual ~CImportForm() = default;
    virtual const char* Name() const = 0;
    virtual const char* FilterText() const = 0;
    // The extension a name typed without one gets; it and its small-letter spelling are
    // read (names are case-sensitive here, and instruments write either).
    virtual const char* Extension() const = 0;
    // Reads path into plot 1 (plot == 1) or plot 2 (any other value): 1 when read, 0 when
    // the file is refused, and then nothing has changed.
    virtual int Read(CDataSrc& src, const std::string& path, int plot) const = 0;
};
