// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/CMainFrame.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QSvgRenderer>
#include <QToolBar>
#include <algorithm>
#include <cmath>

#include "app/CommandIds.h"
#include "app/ui/CChildFrame.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

static void InitKivResources() { Q_INIT_RESOURCE(kiv); }

namespace {

constexpr int kMaxDisplayLength = 30;

// "~/…/folder/name.kiv" short enough for a menu, as the old recent-file lists did.
QString AbbreviatePath(const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::homePath();
    if (shown.startsWith(home + QLatin1Char('/'))) shown = QLatin1Char('~') + shown.mid(home.size());
    if (shown.size() <= kMaxDisplayLength) return shown;
    QStringList parts = shown.split(QLatin1Char('/'));
    const QString head = parts.takeFirst();
    while (parts.size() > 1) {
        const QString candidate = head + QStringLiteral("/.../") + parts.join(QLatin1Char('/'));
        if (candidate.size() <= kMaxDisplayLength) return candidate;
        parts.removeFirst();
    }
    return parts.isEmpty() ? shown : head + QStringLiteral("/.../") + parts.first();
}


const char kIdProperty[] = "kivCommand";
const char kReady[] = KIV_TR_NOOP("Kiv", "Gotowy");

// Toolbar pictures are drawn for 16 x 15; rendered once at 1x and 2x. The style's own
// disabled look leaves black line art almost black, so a disabled button gets a light
// grey copy of its picture.
QIcon ToolbarIcon(const QString& path) {
    QSvgRenderer svg(path);
    QIcon icon;
    for (int scale : {1, 2}) {
        QImage picture(16 * scale, 15 * scale, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        svg.render(&painter);
        painter.end();
        QImage faded = picture;
        for (int y = 0; y < faded.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
            for (int x = 0; x < faded.width(); ++x) {
                const int grey = 150 + qGray(line[x]) * 105 / 255;
                line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
            }
        }
        picture.setDevicePixelRatio(scale);
        faded.setDevicePixelRatio(scale);
        icon.addPixmap(QPixmap::fromImage(picture), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(faded), QIcon::Disabled);
    }
    return icon;
}

}  // namespace

CMainFrame::CMainFrame(IMainFrameHost& app) : m_app(app), m_pMdiArea(new QMdiArea(this)) {
    InitKivResources();
    setWindowTitle(FrameTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/kiv.svg")));
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);

    CreateActions();
    m_barNoDocument = BuildMenuBar(KivMenuNoDocument());
    m_barDocument = BuildMenuBar(KivMenuDocument());
    for (QAction* entry : m_barNoDocument) menuBar()->addAction(entry);
    CreateToolBar();
    CreateStatusBar();
    RecentFilesChanged();

    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateFrame(); });
    // Not an accelerator of the program: the desktop's own key for the menu bar.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &CMainFrame::OnMenuKey);
    // The toolbar's buttons follow their rules while the program is idle.
    m_idleTimer.setInterval(100);
    connect(&m_idleTimer, &QTimer::timeout, this, &CMainFrame::UpdateFrame);
    m_idleTimer.start();
    UpdateFrame();
}

CMainFrame::~CMainFrame() {
    m_idleTimer.stop();
    // Children go before the frame's actions and menus they may still refer to.
    for (CChildFrame* child : Children()) delete child;
}

QAction* CMainFrame::CreateAction(int id, const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setProperty(kIdProperty, id);
    if (const KivCommandRow* row = FindKivCommand(id)) {
        const QString prompt = KivTr("Kiv", row->prompt);
        const qsizetype nl = prompt.indexOf(QLatin1Char('\n'));
        action->setStatusTip(nl < 0 ? prompt : prompt.left(nl));
        if (nl >= 0) action->setToolTip(prompt.mid(nl + 1));
    }
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    m_actions[id].append(action);
    return action;
}

void CMainFrame::CreateActions() {
    for (const KivCommandRow& row : KivCommands()) {
        QAction* action = CreateAction(row.id, KivTr("Kiv", row.text), this);
        QList<QKeySequence> keys;
        for (const QString& key : QString::fromUtf8(row.keys).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            keys.append(QKeySequence(key, QKeySequence::PortableText));
        action->setShortcuts(keys);
        if (row.icon) action->setIcon(ToolbarIcon(QString::fromUtf8(row.icon)));
        // Menus show text and check marks only; the pictures are the toolbar's.
        action->setIconVisibleInMenu(false);
        // Keys work whichever menu bar is up.
        addAction(action);
        if (row.id >= ID_FILE_MRU_FILE1 && row.id < ID_FILE_MRU_FILE1 + kMaxRecentFiles) m_recentFiles.append(action);
    }
}

QAction* CMainFrame::Action(int id) const {
    const QList<QAction*> actions = m_actions.value(id);
    return actions.isEmpty() ? nullptr : actions.first();
}

QList<QAction*> CMainFrame::BuildMenuBar(std::span<const KivMenuItem> layout) {
    QList<QAction*> bar;
    QList<QMenu*> open;
    for (const KivMenuItem& item : layout) {
        QMenu* current = open.isEmpty() ? nullptr : open.last();
        switch (item.kind) {
        case KivMenuKind::Popup: {
            auto* menu = new QMenu(KivTr("Kiv", item.text), current ? static_cast<QWidget*>(current) : this);
            connect(menu, &QMenu::aboutToShow, this, [this, menu] {
                UpdateActions(menu->actions());
                if (menu->actions().contains(Action(ID_WINDOW_CASCADE))) UpdateWindowList(menu);
            });
            if (current) current->addMenu(menu);
            else bar.append(menu->menuAction());
            open.append(menu);
            break;
        }
        case KivMenuKind::EndPopup: open.removeLast(); break;
        case KivMenuKind::Separator: current->addSeparator(); break;
        // With an empty list its two separators show as one.
        case KivMenuKind::RecentFiles: current->addActions(m_recentFiles); break;
        case KivMenuKind::Command: {
            QAction* action = item.text ? CreateAction(item.id, KivTr("Kiv", item.text), this) : Action(item.id);
            if (current) current->addAction(action);
            else bar.append(action);
            break;
        }
        }
    }
    return bar;
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = new QToolBar(KivTr("Kiv", "Pasek narzędzi"), this);
    m_pToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_pToolBar->setIconSize(QSize(16, 15));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : KivToolbarLayout()) {
        if (id == 0) m_pToolBar->addSeparator();
        else m_pToolBar->addAction(Action(id));
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    // One pane: the prompt of what is under the mouse, else "Gotowy".
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& text) {
        if (text.isEmpty()) bar->showMessage(KivTr("Kiv", kReady));
    });
    bar->showMessage(KivTr("Kiv", kReady));
}

CChildFrame* CMainFrame::ActiveChild() const {
    return qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
}

QList<CChildFrame*> CMainFrame::Children() const {
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window)) children.append(child);
    return children;
}

void CMainFrame::AddChild(CChildFrame* child) {
    m_pMdiArea->addSubWindow(child);
    connect(child, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &CMainFrame::UpdateFrame); });
    connect(child, &QWidget::windowTitleChanged, this, &CMainFrame::OnUpdateFrameTitle);
    connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::OnUpdateFrameTitle);
}

QString CMainFrame::FrameTitle() const {
    const QString title = QStringLiteral("Kiv");
    // The current child, also while another window of the program has the focus.
    const auto* child = qobject_cast<const CChildFrame*>(m_pMdiArea->currentSubWindow());
    if (!child || child->GetTitle().isEmpty()) return title;
    // The child's own title: its name and the "[*]" where Qt shows the modified mark.
    const QString document = child->windowTitle();
    return child->isMaximized() ? QStringLiteral("%1 - [%2]").arg(title, document)
                                : QStringLiteral("%1 - %2").arg(title, document);
}

void CMainFrame::OnUpdateFrameTitle() {
    const QString title = FrameTitle();
    if (windowTitle() != title) setWindowTitle(title);
    const auto* child = qobject_cast<const CChildFrame*>(m_pMdiArea->currentSubWindow());
    setWindowModified(title.contains(QStringLiteral("[*]")) && child && child->isWindowModified());
}

// Qt titles the window itself on some styles while a child is maximised, and keeps
// the title it found before: whatever it sets, ours stands.
void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange) OnUpdateFrameTitle();
}

QList<CChildFrame*> CMainFrame::ArrangedChildren() const {
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList(QMdiArea::StackingOrder)) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && child->isVisible() && !child->isMinimized()) children.append(child);
    }
    return children;
}

// Qt's own cascade sizes each window from its size hint, which leaves a document
// window little more than its title bar.
void CMainFrame::OnWindowCascade() {
    const QList<CChildFrame*> children = ArrangedChildren();
    if (children.isEmpty()) return;
    QStyleOptionTitleBar option;
    option.initFrom(children.first());
    const int step = children.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, children.first());
    const QRect area = m_pMdiArea->viewport()->rect();
    const int stagger = std::min(area.width(), area.height()) / (3 * std::max(step, 1));
    const QSize size(area.width() - stagger * step, area.height() - stagger * step);
    int n = 0;
    for (CChildFrame* child : children) {
        if (child->isMaximized()) child->showNormal();
        const int offset = step * (n++ % (stagger + 1));
        child->setGeometry(QRect(area.topLeft() + QPoint(offset, offset), size));
    }
    OnUpdateFrameTitle();
}

void CMainFrame::OnWindowTile() {
    QList<CChildFrame*> children = ArrangedChildren();
    if (children.isEmpty()) return;
    std::reverse(children.begin(), children.end());
    const int total = static_cast<int>(children.size());
    // A square-ish grid, its long side down the area.
    const int columns = std::max(static_cast<int>(std::sqrt(static_cast<double>(total))), 1);
    int rows = total / columns;
    const QRect area = m_pMdiArea->viewport()->rect();
    const int width = area.width() / columns;
    int i = 0;
    for (int c = 0; c < columns; ++c) {
        if (c == columns - 1) rows = total - i;  // the last column takes the rest
        const int height = area.height() / rows;
        for (int r = 0; r < rows; ++r, ++i) {
            CChildFrame* child = children[i];
            if (child->isMaximized()) child->showNormal();
            child->setGeometry(QRect(area.left() + c * width, area.top() + r * height, width, height));
        }
    }
    OnUpdateFrameTitle();
}

void CMainFrame::OnMenuKey() {
    QMenuBar* bar = menuBar();
    for (QAction* entry : bar->actions()) {
        if (entry->isVisible() && entry->isEnabled() && !entry->isSeparator()) {
            bar->setActiveAction(entry);
            return;
        }
    }
}

bool CMainFrame::RouteUpdate(int id, CmdState& state) {
    CChildFrame* child = ActiveChild();
    if (child && child->OnUpdateCommand(id, state)) return true;
    if (OnUpdateCommand(id, state)) return true;
    return m_app.OnUpdateCommand(id, state);
}

bool CMainFrame::RouteCommand(int id) {
    CChildFrame* child = ActiveChild();
    if (child && child->OnCommand(id)) return true;
    if (OnCommand(id)) return true;
    return m_app.OnCommand(id);
}

CmdState CMainFrame::QueryState(int id) {
    CmdState state;
    if (!RouteUpdate(id, state)) return {};
    return state;
}

void CMainFrame::Execute(int id) {
    // Keys reach here without a menu having been opened: the rule decides again.
    if (!QueryState(id).enabled) return;
    RouteCommand(id);
    UpdateFrame();
}

bool CMainFrame::OnUpdateCommand(int id, CmdState& state) {
    switch (id) {
    case ID_VIEW_TOOLBAR: state = {true, !m_pToolBar->isHidden()}; return true;
    case ID_VIEW_STATUS_BAR: state = {true, !statusBar()->isHidden()}; return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ: state = {ActiveChild() != nullptr, false}; return true;
    // A document window has one view and no split panes: F6 and Shift+F6 have nowhere to go.
    case ID_NEXT_PANE:
    case ID_PREV_PANE: state = {false, false}; return true;
    default: return false;
    }
}

bool CMainFrame::OnCommand(int id) {
    switch (id) {
    case ID_VIEW_TOOLBAR: m_pToolBar->setVisible(m_pToolBar->isHidden()); return true;
    case ID_VIEW_STATUS_BAR: statusBar()->setVisible(statusBar()->isHidden()); return true;
    case ID_WINDOW_CASCADE: OnWindowCascade(); return true;
    case ID_WINDOW_TILE_HORZ: OnWindowTile(); return true;
    default: return false;
    }
}

void CMainFrame::UpdateActions(const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        const QVariant id = action->property(kIdProperty);
        if (!id.isValid()) continue;
        const CmdState state = QueryState(id.toInt());
        action->setEnabled(state.enabled);
        // Any command may be checked by its rule, as in a plain menu.
        if (state.checked) action->setCheckable(true);
        action->setChecked(state.checked);
        if (!state.checked) action->setCheckable(false);
    }
}

void CMainFrame::UpdateFrame() {
    SwapMenuBar();
    for (const QList<QAction*>& actions : std::as_const(m_actions)) UpdateActions(actions);
    // A fetch, an import, the generator or an edit leaves no other trace the titles could follow.
    for (CChildFrame* child : Children()) child->UpdateModifiedMark();
    OnUpdateFrameTitle();
}

void CMainFrame::SwapMenuBar() {
    const bool document = !Children().isEmpty();
    if (document == m_bDocumentMenu) return;
    m_bDocumentMenu = document;
    QMenuBar* bar = menuBar();
    for (QAction* entry : m_bDocumentMenu ? m_barNoDocument : m_barDocument) bar->removeAction(entry);
    for (QAction* entry : m_bDocumentMenu ? m_barDocument : m_barNoDocument) bar->addAction(entry);
}

void CMainFrame::RecentFilesChanged() {
    const QStringList& files = m_app.RecentFiles();
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        QAction* action = m_recentFiles[i];
        action->setVisible(i < files.size());
        if (i < files.size()) action->setText(RecentFileMenuText(i, files[i]));
    }
}

// The window menu lists the open documents after its own entries.
void CMainFrame::UpdateWindowList(QMenu* menu) {
    qDeleteAll(m_windowList);
    m_windowList.clear();
    const QList<CChildFrame*> children = Children();
    if (children.isEmpty()) return;
    m_windowList.append(menu->addSeparator());
    CChildFrame* active = ActiveChild();
    for (int i = 0; i < children.size() && i < 9; ++i) {
        CChildFrame* child = children[i];
        QString title = child->GetTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setCheckable(true);
        entry->setChecked(child == active);
        connect(entry, &QAction::triggered, child, [this, child] { m_pMdiArea->setActiveSubWindow(child); });
        m_windowList.append(entry);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_app.SaveAllModified()) {
        event->ignore();
        return;
    }
    m_idleTimer.stop();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls)
        if (url.isLocalFile()) m_app.OpenDocumentFile(url.toLocalFile());
}

QString CMainFrame::RecentFileMenuText(int index, const QString& path) {
    QString shown = AbbreviatePath(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
