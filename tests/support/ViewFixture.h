#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "view/ui/CKivView.h"

// The view's commands that open dialogs, answered as a user would: the dialog that comes
// up is handled by the next answer in line.
class ViewDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(900, 500);  // not the exported picture's 800 x 600
        view.show();
    }
    // Runs command id; answer gets the modal dialog it opens (nothing if none opens).
    void Run(int id, std::function<void(QDialog&)> answer) {
        QTimer::singleShot(0, [answer] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) answer(*d);
        });
        view.OnCommand(id);
        QApplication::processEvents();
    }
    template <class W = QAbstractButton>
    static W* Child(QDialog& d, const char* name) {
        W* w = d.findChild<W*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    static void Click(QDialog& d, const char* name) {
        if (auto* b = Child(d, name)) b->click();
    }

    FakeHost host;
    CKivDoc doc{host.Platform()};
    CKivView view{&doc};
};
