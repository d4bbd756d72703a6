// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QLabel>
#include <QMimeData>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "analysis/ui/CDftProgressDlg.h"
#include "app/ui/CAboutBox.h"
#include "platform/ui/CQtMessages.h"
#include "qtcore/KivLanguage.h"

namespace {

// What the next message box showed, its buttons in the order Yes, No, OK, Cancel; it is answered
// with the button reading press.
struct SeenBox { QString caption, text; QMessageBox::Icon icon = QMessageBox::NoIcon; QStringList buttons; };

void AnswerNextBox(SeenBox& seen, const QString& press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = {box->windowTitle(), box->text(), box->icon(), {}};
        for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel})
            if (QAbstractButton* b = box->button(button)) seen.buttons << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == press) return b->click();
        box->done(-1);
    });
}

QString QtCancelText() { return QDialogButtonBox(QDialogButtonBox::Cancel).buttons().first()->text(); }

}  // namespace

TEST_F(ShellTest, CommandLineOpensTheNamedDocumentOrEnds) {
    const QString doc = MakeDocument("pomiar.kiv");
    ASSERT_TRUE(Start({doc}));
    ASSERT_EQ(Frame().Children().size(), 1);
    EXPECT_EQ(Active()->windowTitle(), "pomiar.kiv[*]");
    EXPECT_FALSE(Active()->isWindowModified());
    EXPECT_TRUE(Active()->isMaximized());
    EXPECT_EQ(Doc().m_pSource->m_nPresent, 1);
    m_app.reset();

    // A file it will not open ends the program, no empty document; the terminal hears why,
    // and a box, if the document gives one, names the file over the shown main window.
    QFile::copy(doc, Path("pomiar.KIV"));
    WriteBytes(Path("zly.kiv").toStdString(), "nie dokument");
    const QString damaged = "Nie można otworzyć pliku: plik jest uszkodzony lub nie jest dokumentem Kiv.";
    const QString notKiv = "to nie jest dokument Kiv (nazwa pliku musi kończyć się na .kiv)";
    const struct { const char* name; QString why; bool box; } cases[] = {
        {"pomiar.KIV", notKiv, false}, {"pomiar.txt", notKiv, false}, {"zly.kiv", damaged, true}};
    for (const auto& c : cases) {
        NewApp();
        m_messages.boxes.clear();
        bool shownOverWindow = false;
        m_messages.onShow = [&] { shownOverWindow = m_app->MainFrame() && m_app->MainFrame()->isVisible(); };
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Start({Path(c.name)})) << c.name;
        // The program's own lines, Qt's platform chatter left out.
        const QStringList err = QString::fromStdString(testing::internal::GetCapturedStderr()).split('\n');
        EXPECT_EQ(err.filter(QRegularExpression("^kiv: ")), QStringList("kiv: " + Path(c.name) + ": " + c.why));
        EXPECT_EQ(m_app->MainFrame(), nullptr) << c.name;
        ASSERT_EQ(m_messages.boxes.size(), c.box ? 1u : 0u) << c.name;
        if (!c.box) continue;
        EXPECT_EQ(QString::fromStdString(m_messages.boxes[0].text), c.why + "\n" + Path(c.name));
        EXPECT_TRUE(shownOverWindow);
    }
    m_messages.onShow = nullptr;  // it pointed into the loop
    // In English the box is English: the text is translated before the name joins it.
    qputenv("KIV_LANG", "en");
    NewApp();
    m_messages.boxes.clear();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Start({Path("zly.kiv")}));
    testing::internal::GetCapturedStderr();
    qputenv("KIV_LANG", "pl");
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    const QString english = QString::fromStdString(m_messages.boxes[0].text);
    EXPECT_TRUE(english.endsWith("\n" + Path("zly.kiv"))) << english.toStdString();
    EXPECT_FALSE(english.startsWith(damaged)) << english.toStdString();
}

TEST_F(ShellTest, DroppedFilesOpenAndAnOpenFileIsOnlyBroughtUp) {
    ASSERT_TRUE(Start());
    const QString x = MakeDocument("x.kiv");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(x), QUrl::fromLocalFile(MakeDocument("y.kiv")),
                  QUrl::fromLocalFile(Path("notes.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &drop);
    QStringList titles;
    for (CChildFrame* child : Frame().Children()) titles << child->GetTitle();
    ASSERT_EQ(titles, QStringList({"Kiv1", "x.kiv", "y.kiv"}));
    EXPECT_EQ(Active()->GetTitle(), "y.kiv");

    // Opening x.kiv again brings its window up, maximised, and opens nothing new.
    Frame().Execute(ID_WINDOW_CASCADE);
    EXPECT_EQ(m_app->OpenDocumentFile(x), Frame().Children()[1]);
    EXPECT_EQ(Active(), Frame().Children()[1]);
    EXPECT_TRUE(Active()->isMaximized());
    EXPECT_EQ(Frame().Children().size(), 3);
}

TEST_F(ShellTest, SavingAndClosingAModifiedDocument) {
    const QString doc = MakeDocument("a.kiv");
    ASSERT_TRUE(Start({doc}));
    m_app->AddToRecentFileList(MakeDocument("b.kiv"));
    // Save writes the document under its name and moves it to the top of the list.
    FillPlot(*Doc().m_pSource, 2, [](int) { return 150; });
    Doc().SetModifiedFlag();
    Frame().Execute(ID_FILE_SAVE);
    CKivDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(doc.toStdString()));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(reread.m_pSource->m_nPresent, 3);
    EXPECT_EQ(m_app->RecentFiles().first(), doc);

    QFile::remove(doc);
    Doc().SetModifiedFlag();
    m_messages.answers = {MsgResult::Cancel, MsgResult::No};
    Frame().Execute(ID_FILE_CLOSE);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    const FakeMessages::Box& box = m_messages.boxes[0];
    EXPECT_EQ(std::tuple(box.text, box.caption, box.icon, box.buttons),
              std::tuple("Zapisać zmiany w dokumencie a.kiv?", "Kiv", MsgIcon::Exclamation, MsgButtons::YesNoCancel));
    EXPECT_EQ(Frame().Children().size(), 1);
    // Exit asks the same; "No" lets the program go without saving.
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_FALSE(QFile::exists(doc));
}

// The buttons of the program's message boxes read Polish with or without Qt's
// translation, which the running program loads for Qt's own dialogs.
TEST_F(ShellTest, PolishQuestionAndButtons) {
    ASSERT_EQ(QtCancelText(), "Cancel");  // no translation loaded yet
    CQtMessages messages;
    SeenBox seen;
    AnswerNextBox(seen, "OK");
    EXPECT_EQ(messages.Show("Błąd transmisji", "Uwaga", MsgIcon::Exclamation, MsgButtons::OkCancel), MsgResult::Ok);
    EXPECT_EQ(seen.buttons, QStringList({"OK", "Anuluj"}));
    EXPECT_EQ(std::tuple(seen.caption, seen.text, seen.icon),
              std::tuple(QString("Uwaga"), QString("Błąd transmisji"), QMessageBox::Warning));

    ASSERT_TRUE(QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_pl.qm"))
        << "qt6-translations-l10n is needed";
    ASSERT_TRUE(Start());
    EXPECT_EQ(QtCancelText(), "Anuluj");
    // Closing a changed document asks the Polish question in a real box.
    m_app->SetMessages(nullptr);
    Doc().SetModifiedFlag();
    for (const char* press : {"Anuluj", "&Nie"}) {
        AnswerNextBox(seen, press);
        Frame().Execute(ID_FILE_CLOSE);
        EXPECT_EQ(std::tuple(seen.text, seen.buttons),
                  std::tuple(QString("Zapisać zmiany w dokumencie Kiv1?"), QStringList({"&Tak", "&Nie", "Anuluj"})));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(Frame().Children().size(), press[0] == '&' ? 0 : 1) << press;
    }
    m_app.reset();
    EXPECT_EQ(QtCancelText(), "Cancel");
}

TEST_F(ShellTest, RecentFileListKeepsFourAndIsRemembered) {
    ASSERT_TRUE(Start());
    QStringList docs;
    for (const char* name : {"1.kiv", "2.kiv", "3.kiv", "4.kiv", "5.kiv"}) docs << MakeDocument(name);
    for (const QString& doc : docs) ASSERT_NE(m_app->OpenDocumentFile(doc), nullptr);
    m_app->OpenDocumentFile(docs[2]);
    EXPECT_EQ(m_app->RecentFiles(), QStringList({docs[4], docs[3], docs[2], docs[1]}));
    // Between the separators after the print entries.
    const QStringList texts = MenuTexts(TopMenu(Frame(), true, "&Plik")->actions());
    QStringList recent = texts.mid(texts.indexOf("&Ustawienia drukarki...") + 1, 6);
    recent.replaceInStrings(QRegularExpression(" .*/"), " ");  // the folder, however the menu shortens it
    EXPECT_EQ(recent, QStringList({"-", "&1 5.kiv", "&2 4.kiv", "&3 3.kiv", "&4 2.kiv", "-"}));

    // The next start reads the list back from the profile.
    m_app.reset();
    EXPECT_EQ(QSettings().value("Recent File List/File4").toString(), docs[1]);
    NewApp();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->RecentFiles(), QStringList({docs[4], docs[3], docs[2], docs[1]}));

    // An entry that no longer opens leaves the list.
    QFile::remove(docs[4]);
    Frame().Execute(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_app->RecentFiles(), QStringList({docs[3], docs[2], docs[1]}));
    EXPECT_FALSE(Frame().Action(ID_FILE_MRU_FILE1 + 3)->isVisible());
}

TEST_F(ShellTest, ProgressWindowAndAboutBox) {
    CDftProgressDlg progress;
    progress.Open("");
    progress.SetPercent(40);
    EXPECT_EQ(progress.windowTitle(), "oblicznie DFT ");
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(progress.isModal());
    EXPECT_EQ(progress.PositionText(), "40");
    progress.Close();
    EXPECT_FALSE(progress.isVisible());
    // The transform names its window with a Polish source, shown in the chosen language.
    qputenv("KIV_LANG", "en");
    ASSERT_TRUE(LoadKivLanguage());
    progress.Open("oblicznie DFT ");
    EXPECT_EQ(progress.windowTitle(), "Computing the DFT");
    UnloadKivLanguage();
    qputenv("KIV_LANG", "pl");
    progress.Close();

    CAboutBox about;
    EXPECT_EQ(about.windowTitle(), "O programie...");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "Kiv Wersja 2.0");
    EXPECT_FALSE(about.findChild<QLabel*>("icon")->pixmap().isNull());
    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
}
