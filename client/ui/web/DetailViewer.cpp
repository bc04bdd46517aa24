#include "client/ui/web/DetailViewer.h"

#include "client/app/Session.h"
#include "client/favorites/FavoritesModel.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/web/HoverBitmapButton.h"
#include "client/ui/web/LinkText.h"
#include "client/ui/web/WebBrowser2.h"
#include "platform/Text.h"
#include "platform/Url.h"
#include "shared/PagePaths.h"

#include <QResizeEvent>

namespace {

const QColor kPaneBackground(212, 208, 200);

struct DetailButton {
    int id;
    const char* text;
    unsigned normal, pressed, hover, hoverPressed, disabled;
};

constexpr DetailButton kButtons[] = {
    {IDC_DETAIL_BACK, "<-", IDB_BACK, IDB_BACK_PRESSED, IDB_BACK_HOVER, IDB_BACK_PRESSED, IDB_BACK},
    {IDC_DETAIL_FORWARD, "->", IDB_FORWARD, IDB_FORWARD_PRESSED, IDB_FORWARD_HOVER, IDB_FORWARD_PRESSED, IDB_FORWARD},
    {IDC_DETAIL_STOP, "x", IDB_STOP, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_PRESSED, IDB_STOP},
    {IDC_DETAIL_REFRESH, "r", IDB_REFRESH, IDB_REFRESH_PRESSED, IDB_REFRESH_HOVER, IDB_REFRESH_PRESSED, IDB_REFRESH},
};

// A detail page with its item: "page?key=id", then "&UserToken=" and the token
// when the page shows the member's own view. The token goes into the query as
// a value: the few characters that would end it early are escaped (a plain
// token stays as it is).
std::string PageWithId(const char* page, const char* key, long id)
{
    return std::string(page) + "?" + key + "=" + std::to_string(id);
}

std::string PageWithId(const char* page, const char* key, long id, const std::string& token)
{
    return PageWithId(page, key, id) + "&UserToken=" + FormValue(token);
}

}  // namespace

CDetailViewer::CDetailViewer(CSession& session, CFavoritesModel* favorites, QWidget* parent)
    : CBaseDlgPane(IDD_DETAIL_VIEWER, parent), m_session(session), m_favorites(favorites)
{
    // Built at once, so the pane works whether or not its host calls Create.
    OnInitDialog();
}

CDetailViewer::~CDetailViewer()
{
    if (m_listening)
        m_session.RemoveSessionListener(this);
}

void CDetailViewer::OnInitDialog()
{
    SetBackgroundColor(kPaneBackground);
    if (m_browser != nullptr)
        return;

    CHoverBitmapButton** members[] = {&m_back, &m_forward, &m_stop, &m_refresh};
    int x = 0;
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const DetailButton& entry = kButtons[i];
        auto* button = new CHoverBitmapButton(entry.id, this);
        button->setText(QString::fromLatin1(entry.text));
        button->SetBitmaps(entry.normal, entry.pressed, entry.hover, entry.hoverPressed, entry.disabled);
        const QSize size = button->sizeHint().boundedTo(QSize(kBrowserTop * 2, kBrowserTop - 2));
        button->setGeometry(x, 1, size.width(), size.height());
        x += size.width() + 2;
        *members[i] = button;
    }
    connect(m_back, &QPushButton::clicked, this, [this] { GoBack(); });
    connect(m_forward, &QPushButton::clicked, this, [this] { GoForward(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { Stop(); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { Refresh(); });

    m_browser = new CWebBrowser2(this, IDC_BROWSER);
    m_browser->SetSilent(true);
    m_browser->SetBeforeNavigate(
        [this](const std::string& url, const std::string&) { return InterceptNavigation(url); });
    m_browser->setGeometry(0, kBrowserTop, width(), std::max(0, height() - kBrowserHeightLess));

    // A member already logged in is told at once, which shows the empty page.
    m_listening = true;
    m_session.AddSessionListener(this);
    if (!m_session.IsLoggedIn())
        ShowNoDetails();
}

std::string CDetailViewer::DetailsUrl(const std::string& page) const
{
    return m_session.ServerSettings().GetServerBaseUrl(false) + PagePaths::kDetails + page;
}

void CDetailViewer::NavigateDetails(const std::string& page)
{
    if (m_browser == nullptr)
        return;
    m_browser->Navigate(DetailsUrl(page), CWebBrowser2::kNavNoReadFromCache);
}

void CDetailViewer::ShowNoDetails()
{
    NavigateDetails(PagePaths::kNoDetails);
}

void CDetailViewer::ShowPerformanceDetail(std::int32_t performanceID)
{
    NavigateDetails(PageWithId(PagePaths::kPerformanceDetail, "performance", performanceID, m_session.Token()));
}

void CDetailViewer::ShowArtistDetail(std::int32_t artistID)
{
    NavigateDetails(PageWithId(PagePaths::kArtistDetail, "artist", artistID, m_session.Token()));
}

void CDetailViewer::ShowPlaymakerDetail(std::int32_t userID)
{
    NavigateDetails(PageWithId(PagePaths::kPlaymakerDetail, "playmaker", userID, m_session.Token()));
}

void CDetailViewer::ShowPlaylistDetail(std::int32_t playlistID)
{
    NavigateDetails(PageWithId(PagePaths::kPlaylistDetail, "playlist", playlistID, m_session.Token()));
}

void CDetailViewer::EmailPlaymaker(std::int32_t userID)
{
    NavigateDetails(PageWithId(PagePaths::kEmailPlaymaker, "playmaker", userID));
}

void CDetailViewer::EmailFriend(std::int32_t playlistID)
{
    NavigateDetails(PageWithId(PagePaths::kEmailFriend, "playlist", playlistID));
}

void CDetailViewer::GoBack()
{
    if (m_browser != nullptr)
        m_browser->GoBack();
}

void CDetailViewer::GoForward()
{
    if (m_browser != nullptr)
        m_browser->GoForward();
}

void CDetailViewer::Stop()
{
    if (m_browser != nullptr)
        m_browser->Stop();
}

void CDetailViewer::Refresh()
{
    if (m_browser != nullptr)
        m_browser->Refresh();
}

bool CDetailViewer::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    void (CDetailViewer::*action)() = nullptr;
    switch (id) {
    case ID_BROWSER_BACK: action = &CDetailViewer::GoBack; break;
    case ID_BROWSER_FORWARD: action = &CDetailViewer::GoForward; break;
    case ID_BROWSER_STOP: action = &CDetailViewer::Stop; break;
    case ID_BROWSER_REFRESH: action = &CDetailViewer::Refresh; break;
    default: return false;
    }
    if (update == nullptr)
        (this->*action)();
    return true;
}

bool CDetailViewer::InterceptNavigation(const std::string& url)
{
    UrlParts parts;
    static_cast<void>(SplitUrl(url, parts));
    // Any link naming the bookmark page, wherever it points, is an "add to
    // favorites" of the page's item: the client adds it itself.
    if (parts.objectPath.find("AddBookmark.jsp") == std::string::npos)
        return false;

    std::int32_t type = 0;
    std::int32_t id = 0;
    std::string names[3];
    for (const auto& [key, value] : LinkText::SplitQuery(LinkText::AfterLastQuestionMark(parts.objectPath))) {
        if (key == "bookmarkType")
            type = LinkText::LeadingInteger(value);
        else if (key == "newBookmarkItemID")
            id = LinkText::LeadingInteger(value);
        else if (key == "name" || key == "songName")
            names[0] = TrimBlanks(PercentDecode(value));
        else if (key == "playmakerName" || key == "artistName")
            names[1] = TrimBlanks(PercentDecode(value));
        else if (key == "albumName")
            names[2] = TrimBlanks(PercentDecode(value));
    }
    if (m_favorites != nullptr)
        m_favorites->AddFavorite(type, id, names[0], names[1], names[2]);
    return true;
}

void CDetailViewer::OnSessionChanged(const std::string&, const std::string&)
{
    ShowNoDetails();
}

void CDetailViewer::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (m_browser == nullptr)
        return;
    m_browser->setGeometry(0, kBrowserTop, width(), std::max(0, height() - kBrowserHeightLess));
}
