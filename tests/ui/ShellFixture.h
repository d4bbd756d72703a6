// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "app/CommandIds.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CKivApp.h"
#include "app/ui/CMainFrame.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"
#include "view/ui/CKivView.h"

// A started application with its profile in a folder of the test's own and message
// boxes answered by a fake.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_dir = QString::fromStdString(TestDir("shell-" + name));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir + "/config");
        NewApp();
    }
    void NewApp() {
        m_app = std::make_unique<CKivApp>();
        m_app->SetMessages(&m_messages);
    }

    bool Start(const QStringList& args = {}) { return m_app->InitInstance(args); }
    CMainFrame& Frame() { return *m_app->MainFrame(); }
    CChildFrame* Active() { return Frame().ActiveChild(); }
    CKivDoc& Doc() { return *Active()->GetDocument(); }
    // The command as the idle refresh leaves it: x enabled and checked, e enabled, c checked
    // but disabled, - neither.
    char State(int id) {
        Frame().UpdateFrame();
        const QAction* a = Frame().Action(id);
        return a->isEnabled() ? (a->isChecked() ? 'x' : 'e') : (a->isChecked() ? 'c' : '-');
    }
    QString Path(const char* name) const { return m_dir + "/" + name; }
    // A document with plot 1 saved under name.
    QString MakeDocument(const char* name) {
        CKivDoc doc;
        FillPlot(*doc.m_pSource, 1, [](int i) { return 100 + (i % 50); });
        doc.OnSaveDocument(Path(name).toStdString());
        return Path(name);
    }

    QString m_dir;
    FakeMessages m_messages;
    std::unique_ptr<CKivApp> m_app;
};

// A menu as text: separators "-", submenus their title and " >", hidden entries left out.
inline QStringList MenuTexts(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (a->isVisible()) out << (a->isSeparator() ? QString("-") : a->menu() ? a->text() + " >" : a->text());
    return out;
}

inline QMenu* TopMenu(CMainFrame& frame, bool document, const QString& title) {
    for (QAction* a : frame.MenuBarEntries(document))
        if (a->text() == title) return a->menu();
    return nullptr;
}
