#pragma once
// The pane of the Home tab: the community's home page. Its links to items
// open them in the detail viewer; profile and statistics links are reloaded
// with the session token.
#include "client/protocol/SessionListener.h"
#include "client/ui/shell/BaseDlgPane.h"

#include <string>

class CDetailViewer;
class CSession;
class CWebBrowser2;

class CHomePane : public CBaseDlgPane, public ISessionListener {
public:
    /// session gives the token, the member's identifier, the server address
    /// and the session events; it outlives the pane. The pane listens to it
    /// from construction; the browser of template 148 is built then too.
    explicit CHomePane(CSession& session, QWidget* parent = nullptr);
    ~CHomePane() override;

    /// Where item links are shown; may be set later (null: such links are
    /// still cancelled, they show nothing).
    void SetDetailViewer(CDetailViewer* detailViewer);

    void GoHome();
    void GoBack();
    void GoForward();
    void Stop();
    void Refresh();

    /// View menu 32834 Refresh, 32835 Back, 32836 Forward and the browser
    /// commands 32803 to 32806, always enabled.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    /// The before-navigate decision for url (encoded form) carrying headers:
    /// true cancels.
    bool InterceptNavigation(const std::string& url, const std::string& headers);
    /// A navigation of the home pane's browser completed.
    void OnNavigateComplete();
    bool RefreshPending() const { return m_refreshPending; }

    void OnSessionChanged(const std::string& handle, const std::string& token) override;

    CWebBrowser2* Browser() const { return m_browser; }
    std::string HomeUrl() const;

protected:
    void OnInitDialog() override;
    /// The pane keeps its own background through scheme changes.
    bool OnLookAndFeel() override { return true; }
    void resizeEvent(QResizeEvent* event) override;

private:
    CSession& m_session;
    CDetailViewer* m_detailViewer = nullptr;
    CWebBrowser2* m_browser = nullptr;
    bool m_refreshPending = false;
};
