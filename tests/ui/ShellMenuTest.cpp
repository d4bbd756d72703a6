#include "ShellFixture.h"

#include <QKeySequence>
#include <QLabel>
#include <set>

TEST_F(ShellTest, DocumentMenuBarHasTheProgramsEntriesInOrder) {
    ASSERT_TRUE(Start());
    Frame().UpdateFrame();
    ASSERT_TRUE(Frame().ShowsDocumentMenu());
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(true));
    EXPECT_EQ(MenuTexts(Frame().MenuBarEntries(true)),
              QStringList({"&Plik >", "Ustawienia >", "&Widok >", "Generator", "&Okno >", "P&omoc >"}));

    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "&Plik")->actions()),
              QStringList({"&Nowy\tCtrl+N", "&Otwórz...\tCtrl+O", "O&twórz wykres\tCtrl+W", "&Zamknij",
                           "Z&apisz\tCtrl+S", "Zapisz jako...", "&Kopiuj do schowka\tCtrl+C", "Importuj\tCtrl+I",
                           "Eksportuj\tCtrl+E", "-", "&Drukuj...\tCtrl+P", "Podgląd wydruku",
                           "Ustawienia drukarki...", "-", "Ostatni plik", "-", "&Wyjście"}));
    QMenu* settings = TopMenu(Frame(), true, "Ustawienia");
    EXPECT_EQ(MenuTexts(settings->actions()),
              QStringList({"Wykres 1 >", "Wykres 2 >", "-", "Ustawienia skali osi X", "-", "Wykres oryginalny", "-",
                           "Wartość średnia i skuteczna", "-", "Różniczka", "Całka", "Analiza Fouriera", "-",
                           "Tryb XY", "Suma wykresów", "Iloczyn  wykresów"}));
    // The two plot submenus read alike but carry their own commands.
    EXPECT_EQ(settings->actions()[0]->menu()->actions(), QList<QAction*>({Frame().Action(ID_PLOT1_DATA),
                                                                          Frame().Action(ID_PLOT1_SCALE)}));
    EXPECT_EQ(settings->actions()[1]->menu()->actions(), QList<QAction*>({Frame().Action(ID_PLOT2_DATA),
                                                                          Frame().Action(ID_PLOT2_SCALE)}));
    EXPECT_EQ(MenuTexts(settings->actions()[1]->menu()->actions()),
              QStringList({"Ustawienia danych", "Ustawienia skali"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "&Widok")->actions()),
              QStringList({"Pasek narzędzi", "Pasek statusu", "-", "Kursor", "Białe tło", "Kursor przesunięcia"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "&Okno")->actions()), QStringList({"&Kaskadowo", "&Sąsiadująco"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "P&omoc")->actions()), QStringList({"&O programie..."}));

    // The window menu lists the open documents when it opens.
    emit TopMenu(Frame(), true, "&Okno")->aboutToShow();
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "&Okno")->actions()),
              QStringList({"&Kaskadowo", "&Sąsiadująco", "-", "&1 Kiv1"}));
}

TEST_F(ShellTest, MenuBarWithoutDocumentAndBack) {
    ASSERT_TRUE(Start());
    Active()->close();
    Frame().UpdateFrame();
    EXPECT_FALSE(Frame().ShowsDocumentMenu());
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(false));
    EXPECT_EQ(MenuTexts(Frame().MenuBarEntries(false)), QStringList({"&Plik >", "&Widok >", "&Pomoc >"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Plik")->actions()),
              QStringList({"&Nowy\tCtrl+N", "&Otwórz...\tCtrl+O", "-", "&Ustawienia drukarki...", "-",
                           "Ostatni plik", "-", "&Wyjście"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Widok")->actions()), QStringList({"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Pomoc")->actions()), QStringList({"&O programie..."}));
    // Entries with a text of their own still run their command.
    QAction* toolbar = TopMenu(Frame(), false, "&Widok")->actions()[0];
    EXPECT_EQ(toolbar->statusTip(), "Show or hide the toolbar");
    toolbar->trigger();
    EXPECT_TRUE(Frame().ToolBar()->isHidden());

    Frame().Execute(ID_FILE_NEW);
    EXPECT_TRUE(Frame().ShowsDocumentMenu());
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(true));
}

TEST_F(ShellTest, ToolbarButtonsSeparatorsAndPictures) {
    ASSERT_TRUE(Start());
    QList<int> ids;
    for (QAction* a : Frame().ToolBar()->actions()) ids << (a->isSeparator() ? 0 : a->property("kivCommand").toInt());
    EXPECT_EQ(ids, QList<int>({57600, 0, 32786, 57601, 57603, 0, 57634, 0, 57607, 0, 32771, 0, 32814, 0, 32774,
                               32775, 32777, 0, 32778, 32782, 32783, 0, 32794, 32795, 0, 32781, 32815, 32788, 0,
                               57664}));
    EXPECT_EQ(Frame().ToolBar()->iconSize(), QSize(16, 15));
    for (QAction* a : Frame().ToolBar()->actions()) {
        if (a->isSeparator()) continue;
        const QImage picture = a->icon().pixmap(QSize(16, 15)).toImage();
        ASSERT_FALSE(picture.isNull()) << a->toolTip().toStdString();
        // Something is drawn: not one flat colour.
        const QRgb first = picture.pixel(0, 0);
        bool drawn = false;
        for (int y = 0; y < picture.height() && !drawn; ++y)
            for (int x = 0; x < picture.width() && !drawn; ++x) drawn = picture.pixel(x, y) != first;
        EXPECT_TRUE(drawn) << a->toolTip().toStdString();
    }
}

TEST_F(ShellTest, StatusPromptsAndTooltipsSplitAtTheNewline) {
    ASSERT_TRUE(Start());
    struct Prompt {
        int id;
        const char *status, *tip;
    };
    const Prompt prompts[] = {
        {57600, "Otwiera nowy dokument", "Nowy"},
        {32786, "Pobiera wykres", "Pobierz wykres"},
        {57602, "Close the active document", "Close"},
        {32812, "Eksportuje do rożnych formatów plików", "Eksportuj"},
        {32778, "Wyśletla wykresy w trybie XY", "Tryb XY"},
        {32782, "Wyswietla sumę wykresów", "Suma wykresów"},
        {32816, "Włacza Matematyczny generator sygnałów", "Matematyczny generator sygnałów"},
        {59393, "Show or hide the status bar", "Toggle StatusBar"},
        {57664, "O programie...", "O programie..."},
        {32795, "Włącza wykres 2", "Włącz wykres 2"},
    };
    for (const Prompt& p : prompts) {
        EXPECT_EQ(Frame().Action(p.id)->statusTip(), QString::fromUtf8(p.status)) << p.id;
        EXPECT_EQ(Frame().Action(p.id)->toolTip(), QString::fromUtf8(p.tip)) << p.id;
    }
    EXPECT_EQ(Frame().Action(ID_FILE_MRU_FILE1)->statusTip(), "Open this document");
    EXPECT_TRUE(Frame().Action(ID_PLOT1_DATA)->statusTip().isEmpty());

    // The one pane shows the prompt of what is pointed at, else "Gotowy".
    QStatusBar* bar = Frame().statusBar();
    EXPECT_EQ(bar->currentMessage(), "Gotowy");
    Frame().Action(ID_MODE_FOURIER)->showStatusText(&Frame());
    EXPECT_EQ(bar->currentMessage(), "Wyświetla widmo częstotliwości");
    bar->clearMessage();
    EXPECT_EQ(bar->currentMessage(), "Gotowy");
    EXPECT_TRUE(bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
}

TEST_F(ShellTest, AcceleratorsAsTheKeyTableSays) {
    ASSERT_TRUE(Start());
    auto keys = [&](int id) {
        QStringList out;
        for (const QKeySequence& k : Frame().Action(id)->shortcuts()) out << k.toString(QKeySequence::PortableText);
        return out;
    };
    EXPECT_EQ(keys(ID_EDIT_COPY), QStringList({"Ctrl+C", "Ctrl+Ins"}));
    EXPECT_EQ(keys(ID_EXPORT), QStringList({"Ctrl+E"}));
    EXPECT_EQ(keys(ID_IMPORT), QStringList({"Ctrl+I"}));
    EXPECT_EQ(keys(ID_FILE_NEW), QStringList({"Ctrl+N"}));
    EXPECT_EQ(keys(ID_FILE_OPEN), QStringList({"Ctrl+O"}));
    EXPECT_EQ(keys(ID_FILE_PRINT), QStringList({"Ctrl+P"}));
    EXPECT_EQ(keys(ID_FILE_SAVE), QStringList({"Ctrl+S"}));
    EXPECT_EQ(keys(ID_FETCH), QStringList({"Ctrl+W"}));
    EXPECT_EQ(keys(ID_EDIT_PASTE), QStringList({"Ctrl+V", "Shift+Ins"}));
    EXPECT_EQ(keys(ID_EDIT_CUT), QStringList({"Ctrl+X", "Shift+Del"}));
    EXPECT_EQ(keys(ID_EDIT_UNDO), QStringList({"Ctrl+Z", "Alt+Backspace"}));
    EXPECT_EQ(keys(ID_NEXT_PANE), QStringList({"F6"}));
    EXPECT_EQ(keys(ID_PREV_PANE), QStringList({"Shift+F6"}));

    // Seventeen keys in all, each bound once in the whole window, so none is ambiguous;
    // the document window's own close key does not take Ctrl+W.
    std::multiset<QString> bound;
    QList<QAction*> all = Frame().actions();
    for (QAction* a : Active()->systemMenu()->actions()) all << a;
    for (QAction* a : all)
        for (const QKeySequence& k : a->shortcuts()) bound.insert(k.toString(QKeySequence::PortableText));
    EXPECT_EQ(bound.count("Ctrl+W"), 1u);
    size_t ours = 0;
    for (QAction* a : Frame().actions()) ours += a->shortcuts().size();
    EXPECT_EQ(ours, 17u);
    for (const QString& k : bound) EXPECT_EQ(bound.count(k), 1u) << k.toStdString();
}
