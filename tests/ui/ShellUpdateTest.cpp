#include "ShellFixture.h"

namespace {

using Ids = std::initializer_list<int>;

// Commands whose features come with later work: in the menus, never enabled yet.
const int kNotYetThere[] = {ID_FETCH,       ID_IMPORT,      ID_EXPORT,       ID_GENERATOR,    ID_MEAN_RMS,
                            ID_PLOT1_DATA,  ID_PLOT2_DATA,  ID_AXIS_X_SCALE, ID_PLOT1_SCALE,  ID_PLOT2_SCALE,
                            ID_EDIT_PASTE,  ID_EDIT_CUT,    ID_EDIT_UNDO};
const int kModes[] = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_FOURIER,
                      ID_MODE_XY,       ID_MODE_SUM,        ID_MODE_PRODUCT};

}  // namespace

#define EXPECT_STATE(id, on, ticked)                  \
    do {                                              \
        const CmdState s = State(id);                 \
        EXPECT_EQ(s.enabled, on) << "enabled " << id; \
        EXPECT_EQ(s.checked, ticked) << "checked " << id; \
    } while (0)

TEST_F(ShellTest, RulesWithNoDocument) {
    ASSERT_TRUE(Start());
    Active()->close();
    for (int id : Ids{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT_SETUP, ID_APP_EXIT, ID_APP_ABOUT}) EXPECT_STATE(id, true, false);
    EXPECT_STATE(ID_VIEW_TOOLBAR, true, true);
    EXPECT_STATE(ID_VIEW_STATUS_BAR, true, true);
    // Nothing to act on: the document's and the view's commands are all off.
    for (int id : Ids{ID_FILE_SAVE, ID_FILE_CLOSE, ID_EDIT_COPY, ID_FILE_PRINT, ID_WHITE_BACKGROUND, ID_PLOT1_TOGGLE,
                   ID_WINDOW_CASCADE, ID_NEXT_PANE, ID_FILE_MRU_FILE1})
        EXPECT_STATE(id, false, false);
    for (int id : kModes) EXPECT_STATE(id, false, false);
    for (int id : kNotYetThere) EXPECT_STATE(id, false, false);

    Frame().Execute(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(Frame().statusBar()->isHidden());
    EXPECT_STATE(ID_VIEW_STATUS_BAR, true, false);
}

TEST_F(ShellTest, RulesForANewDocument) {
    ASSERT_TRUE(Start());
    for (int id : Ids{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_COPY,
                   ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ})
        EXPECT_STATE(id, true, false);
    // No data: no mode can be shown, the plain one is the current one.
    EXPECT_STATE(ID_MODE_ORIGINAL, false, true);
    for (int id : kModes)
        if (id != ID_MODE_ORIGINAL) EXPECT_STATE(id, false, false);
    EXPECT_STATE(ID_PLOT1_TOGGLE, false, false);
    EXPECT_STATE(ID_PLOT2_TOGGLE, false, false);
    EXPECT_STATE(ID_CURSOR, false, false);
    EXPECT_STATE(ID_OFFSET_CURSOR, false, false);
    EXPECT_STATE(ID_WHITE_BACKGROUND, true, false);
    for (int id : kNotYetThere) EXPECT_STATE(id, false, false);
    // A key of a disabled command does nothing.
    Frame().Execute(ID_MODE_FOURIER);
    EXPECT_EQ(Doc().m_currentMode, kModeOriginal);

    Frame().Execute(ID_WHITE_BACKGROUND);
    EXPECT_STATE(ID_WHITE_BACKGROUND, true, true);
}

TEST_F(ShellTest, RulesWithOneAndWithTwoPlots) {
    ASSERT_TRUE(Start());
    FillPlot(*Doc().m_pSource, 1, [](int i) { return 100 + i % 40; });
    Doc().DataChanged();
    for (int id : Ids{ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_FOURIER}) EXPECT_STATE(id, true, false);
    EXPECT_STATE(ID_MODE_ORIGINAL, true, true);
    for (int id : Ids{ID_MODE_XY, ID_MODE_SUM, ID_MODE_PRODUCT}) EXPECT_STATE(id, false, false);
    EXPECT_STATE(ID_PLOT1_TOGGLE, true, true);
    EXPECT_STATE(ID_PLOT2_TOGGLE, false, false);
    EXPECT_STATE(ID_CURSOR, true, false);
    EXPECT_STATE(ID_OFFSET_CURSOR, true, false);
    Frame().Execute(ID_MODE_XY);
    EXPECT_EQ(Doc().m_currentMode, kModeOriginal);

    FillPlot(*Doc().m_pSource, 2, [](int i) { return 100 - i % 40; });
    Doc().DataChanged();
    for (int id : Ids{ID_MODE_XY, ID_MODE_SUM, ID_MODE_PRODUCT}) EXPECT_STATE(id, true, false);
    EXPECT_STATE(ID_PLOT2_TOGGLE, true, true);
    for (int id : kNotYetThere) EXPECT_STATE(id, false, false);

    // Through the toolbar's button: XY becomes the checked mode, the cursor goes off.
    Frame().Action(ID_MODE_XY)->trigger();
    EXPECT_EQ(Doc().m_currentMode, kModeXY);
    EXPECT_STATE(ID_MODE_XY, true, true);
    EXPECT_STATE(ID_MODE_ORIGINAL, true, false);
    EXPECT_STATE(ID_CURSOR, false, false);
    EXPECT_STATE(ID_OFFSET_CURSOR, false, false);

    // Plot 2 off: it still holds data, so its button stays enabled, unchecked; XY goes.
    Frame().Execute(ID_PLOT2_TOGGLE);
    EXPECT_STATE(ID_PLOT2_TOGGLE, true, false);
    EXPECT_STATE(ID_MODE_XY, false, true);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(ShellTest, RulesFollowTheActiveDocument) {
    ASSERT_TRUE(Start());
    FillPlot(*Doc().m_pSource, 1, [](int) { return 120; });
    Doc().DataChanged();
    EXPECT_STATE(ID_PLOT1_TOGGLE, true, true);
    Frame().Execute(ID_FILE_NEW);
    EXPECT_EQ(Active()->GetTitle(), "Kiv2");
    EXPECT_STATE(ID_PLOT1_TOGGLE, false, false);
    Frame().Execute(ID_NEXT_PANE);
    EXPECT_EQ(Active()->GetTitle(), "Kiv1");
    EXPECT_STATE(ID_PLOT1_TOGGLE, true, true);
}
