#pragma once
// A run that ends itself with a picture: the welcome dialog is continued at
// once; when a member is logged in and every page of the main window has
// loaded since, the home page's first playlist is clicked, and once its detail
// page has loaded a PNG of the window is saved and the window closed, which
// ends the program.
#include "client/protocol/SessionListener.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>

class CSession;
class QWebEngineView;
class QWidget;

class CScreenshotRun : public QObject, public ISessionListener {
public:
    /// The file named by CORVANTA_SCREENSHOT, empty when it is unset.
    static QString RequestedFile();

    /// mainWindow gives the window to save (nullptr while there is none),
    /// homeBrowser the browser of its home page.
    CScreenshotRun(QString file, CSession& session, std::function<QWidget*()> mainWindow,
                   std::function<QWebEngineView*()> homeBrowser);
    ~CScreenshotRun() override;

    void OnSessionChanged(const std::string& handle, const std::string& token) override;

    /// True once the picture was saved.
    bool Saved() const { return m_saved; }

private:
    void Tick();
    /// Every visible page has finished a load since the login and none is loading.
    bool PagesLoaded(QWidget* window);
    void FollowFirstPlaylist(QWidget* window);
    void Save(QWidget* window);
    void GiveUp();

    QString m_file;
    CSession& m_session;
    std::function<QWidget*()> m_mainWindow;
    std::function<QWebEngineView*()> m_homeBrowser;
    QTimer m_timer;
    bool m_loggedIn = false;
    bool m_saved = false;
    int m_settledTicks = 0;
    bool m_followed = false;
    int m_ticksSinceFollowed = 0;
    QSet<QWebEngineView*> m_watched;
    QSet<QWebEngineView*> m_loaded;
};
