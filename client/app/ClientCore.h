#pragma once
// The application object's core: starts every long-lived object of the client
// in a fixed order, owns them, and tears them down in the exit order. What
// only the user interface has comes in through IClientShell. Everything here
// runs on the user-interface thread (the keep-alive worker aside).
#include "client/app/PreviewCalls.h"
#include "client/app/Session.h"
#include "client/editing/EditingServices.h"
#include "client/protocol/RequestListener.h"
#include "platform/com/ComPtr.h"

#include <cstdint>
#include <memory>
#include <string>

class CCheckForUpgradeRequest;
class CFavoritesModel;
class CFulfillPerformanceRequest;
class CFulfillPlaylistRequest;
class CLookupTables;
class CLookupTablesModel;
class CPlaylistStore;
class CSearchController;
class ICoralindObject;
class IClientShell;
class ITablesListener;

class CClientCore : public IEditingSession, public ILocalTrackLibrary, public IPreviewCalls, private IRequestListener {
public:
    /// The file the track library keeps, in the component's data folder.
    static constexpr const char* kTrackLibraryFile = "tracks.txt";

    /// shell must outlive the core.
    explicit CClientCore(IClientShell& shell);
    /// Runs the exit sequence when StartUp ran and ShutDown did not, without
    /// the shell's part (the shell may be half gone by then).
    ~CClientCore();
    CClientCore(const CClientCore&) = delete;
    CClientCore& operator=(const CClientCore&) = delete;

    /// The start-up sequence, once: preferences and server settings; playlist
    /// store, favorites model (both session listeners), search controller and
    /// the two preview requests; lookup tables (defaults, then the server's);
    /// upgrade check; keep-alive; then through the shell the main window, the
    /// welcome dialog, the preview browser; the login flow; dropped files; and
    /// the track library. Whatever fails is left out and the program runs on.
    void StartUp();
    /// The exit sequence, once: logout when logged in; the models and preview
    /// requests; the upgrade check; the keep-alive; the lookup tables and the
    /// login request; the shell's exit windows; "previouslyrun" = 1; the track
    /// library.
    void ShutDown();
    bool Started() const { return m_started; }

    /// The program's file version ("FileVersion" of the build).
    const std::string& VersionText() const { return m_versionText; }
    /// The "previouslyrun" preference as read at start-up.
    DWORD PreviouslyRun() const { return m_previouslyRun; }

    CSession& Session() { return m_session; }
    const CSession& Session() const { return m_session; }
    std::string GetServerBaseUrl(bool secure) const;
    /// The Server Options dialog's OK: takes effect for every later request
    /// and writes "appserver" and "defaultports".
    void ApplyServerOptions(const std::string& host, bool defaultPorts);

    /// "Log In": the login flow with the shell's Login dialog (silent when
    /// automatic login is configured). Enabled only while no token is held.
    void LogIn();
    bool CanLogIn() const { return m_session.Token().empty(); }
    /// "Log Out": enabled only while a token is held.
    void LogOut();
    bool CanLogOut() const { return !m_session.Token().empty(); }

    /// Owned by the core; nullptr before start-up and after exit.
    CPlaylistStore* PlaylistStore() const { return m_playlistStore.get(); }
    CFavoritesModel* FavoritesModel() const { return m_favoritesModel.get(); }
    CSearchController* SearchController() const { return m_searchController.get(); }
    CCheckForUpgradeRequest* UpgradeRequest() const { return m_upgradeRequest.get(); }

    /// The program's lookup tables; nullptr before start-up and after exit.
    const CLookupTables* LookupTables() const;
    CLookupTablesModel* LookupTablesModel() const { return m_lookupTables.get(); }
    /// Told, in registration order, when the server's tables replace the
    /// defaults. Nothing before start-up or after exit.
    void AddTablesListener(ITablesListener* listener);
    void RemoveTablesListener(ITablesListener* listener);

    /// Preview of a track or a playlist for the member logged in; the track's
    /// preview address goes to the shell's preview browser.
    void PreviewPerformance(std::int32_t performanceID) override;
    void PreviewPlaylist(std::int32_t playlistID) override;

    /// "Check for Upgrade": shows the answer already received, or asks again.
    void CheckForUpgrade();
    /// The help index under the server's plain base address.
    std::string HelpUrl() const;

    /// False when the track-library component could not be created or loaded.
    bool HasTrackLibrary() const { return static_cast<bool>(m_trackLibrary); }
    /// Nothing without the component or for an empty path.
    void RecordLocalFile(std::int32_t performanceID, const std::string& path) override;
    /// Empty without the component or when it holds no file for the number.
    std::string GetLocalFile(std::int32_t performanceID) const override;

    // IEditingSession
    std::string SessionToken() const override { return m_session.Token(); }
    std::string CurrentHandle() const override { return m_session.CurrentHandle(); }
    std::int32_t CurrentUserId() const override { return m_session.UserId(); }

private:
    void LoadPreferences();
    void CreateModels();
    void StartLookupTables();
    void StartUpgradeCheck();
    void CreateTrackLibrary();
    void ReleaseTrackLibrary();
    void Exit(bool withShell);

    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    // A failed table download or upgrade check is silent.
    void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override {}

    IClientShell& m_shell;
    bool m_started = false;
    bool m_shutDown = false;
    bool m_comInitialised = false;
    std::string m_versionText;
    DWORD m_previouslyRun = 0;
    // Cleared when the preview requests go, so a preview address still on its
    // way to the user-interface thread finds no shell.
    std::shared_ptr<IClientShell*> m_previewTarget;

    CSession m_session;
    std::unique_ptr<CPlaylistStore> m_playlistStore;
    std::unique_ptr<CFavoritesModel> m_favoritesModel;
    std::unique_ptr<CSearchController> m_searchController;
    std::unique_ptr<CFulfillPerformanceRequest> m_performancePreview;
    std::unique_ptr<CFulfillPlaylistRequest> m_playlistPreview;
    std::unique_ptr<CLookupTablesModel> m_lookupTables;
    std::unique_ptr<CCheckForUpgradeRequest> m_upgradeRequest;
    CComPtr<ICoralindObject> m_trackLibrary;
};
