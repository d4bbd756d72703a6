#include "ShellFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "analysis/ui/CDftProgressDlg.h"
#include "app/ui/CAboutBox.h"
#include "view/ui/CKivView.h"

TEST_F(ShellTest, StartsWithOneMaximisedEmptyDocument) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().windowState() & Qt::WindowMaximized);
    ASSERT_EQ(Frame().Children().size(), 1);
    CChildFrame* child = Active();
    EXPECT_TRUE(child->isMaximized());
    EXPECT_EQ(child->GetTitle(), "Kiv1");
    EXPECT_EQ(child->windowTitle(), "Kiv1");
    EXPECT_EQ(child->widget(), child->GetView());
    EXPECT_EQ(Doc().m_pSource->m_nPresent, 0);
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Gotowy");
    // Every document reaches the desktop through the same two services.
    EXPECT_EQ(Doc().Platform().messages, &m_messages);
    EXPECT_EQ(Doc().Platform().progress, m_app->ProgressWindow());
}

TEST_F(ShellTest, NewWindowsOpenMaximisedAlsoAfterCascade) {
    ASSERT_TRUE(Start());
    Frame().Execute(ID_FILE_NEW);
    Frame().Execute(ID_WINDOW_CASCADE);
    for (CChildFrame* child : Frame().Children()) EXPECT_FALSE(child->isMaximized());
    Frame().Execute(ID_FILE_NEW);
    ASSERT_EQ(Frame().Children().size(), 3);
    EXPECT_EQ(Active()->GetTitle(), "Kiv3");
    EXPECT_TRUE(Active()->isMaximized());
}

TEST_F(ShellTest, CommandLineOpensTheNamedDocumentOrEnds) {
    const QString doc = MakeDocument("pomiar.kiv");
    ASSERT_TRUE(Start({doc}));
    ASSERT_EQ(Frame().Children().size(), 1);
    EXPECT_EQ(Active()->GetTitle(), "pomiar.kiv");
    EXPECT_EQ(Active()->GetPathName(), doc);
    EXPECT_TRUE(Active()->isMaximized());
    EXPECT_EQ(Doc().m_pSource->m_nPresent, 1);
    EXPECT_EQ(m_app->RecentFiles(), QStringList({doc}));
    m_app.reset();

    // A name that is not ".kiv" (the case counts) ends the program, with no message.
    QFile::copy(doc, Path("pomiar.KIV"));
    for (const char* name : {"pomiar.KIV", "pomiar.txt"}) {
        m_app = std::make_unique<CKivApp>();
        m_app->SetMessages(&m_messages);
        EXPECT_FALSE(Start({Path(name)})) << name;
        EXPECT_EQ(m_app->MainFrame(), nullptr);
    }
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(ShellTest, DroppedFilesOpen) {
    ASSERT_TRUE(Start());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(MakeDocument("x.kiv")), QUrl::fromLocalFile(MakeDocument("y.kiv")),
                  QUrl::fromLocalFile(Path("notes.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &drop);
    QStringList titles;
    for (CChildFrame* child : Frame().Children()) titles << child->GetTitle();
    EXPECT_EQ(titles, QStringList({"Kiv1", "x.kiv", "y.kiv"}));
    EXPECT_EQ(Active()->GetTitle(), "y.kiv");
}

TEST_F(ShellTest, OpeningAndSavingDocuments) {
    ASSERT_TRUE(Start());
    const QString first = MakeDocument("a.kiv");
    CChildFrame* opened = m_app->OpenDocumentFile(first);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(Frame().Children().size(), 2);
    // The same file again only brings its window up.
    Frame().Execute(ID_FILE_NEW);
    EXPECT_EQ(m_app->OpenDocumentFile(first), opened);
    EXPECT_EQ(Active(), opened);
    EXPECT_EQ(Frame().Children().size(), 3);

    // Refused silently: no window, no entry in the list.
    QFile::copy(first, Path("a.KIV"));
    EXPECT_EQ(m_app->OpenDocumentFile(Path("a.KIV")), nullptr);
    EXPECT_EQ(Frame().Children().size(), 3);
    EXPECT_TRUE(m_messages.boxes.empty());

    // Save writes the document under its name and moves it to the top of the list.
    FillPlot(*Doc().m_pSource, 2, [](int) { return 150; });
    Doc().SetModifiedFlag();
    Frame().Execute(ID_FILE_SAVE);
    EXPECT_FALSE(Doc().IsModified());
    CKivDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(first.toStdString()));
    EXPECT_EQ(reread.m_pSource->m_nPresent, 3);
    EXPECT_EQ(m_app->RecentFiles().first(), first);
}

TEST_F(ShellTest, ClosingAModifiedDocumentAsksFirst) {
    ASSERT_TRUE(Start());
    Doc().SetModifiedFlag();
    m_messages.answers = {MsgResult::Cancel, MsgResult::No};
    Frame().Execute(ID_FILE_CLOSE);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.boxes[0].text, "Czy zapisać zmiany w dokumencie Kiv1?");
    EXPECT_EQ(m_messages.boxes[0].caption, "Kiv");
    EXPECT_EQ(m_messages.boxes[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(Frame().Children().size(), 1);
    // Exit asks the same; "Nie" lets the program go without saving.
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_TRUE(QDir(m_dir).entryList({"*.kiv"}).isEmpty());
}

TEST_F(ShellTest, RecentFileListKeepsFourAndIsRemembered) {
    ASSERT_TRUE(Start());
    QStringList docs;
    for (const char* name : {"1.kiv", "2.kiv", "3.kiv", "4.kiv", "5.kiv"}) docs << MakeDocument(name);
    for (const QString& doc : docs) ASSERT_NE(m_app->OpenDocumentFile(doc), nullptr);
    // An open document is only brought up again; the list keeps its order.
    m_app->OpenDocumentFile(docs[2]);
    EXPECT_EQ(m_app->RecentFiles(), QStringList({docs[4], docs[3], docs[2], docs[1]}));

    QMenu* file = TopMenu(Frame(), true, "&Plik");
    const QStringList texts = MenuTexts(file->actions());
    const qsizetype at = texts.indexOf("Podgląd wydruku");
    ASSERT_GE(at, 0);
    EXPECT_EQ(texts.mid(at + 3, 4), QStringList({CKivApp::RecentFileMenuText(0, docs[4]),
                                                 CKivApp::RecentFileMenuText(1, docs[3]),
                                                 CKivApp::RecentFileMenuText(2, docs[2]),
                                                 CKivApp::RecentFileMenuText(3, docs[1])}));
    EXPECT_TRUE(texts[at + 3].startsWith("&1 ") && texts[at + 3].endsWith("5.kiv"));
    EXPECT_EQ(texts[at + 7], "-");

    // The next start reads the list back from the profile.
    m_app.reset();
    QSettings settings;
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), docs[4]);
    EXPECT_EQ(settings.value("Recent File List/File4").toString(), docs[1]);
    EXPECT_FALSE(settings.contains("Recent File List/File5"));
    m_app = std::make_unique<CKivApp>();
    m_app->SetMessages(&m_messages);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->RecentFiles().size(), 4);

    // An entry that no longer opens leaves the list.
    QFile::remove(docs[4]);
    Frame().Execute(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_app->RecentFiles(), QStringList({docs[3], docs[2], docs[1]}));
    EXPECT_FALSE(Frame().Action(ID_FILE_MRU_FILE1 + 3)->isVisible());
}

TEST_F(ShellTest, ProgressWindowAndAboutBox) {
    CDftProgressDlg progress;
    progress.Open("oblicznie DFT ");
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(progress.isModal());
    EXPECT_EQ(progress.windowTitle(), "oblicznie DFT ");
    progress.SetPercent(40);
    EXPECT_EQ(progress.findChild<QProgressBar*>()->value(), 40);
    EXPECT_EQ(progress.PositionText(), "40");
    progress.SetPercent(100);
    EXPECT_EQ(progress.PositionText(), "100");
    progress.Close();
    EXPECT_FALSE(progress.isVisible());

    CAboutBox about;
    EXPECT_EQ(about.windowTitle(), "O programie...");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "Kiv Wersja 2.0");
    EXPECT_FALSE(about.findChild<QLabel*>("icon")->pixmap().isNull());
    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
}
