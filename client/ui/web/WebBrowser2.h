#pragma once
// The embedded web browser of the panes: navigation with flags and extra
// headers, history, silent mode, and the two events the panes intercept
// (before a navigation starts, after it completed).
#include <QWebEngineView>

#include <functional>
#include <string>

class CWebBrowserPage;

class CWebBrowser2 : public QWebEngineView {
public:
    /// Navigation flag: do not answer the request from the browser's cache.
    static constexpr unsigned kNavNoReadFromCache = 4;
    /// The child id the browser has in both pane templates.
    static constexpr int kBrowserControlId = 1057;

    /// url is the target in its encoded form; headers are the extra header
    /// lines the navigation carries (only navigations this browser started
    /// with Navigate carry any). Return true to cancel the navigation.
    using BeforeNavigateHandler = std::function<bool(const std::string& url, const std::string& headers)>;
    /// url of the page whose navigation completed, encoded.
    using NavigateCompleteHandler = std::function<void(const std::string& url)>;

    explicit CWebBrowser2(QWidget* parent = nullptr, int controlId = kBrowserControlId);
    ~CWebBrowser2() override;

    /// Ignored when there is no history in that direction.
    void GoBack();
    void GoForward();
    /// headers: "name:value" lines separated by CR LF, as the panes write them.
    /// Safe to call from inside the before-navigate handler: the navigation
    /// then starts once the handler has returned.
    void Navigate(const std::string& url, unsigned flags = 0, const std::string& headers = {});
    void Refresh();
    void Stop();
    /// Silent: no dialogs of the browser's own (script alerts, prompts, file
    /// choosers, certificate and login questions); console output dropped.
    void SetSilent(bool silent);
    bool Silent() const;

    void SetBeforeNavigate(BeforeNavigateHandler handler);
    void SetNavigateComplete(NavigateCompleteHandler handler);

private:
    friend class CWebBrowserPage;
    bool OnBeforeNavigate(const QUrl& url, bool typed, bool mainFrame);
    void StartNavigation(const std::string& url, unsigned flags, const std::string& headers);

    CWebBrowserPage* m_page = nullptr;
    BeforeNavigateHandler m_beforeNavigate;
    NavigateCompleteHandler m_navigateComplete;
    bool m_inBeforeNavigate = false;
    // The navigation Navigate started last, until the browser asks about it.
    QUrl m_startedUrl;
    std::string m_startedHeaders;
};
