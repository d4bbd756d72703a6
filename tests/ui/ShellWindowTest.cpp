// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <QApplication>
#include <QWindow>

namespace {

// The title as the desktop shows it: Qt turns "[*]" into "*" for a modified document, else drops it.
QString ShownTitle(const CMainFrame& frame) { return frame.windowHandle() ? frame.windowHandle()->title() : "?"; }

}  // namespace

// Every document window opens maximised, also when the others have been cascaded. The title
// reads "Kiv - [title]" while the active document's window is maximised, "Kiv - title" when
// it is not, "Kiv" with none. Cascade: one size for all, at least two thirds of the area each
// way, each window one title bar lower and further right than the one beneath, the active one
// on top. Tile: rows across the whole area, in two columns from four windows on.
TEST_F(ShellTest, DocumentWindowsTitleCascadeAndTile) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().windowState() & Qt::WindowMaximized);
    ASSERT_EQ(Frame().Children().size(), 1);
    EXPECT_TRUE(Active()->isMaximized());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Gotowy");
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv1]");
    Frame().Execute(ID_FILE_NEW);
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv2]");
    Frame().MdiArea()->setActiveSubWindow(Frame().Children()[0]);
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv1]");
    Active()->SetPathName(Path("pomiar.kiv"));  // as a save under a new name does
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [pomiar.kiv]");
    Frame().Execute(ID_WINDOW_CASCADE);
    for (CChildFrame* child : Frame().Children()) EXPECT_FALSE(child->isMaximized());
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - pomiar.kiv");
    Frame().MdiArea()->setActiveSubWindow(Frame().Children()[1]);
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - Kiv2");
    Active()->showMaximized();
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv2]");
    Frame().Execute(ID_WINDOW_CASCADE);
    Frame().Execute(ID_FILE_NEW);
    EXPECT_TRUE(Active()->isMaximized());
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv3]");

    const QRect area = Frame().MdiArea()->viewport()->rect();
    Frame().Execute(ID_WINDOW_CASCADE);
    const QList<QMdiSubWindow*> stack = Frame().MdiArea()->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(stack.size(), 3);
    EXPECT_EQ(stack.last(), Active());
    const QSize size = stack[0]->size();
    EXPECT_GE(size.width() * 3, area.width() * 2);
    EXPECT_GE(size.height() * 3, area.height() * 2);
    const int step = stack[1]->x() - stack[0]->x();
    EXPECT_GE(step, stack[0]->widget()->y());  // every title bar shows in full
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stack[i]->geometry(), QRect(QPoint(i * step, i * step), size)) << i;
        EXPECT_TRUE(area.contains(stack[i]->geometry())) << i;
    }

    // The topmost window first, then those below it.
    Frame().Execute(ID_WINDOW_TILE_HORZ);
    const int h = area.height() / 3;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(stack[2 - i]->geometry(), QRect(0, i * h, area.width(), h)) << i;
    Frame().Execute(ID_FILE_NEW);
    Frame().Execute(ID_WINDOW_TILE_HORZ);
    QList<QRect> tiles;
    for (QMdiSubWindow* window : Frame().MdiArea()->subWindowList(QMdiArea::StackingOrder))
        tiles.prepend(window->geometry());
    const int w = area.width() / 2, h2 = area.height() / 2;
    EXPECT_EQ(tiles, QList<QRect>({{0, 0, w, h2}, {0, h2, w, h2}, {w, 0, w, h2}, {w, h2, w, h2}}));

    for (CChildFrame* child : Frame().Children()) child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_TRUE(Frame().Children().isEmpty());
    EXPECT_EQ(ShownTitle(Frame()), "Kiv");
}

// A modified document is marked "*" in its window's title and in the main window's until it is saved:
// after a command that edits it (a fetch, an import, the generator, a plot toggled) and, at the next
// idle refresh, after an edit outside any command (a cursor drag).
TEST_F(ShellTest, TitlesMarkAModifiedDocument) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv1]");
    FillPlot(*Doc().m_pSource, 1, [](int i) { return 100 + i % 50; });
    Frame().Execute(ID_PLOT1_TOGGLE);
    EXPECT_TRUE(Active()->isWindowModified());
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - [Kiv1*]");
    Frame().Execute(ID_WINDOW_CASCADE);
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - Kiv1*");
    ASSERT_TRUE(Active()->DoSave(Path("a.kiv")));
    EXPECT_FALSE(Active()->isWindowModified());
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - a.kiv");
    Doc().SetModifiedFlag();
    Frame().UpdateFrame();
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - a.kiv*");
    // A name with Qt's mark in it keeps it.
    Active()->SetPathName(Path("b[*].kiv"));
    EXPECT_EQ(ShownTitle(Frame()), "Kiv - b[*].kiv*");
}
