#include "client/ui/web/WebBrowser2.h"

#include "client/ui/shell/ControlId.h"
#include "client/ui/web/WebBrowserPage.h"

#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>

namespace {

QUrl TargetUrl(const std::string& url)
{
    return QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::TolerantMode);
}

// "name:value" lines separated by CR LF (a bare LF also ends a line).
void AddHeaderLines(QWebEngineHttpRequest& request, const std::string& headers)
{
    const QList<QByteArray> lines = QByteArray::fromStdString(headers).split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        request.setHeader(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
}

}  // namespace

CWebBrowser2::CWebBrowser2(QWidget* parent, int controlId) : QWebEngineView(parent)
{
    SetControlId(this, controlId);
    m_page = new CWebBrowserPage(*this, this);
    setPage(m_page);
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        if (m_navigateComplete)
            m_navigateComplete(m_page->url().toEncoded().toStdString());
    });
}

CWebBrowser2::~CWebBrowser2()
{
    // The page goes first, while the view it reports to is still whole.
    m_beforeNavigate = nullptr;
    m_navigateComplete = nullptr;
    setPage(nullptr);
    delete m_page;
}

void CWebBrowser2::GoBack()
{
    if (m_page->history()->canGoBack())
        m_page->history()->back();
}

void CWebBrowser2::GoForward()
{
    if (m_page->history()->canGoForward())
        m_page->history()->forward();
}

void CWebBrowser2::Navigate(const std::string& url, unsigned flags, const std::string& headers)
{
    if (m_inBeforeNavigate) {
        // The engine is still deciding about the navigation that asked.
        QTimer::singleShot(0, this, [this, url, flags, headers] { StartNavigation(url, flags, headers); });
        return;
    }
    StartNavigation(url, flags, headers);
}

void CWebBrowser2::StartNavigation(const std::string& url, unsigned flags, const std::string& headers)
{
    const QUrl target = TargetUrl(url);
    QWebEngineHttpRequest request(target);
    AddHeaderLines(request, headers);
    if ((flags & kNavNoReadFromCache) != 0)
        request.setHeader("Cache-Control", "no-cache");
    m_startedUrl = target;
    m_startedHeaders = headers;
    m_page->load(request);
}

void CWebBrowser2::Refresh()
{
    m_page->triggerAction(QWebEnginePage::Reload);
}

void CWebBrowser2::Stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void CWebBrowser2::SetSilent(bool silent)
{
    m_page->SetSilent(silent);
}

bool CWebBrowser2::Silent() const
{
    return m_page->Silent();
}

void CWebBrowser2::SetBeforeNavigate(BeforeNavigateHandler handler)
{
    m_beforeNavigate = std::move(handler);
}

void CWebBrowser2::SetNavigateComplete(NavigateCompleteHandler handler)
{
    m_navigateComplete = std::move(handler);
}

bool CWebBrowser2::OnBeforeNavigate(const QUrl& url, bool typed, bool mainFrame)
{
    std::string headers;
    if (typed && mainFrame) {
        if (!m_startedUrl.isEmpty() && url == m_startedUrl)
            headers = m_startedHeaders;
        m_startedUrl.clear();
        m_startedHeaders.clear();
    }
    if (!m_beforeNavigate)
        return true;
    m_inBeforeNavigate = true;
    const bool cancel = m_beforeNavigate(url.toEncoded().toStdString(), headers);
    m_inBeforeNavigate = false;
    return !cancel;
}
