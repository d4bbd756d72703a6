// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <map>

// The key route QtTest takes: shortcuts first, as a key from the desktop would.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

// Both menu bars entry by entry; F10 opens the first menu of either.
TEST_F(ShellTest, MenuBarsHaveTheProgramsEntriesInOrder) {
    ASSERT_TRUE(Start());
    QApplication::setActiveWindow(&Frame());
    auto pressF10 = [&](bool document) {
        QObject* focus = QApplication::focusObject() ? QApplication::focusObject() : &Frame();
        EXPECT_TRUE(qt_sendShortcutOverrideEvent(focus, 0, Qt::Key_F10, Qt::NoModifier));
        QAction* first = Frame().MenuBarEntries(document).first();
        EXPECT_EQ(Frame().menuBar()->activeAction(), first) << document;
        EXPECT_EQ(QApplication::activePopupWidget(), first->menu()) << document;
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    };
    pressF10(true);
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(true));
    EXPECT_EQ(MenuTexts(Frame().MenuBarEntries(true)),
              QStringList({"&Plik >", "&Ustawienia >", "&Widok >", "&Generator", "&Okno >", "Pomo&c >"}));
    // No recent files yet: their two separators stand side by side.
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "&Plik")->actions()),
              QStringList({"&Nowy\tCtrl+N", "&Otwórz...\tCtrl+O", "O&twórz wykres\tCtrl+W",
                           "Pobieranie &ciągłe (Start/Stop)\tF5", "Zrzut ek&ranu oscyloskopu...", "&Zamknij",
                           "Z&apisz\tCtrl+S", "Zapisz &jako...", "&Kopiuj do schowka\tCtrl+C",
                           "&Importuj...\tCtrl+I", "&Eksportuj...\tCtrl+E", "-", "&Drukuj...\tCtrl+P",
                           "Podg&ląd wydruku", "&Ustawienia drukarki...", "-", "-", "&Wyjście"}));
    QMenu* settings = TopMenu(Frame(), true, "&Ustawienia");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(MenuTexts(settings->actions()),
              QStringList({"Wykres &1 >", "Wykres &2 >", "-", "Ustawienia skali osi &X...", "-",
                           "Wykres &oryginalny", "-", "&Wartość średnia i skuteczna", "-", "&Różniczka", "&Całka",
                           "Analiza &Fouriera", "-", "Tryb X&Y", "&Suma wykresów", "&Iloczyn  wykresów"}));
    // The two plot submenus read alike but carry their own commands.
    EXPECT_EQ(MenuTexts(settings->actions()[1]->menu()->actions()),
              QStringList({"Ustawienia &danych...", "Ustawienia &skali..."}));
    for (int i : {0, 1})
        EXPECT_EQ(settings->actions()[i]->menu()->actions(), QList<QAction*>({Frame().Action(ID_PLOT1_DATA + i),
                                                                              Frame().Action(ID_PLOT1_SCALE + i)}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "&Widok")->actions()),
              QStringList({"Pasek &narzędzi", "Pasek &statusu", "-", "&Kursor", "&Białe tło", "Kursor &przesunięcia",
                           "Po&miary", "&Wybierz pomiary…", "S&tatystyki pomiarów", "&Zeruj statystyki"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), true, "Pomo&c")->actions()), QStringList({"&O programie..."}));
    // The window menu lists the open documents when it opens.
    QMenu* window = TopMenu(Frame(), true, "&Okno");
    EXPECT_EQ(MenuTexts(window->actions()), QStringList({"&Kaskadowo", "&Sąsiadująco"}));
    emit window->aboutToShow();
    EXPECT_EQ(MenuTexts(window->actions()), QStringList({"&Kaskadowo", "&Sąsiadująco", "-", "&1 Kiv1"}));

    // With no document the short menu bar comes up.
    Frame().Execute(ID_FILE_CLOSE);
    pressF10(false);
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(false));
    EXPECT_EQ(MenuTexts(Frame().MenuBarEntries(false)), QStringList({"&Plik >", "&Widok >", "Pomo&c >"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Plik")->actions()),
              QStringList({"&Nowy\tCtrl+N", "&Otwórz...\tCtrl+O", "-", "&Ustawienia drukarki...", "-", "-",
                           "&Wyjście"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Widok")->actions()),
              QStringList({"Pasek &narzędzi", "Pasek &statusu"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "Pomo&c")->actions()), QStringList({"&O programie..."}));
    // The short menu bar's entries run the same commands.
    TopMenu(Frame(), false, "&Widok")->actions()[1]->trigger();
    EXPECT_TRUE(Frame().statusBar()->isHidden());
    EXPECT_EQ(State(ID_VIEW_STATUS_BAR), 'e');
    Frame().Execute(ID_FILE_NEW);
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(true));
}

// KIV_LANG picks the language of the window: the menu bar, a command and its prompts.
TEST_F(ShellTest, MenusSpeakTheChosenLanguage) {
    const struct { const char* lang; QStringList bar; const char* fetch; const char* tip; } cases[] = {
        {"en", {"&File >", "&Settings >", "&View >", "&Generator…", "&Window >", "&Help >"},
         "&Fetch Waveforms…\tCtrl+W", "Fetch Waveforms"},
        {"pl", {"&Plik >", "&Ustawienia >", "&Widok >", "&Generator", "&Okno >", "Pomo&c >"}, "O&twórz wykres\tCtrl+W",
         "Pobierz wykres"},
    };
    for (const auto& c : cases) {
        qputenv("KIV_LANG", c.lang);
        NewApp();
        ASSERT_TRUE(Start()) << c.lang;
        EXPECT_EQ(MenuTexts(Frame().MenuBarEntries(true)), c.bar) << c.lang;
        EXPECT_EQ(Frame().Action(ID_FETCH)->text(), QString::fromUtf8(c.fetch)) << c.lang;
        EXPECT_EQ(Frame().Action(ID_FETCH)->toolTip(), QString::fromUtf8(c.tip)) << c.lang;
        m_app->ExitInstance();
    }
    qputenv("KIV_LANG", "pl");
}

TEST_F(ShellTest, ToolbarButtonsTooltipsAndStatusPrompts) {
    ASSERT_TRUE(Start());
    QList<int> ids;
    for (QAction* a : Frame().ToolBar()->actions()) {
        ids << (a->isSeparator() ? 0 : a->property("kivCommand").toInt());
        if (a->isSeparator()) continue;
        // Every button has a picture: not one flat colour.
        QImage picture = a->icon().pixmap(QSize(16, 15)).toImage(), flat = picture;
        flat.fill(QColor::fromRgba(picture.pixel(0, 0)));
        EXPECT_NE(picture, flat) << ids.last();
    }
    EXPECT_EQ(ids, QList<int>({57600, 0, 32786, 32830, 57601, 57603, 0, 57634, 0, 57607, 0, 32771, 0, 32814, 32817, 0, 32774,
                               32775, 32777, 0, 32778, 32782, 32783, 0, 32794, 32795, 0, 32781, 32815, 32788, 0,
                               57664}));
    EXPECT_EQ(Frame().ToolBar()->iconSize(), QSize(16, 15));

    // The prompt's text before the newline is the status prompt, the rest the tooltip.
    const std::map<int, std::pair<const char*, const char*>> prompts = {
        {57600, {"Otwiera nowy dokument", "Nowy"}},
        {57602, {"Zamyka aktywny dokument", "Zamknij"}},
        {32812, {"Eksportuje do rożnych formatów plików", "Eksportuj"}},
        {32778, {"Wyśletla wykresy w trybie XY", "Tryb XY"}},
        {32782, {"Wyswietla sumę wykresów", "Suma wykresów"}},
        {32783, {"Wyświetla iloczyn wykresów", "Iloczyn wykresów"}},
        {32816, {"Włacza Matematyczny generator sygnałów", "Matematyczny generator sygnałów"}},
        {59393, {"Pokazuje lub ukrywa pasek statusu", "Pasek statusu"}},
        {32795, {"Włącza wykres 2", "Włącz wykres 2"}},
        {32817, {"Pokazuje pomiary automatyczne: częstotliwość, poziomy, wypełnienie, zbocza, THD", "Pomiary"}},
    };
    for (const auto& [id, prompt] : prompts) {
        EXPECT_EQ(Frame().Action(id)->statusTip(), QString::fromUtf8(prompt.first)) << id;
        EXPECT_EQ(Frame().Action(id)->toolTip(), QString::fromUtf8(prompt.second)) << id;
    }
    EXPECT_EQ(Frame().Action(ID_FILE_MRU_FILE1)->statusTip(), "Otwiera ten dokument");
    EXPECT_TRUE(Frame().Action(ID_PLOT1_DATA)->statusTip().isEmpty());

    // The one pane shows the prompt of what is pointed at, else "Gotowy".
    QStatusBar* bar = Frame().statusBar();
    Frame().Action(ID_MODE_FOURIER)->showStatusText(&Frame());
    EXPECT_EQ(bar->currentMessage(), "Wyświetla widmo częstotliwości");
    bar->clearMessage();
    EXPECT_EQ(bar->currentMessage(), "Gotowy");
    EXPECT_TRUE(bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
}

TEST_F(ShellTest, AcceleratorsAsTheKeyTableSays) {
    ASSERT_TRUE(Start());
    const std::map<int, QStringList> table = {
        {ID_EDIT_COPY, {"Ctrl+C", "Ctrl+Ins"}}, {ID_EXPORT, {"Ctrl+E"}}, {ID_IMPORT, {"Ctrl+I"}},
        {ID_FILE_NEW, {"Ctrl+N"}}, {ID_FILE_OPEN, {"Ctrl+O"}}, {ID_FILE_PRINT, {"Ctrl+P"}}, {ID_FILE_SAVE, {"Ctrl+S"}},
        {ID_FETCH, {"Ctrl+W"}}, {ID_RUN_FETCH, {"F5"}}, {ID_EDIT_PASTE, {"Ctrl+V", "Shift+Ins"}}, {ID_EDIT_CUT, {"Ctrl+X", "Shift+Del"}},
        {ID_EDIT_UNDO, {"Ctrl+Z", "Alt+Backspace"}}, {ID_NEXT_PANE, {"F6"}}, {ID_PREV_PANE, {"Shift+F6"}},
    };
    std::map<int, QStringList> bound;
    for (QAction* a : Frame().actions())
        for (const QKeySequence& k : a->shortcuts())
            bound[a->property("kivCommand").toInt()] << k.toString(QKeySequence::PortableText);
    EXPECT_EQ(bound.size(), table.size());  // no other command of ours has a key
    for (const auto& [id, keys] : table) EXPECT_EQ(bound[id], keys) << id;
    // Each key bound once in the whole window, the document window's own close key included,
    // so none is ambiguous.
    std::map<QString, int> count;
    for (QAction* a : Frame().actions() + Active()->systemMenu()->actions())
        for (const QKeySequence& k : a->shortcuts()) ++count[k.toString(QKeySequence::PortableText)];
    for (const auto& [key, n] : count) EXPECT_EQ(n, 1) << key.toStdString();
}
