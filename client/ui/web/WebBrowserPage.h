#pragma once
// The page behind CWebBrowser2: asks the browser before every navigation and
// keeps quiet in silent mode.
#include <QWebEnginePage>

class CWebBrowser2;

class CWebBrowserPage : public QWebEnginePage {
public:
    CWebBrowserPage(CWebBrowser2& browser, QObject* parent);

    void SetSilent(bool silent) { m_silent = silent; }
    bool Silent() const { return m_silent; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

private:
    CWebBrowser2& m_browser;
    bool m_silent = false;
};
