// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ui/CFourierPanelDlg.h"
#include "app/CommandIds.h"
#include "support/ViewFixture.h"
#include "view/ui/CCursorPanel.h"

TEST_F(ViewMouse, CursorDragsReadOutsAndClamps) {
    commands.OnCommand(ID_CURSOR);
    QImage screen = view.ScreenPicture();
    // Cursor 1 at index 0, cursor 2 at 4000, each drawn up to the top edge, not on it.
    for (auto [x, y, inverted] : {std::tuple{60, 300, true}, {780, 300, true}, {780, 20, false}})
        EXPECT_EQ(Inverted(screen, x, y), inverted) << x << "," << y;

    // Cursor 2 to plot x 360, cursor 1 past it at 540: the difference turns negative.
    doc.GetFourierMode()->m_bReady = 1;
    Drag(780, 300, 420, 310);
    EXPECT_EQ(doc.m_nCursor2, 2000);
    EXPECT_EQ(doc.GetFourierMode()->m_bReady, 0);
    doc.m_nCursor1 = 3000;
    view.ScreenPicture();
    ASSERT_TRUE(view.CursorPanel());
    // Times at cursors 1 and 2 in 1 ms steps and 2 - 1; code 150 at 0.02 V at both.
    for (auto [id, text] :
         {std::pair{1044, "3.00 "}, {1046, "2.00 "}, {1048, "-1.00 "}, {1043, "1.00 "}, {1047, "0.000 "}})
        EXPECT_EQ(view.CursorPanel()->FieldText(id).toStdString(), text) << id;

    // Both on one pixel: one inversion, not two.
    Drag(601, 300, 420, 300);
    screen = view.ScreenPicture();
    EXPECT_EQ(doc.m_nCursor1, 2000);
    EXPECT_TRUE(Inverted(screen, 420, 300));

    // Hidden cursors are still grabbed within 2 pixels, cursor 2 before cursor 1; past the
    // edges they pin at 0 and 4000.
    commands.OnCommand(ID_CURSOR);
    Drag(422, 300, 900, 300);
    EXPECT_EQ(doc.m_nCursor2, 4000);
    Drag(420, 300, 5, 300);
    EXPECT_EQ(doc.m_nCursor1, 0);
    view.ScreenPicture();
    EXPECT_FALSE(view.CursorPanel());  // hidden cursors need no panel
}

TEST_F(ViewMouse, RubberBandZoomAndResetClick) {
    CData& mode = *doc.GetCurrentMode();
    Send(QEvent::MouseButtonPress, 100, 100);
    Send(QEvent::MouseMove, 300, 110);
    const QImage screen = view.ScreenPicture();
    // The outline inverted, its right edge left out.
    for (auto [x, y, inverted] : {std::tuple{200, 100, true}, {100, 105, true}, {299, 105, true}, {300, 105, false}})
        EXPECT_EQ(Inverted(screen, x, y), inverted) << x << "," << y;
    // 10 pixels are 3 code units: too flat, nothing changes.
    Send(QEvent::MouseButtonRelease, 300, 110, Qt::NoButton);
    EXPECT_FALSE(mode.IsZoomed());

    Drag(60 + 540, 20 + 477, 60 + 180, 20 + 53);  // corners in either order
    EXPECT_TRUE(mode.IsZoomed());
    EXPECT_EQ(std::tuple(mode.m_window.left, mode.m_window.top, mode.m_window.right), std::tuple(1000, 19, 3000));
    EXPECT_EQ(view.RedrawPending(), 1);
    Drag(400, 300, 400, 300);  // a click
    EXPECT_FALSE(mode.IsZoomed());
}

// A code v stands at y = trunc(550 - v * 530 * 0.005f), the float widened: 150 at
// 152.5000089, 50 at 417.5000030, 100 at 285.0000059, 250 at -112.4999852 above the plot.
TEST_F(ViewMouse, OffsetMarkerDragShiftsThePlot) {
    commands.OnCommand(ID_OFFSET_CURSOR);
    view.ScreenPicture();
    const COffsetMarkerItem &m1 = view.OffsetMarker(1), &m2 = view.OffsetMarker(2);
    EXPECT_EQ(std::tuple(m1.m_nX, m1.m_nTop, m1.m_nBottom), std::tuple(57, 152, 417));

    // A press and release without a move changes nothing.
    Drag(57, 300, 57, 300);
    EXPECT_EQ(doc.Source().m_bOffset1, 0);

    // One division down (66 pixels) is 25 codes down.
    Send(QEvent::MouseButtonPress, 57, 300);
    Send(QEvent::MouseMove, 57, 366);
    EXPECT_EQ(m1.m_nDelta, -25);
    EXPECT_EQ(view.ScreenPicture().pixel(300, 152 + 66), qRgb(50, 150, 255));  // dotted guide line, first dot
    Send(QEvent::MouseButtonRelease, 57, 366, Qt::NoButton);
    EXPECT_EQ(doc.Source().m_bOffset1, 1);
    EXPECT_EQ(doc.Source().m_nOffset1, -25);
    EXPECT_EQ(doc.Source().m_nShown1[0], 25);

    // Plot 2 starts off the scale: its bar (x = 97, plot 1's at 94 now) stops at the plot's
    // top. Above that there is nothing to grab, and a one-pixel move is less than a code.
    FillPlot(doc.Source(), 2, [](int i) { return i == 0 ? 250 : 100; });
    doc.DataChanged();
    view.ScreenPicture();
    EXPECT_EQ(std::tuple(m1.m_nX, m2.m_nX, m2.m_nTop, m2.m_nBottom), std::tuple(94, 97, 20, 285));
    Drag(97, 19, 97, 60);
    EXPECT_EQ(doc.Source().m_bOffset2, 0);
    Send(QEvent::MouseButtonPress, 97, 100);
    Send(QEvent::MouseMove, 97, 101);
    EXPECT_EQ(m2.m_nDelta, 0);
    Send(QEvent::MouseButtonRelease, 97, 101, Qt::NoButton);

    // Switched off, the bars are neither drawn nor there to grab.
    commands.OnCommand(ID_OFFSET_CURSOR), view.ScreenPicture();
    Send(QEvent::MouseMove, 97, 100, Qt::NoButton);
    EXPECT_EQ(view.Hit() & (HIT_MARKER1 | HIT_MARKER2), 0);
}

TEST_F(ViewMouse, FourierClickSelectsAHarmonicAndPanelsFollowTheMode) {
    // Millisecond samples: the harmonic's frequency reads in hertz.
    FillPlot(doc.Source(), 1, [](int i) { return 100 + static_cast<int>(std::lround(60 * std::sin(i * 0.0157))); },
             {-1, 's', 1.0});
    doc.DataChanged();
    commands.OnCommand(ID_CURSOR), view.ScreenPicture();
    ASSERT_TRUE(view.CursorPanel());

    doc.SetMode(kModeFourier);
    Send(QEvent::MouseButtonPress, 60 + 140, 300);
    Send(QEvent::MouseButtonRelease, 60 + 140, 300, Qt::NoButton);
    view.ScreenPicture();
    EXPECT_FALSE(view.CursorPanel());
    ASSERT_TRUE(view.FourierPanel());
    for (auto [id, text] : {std::pair{1044, "10"}, {1027, "Wykres pierwszy"}, {1045, "2.50 Hz"}})  // 10 / 3.999 s
        EXPECT_EQ(view.FourierPanel()->FieldText(id).toStdString(), text) << id;
    EXPECT_EQ(doc.GetCurrentMode()->m_window.right, 4000);  // a click in Fourier mode is no zoom

    // At the view's bottom-right corner, hidden while another view is active.
    EXPECT_EQ(view.FourierPanel()->geometry().bottomRight(), view.viewport()->rect().bottomRight());
    view.OnActivateView(false);
    EXPECT_FALSE(view.FourierPanel()->isVisible());
    view.OnActivateView(true);
    view.ScreenPicture();
    EXPECT_TRUE(view.FourierPanel()->isVisible());

    // Two curves: the two-plot panel, each plot's row in its own unit (0.5 V, 40 uV); XY: none.
    FillPlot(doc.Source(), 1, [](int) { return 125; }, {-1, 's', 1.0});
    FillPlot(doc.Source(), 2, [](int) { return 120; }, {-1, 's', 1.0}, {-2, 'V', 2.0});
    doc.DataChanged();
    doc.SetMode(kModeOriginal);
    view.ScreenPicture();
    EXPECT_FALSE(view.FourierPanel());
    ASSERT_TRUE(view.CursorPanel() && view.CursorPanel()->Curves() == 2);
    for (auto [id, text] : {std::pair{1002, "500m"}, {1003, "40.0u"}})
        EXPECT_EQ(view.CursorPanel()->FieldText(id).toStdString(), text) << id;
    doc.SetMode(kModeXY);
    view.ScreenPicture();
    EXPECT_FALSE(view.CursorPanel());
}
