// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>

#include "app/CommandIds.h"

class CKivDoc;
class CKivView;
class QPrinter;

// The commands of one document's window: the command switch and its update rules, and what
// they open (the plot, scale, mean/RMS and generator dialogs), import and export, printing and
// the clipboard. The plot view shows the document; this acts on it.
class CViewCommands {
public:
    explicit CViewCommands(CKivView& view);

    // True when the view's commands (or its document's) handle the command id.
    bool OnCommand(int id);
    // Fills the enable/check state; false when the id is not one of them.
    bool OnUpdateCommand(int id, CmdState& state);

    void OnPlotSettings(int plot);
    // Scale dialog of an axis code: HIT_YAXIS "Oś Y", HIT_Y1AXIS "Oś Y1", HIT_Y2AXIS "Oś Y2",
    // HIT_XAXIS "Oś X".
    void OnScale(int code);
    void OnMeanRms();
    void OnGenerate();
    void OnImport();
    void OnExport();
    // Copies the 800 x 600 picture with the current background to the clipboard.
    void OnEditCopy();
    // One page: the picture at 800 x 600 on white, as wide as the page. False when
    // nothing could be printed.
    bool PrintPage(QPrinter& printer);
    void OnFilePrint(bool withDialog = true);
    void OnFilePrintPreview();
    // The printer that print, preview and the frame's printer setup share.
    static QPrinter& SharedPrinter();

    // File dialogs of import (save false) and export (save true); tests answer them.
    std::function<bool(QString& path, bool save)> m_promptFile;
    // The document's title as its window shows it; the export dialog proposes it, less its extension.
    QString m_strTitle;

private:
    bool PromptFile(QString& path, bool save);

    CKivView& m_view;
    CKivDoc& m_doc;
};
