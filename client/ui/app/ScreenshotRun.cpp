#include "client/ui/app/ScreenshotRun.h"

#include "client/app/Session.h"
#include "client/ui/app/WelcomeDlg.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kTickMs = 100;
// Pages have finished loading for this many ticks in a row: nothing is still arriving.
constexpr int kSettledTicks = 10;
// A run that has not logged in by then gives up.
constexpr int kGiveUpMs = 120000;
// How long the detail page of the followed link may take.
constexpr int kFollowBoundTicks = 100;
}  // namespace

QString CScreenshotRun::RequestedFile()
{
    const char* file = std::getenv("CORVANTA_SCREENSHOT");
    return file ? QString::fromLocal8Bit(file) : QString();
}

CScreenshotRun::CScreenshotRun(QString file, CSession& session, std::function<QWidget*()> mainWindow,
                               std::function<QWebEngineView*()> homeBrowser)
    : m_file(std::move(file)), m_session(session), m_mainWindow(std::move(mainWindow)),
      m_homeBrowser(std::move(homeBrowser))
{
    m_session.AddSessionListener(this);
    connect(&m_timer, &QTimer::timeout, this, &CScreenshotRun::Tick);
    m_timer.start(kTickMs);
    QTimer::singleShot(kGiveUpMs, this, &CScreenshotRun::GiveUp);
}

CScreenshotRun::~CScreenshotRun()
{
    m_session.RemoveSessionListener(this);
}

void CScreenshotRun::OnSessionChanged(const std::string&, const std::string& token)
{
    m_loggedIn = !token.empty();
    // The panes load their pages anew at every login; count from here.
    m_loaded.clear();
    m_settledTicks = 0;
}

bool CScreenshotRun::PagesLoaded(QWidget* window)
{
    bool loaded = true;
    for (QWebEngineView* view : window->findChildren<QWebEngineView*>()) {
        if (!m_watched.contains(view)) {
            m_watched.insert(view);
            connect(view, &QWebEngineView::loadFinished, this, [this, view] { m_loaded.insert(view); });
            connect(view, &QObject::destroyed, this, [this, view] {
                m_watched.remove(view);
                m_loaded.remove(view);
            });
        }
        if (view->isVisible() && (!m_loaded.contains(view) || (view->page() && view->page()->isLoading())))
            loaded = false;
    }
    return loaded;
}

void CScreenshotRun::Tick()
{
    if (auto* welcome = dynamic_cast<CWelcomeDlg*>(QApplication::activeModalWidget())) {
        welcome->accept();
        return;
    }
    QWidget* window = m_mainWindow();
    if (m_saved || !m_loggedIn || !window || !window->isVisible())
        return;
    m_settledTicks = PagesLoaded(window) ? m_settledTicks + 1 : 0;
    if (m_followed && ++m_ticksSinceFollowed >= kFollowBoundTicks)
        m_settledTicks = kSettledTicks;  // the link led nowhere: the window is as it will be
    if (m_settledTicks < kSettledTicks)
        return;
    if (!m_followed) {
        FollowFirstPlaylist(window);
        return;
    }
    Save(window);
}

void CScreenshotRun::FollowFirstPlaylist(QWidget* window)
{
    // The picture shows a detail page too: the home page's first playlist,
    // clicked as a member would, so the home pane's own link handling runs.
    m_followed = true;
    QWebEngineView* home = m_homeBrowser ? m_homeBrowser() : nullptr;
    if (!home || !window->isAncestorOf(home))
        return;
    m_loaded.clear();
    m_settledTicks = 0;
    home->page()->runJavaScript(
        QStringLiteral("(function(){var a=document.querySelector('a[href*=\"showplaylist=\"]');if(a)a.click();})()"));
}

void CScreenshotRun::GiveUp()
{
    if (m_saved)
        return;
    std::fprintf(stderr, "corvanta: no screenshot: not logged in after %d s\n", kGiveUpMs / 1000);
    m_timer.stop();
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    if (QWidget* window = m_mainWindow())
        window->close();
}

void CScreenshotRun::Save(QWidget* window)
{
    m_saved = true;
    m_timer.stop();
    // The screen's copy holds what the browser panes drew themselves; a
    // platform without one (offscreen) renders the widgets instead.
    QPixmap picture;
    if (QScreen* screen = window->screen())
        picture = screen->grabWindow(window->winId());
    if (picture.isNull())
        picture = window->grab();
    if (!picture.save(m_file, "PNG")) {
        std::fprintf(stderr, "corvanta: could not save %s\n", m_file.toLocal8Bit().constData());
        m_saved = false;
    }
    window->close();
}
