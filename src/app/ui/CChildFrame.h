// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QMdiSubWindow>
#include <memory>

#include "app/CommandIds.h"
#include "document/CKivDoc.h"

class CAcquisition;
class CKivView;
class CRunFetch;
class CViewCommands;

// What a document's window needs of the application.
class IChildFrameHost {
public:
    virtual ~IChildFrameHost() = default;
    // The message boxes and the progress window every document gets.
    virtual CPlatform Platform() const = 0;
    // Save dialog for a document (open false); false when cancelled.
    virtual bool DoPromptFileName(QString& path, bool open) = 0;
    virtual void AddToRecentFileList(const QString& path) = 0;
    // The program's one acquisition, for the fetch.
    virtual CAcquisition& Acquisition() = 0;
    // The status line while a live view runs ("12,5 odczytu/s"); empty: back to the prompts.
    virtual void ShowStatus(const QString& text) = 0;
};

// The window of one document: it owns the document and holds its one view. The
// document's own file commands (close, save, save as) are handled here.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(IChildFrameHost& app, std::unique_ptr<CKivDoc> doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CKivDoc* GetDocument() const { return m_pDoc.get(); }
    CKivView* GetView() const { return m_pView; }
    CViewCommands& Commands() const { return *m_pCommands; }

    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    // The title bar's modified mark follows the document's modified flag.
    void UpdateModifiedMark();

    // First showing of a new or opened document.
    void InitialUpdateFrame();
    // A document's window is always shown maximised when it is brought up.
    void ActivateFrame();

    // Asks whether to save a modified document; false when the user cancelled.
    bool SaveModified();
    // Saves under path, or asks for a name when path is empty; false when not saved.
    bool DoSave(const QString& path);

    // The live view: started with the acquisition's settings, or stopped after its fetch in flight.
    void ToggleRun();

    // Routing: the view's commands first, then the document's file commands.
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CmdState& state);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    IChildFrameHost& m_app;
    std::unique_ptr<CKivDoc> m_pDoc;
    CKivView* m_pView;
    std::unique_ptr<CViewCommands> m_pCommands;
    std::unique_ptr<CRunFetch> m_pRun;  // the live view, once started
    QString m_strPathName;
    QString m_strTitle;
};
