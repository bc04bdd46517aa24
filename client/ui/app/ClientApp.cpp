#include "client/ui/app/ClientApp.h"

#include "client/app/CheckForUpgradeRequest.h"
#include "client/app/ClientCore.h"
#include "client/app/Session.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/app/AboutDlg.h"
#include "client/ui/app/LoginDlg.h"
#include "client/ui/app/ModalWindowCloser.h"
#include "client/ui/app/OpenUrl.h"
#include "client/ui/app/OptionsDlg.h"
#include "client/ui/app/QtMessageBox.h"
#include "client/ui/app/QuitSignals.h"
#include "client/ui/app/ScreenshotRun.h"
#include "client/ui/app/ServerOptionsDlg.h"
#include "client/ui/app/WelcomeDlg.h"
#include "client/ui/frame/ChildView.h"
#include "client/ui/frame/HomeView.h"
#include "client/ui/frame/MainFrame.h"
#include "client/ui/web/BlockingCallRunner.h"
#include "client/ui/web/DetailViewer.h"
#include "client/ui/web/HomePane.h"
#include "client/ui/web/PreviewBrowser.h"
#include "client/ui/web/ProgressDlg.h"
#include "client/ui/web/WebBrowser2.h"

#include <QApplication>

namespace {
CClientApp* g_instance = nullptr;
}  // namespace

CClientApp::CClientApp()
    : m_blockingCalls(std::make_unique<CBlockingCallRunner>([this]() -> QWidget* { return m_mainWindow.data(); })),
      m_core(std::make_unique<CClientCore>(*this))
{
    g_instance = this;
    QApplication::setApplicationName(QString::fromLatin1(LoadResourceString(IDS_APP_TITLE)));
    QApplication::setApplicationDisplayName(QApplication::applicationName());
    // The frame's own close ends the program; a dialog closing must not.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtMessageBoxes();
}

CClientApp::~CClientApp()
{
    ShutDown();
    m_core.reset();
    m_blockingCalls.reset();
    UninstallQtMessageBoxes();
    if (g_instance == this)
        g_instance = nullptr;
}

CClientApp* CClientApp::Instance()
{
    return g_instance;
}

CMainFrame* CClientApp::MainWindow() const
{
    return static_cast<CMainFrame*>(m_mainWindow.data());
}

CSession& CClientApp::Session()
{
    return m_core->Session();
}

int CClientApp::Run()
{
    // Ended by a signal, the program still logs out and saves what it saves at exit.
    CQuitSignals quitSignals([this] { RequestQuit(); });
    std::unique_ptr<CScreenshotRun> screenshot;
    if (const QString file = CScreenshotRun::RequestedFile(); !file.isEmpty())
        screenshot = std::make_unique<CScreenshotRun>(
            file, Session(), [this]() -> QWidget* { return MainWindow(); },
            [this]() -> QWebEngineView* {
                CMainFrame* frame = MainWindow();
                CHomeView* home = frame && frame->GetChildView() ? frame->GetChildView()->HomeView() : nullptr;
                return home && home->HomePane() ? home->HomePane()->Browser() : nullptr;
            });
    StartUp();
    int code = 0;
    if (MainWindowExists()) {
        m_inMessageLoop = true;
        code = QApplication::exec();
        m_inMessageLoop = false;
    }
    ShutDown();
    if (screenshot && !screenshot->Saved())
        return 1;
    return code;
}

void CClientApp::StartUp()
{
    m_core->StartUp();
}

void CClientApp::ShutDown()
{
    if (!m_core->Started())
        return;
    CloseMainWindow();
    m_core->ShutDown();
}

void CClientApp::CloseMainWindow()
{
    // Deleting the frame saves its placement; the message loop has ended or never ran.
    delete m_mainWindow.data();
}

void CClientApp::CreateMainWindow()
{
    PaneServices services;
    services.session = &m_core->Session();
    services.favorites = m_core->FavoritesModel();
    services.playlists = m_core->PlaylistStore();
    services.search = m_core->SearchController();
    services.lookupTables = m_core->LookupTablesModel();
    services.previews = m_core.get();
    services.localFiles = m_core.get();
    services.clipboard = &m_clipboard;
    auto* frame = new CMainFrame(m_core->Session(), services, this);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    m_mainWindow = frame;
    connect(frame, &QObject::destroyed, this, [this] {
        if (m_inMessageLoop)
            QApplication::quit();
    });
    frame->show();
    frame->repaint();
}

void CClientApp::RunWelcomeDialog(const std::string& versionText)
{
    CWelcomeDlg dialog(versionText);
    dialog.exec();
}

void CClientApp::RequestQuit()
{
    m_quitRequested = true;
    if (!m_modalCloser)
        m_modalCloser = std::make_unique<CModalWindowCloser>();
    if (m_mainWindow)
        m_mainWindow->close();
}

bool CClientApp::MainWindowExists() const
{
    // A closed frame goes at the next turn of the event loop; after a quit it
    // counts as gone at once, so no login is started for a closing program.
    return !m_quitRequested && !m_mainWindow.isNull();
}

void CClientApp::CreatePreviewBrowser()
{
    CMainFrame* frame = MainWindow();
    if (!frame)
        return;
    m_detailPane = frame->GetDetailViewer();
    m_previewBrowser = new CPreviewBrowser(frame);
}

void CClientApp::AcceptDroppedFiles()
{
    if (m_mainWindow)
        m_mainWindow->setAcceptDrops(true);
}

void CClientApp::NavigatePreview(const std::string& url)
{
    if (m_previewBrowser)
        m_previewBrowser->NavigatePreview(url);
}

void CClientApp::ShowUpgradeStatus(const CCheckForUpgradeRequest&)
{
    // The upgrade status window comes with its own work; until then the
    // answer is kept by the request and nothing is shown.
}

void CClientApp::DestroyExitWindows()
{
    delete m_previewBrowser.data();
    HideProgress();
}

bool CClientApp::RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result)
{
    return CLoginDlg::Run(request, nullptr, result);
}

bool CClientApp::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    switch (id) {
    case ID_FILE_LOGIN:
    case ID_FILE_LOGOUT:
        if (update)
            update->Enable(id == ID_FILE_LOGIN ? m_core->CanLogIn() : m_core->CanLogOut());
        else if (id == ID_FILE_LOGIN)
            m_core->LogIn();
        else
            m_core->LogOut();
        return true;
    case ID_VIEW_DETAILS:
        if (!m_detailPane)
            return false;
        if (update)
            update->SetCheck(m_detailPane->isVisible());
        else
            ToggleDetails();
        return true;
    case ID_APP_ABOUT:
    case ID_TOOLS_OPTIONS:
    case ID_HELP_WEBSITE:
    case ID_TOOLS_SERVER_OPTIONS:
    case ID_APP_EXIT:
    case ID_HELP_INDEX:
    case ID_HELP:
        if (!update)
            RunCommand(id);
        return true;
    default: return false;  // sign-up, user information and the upgrade check come later
    }
}

void CClientApp::RunCommand(unsigned id)
{
    switch (id) {
    case ID_APP_ABOUT: ShowAbout(); break;
    case ID_TOOLS_OPTIONS: ShowOptions(); break;
    case ID_HELP_WEBSITE: OpenUrl(kProductWebSite); break;
    case ID_TOOLS_SERVER_OPTIONS: ShowServerOptions(); break;
    case ID_APP_EXIT:
        if (m_mainWindow)
            m_mainWindow->close();
        break;
    case ID_HELP_INDEX:
    case ID_HELP: OpenUrl(m_core->HelpUrl()); break;
    default: break;
    }
}

void CClientApp::OpenUrl(const std::string& url)
{
    ::OpenUrl(url);
}

void CClientApp::DisableMainWindow()
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(false);
}

void CClientApp::EnableMainWindow()
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}

void CClientApp::ShowProgress(QWidget* parent, unsigned stringId)
{
    HideProgress();
    auto* progress = new CProgressDlg;
    m_progress = progress;
    progress->Create(parent);
    progress->CenterOn(m_mainWindow);
    progress->show();
    progress->SetTextId(stringId);
}

void CClientApp::HideProgress()
{
    delete m_progress.data();
}

CProgressDlg* CClientApp::ProgressWindow() const
{
    return static_cast<CProgressDlg*>(m_progress.data());
}

void CClientApp::ShowAbout()
{
    CAboutDlg dialog(m_core->VersionText(), m_mainWindow);
    dialog.exec();
}

void CClientApp::ShowOptions()
{
    CSession& session = Session();
    COptionsDlg dialog(LoginOptions{session.SavedHandle(), session.SavedPassword(), session.AutomaticLogin()},
                       m_mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const LoginOptions values = dialog.Values();
    session.SaveLogin(values.handle, values.password, values.automaticLogin);
}

void CClientApp::ShowServerOptions()
{
    const CServerSettings& settings = Session().ServerSettings();
    CServerOptionsDlg dialog(ServerChoice{settings.ServerHost(), settings.DefaultPorts() != 0}, m_mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ServerChoice values = dialog.Values();
    m_core->ApplyServerOptions(values.host, values.defaultPorts);
}

void CClientApp::ToggleDetails()
{
    if (m_detailPane)
        m_detailPane->setVisible(!m_detailPane->isVisible());
}
