// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStringList>
#include <memory>

#include "app/CommandIds.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CMainFrame.h"
#include "document/CKivDoc.h"
#include "platform/CPlatform.h"

class CAcquisition;
class CDftProgressDlg;
class CQtMessages;
class QTranslator;

// The application: starts the main frame, keeps the recent-file list in the profile,
// and creates, opens and saves documents. Its commands are the last stop of the
// frame's command routing.
class CKivApp : public IMainFrameHost, public IChildFrameHost {
public:
    CKivApp();
    ~CKivApp() override;
    CKivApp(const CKivApp&) = delete;
    CKivApp& operator=(const CKivApp&) = delete;

    // Start-up with the command line (program name and Qt's own options removed);
    // false when the program is to end at once.
    bool InitInstance(const QStringList& args);
    // Closes the main frame and writes the profile.
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_pMainWnd; }

    CChildFrame* OnFileNew();
    // Opens a document in a new maximised child, or activates the child that already
    // shows it. Null when the document refuses the file: it reports why, if at all, with
    // the file's name added, and why gets its own words (empty when it said nothing).
    CChildFrame* OpenDocumentFile(const QString& path, QString* why = nullptr) override;
    // Asks about every modified document; false when the user cancelled.
    bool SaveAllModified() override;
    // Open/save file dialog for "Pliki Kiv (*.kiv)"; false when cancelled.
    bool DoPromptFileName(QString& path, bool open) override;

    const QStringList& RecentFiles() const override { return m_recentFiles; }
    void AddToRecentFileList(const QString& path) override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CmdState& state) override;

    // What every document gets for its message boxes and its DFT progress window.
    CPlatform Platform() const override;
    // Tests answer the message boxes themselves.
    void SetMessages(IMessages* messages) { m_pMessagesOverride = messages; }
    CDftProgressDlg* ProgressWindow() const { return m_pProgress; }
    // The program's one acquisition: "Kiv.cfg" read at start, written at exit.
    CAcquisition& Acquisition() override { return *m_pAcquisition; }
    void ShowStatus(const QString& text) override;

private:
    // Qt's own dialogs and standard buttons in Polish, while the program runs.
    void InstallQtTranslation();
    void RemoveQtTranslation();
    bool ProcessShellCommand(const QStringList& args);
    void LoadStdProfileSettings();
    void SaveStdProfileSettings() const;
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnAppExit();
    QString NextUntitledTitle();

    std::unique_ptr<CAcquisition> m_pAcquisition;
    CMainFrame* m_pMainWnd = nullptr;
    std::unique_ptr<CQtMessages> m_pMessages;
    std::unique_ptr<QTranslator> m_pQtTranslation;
    IMessages* m_pMessagesOverride = nullptr;
    CDftProgressDlg* m_pProgress = nullptr;
    QStringList m_recentFiles;
    int m_nUntitledCount = 0;
};
