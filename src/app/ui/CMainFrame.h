// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QTimer>

#include "app/ui/KivCommandTable.h"
#include "app/CommandIds.h"
#include "document/CKivDoc.h"

class CChildFrame;
class QMdiArea;
class QMenu;
class QToolBar;

// What the main window needs of the application: the last stop of the command routing, the
// recent files, and the documents when the window closes or a file is dropped on it.
class IMainFrameHost {
public:
    virtual ~IMainFrameHost() = default;
    virtual bool OnCommand(int id) = 0;
    virtual bool OnUpdateCommand(int id, CmdState& state) = 0;
    virtual const QStringList& RecentFiles() const = 0;
    // Asks about every modified document; false when the user cancelled.
    virtual bool SaveAllModified() = 0;
    virtual CChildFrame* OpenDocumentFile(const QString& path, QString* why = nullptr) = 0;
};

// The main window: the menu bar (one layout with no document open, another with one),
// the toolbar, the one-pane status bar and the MDI area with one child per document.
// Every command goes through Execute, which asks the active child (its view, then its
// document), then this frame, then the application.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(IMainFrameHost& app);
    ~CMainFrame() override;

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    void AddChild(CChildFrame* child);

    // Runs a command when its update rule enables it.
    void Execute(int id);
    // The command's state along the routing; disabled when nobody handles it.
    CmdState QueryState(int id);

    // Every action of a command: the first carries the keys and sits on the toolbar;
    // the others are menu entries with a text of their own.
    QList<QAction*> ActionsOf(int id) const { return m_actions.value(id); }
    QAction* Action(int id) const;
    // The menu bar's top-level entries of either layout, in order.
    const QList<QAction*>& MenuBarEntries(bool document) const { return document ? m_barDocument : m_barNoDocument; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    bool ShowsDocumentMenu() const { return m_bDocumentMenu; }

    // Swaps the menu bar to the documents' state and refreshes every action. Runs on a
    // timer while the program is idle; tests call it directly.
    void UpdateFrame();
    void RecentFilesChanged();
    // A recent file's menu entry: its number as mnemonic and the path shortened for a menu.
    static QString RecentFileMenuText(int index, const QString& path);

    // This frame's own commands.
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CmdState& state);

    // "Kiv", followed by the active document's title: " - [title[*]]" while its window
    // is maximised, " - title[*]" when it is not; Qt shows "[*]" as "*" while the document
    // is modified (the frame's windowModified follows the document window's).
    QString FrameTitle() const;
    void OnUpdateFrameTitle();
    // The document windows arranged as Windows arranges MDI children. Cascade: one
    // size for all, the area less a third of its smaller side; each window a title
    // bar lower and further right than the one beneath it. Tile: full-width rows,
    // in columns from four windows on, the topmost window first.
    void OnWindowCascade();
    void OnWindowTile();
    // F10: the menu bar takes the keyboard on its first menu.
    void OnMenuKey();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    QAction* CreateAction(int id, const QString& text, QObject* parent);
    QList<QAction*> BuildMenuBar(std::span<const KivMenuItem> layout);
    void CreateToolBar();
    void CreateStatusBar();
    bool RouteUpdate(int id, CmdState& state);
    bool RouteCommand(int id);
    void UpdateActions(const QList<QAction*>& actions);
    void UpdateWindowList(QMenu* menu);
    void SwapMenuBar();
    // The windows an arrangement moves, minimised ones left out, bottom first.
    QList<CChildFrame*> ArrangedChildren() const;

    IMainFrameHost& m_app;
    QMdiArea* m_pMdiArea;
    QToolBar* m_pToolBar = nullptr;
    QHash<int, QList<QAction*>> m_actions;
    QList<QAction*> m_barNoDocument, m_barDocument;
    QList<QAction*> m_recentFiles;
    QList<QAction*> m_windowList;
    bool m_bDocumentMenu = false;
    QTimer m_idleTimer;
};
