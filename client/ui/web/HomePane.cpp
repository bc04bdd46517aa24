#include "client/ui/web/HomePane.h"

#include "client/app/Session.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/web/DetailViewer.h"
#include "client/ui/web/LinkText.h"
#include "client/ui/web/WebBrowser2.h"
#include "platform/Url.h"
#include "shared/PagePaths.h"

#include <QResizeEvent>

namespace {

const QColor kPaneBackground(212, 208, 200);
constexpr char kNoCacheHeader[] = "pragma:nocache";

bool Contains(const std::string& text, const char* word)
{
    return text.find(word) != std::string::npos;
}

}  // namespace

CHomePane::CHomePane(CSession& session, QWidget* parent) : CBaseDlgPane(IDD_HOME_PANE, parent), m_session(session)
{
    m_session.AddSessionListener(this);
    // Built at once, so the pane works whether or not its host calls Create.
    OnInitDialog();
}

CHomePane::~CHomePane()
{
    m_session.RemoveSessionListener(this);
}

void CHomePane::OnInitDialog()
{
    SetBackgroundColor(kPaneBackground);
    if (m_browser != nullptr)
        return;
    m_browser = new CWebBrowser2(this, IDC_BROWSER);
    m_browser->setGeometry(0, 0, width(), height());
    m_browser->SetSilent(true);
    m_browser->SetBeforeNavigate(
        [this](const std::string& url, const std::string& headers) { return InterceptNavigation(url, headers); });
    m_browser->SetNavigateComplete([this](const std::string&) { OnNavigateComplete(); });
    GoHome();
}

void CHomePane::SetDetailViewer(CDetailViewer* detailViewer)
{
    m_detailViewer = detailViewer;
}

std::string CHomePane::HomeUrl() const
{
    return m_session.ServerSettings().GetServerBaseUrl(false) + PagePaths::kHome;
}

void CHomePane::GoHome()
{
    if (m_browser != nullptr)
        m_browser->Navigate(HomeUrl());
}

void CHomePane::GoBack()
{
    if (m_browser != nullptr)
        m_browser->GoBack();
}

void CHomePane::GoForward()
{
    if (m_browser != nullptr)
        m_browser->GoForward();
}

void CHomePane::Stop()
{
    if (m_browser != nullptr)
        m_browser->Stop();
}

void CHomePane::Refresh()
{
    if (m_browser != nullptr)
        m_browser->Refresh();
}

bool CHomePane::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    void (CHomePane::*action)() = nullptr;
    switch (id) {
    case ID_VIEW_BACK:
    case ID_BROWSER_BACK: action = &CHomePane::GoBack; break;
    case ID_VIEW_FORWARD:
    case ID_BROWSER_FORWARD: action = &CHomePane::GoForward; break;
    case ID_BROWSER_STOP: action = &CHomePane::Stop; break;
    case ID_VIEW_REFRESH:
    case ID_BROWSER_REFRESH: action = &CHomePane::Refresh; break;
    default: return false;
    }
    if (update == nullptr)
        (this->*action)();
    return true;
}

bool CHomePane::InterceptNavigation(const std::string& url, const std::string& headers)
{
    if (m_browser == nullptr)
        return false;
    UrlParts parts;
    static_cast<void>(SplitUrl(url, parts));

    // Item links of the home page name the details host; they open in the
    // detail viewer, never here.
    if (parts.host == PagePaths::kDetailsHost) {
        const std::int32_t n = LinkText::LeadingInteger(LinkText::AfterLastQuestionMark(parts.objectPath));
        const std::string& path = parts.objectPath;
        if (m_detailViewer != nullptr) {
            if (Contains(path, "artist"))
                m_detailViewer->ShowArtistDetail(n);
            else if (Contains(path, "playlist"))
                m_detailViewer->ShowPlaylistDetail(n);
            else if (Contains(path, "playmaker"))
                m_detailViewer->ShowPlaymakerDetail(n);
            else if (Contains(path, "recording"))
                m_detailViewer->ShowPerformanceDetail(n);
        }
        return true;
    }

    bool cancel = false;
    if (const std::size_t show = url.find("?show"); show != std::string::npos) {
        const std::string text = url.substr(show + 5);
        const std::size_t equals = text.find('=');
        const std::int32_t n = equals == std::string::npos ? 0 : LinkText::LeadingInteger(text.substr(equals + 1));
        if (m_detailViewer != nullptr) {
            if (Contains(text, "playlist"))
                m_detailViewer->ShowPlaylistDetail(n);
            else if (Contains(text, "playmaker"))
                m_detailViewer->ShowPlaymakerDetail(n);
            else if (Contains(text, "artist"))
                m_detailViewer->ShowArtistDetail(n);
            else if (Contains(text, "recording"))
                m_detailViewer->ShowPerformanceDetail(n);
        }
    }
    // Escaped as a query value; a plain token stays as it is.
    const std::string token = FormValue(m_session.Token());
    if (Contains(url, "UpdateProfile") && !Contains(url, "UserToken") && headers.empty()) {
        m_browser->Navigate(url + "?UserToken=" + token + "&App=Tessarin", CWebBrowser2::kNavNoReadFromCache,
                            kNoCacheHeader);
        m_refreshPending = true;
        cancel = true;
    }
    if (Contains(url, "ViewStatistics") && !Contains(url, "UserToken") && headers.empty()) {
        m_browser->Navigate(url + "?UserToken=" + token, CWebBrowser2::kNavNoReadFromCache, kNoCacheHeader);
        cancel = true;
    }
    if (Contains(url, "ShowUpdatedPlaymaker")) {
        GoHome();
        if (m_detailViewer != nullptr)
            m_detailViewer->ShowPlaymakerDetail(m_session.UserId());
        cancel = true;
    }
    if (Contains(url, "PreviewUpdatedPlaymaker")) {
        if (m_detailViewer != nullptr)
            m_detailViewer->ShowPlaymakerDetail(m_session.UserId());
        m_browser->Navigate(m_session.ServerSettings().GetServerBaseUrl(false) + PagePaths::kUpdateProfile +
                                "?UserToken=" + token + "&App=Tessarin",
                            CWebBrowser2::kNavNoReadFromCache, kNoCacheHeader);
        cancel = true;
    }
    return cancel;
}

void CHomePane::OnNavigateComplete()
{
    if (!m_refreshPending)
        return;
    m_refreshPending = false;
    Refresh();
}

void CHomePane::OnSessionChanged(const std::string&, const std::string&)
{
    GoHome();
}

void CHomePane::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (m_browser == nullptr)
        return;
    // The browser keeps its offset from the top left corner on every side but the bottom.
    const QPoint offset = m_browser->pos();
    m_browser->resize(std::max(0, width() - 2 * offset.x()), std::max(0, height() - offset.y()));
}
