// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "app/ui/CViewCommands.h"
#include "document/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "view/ui/CKivView.h"

// The view's commands that open dialogs, answered as a user would: the dialog that comes
// up is handled by the next answer in line. The mouse is real events on the viewport.
class ViewDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(900, 500);  // not the exported picture's 800 x 600
        view.show();
    }
    // Runs command id; answer gets the modal dialog it opens (nothing if none opens).
    void Run(int id, std::function<void(QDialog&)> answer) {
        Answer(answer);
        commands.OnCommand(id);
        QApplication::processEvents();
    }
    // The next modal dialog, if one opens before the event loop is idle, goes to answer.
    static void Answer(std::function<void(QDialog&)> answer) {
        QTimer::singleShot(0, [answer] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) answer(*d);
        });
    }
    static void Click(QDialog& d, const char* name) {
        auto* b = d.findChild<QAbstractButton*>(QLatin1String(name));
        EXPECT_TRUE(b) << name;
        if (b) b->click();
    }
    void Send(QEvent::Type type, int x, int y, Qt::MouseButtons buttons = Qt::LeftButton) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(x, y), view.viewport()->mapToGlobal(QPointF(x, y)), button, buttons, {});
        QApplication::sendEvent(view.viewport(), &e);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        Send(QEvent::MouseButtonPress, x1, y1);
        Send(QEvent::MouseMove, x2, y2);
        Send(QEvent::MouseButtonRelease, x2, y2, Qt::NoButton);
    }

    FakeHost host;
    CKivDoc doc{host.Platform()};
    CKivView view{&doc};
    CViewCommands commands{view};
};

// An 800 x 600 client with one curve, codes 50 up to sample 1999 and 150 from 2000 on:
// the plot (60, 20)-(780, 550), W = 720, H = 530.
class ViewMouse : public ViewDialogs {
protected:
    void SetUp() override {
        FillPlot(doc.Source(), 1, [](int i) { return i < 2000 ? 50 : 150; });
        view.resize(800, 600), view.show();
        QApplication::processEvents();
        ASSERT_EQ(view.viewport()->size(), QSize(800, 600));
        view.ScreenPicture();
    }
    // Whether the screen shows pixel (x, y) of the picture inverted.
    bool Inverted(const QImage& screen, int x, int y) {
        return (screen.pixel(x, y) & 0xFFFFFF) == (~view.BackBitmap()->pixel(x, y) & 0xFFFFFF);
    }
};
