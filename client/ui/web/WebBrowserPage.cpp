#include "client/ui/web/WebBrowserPage.h"

#include "client/ui/web/WebBrowser2.h"

#include <QAuthenticator>
#include <QWebEngineCertificateError>

CWebBrowserPage::CWebBrowserPage(CWebBrowser2& browser, QObject* parent) : QWebEnginePage(parent), m_browser(browser)
{
    // Unanswered, both questions are refused: no dialog either way.
    connect(this, &QWebEnginePage::certificateError, this, [](const QWebEngineCertificateError& error) {
        auto copy = error;
        copy.rejectCertificate();
    });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
}

bool CWebBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // A server's redirect is part of the navigation already asked about.
    if (type == NavigationTypeRedirect)
        return true;
    return m_browser.OnBeforeNavigate(url, type == NavigationTypeTyped, isMainFrame);
}

void CWebBrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (!m_silent)
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool CWebBrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    return m_silent ? false : QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool CWebBrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                                       QString* result)
{
    return m_silent ? false : QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

void CWebBrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                               int lineNumber, const QString& sourceID)
{
    if (!m_silent)
        QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}

QStringList CWebBrowserPage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                         const QStringList& acceptedMimeTypes)
{
    return m_silent ? QStringList() : QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
}
