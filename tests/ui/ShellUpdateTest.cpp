// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <map>

namespace {

// Each command's state through the phases of the test below: a new empty document beside
// another, plot 1 filled, Fourier, plot 2 filled too, XY, plot 2 off in XY, no document.
// x enabled and checked, e enabled, c checked but disabled, - neither.
const struct { std::vector<int> ids; const char* states; } kRules[] = {
    {{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT_SETUP, ID_APP_EXIT, ID_APP_ABOUT}, "eeeeeee"},
    {{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}, "xxxxxxx"},
    {{ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_COPY, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
      ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WHITE_BACKGROUND, ID_IMPORT, ID_GENERATOR, ID_FETCH},
     "eeeeee-"},
    // The keys nothing answers: paste, cut, undo, and F6 / Shift+F6 with no split panes; no recent files.
    {{ID_EDIT_PASTE, ID_EDIT_CUT, ID_EDIT_UNDO, ID_NEXT_PANE, ID_PREV_PANE, ID_FILE_MRU_FILE1}, "-------"},
    // The plain mode is the current one even while no mode can be shown.
    {{ID_MODE_ORIGINAL}, "cxexee-"},
    {{ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_EXPORT, ID_PLOT1_DATA, ID_PLOT1_SCALE, ID_AXIS_X_SCALE}, "-eeeee-"},
    {{ID_MODE_FOURIER}, "-exeee-"},
    {{ID_MODE_XY}, "---exc-"},
    {{ID_MODE_SUM, ID_MODE_PRODUCT, ID_PLOT2_SCALE}, "---ee--"},
    {{ID_PLOT1_TOGGLE}, "-xxxxx-"},
    // Plot 2 off still holds data: its button and its data settings stay enabled.
    {{ID_PLOT2_TOGGLE}, "---xxe-"},
    {{ID_PLOT2_DATA}, "---eee-"},
    {{ID_CURSOR}, "-eee---"},
    {{ID_OFFSET_CURSOR}, "-e-e---"},
    {{ID_MEAN_RMS}, "-e-eee-"},
};

}  // namespace

TEST_F(ShellTest, CommandRulesThroughADocumentsLife) {
    ASSERT_TRUE(Start());
    std::map<int, std::string> seen;
    auto record = [&] {
        for (const auto& rule : kRules)
            for (int id : rule.ids) seen[id] += State(id);
    };
    Frame().Execute(ID_FILE_NEW);
    record();
    // Two documents, yet F6 has no pane to go to.
    Frame().Execute(ID_NEXT_PANE);
    EXPECT_EQ(Active()->GetTitle(), "Kiv2");
    // A key of a disabled command does nothing.
    Frame().Execute(ID_MODE_FOURIER);
    EXPECT_EQ(Doc().m_currentMode, kModeOriginal);

    FillPlot(*Doc().m_pSource, 1, [](int i) { return 100 + i % 40; });
    Doc().DataChanged();
    record();
    Frame().Execute(ID_MODE_FOURIER);
    record();
    Frame().Execute(ID_MODE_ORIGINAL);
    // The rules run again as a menu opens, without waiting for the idle refresh.
    FillPlot(*Doc().m_pSource, 2, [](int i) { return 100 - i % 40; });
    Doc().DataChanged();
    emit TopMenu(Frame(), true, "&Ustawienia")->aboutToShow();
    EXPECT_TRUE(Frame().Action(ID_MODE_XY)->isEnabled());
    record();
    // Through the toolbar's buttons.
    Frame().Action(ID_MODE_XY)->trigger();
    record();
    Frame().Action(ID_PLOT2_TOGGLE)->trigger();
    record();
    EXPECT_TRUE(Doc().IsModified());  // what the document shows has changed: closing asks

    // The rules follow the active document.
    Frame().MdiArea()->setActiveSubWindow(Frame().Children().first());
    EXPECT_EQ(State(ID_PLOT1_TOGGLE), '-');
    Frame().Execute(ID_WHITE_BACKGROUND);
    EXPECT_EQ(State(ID_WHITE_BACKGROUND), 'x');
    EXPECT_TRUE(Active()->GetView()->WhiteBackground());

    m_messages.answers = {MsgResult::No, MsgResult::No};
    for (CChildFrame* child : Frame().Children()) child->close();
    record();
    for (const auto& rule : kRules)
        for (int id : rule.ids) EXPECT_EQ(seen[id], rule.states) << id;
}
