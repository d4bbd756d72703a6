#include "ShellFixture.h"

namespace {

using Ids = std::initializer_list<int>;

// The keys nothing answers: paste, cut, undo, and F6 / Shift+F6 with no split panes.
const Ids kNeverEnabled = {ID_EDIT_PASTE, ID_EDIT_CUT, ID_EDIT_UNDO, ID_NEXT_PANE, ID_PREV_PANE};
// Need a plot that holds data or is on.
const Ids kNeedData = {ID_EXPORT,     ID_MEAN_RMS,    ID_PLOT1_DATA, ID_PLOT2_DATA,
                       ID_AXIS_X_SCALE, ID_PLOT1_SCALE, ID_PLOT2_SCALE};
const Ids kModes = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_FOURIER,
                    ID_MODE_XY,       ID_MODE_SUM,        ID_MODE_PRODUCT};

}  // namespace

TEST_F(ShellTest, MenuBarAndRulesWithNoDocument) {
    ASSERT_TRUE(Start());
    Active()->close();
    Frame().UpdateFrame();
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(false));
    EXPECT_EQ(MenuTexts(Frame().MenuBarEntries(false)), QStringList({"&Plik >", "&Widok >", "&Pomoc >"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Plik")->actions()),
              QStringList({"&Nowy\tCtrl+N", "&Otwórz...\tCtrl+O", "-", "&Ustawienia drukarki...", "-", "-",
                           "&Wyjście"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Widok")->actions()), QStringList({"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(MenuTexts(TopMenu(Frame(), false, "&Pomoc")->actions()), QStringList({"&O programie..."}));

    for (int id : Ids{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT_SETUP, ID_APP_EXIT, ID_APP_ABOUT})
        ExpectState(id, true, false);
    for (int id : Ids{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) ExpectState(id, true, true);
    for (int id : Ids{ID_FILE_SAVE, ID_FILE_CLOSE, ID_EDIT_COPY, ID_FILE_PRINT, ID_WHITE_BACKGROUND, ID_PLOT1_TOGGLE,
                      ID_WINDOW_CASCADE, ID_FILE_MRU_FILE1})
        ExpectState(id, false, false);
    for (int id : kModes) ExpectState(id, false, false);

    // An entry with a text of its own still runs its command.
    TopMenu(Frame(), false, "&Widok")->actions()[1]->trigger();
    EXPECT_TRUE(Frame().statusBar()->isHidden());
    ExpectState(ID_VIEW_STATUS_BAR, true, false);

    Frame().Execute(ID_FILE_NEW);
    EXPECT_EQ(Frame().menuBar()->actions(), Frame().MenuBarEntries(true));
}

TEST_F(ShellTest, RulesForANewDocument) {
    ASSERT_TRUE(Start());
    Frame().Execute(ID_FILE_NEW);
    for (int id : Ids{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_COPY, ID_FILE_PRINT,
                      ID_FILE_PRINT_PREVIEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WHITE_BACKGROUND, ID_IMPORT,
                      ID_GENERATOR, ID_FETCH})
        ExpectState(id, true, false);
    // No data: no mode can be shown, the plain one is the current one.
    for (int id : kModes) ExpectState(id, false, id == ID_MODE_ORIGINAL);
    for (int id : Ids{ID_PLOT1_TOGGLE, ID_PLOT2_TOGGLE, ID_CURSOR, ID_OFFSET_CURSOR}) ExpectState(id, false, false);
    for (int id : kNeedData) ExpectState(id, false, false);
    // Two documents, yet F6 has no pane to go to.
    for (int id : kNeverEnabled) ExpectState(id, false, false);
    Frame().Execute(ID_NEXT_PANE);
    EXPECT_EQ(Active()->GetTitle(), "Kiv2");
    // A key of a disabled command does nothing.
    Frame().Execute(ID_MODE_FOURIER);
    EXPECT_EQ(Doc().m_currentMode, kModeOriginal);

    Frame().Execute(ID_WHITE_BACKGROUND);
    ExpectState(ID_WHITE_BACKGROUND, true, true);
    EXPECT_TRUE(Active()->GetView()->m_bWhiteBackground);
}

TEST_F(ShellTest, RulesWithOneAndWithTwoPlots) {
    ASSERT_TRUE(Start());
    FillPlot(*Doc().m_pSource, 1, [](int i) { return 100 + i % 40; });
    Doc().DataChanged();
    for (int id : Ids{ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_FOURIER, ID_CURSOR, ID_OFFSET_CURSOR, ID_EXPORT,
                      ID_MEAN_RMS, ID_PLOT1_DATA, ID_AXIS_X_SCALE, ID_PLOT1_SCALE})
        ExpectState(id, true, false);
    for (int id : Ids{ID_MODE_ORIGINAL, ID_PLOT1_TOGGLE}) ExpectState(id, true, true);
    for (int id : Ids{ID_MODE_XY, ID_MODE_SUM, ID_MODE_PRODUCT, ID_PLOT2_TOGGLE, ID_PLOT2_DATA, ID_PLOT2_SCALE})
        ExpectState(id, false, false);
    Frame().Execute(ID_MODE_FOURIER);
    ExpectState(ID_MEAN_RMS, false, false);
    Frame().Execute(ID_MODE_ORIGINAL);

    // The rules run again as a menu opens, without waiting for the idle refresh.
    FillPlot(*Doc().m_pSource, 2, [](int i) { return 100 - i % 40; });
    Doc().DataChanged();
    emit TopMenu(Frame(), true, "Ustawienia")->aboutToShow();
    EXPECT_TRUE(Frame().Action(ID_MODE_XY)->isEnabled());
    for (int id : Ids{ID_MODE_XY, ID_MODE_SUM, ID_MODE_PRODUCT}) ExpectState(id, true, false);
    ExpectState(ID_PLOT2_TOGGLE, true, true);
    for (int id : kNeverEnabled) ExpectState(id, false, false);

    // Through the toolbar's button: XY becomes the checked mode, the cursors go off.
    Frame().Action(ID_MODE_XY)->trigger();
    ExpectState(ID_MODE_XY, true, true);
    ExpectState(ID_MODE_ORIGINAL, true, false);
    for (int id : Ids{ID_CURSOR, ID_OFFSET_CURSOR}) ExpectState(id, false, false);

    // Plot 2 off: it still holds data, so its button stays enabled, unchecked; XY goes.
    Frame().Action(ID_PLOT2_TOGGLE)->trigger();
    ExpectState(ID_PLOT2_TOGGLE, true, false);
    ExpectState(ID_MODE_XY, false, true);
    EXPECT_TRUE(Doc().IsModified());  // what the document shows has changed: closing asks

    // The rules follow the active document.
    Frame().Execute(ID_FILE_NEW);
    ExpectState(ID_PLOT1_TOGGLE, false, false);
    Frame().MdiArea()->setActiveSubWindow(Frame().Children().first());
    ExpectState(ID_PLOT1_TOGGLE, true, true);
}
