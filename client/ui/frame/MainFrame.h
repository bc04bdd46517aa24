#pragma once
// The program's one top-level window: menu bar (menu 128), accelerators,
// status bar with the session display, and a splitter with the child view
// (tabs) on the left and the detail viewer on the right. It routes every
// command: child view (current tab view first), detail viewer, the frame's
// own framework commands, then the application.
//
// The application makes it at start-up, after the session and the models
// exist, and shows it; the tab views' panes get the services (PaneServices.h)
// with the frame's detail viewer filled in:
//
//   auto* frame = new CMainFrame(core.Session(), services, this);
//   frame->setAttribute(Qt::WA_DeleteOnClose);
//   frame->show();           // maximized when it closed maximized
//   frame->repaint();
//   detailPane = frame->GetDetailViewer();
//
// The status bar follows the session by itself (it is a session listener from
// creation until the frame closes). The application is the last command
// target; it may be given later with SetApplicationTarget. The placement is
// written once, when the window closes or is deleted, whichever comes first.
#include "client/ui/shell/CommandTarget.h"
#include "client/ui/shell/PaneServices.h"

#include <QMainWindow>

class CChildView;
class CDetailViewer;
class CLoginStatusBar;
class CSession;
class QSplitter;

class CMainFrame : public QMainWindow, public ICommandTarget {
public:
    /// session and what services name outlive the frame; the detail viewer
    /// takes the favorites model's add links. application (may be null) is the
    /// last command target.
    CMainFrame(CSession& session, const PaneServices& services, ICommandTarget* application, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CDetailViewer* GetDetailViewer() const { return m_detailViewer; }
    CChildView* GetChildView() const { return m_childView; }
    CLoginStatusBar* GetStatusBar() const { return m_statusBar; }
    QSplitter* Splitter() const { return m_splitter; }

    void SetApplicationTarget(ICommandTarget* application) { m_application = application; }

    /// The whole routing chain.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateClient(int homeWidth);
    void RestorePlacement();
    void BuildMenus();
    void BuildAccelerators();
    /// Framework commands the frame answers itself.
    bool OnFrameCmdMsg(unsigned id, CCommandUpdate* update);
    void MovePaneFocus(bool forward);
    /// Unregisters the status bar and writes the placement; runs once.
    void SaveOnClose();

    CSession& m_session;
    CLoginStatusBar* m_statusBar = nullptr;
    CChildView* m_childView = nullptr;
    CDetailViewer* m_detailViewer = nullptr;
    QSplitter* m_splitter = nullptr;
    ICommandTarget* m_application;
    bool m_saved = false;
};
