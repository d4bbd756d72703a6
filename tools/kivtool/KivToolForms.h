// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "data/CPcxEncoder.h"

class CDataSrc;
class CKivDoc;

// What the kivtool-forms module does for the commands that draw, export or import. Loading it
// registers the sigrok session and the picture forms (PNG, SVG, PDF).
struct KivToolFormsApi {
    // The offscreen QGuiApplication the pictures' fonts need, made once.
    void (*ensureApplication)();
    // The document's picture as the view draws it, saved as PNG (an existing file is replaced
    // whole or not at all); false when it cannot be saved.
    bool (*savePng)(CKivDoc& doc, int width, int height, bool whiteBackground, const std::string& path);
    // The 800 x 600 picture with the document's background, as the picture exports take it.
    RgbPicture (*picture)(CKivDoc& doc);
    // A sigrok session's channel by name into a plot, as the import form reads the first.
    int (*readSigrok)(CDataSrc& src, const std::string& path, int plot, const std::string& channel);
    // An instrument's screen picture as PNG bytes: a PNG as it came, another form (a BMP)
    // converted; false when the picture cannot be read.
    bool (*screenPng)(const std::string& picture, std::string& png);
};

// The module's one entry point.
extern "C" const KivToolFormsApi* KivToolFormsOpen();

// Loads the module (beside kivtool in the build tree, in the library folder's kiv/ when installed) once;
// null, with the reason written, when it cannot be loaded.
const KivToolFormsApi* KivToolForms();
