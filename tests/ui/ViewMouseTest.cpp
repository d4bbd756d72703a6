#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>
#include <cmath>

#include "analysis/ui/CFourierPanelDlg.h"
#include "app/CommandIds.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "view/ui/CCursorPanel.h"
#include "view/ui/CCursorPanel2.h"
#include "view/ui/CKivView.h"

// The view on an 800 x 600 client driven with real mouse events: one curve gives the plot
// (60, 20)-(780, 550), W = 720, H = 530.
class ViewMouse : public ::testing::Test {
protected:
    void SetUp() override {
        FillPlot(doc.Source(), 1, [](int i) { return i < 2000 ? 50 : 150; });
        doc.DataChanged();
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
        ASSERT_EQ(view.viewport()->size(), QSize(800, 600));
        view.ScreenPicture();
    }
    void Send(QEvent::Type type, int x, int y, Qt::MouseButtons buttons = Qt::LeftButton) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(x, y), view.viewport()->mapToGlobal(QPointF(x, y)), button, buttons, {});
        QApplication::sendEvent(view.viewport(), &e);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        Send(QEvent::MouseMove, x1, y1, Qt::NoButton);
        Send(QEvent::MouseButtonPress, x1, y1);
        Send(QEvent::MouseMove, x2, y2);
        Send(QEvent::MouseButtonRelease, x2, y2, Qt::NoButton);
    }
    // Whether the screen shows pixel (x, y) of the picture inverted.
    bool Inverted(const QImage& screen, int x, int y) {
        return (screen.pixel(x, y) & 0xFFFFFF) == (~view.BackBitmap()->pixel(x, y) & 0xFFFFFF);
    }

    CKivDoc doc;
    CKivView view{&doc};
};

TEST_F(ViewMouse, CursorDragsReadOutsAndClamps) {
    view.OnCommand(ID_CURSOR);
    QImage screen = view.ScreenPicture();
    EXPECT_TRUE(Inverted(screen, 60, 300));   // cursor 1 at index 0
    EXPECT_TRUE(Inverted(screen, 780, 300));  // cursor 2 at 4000
    EXPECT_FALSE(Inverted(screen, 780, 20));  // the top end is not drawn

    // Cursor 2 to plot x 360; cursor 1 past it, to 540: the difference turns negative.
    doc.GetFourierMode()->m_bReady = 1;
    Drag(780, 300, 420, 310);
    EXPECT_TRUE(doc.m_nCursor2 == 2000 && doc.GetFourierMode()->m_bReady == 0);
    Drag(61, 300, 600, 300);
    EXPECT_EQ(doc.m_nCursor1, 3000);
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

    // Hidden cursors are still grabbed within 2 pixels; past the edges they pin at 0 and 4000.
    view.OnCommand(ID_CURSOR);
    Send(QEvent::MouseButtonPress, 422, 300);
    EXPECT_FALSE(view.m_bZooming);
    Send(QEvent::MouseMove, 900, 300);
    Send(QEvent::MouseButtonRelease, 900, 300, Qt::NoButton);
    EXPECT_TRUE(doc.m_nCursor2 == 4000 && view.m_nCursorPix2 == 720);
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
    EXPECT_TRUE(Inverted(screen, 200, 100) && Inverted(screen, 100, 105) && Inverted(screen, 299, 105));
    EXPECT_FALSE(Inverted(screen, 300, 105));
    // 10 pixels are 3 code units: too flat, nothing changes.
    Send(QEvent::MouseButtonRelease, 300, 110, Qt::NoButton);
    EXPECT_TRUE(!mode.IsZoomed() && mode.m_window.right == 4000);

    Drag(60 + 180, 20 + 53, 60 + 540, 20 + 477);  // corners in either order
    EXPECT_EQ(std::tuple(mode.IsZoomed(), mode.m_window.left, mode.m_window.top, mode.m_window.right, view.m_bRedraw),
              std::tuple(true, 1000, 19, 3000, 1));
    Drag(400, 300, 400, 300);  // a click
    EXPECT_FALSE(mode.IsZoomed());
}

TEST_F(ViewMouse, OffsetMarkerDragShiftsThePlot) {
    view.OnCommand(ID_OFFSET_CURSOR);
    view.ScreenPicture();
    const COffsetMarker& m = view.m_offsetMarker1;
    EXPECT_EQ(std::tuple(m.m_nX, m.m_nTop, m.m_nBottom),
              std::tuple(57, Trunc(550 - MulF(150.0 * 530, 0.005f)), Trunc(550 - MulF(50.0 * 530, 0.005f))));

    // A press and release without a move changes nothing.
    const int mid = (m.m_nTop + m.m_nBottom) / 2;
    Drag(57, mid, 57, mid);
    EXPECT_EQ(doc.Source().m_bOffset1, 0);

    // One division down (66 pixels) is 25 codes down.
    Send(QEvent::MouseButtonPress, 57, mid);
    Send(QEvent::MouseMove, 57, mid + 66);
    EXPECT_EQ(m.m_nDelta, -25);
    const QImage dragging = view.ScreenPicture();
    EXPECT_EQ(dragging.pixel(300, m.m_nTop + 66), qRgb(50, 150, 255));  // dotted guide line, first dot
    Send(QEvent::MouseButtonRelease, 57, mid + 66, Qt::NoButton);
    EXPECT_EQ(std::tuple(doc.Source().m_bOffset1, doc.Source().m_nOffset1, doc.Source().m_nShown1[0]),
              std::tuple(1, -25, 25));
}

TEST_F(ViewMouse, FourierClickSelectsAHarmonicAndPanelsFollowTheMode) {
    // Millisecond samples: the harmonic's frequency reads in hertz.
    FillPlot(doc.Source(), 1, [](int i) { return 100 + static_cast<int>(std::lround(60 * std::sin(i * 0.0157))); },
             {-1, 's', 1.0});
    doc.DataChanged();
    view.OnCommand(ID_CURSOR);
    view.ScreenPicture();
    ASSERT_TRUE(view.CursorPanel());

    doc.OnModeCommand(ID_MODE_FOURIER);
    Send(QEvent::MouseButtonPress, 60 + 140, 300);
    Send(QEvent::MouseButtonRelease, 60 + 140, 300, Qt::NoButton);
    view.ScreenPicture();
    EXPECT_EQ(view.m_fourierCursor.m_nHarmonic, 10);
    EXPECT_FALSE(view.CursorPanel());
    ASSERT_TRUE(view.FourierPanel());
    for (auto [id, text] : {std::pair{1044, "10"}, {1027, "Wykres pierwszy"}, {1045, "2.50 Hz"}})  // 10 / 3.999 s
        EXPECT_EQ(view.FourierPanel()->FieldText(id).toStdString(), text) << id;
    EXPECT_EQ(doc.GetCurrentMode()->m_window.right, 4000);  // a click in Fourier mode is no zoom

    // At the view's bottom-right corner, hidden while another view is active.
    EXPECT_EQ(view.FourierPanel()->geometry().bottomRight(), view.viewport()->rect().bottomRight());
    EXPECT_TRUE(view.FourierPanel()->isVisible());
    view.OnActivateView(false);
    EXPECT_FALSE(view.FourierPanel()->isVisible());
    view.OnActivateView(true);
    view.ScreenPicture();
    EXPECT_TRUE(view.FourierPanel()->isVisible());

    // Two curves: the two-plot panel; XY: none.
    FillPlot(doc.Source(), 2, [](int) { return 120; }, {-1, 's', 1.0});
    doc.DataChanged();
    doc.OnModeCommand(ID_MODE_ORIGINAL);
    view.ScreenPicture();
    EXPECT_TRUE(view.CursorPanel2() && !view.FourierPanel() && !view.CursorPanel());
    doc.OnModeCommand(ID_MODE_XY);
    view.ScreenPicture();
    EXPECT_FALSE(view.CursorPanel2());
}

// Double-clicks on the label strips open the scale dialog of the strip's axis.
TEST_F(ViewMouse, DoubleClickOpensTheScaleDialogOfTheStrip) {
    QStringList titles;
    auto closeDialog = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                titles << w->windowTitle();
                qobject_cast<QDialog*>(w)->reject();
            }
        });
    };
    for (QPoint pt : {QPoint(20, 300), QPoint(400, 580), QPoint(400, 300)}) {
        closeDialog();
        Send(QEvent::MouseButtonDblClick, pt.x(), pt.y());
        Send(QEvent::MouseButtonRelease, pt.x(), pt.y(), Qt::NoButton);
        QApplication::processEvents();
    }
    EXPECT_EQ(titles, QStringList({"Oś Y", "Oś X"}));
}
