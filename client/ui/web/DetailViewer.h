#pragma once
// The right-hand column of the main window: the detail page of whatever item
// the member picks, with back, forward, stop and refresh buttons above it.
// Links to the favorites' add page become favorites instead of navigations.
#include "client/protocol/SessionListener.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/DetailPages.h"

#include <cstdint>
#include <string>

class CFavoritesModel;
class CHoverBitmapButton;
class CSession;
class CWebBrowser2;

class CDetailViewer : public CBaseDlgPane, public ISessionListener, public IDetailPages {
public:
    /// The button row above the browser.
    static constexpr int kBrowserTop = 26;
    static constexpr int kBrowserHeightLess = 28;

    /// session gives the token, the server address and the session events;
    /// favorites (may be null) receives the add links. Both outlive the pane.
    /// The controls of template 147 are built at construction.
    CDetailViewer(CSession& session, CFavoritesModel* favorites, QWidget* parent = nullptr);
    ~CDetailViewer() override;

    void ShowNoDetails() override;
    void ShowPerformanceDetail(std::int32_t performanceID) override;
    void ShowArtistDetail(std::int32_t artistID) override;
    void ShowPlaymakerDetail(std::int32_t userID) override;
    void ShowPlaylistDetail(std::int32_t playlistID) override;
    void EmailPlaymaker(std::int32_t userID) override;
    void EmailFriend(std::int32_t playlistID) override;
    /// Opens page (relative to the details folder) without reading the cache.
    void NavigateDetails(const std::string& page);

    void GoBack();
    void GoForward();
    void Stop();
    void Refresh();

    /// The browser commands 32803 to 32806, always enabled.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    /// The before-navigate decision for url (encoded form): true cancels.
    bool InterceptNavigation(const std::string& url);

    void OnSessionChanged(const std::string& handle, const std::string& token) override;

    CWebBrowser2* Browser() const { return m_browser; }
    /// The address of a details-folder page on the current server.
    std::string DetailsUrl(const std::string& page) const;

protected:
    void OnInitDialog() override;
    /// The pane keeps its own background through scheme changes.
    bool OnLookAndFeel() override { return true; }
    void resizeEvent(QResizeEvent* event) override;

private:
    CSession& m_session;
    CFavoritesModel* m_favorites;
    CWebBrowser2* m_browser = nullptr;
    CHoverBitmapButton* m_back = nullptr;
    CHoverBitmapButton* m_forward = nullptr;
    CHoverBitmapButton* m_stop = nullptr;
    CHoverBitmapButton* m_refresh = nullptr;
    bool m_listening = false;
};
