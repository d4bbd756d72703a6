// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The picture forms of the export command beyond PCX, drawn by the plot renderer: PNG (the
// picture as the window shows it, full colour), SVG and PDF (lines and texts as such, the PDF
// page laid out as the printout). Added to the file forms once at start by the program and by
// kivtool; they need a QGuiApplication.
void RegisterPictureForms();
