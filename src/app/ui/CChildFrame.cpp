// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/CChildFrame.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QMenu>

#include "acquisition/ui/CRunFetch.h"
#include "acquisition/ui/CScreenImageDlg.h"
#include "acquisition/ui/FetchCommand.h"
#include "app/CommandIds.h"
#include "app/ui/CViewCommands.h"
#include "view/ui/CKivView.h"
#include "qtcore/KivLanguage.h"

CChildFrame::CChildFrame(IChildFrameHost& app, std::unique_ptr<CKivDoc> doc, QWidget* parent)
    : QMdiSubWindow(parent), m_app(app), m_pDoc(std::move(doc)), m_pView(new CKivView(m_pDoc.get())),
      m_pCommands(std::make_unique<CViewCommands>(*m_pView)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kiv.svg")));
    setWidget(m_pView);
    if (!m_pDoc->GetView()) m_pDoc->SetView(m_pView);
    // Ctrl+W fetches a waveform here, so the window's own close key is Ctrl+F4 alone.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions())
            if (action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F4)});
    }
}

CChildFrame::~CChildFrame() {
    // A live view ends with its window; the line closes first.
    m_pRun.reset();
    // The view refers to the document: it goes first, with its commands.
    m_pCommands.reset();
    QWidget* view = widget();
    setWidget(nullptr);
    delete view;
    m_pDoc->SetView(nullptr);
    m_pDoc.reset();
}

void CChildFrame::SetPathName(const QString& path) {
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
}

void CChildFrame::SetTitle(const QString& title) {
    m_strTitle = title;
    m_pCommands->m_strTitle = title;
    // "[*]" is where Qt shows the modified mark; a "[*]" of the name itself is doubled to stay as it is.
    setWindowTitle(QString(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")) + QStringLiteral("[*]"));
}

void CChildFrame::UpdateModifiedMark() { setWindowModified(m_pDoc->IsModified()); }

void CChildFrame::InitialUpdateFrame() {
    m_pView->OnInitialUpdate();
    ActivateFrame();
}

void CChildFrame::ActivateFrame() {
    showMaximized();
    if (QMdiArea* area = mdiArea()) area->setActiveSubWindow(this);
    m_pView->setFocus();
}

bool CChildFrame::SaveModified() {
    if (!m_pDoc->IsModified()) return true;
    const QString text = KivTr("Kiv", "Zapisać zmiany w dokumencie %1?").arg(m_strTitle);
    switch (m_app.Platform().Message(text.toStdString(), "Kiv", MsgIcon::Exclamation, MsgButtons::YesNoCancel)) {
    case MsgResult::Cancel: return false;
    case MsgResult::No: return true;
    default: return DoSave(m_strPathName);
    }
}

bool CChildFrame::DoSave(const QString& path) {
    QString name = path;
    if (name.isEmpty()) {
        name = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
        if (!m_app.DoPromptFileName(name, false)) return false;
    }
    if (!m_pDoc->OnSaveDocument(QFile::encodeName(name).toStdString())) return false;
    UpdateModifiedMark();
    SetPathName(name);
    m_app.AddToRecentFileList(name);
    return true;
}

bool CChildFrame::OnUpdateCommand(int id, CmdState& state) {
    if (m_pCommands->OnUpdateCommand(id, state)) return true;
    switch (id) {
    case ID_RUN_FETCH: state = {true, m_pRun && m_pRun->IsRunning()}; return true;
    case ID_FETCH:
    case ID_SCREENSHOT: state = {!(m_pRun && m_pRun->IsRunning()), false}; return true;
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS: state = {true, false}; return true;
    default: return false;
    }
}

bool CChildFrame::OnCommand(int id) {
    if (m_pCommands->OnCommand(id)) return true;
    switch (id) {
    case ID_FETCH: RunFetchCommand(m_app.Acquisition(), *m_pDoc, m_app.Platform(), this); return true;
    case ID_RUN_FETCH: ToggleRun(); return true;
    case ID_SCREENSHOT: RunScreenshotCommand(m_app.Acquisition(), m_app.Platform(), this); return true;
    case ID_FILE_CLOSE: close(); return true;
    case ID_FILE_SAVE: DoSave(m_strPathName); return true;
    case ID_FILE_SAVE_AS: DoSave(QString()); return true;
    default: return false;
    }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::ToggleRun() {
    if (m_pRun && m_pRun->IsRunning()) {
        m_pRun->Stop();
        return;
    }
    if (!m_pRun) {
        m_pRun = std::make_unique<CRunFetch>(m_app.Acquisition(), *m_pDoc, m_app.Platform());
        m_pRun->m_fnStatus = [this](const QString& text) { m_app.ShowStatus(text); };
    }
    // Nothing chosen to fetch: the data-source dialog says so as a fetch would.
    if (!m_pRun->Start()) RunFetchCommand(m_app.Acquisition(), *m_pDoc, m_app.Platform(), this);
}
