// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

#include "data/CData.h"
#include "data/CPcxEncoder.h"

class CKivDoc;

// The picture as the view shows it (800 x 600, its background), made only when a form
// asks for it; the view or kivtool renders it.
using ExportPicture = std::function<RgbPicture()>;

// The plot as the view shows it, for the picture forms that draw at any size: the window's
// size, its background and where the Fourier cursor was clicked (kivtool: --size, --white).
struct ExportScene {
    int width = 800, height = 600;
    bool whiteBackground = false;
    int fourierClickX = 0;
};

// What an export form writes from: the document and its mode on show.
struct CExportJob {
    CKivDoc& doc;
    CData& mode;
    const ExportPicture& picture;
    ExportScene scene{};

    // The mode's whole computed record, computed first when it is not ready.
    CData& Record() const {
        mode.GetDisplaySamples(1);
        return mode;
    }
};

// One form of the export command: its line in the save dialog and the writer of its file.
// The program's forms are in CFileForms; the desktop half adds its own there.
class CExportForm {
public:
    virtual ~CExportForm() = default;
    virtual const char* Name() const = 0;        // for the command line; unique
    virtual const char* FilterText() const = 0;  // the dialog's line; "" keeps the form out of the dialog
    virtual const char* Extension() const = 0;   // without the dot; names the form case-sensitively
    // The whole file into out; false when there is nothing to write (no file is made).
    virtual bool Write(const CExportJob& job, std::string& out) const = 0;
    // Shown over the view when the file cannot be written; null: the form fails silently.
    virtual const char* CannotSaveText() const { return nullptr; }
};
