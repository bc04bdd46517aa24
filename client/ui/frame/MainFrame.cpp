#include "client/ui/frame/MainFrame.h"

#include "client/app/Preferences.h"
#include "client/app/Session.h"
#include "client/resources/Accelerators.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/resources/images/ResourceImages.h"
#include "client/ui/frame/ChildView.h"
#include "client/ui/frame/FramePlacement.h"
#include "client/ui/frame/HomeView.h"
#include "client/ui/frame/LoginStatusBar.h"
#include "client/ui/shell/CommandMenu.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/web/DetailViewer.h"
#include "client/ui/web/HomePane.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>

#include <cmath>
#include <cstdint>

namespace {

constexpr const char* kServerDialogUnlockWord = "dostrave";

int StoredInt(const CPreferences& prefs, const char* name)
{
    return static_cast<std::int32_t>(prefs.GetNumber(name));
}

}  // namespace

CMainFrame::CMainFrame(CSession& session, const PaneServices& services, ICommandTarget* application, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_application(application)
{
    setWindowTitle(QString::fromUtf8(LoadResourceString(IDR_MAINFRAME)));

    m_splitter = new QSplitter(Qt::Horizontal, this);
    SetControlId(m_splitter, IDC_SPLITTER_PANE_FIRST);
    m_splitter->setChildrenCollapsible(false);
    // The panes show their items in this frame's detail viewer.
    m_detailViewer = new CDetailViewer(session, services.favorites);
    SetControlId(m_detailViewer, IDC_SPLITTER_PANE_FIRST + 1);
    PaneServices paneServices = services;
    paneServices.session = &session;
    paneServices.detailPages = m_detailViewer;
    m_childView = new CChildView(session, paneServices);
    SetControlId(m_childView, IDC_SPLITTER_PANE_FIRST);
    m_splitter->addWidget(m_childView);
    m_splitter->addWidget(m_detailViewer);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    if (CHomeView* home = m_childView->HomeView())
        home->HomePane()->SetDetailViewer(m_detailViewer);

    RestorePlacement();

    m_statusBar = new CLoginStatusBar(this);
    setStatusBar(m_statusBar);
    m_session.AddSessionListener(m_statusBar);

    BuildMenus();
    BuildAccelerators();
    setWindowIcon(LoadIconResource(IDI_MAINFRAME));
}

CMainFrame::~CMainFrame()
{
    SaveOnClose();
}

void CMainFrame::RestorePlacement()
{
    CPreferences prefs;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    const int dpiX = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
    const int dpiY = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;

    const int homeWidth = ChooseHomeWidth(StoredInt(prefs, Pref::HomeWidth), dpiX);
    m_splitter->setSizes({homeWidth, 1});

    QList<QRect> screens;
    for (const QScreen* each : QGuiApplication::screens())
        screens.append(each->geometry());
    const QRect rect =
        ChooseFrameRect(StoredInt(prefs, Pref::MainX), StoredInt(prefs, Pref::MainY), StoredInt(prefs, Pref::MainCX),
                        StoredInt(prefs, Pref::MainCY), workArea, dpiX, dpiY, screens);
    setGeometry(rect);
    m_splitter->resize(rect.size());
    m_splitter->setSizes({homeWidth, std::max(1, rect.width() - homeWidth)});
    if (prefs.GetNumber(Pref::Maximize, 0) != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::BuildMenus()
{
    QMenuBar* bar = menuBar();
    FillMenuBar(bar, IDR_MAINFRAME);

    // The View menu names the tabs that exist and drops the rest.
    const unsigned count = static_cast<unsigned>(m_childView->GetPaneCount());
    for (unsigned i = 0; i < count; ++i) {
        if (QAction* action = FindCommandAction(bar, ID_VIEW_TAB_FIRST + i))
            action->setText(m_childView->GetPaneTitle(static_cast<int>(i)));
    }
    for (unsigned id = ID_VIEW_TAB_FIRST + count; id <= ID_VIEW_TAB_LAST; ++id)
        delete FindCommandAction(bar, id);

    const QString unlock = QString::fromLocal8Bit(CPreferences().GetString(Pref::AllowServerDialog));
    if (unlock.compare(QLatin1String(kServerDialogUnlockWord), Qt::CaseInsensitive) != 0)
        delete FindCommandAction(bar, ID_TOOLS_SERVER_OPTIONS);

    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenuCommands(menu, *this); });
        connect(menu, &QMenu::aboutToHide, this, [this] { m_statusBar->ShowIdlePrompt(); });
        connect(menu, &QMenu::hovered, this,
                [this](QAction* action) { m_statusBar->SetPaneText(0, action->statusTip()); });
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            if (const unsigned id = CommandId(action))
                RunCommand(*this, id);
        });
    }
}

void CMainFrame::BuildAccelerators()
{
    const auto* table = LoadAcceleratorTable(IDR_MAINFRAME);
    if (!table)
        return;
    for (const AcceleratorData& entry : *table) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(entry.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        const unsigned id = entry.command;
        connect(shortcut, &QShortcut::activated, this, [this, id] { RunCommand(*this, id); });
    }
}

bool CMainFrame::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    if (m_childView && m_childView->OnCmdMsg(id, update))
        return true;
    if (m_detailViewer && m_detailViewer->OnCmdMsg(id, update))
        return true;
    if (OnFrameCmdMsg(id, update))
        return true;
    if (m_application && m_application->OnCmdMsg(id, update))
        return true;
    if (id == ID_APP_EXIT) {
        // The framework's exit, when the application does not take it.
        if (!update)
            close();
        return true;
    }
    return false;
}

bool CMainFrame::OnFrameCmdMsg(unsigned id, CCommandUpdate* update)
{
    switch (id) {
    case ID_VIEW_STATUS_BAR:
        if (update)
            update->SetCheck(!m_statusBar->isHidden());
        else
            m_statusBar->setVisible(m_statusBar->isHidden());
        return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        if (!update)
            MovePaneFocus(id == ID_NEXT_PANE);
        return true;
    default: return false;
    }
}

void CMainFrame::MovePaneFocus(bool forward)
{
    // Two columns: either direction goes to the other one.
    Q_UNUSED(forward);
    QWidget* focus = QApplication::focusWidget();
    const bool inChild = focus && m_childView->isAncestorOf(focus);
    QWidget* target = inChild ? static_cast<QWidget*>(m_detailViewer) : m_childView->CurrentTabView();
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        SaveOnClose();
}

bool CMainFrame::event(QEvent* event)
{
    // Pane 0 shows the prompts itself (menu hover); the framework's status
    // tips would replace the whole bar.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void CMainFrame::SaveOnClose()
{
    if (m_saved)
        return;
    m_saved = true;
    m_session.RemoveSessionListener(m_statusBar);

    CPreferences prefs;
    QRect restored = normalGeometry();
    if (!restored.isValid())
        restored = geometry();
    prefs.SetNumber(Pref::MainX, static_cast<DWORD>(restored.x()));
    prefs.SetNumber(Pref::MainY, static_cast<DWORD>(restored.y()));
    prefs.SetNumber(Pref::MainCX, static_cast<DWORD>(restored.width()));
    prefs.SetNumber(Pref::MainCY, static_cast<DWORD>(restored.height()));
    prefs.SetNumber(Pref::Maximize, isMaximized() ? 1 : 0);
    prefs.SetNumber(Pref::HomeWidth, static_cast<DWORD>(m_childView->width()));
}
