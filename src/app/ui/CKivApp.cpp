// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/CKivApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPageSetupDialog>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTranslator>
#include <cstdio>

#include "acquisition/CAcquisition.h"
#include "analysis/ui/CDftProgressDlg.h"
#include "app/CommandIds.h"
#include "app/ui/CAboutBox.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CViewCommands.h"
#include "app/ui/KivCommandTable.h"
#include "qtcore/CPortSettings.h"
#include "platform/TrNoop.h"
#include "sigrok/SigrokSession.h"
#include "qtcore/KivLanguage.h"
#include "render/PictureForms.h"
#include "platform/ui/CQtMessages.h"

namespace {

const char kRecentSection[] = "Recent File List";
const char kFilter[] = KIV_TR_NOOP("Kiv", "Pliki Kiv (*.kiv)");

// Same file, however it was named.
bool SamePath(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return ca.isEmpty() || cb.isEmpty() ? QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath() : ca == cb;
}

// A box about a document that will not open names the file: it may come at start-up or
// from a recent-file entry, far from where the name was chosen.
class CNamingMessages : public IMessages {
public:
    CNamingMessages(IMessages* inner, std::string path) : m_pInner(inner), m_strPath(std::move(path)) {}
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon, MsgButtons buttons) override {
        m_strLast = text;
        // Translated before the name is added: the whole would be found in no translation.
        return m_pInner ? m_pInner->Show(KivTrStd("Kiv", text) + "\n" + m_strPath, caption, icon, buttons)
                        : MsgResult::Ok;
    }
    std::string m_strLast;

private:
    IMessages* m_pInner;
    std::string m_strPath;
};

}  // namespace

CKivApp::CKivApp() = default;

// The settings are written before the windows go.
CKivApp::~CKivApp() {
    m_pAcquisition.reset();
    ExitInstance();
}

bool CKivApp::InitInstance(const QStringList& args) {
    // 1. The control look is Qt's; in Polish its dialogs and buttons speak Polish like the
    // rest, in English they need nothing beyond the program's own translation.
    if (!LoadKivLanguage()) InstallQtTranslation();
    // 2. "Kiv.cfg" of the folder the program was started in (written back at exit: so only a
    // program that really starts touches it), the profile and its recent-file list.
    m_pAcquisition = std::make_unique<CAcquisition>();
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Kiv"));
    LoadStdProfileSettings();
    // The serial device the user chose for each COM number.
    CPortSettings::Load();
    RegisterSigrokForms();
    RegisterPictureForms();
    // 3. Every document gets a CChildFrame with one CKivView (see OnFileNew).
    // 4. The main frame, and the desktop services the documents use.
    m_pMainWnd = new CMainFrame(*this);
    m_pMessages = std::make_unique<CQtMessages>(m_pMainWnd);
    m_pProgress = new CDftProgressDlg(m_pMainWnd);
    // 5. Files dropped on the window open; the file type itself is registered by
    // the installed kiv.desktop and MIME entry.
    m_pMainWnd->setAcceptDrops(true);
    // 6. The window comes up before the command line is processed, so that a box about
    // the named document stands over it. Without a window manager nobody honours the
    // maximised state: fill the screen ourselves so the window still covers it.
    if (QScreen* screen = m_pMainWnd->screen()) m_pMainWnd->setGeometry(screen->availableGeometry());
    m_pMainWnd->showMaximized();
    // 7. The command line.
    if (!ProcessShellCommand(args)) {
        ExitInstance();
        return false;
    }
    return true;
}

int CKivApp::ExitInstance() {
    if (m_pMainWnd) {
        delete m_pMainWnd;
        m_pMainWnd = nullptr;
        m_pProgress = nullptr;
        m_pMessages.reset();
        SaveStdProfileSettings();
    }
    RemoveQtTranslation();
    UnloadKivLanguage();
    return 0;
}

void CKivApp::InstallQtTranslation() {
    if (m_pQtTranslation) return;
    auto translation = std::make_unique<QTranslator>();
    // Without the file (qt6-translations-l10n) the program's own texts are still
    // Polish, message box buttons included; Qt's dialogs then speak English.
    if (translation->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translation.get()))
        m_pQtTranslation = std::move(translation);
}

void CKivApp::RemoveQtTranslation() {
    if (m_pQtTranslation && QCoreApplication::instance()) QCoreApplication::removeTranslator(m_pQtTranslation.get());
    m_pQtTranslation.reset();
}

bool CKivApp::ProcessShellCommand(const QStringList& args) {
    // The first name that is not an option is the document; none means a new one.
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1Char('-'))) continue;
        QString why;
        if (OpenDocumentFile(arg, &why)) return true;
        // The program ends, as it always has, but a terminal is told why, also for a name
        // the document refuses without a word.
        if (why.isEmpty()) why = KivTr("Kiv", kNotKivDocumentName);
        std::fprintf(stderr, "kiv: %s: %s\n", QFile::encodeName(arg).constData(), why.toUtf8().constData());
        return false;
    }
    return OnFileNew() != nullptr;
}

void CKivApp::LoadStdProfileSettings() {
    QSettings settings;
    m_recentFiles.clear();
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString path = settings.value(QStringLiteral("%1/File%2").arg(kRecentSection).arg(i)).toString();
        if (!path.isEmpty()) m_recentFiles.append(path);
    }
}

void CKivApp::SaveStdProfileSettings() const {
    QSettings settings;
    settings.remove(QString::fromLatin1(kRecentSection));
    for (int i = 0; i < m_recentFiles.size(); ++i)
        settings.setValue(QStringLiteral("%1/File%2").arg(kRecentSection).arg(i + 1), m_recentFiles[i]);
}

void CKivApp::AddToRecentFileList(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    for (int i = m_recentFiles.size() - 1; i >= 0; --i)
        if (SamePath(m_recentFiles[i], full)) m_recentFiles.removeAt(i);
    m_recentFiles.prepend(full);
    while (m_recentFiles.size() > kMaxRecentFiles) m_recentFiles.removeLast();
    SaveStdProfileSettings();
    if (m_pMainWnd) m_pMainWnd->RecentFilesChanged();
}

CPlatform CKivApp::Platform() const {
    CPlatform platform;
    platform.messages = m_pMessagesOverride ? m_pMessagesOverride : m_pMessages.get();
    platform.progress = m_pProgress;
    return platform;
}

QString CKivApp::NextUntitledTitle() { return QStringLiteral("Kiv%1").arg(++m_nUntitledCount); }

CChildFrame* CKivApp::OnFileNew() {
    auto* frame = new CChildFrame(*this, std::make_unique<CKivDoc>(Platform()));
    frame->SetTitle(NextUntitledTitle());
    m_pMainWnd->AddChild(frame);
    frame->InitialUpdateFrame();
    return frame;
}

CChildFrame* CKivApp::OpenDocumentFile(const QString& path, QString* why) {
    const QString full = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* child : m_pMainWnd->Children()) {
        if (!child->GetPathName().isEmpty() && SamePath(child->GetPathName(), full)) {
            child->ActivateFrame();
            return child;
        }
    }
    // The view is there while the file loads, so it takes its stored flags.
    auto* frame = new CChildFrame(*this, std::make_unique<CKivDoc>(Platform()));
    CKivDoc& doc = *frame->GetDocument();
    CNamingMessages naming(Platform().messages, QFile::encodeName(QDir::toNativeSeparators(full)).toStdString());
    CPlatform opening = Platform();
    opening.messages = &naming;
    doc.SetPlatform(opening);
    const bool opened = doc.OnOpenDocument(QFile::encodeName(full).toStdString());
    doc.SetPlatform(Platform());
    if (!opened) {
        if (why) *why = KivTr("Kiv", naming.m_strLast.c_str());
        delete frame;
        return nullptr;
    }
    frame->SetPathName(full);
    m_pMainWnd->AddChild(frame);
    frame->InitialUpdateFrame();
    AddToRecentFileList(full);
    return frame;
}

bool CKivApp::SaveAllModified() {
    if (!m_pMainWnd) return true;
    for (CChildFrame* child : m_pMainWnd->Children())
        if (!child->SaveModified()) return false;
    return true;
}

bool CKivApp::DoPromptFileName(QString& path, bool open) {
    QFileDialog dialog(m_pMainWnd, open ? KivTr("Kiv", "Otwórz") : KivTr("Kiv", "Zapisz jako"));
    dialog.setNameFilters({KivTr("Kiv", kFilter), KivTr("Kiv", "Wszystkie pliki (*)")});
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("kiv"));
    if (!open && !path.isEmpty()) {
        QFileInfo info(path);
        if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.suffix().isEmpty() ? info.fileName() + QStringLiteral(".kiv") : info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
}

void CKivApp::OnFileOpen() {
    QString path;
    if (DoPromptFileName(path, true)) OpenDocumentFile(path);
}

void CKivApp::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_recentFiles.size()) return;
    // An entry that no longer opens leaves the list.
    if (!OpenDocumentFile(m_recentFiles[index])) {
        m_recentFiles.removeAt(index);
        SaveStdProfileSettings();
        m_pMainWnd->RecentFilesChanged();
    }
}

void CKivApp::OnFilePrintSetup() {
    // The printer that printing and preview use too.
    QPageSetupDialog dialog(&CViewCommands::SharedPrinter(), m_pMainWnd);
    dialog.setWindowTitle(KivTr("Kiv", "Ustawienia drukarki"));
    dialog.exec();
}

void CKivApp::OnAppAbout() {
    CAboutBox about(m_pMainWnd);
    about.exec();
}

void CKivApp::OnAppExit() { m_pMainWnd->close(); }

bool CKivApp::OnUpdateCommand(int id, CmdState& state) {
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_ABOUT:
    case ID_APP_EXIT: state = {true, false}; return true;
    default: break;
    }
    const int recent = id - ID_FILE_MRU_FILE1;
    if (recent >= 0 && recent < kMaxRecentFiles) {
        state = {recent < m_recentFiles.size(), false};
        return true;
    }
    return false;
}

bool CKivApp::OnCommand(int id) {
    switch (id) {
    case ID_FILE_NEW: OnFileNew(); return true;
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_PRINT_SETUP: OnFilePrintSetup(); return true;
    case ID_APP_ABOUT: OnAppAbout(); return true;
    case ID_APP_EXIT: OnAppExit(); return true;
    default: break;
    }
    const int recent = id - ID_FILE_MRU_FILE1;
    if (recent >= 0 && recent < kMaxRecentFiles) {
        OnOpenRecentFile(recent);
        return true;
    }
    return false;
}

void CKivApp::ShowStatus(const QString& text) {
    if (!m_pMainWnd) return;
    if (text.isEmpty())
        m_pMainWnd->statusBar()->clearMessage();
    else
        m_pMainWnd->statusBar()->showMessage(text);
}
