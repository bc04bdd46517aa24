#include "client/app/ClientCore.h"

#include "client/app/CheckForUpgradeRequest.h"
#include "client/app/ClientShell.h"
#include "client/app/Preferences.h"
#include "client/catalogue/FulfillPerformanceRequest.h"
#include "client/catalogue/FulfillPlaylistRequest.h"
#include "client/catalogue/LookupTablesModel.h"
#include "client/editing/PlaylistStore.h"
#include "client/favorites/FavoritesModel.h"
#include "client/search/SearchController.h"
#include "coralind/ICoralindObject.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComRuntime.h"
#include "shared/PagePaths.h"

namespace {

// In-process server, in-process handler or local server.
constexpr DWORD kTrackLibraryContext = 7;

class CScopedBstr {
public:
    explicit CScopedBstr(const std::string& text) : m_text(SysAllocStringUtf8(text)) {}
    CScopedBstr() = default;
    CScopedBstr(const CScopedBstr&) = delete;
    CScopedBstr& operator=(const CScopedBstr&) = delete;
    ~CScopedBstr() { SysFreeString(m_text); }
    BSTR Get() const { return m_text; }
    BSTR* Out() { return &m_text; }

private:
    BSTR m_text = nullptr;
};

}  // namespace

CClientCore::CClientCore(IClientShell& shell)
    : m_shell(shell), m_versionText(CORVANTA_FILE_VERSION), m_previewTarget(std::make_shared<IClientShell*>(&shell))
{
}

CClientCore::~CClientCore()
{
    Exit(false);
}

void CClientCore::StartUp()
{
    if (m_started)
        return;
    m_started = true;
    // COM for this thread: the track library is created and called here only.
    m_comInitialised = Succeeded(CoInitialize(nullptr));

    LoadPreferences();
    CreateModels();
    StartLookupTables();
    StartUpgradeCheck();
    m_session.StartKeepAlive();

    m_shell.CreateMainWindow();
    m_shell.RunWelcomeDialog(m_versionText);
    if (m_shell.MainWindowExists())
        m_shell.CreatePreviewBrowser();
    m_session.LoadSavedLogin();
    if (m_shell.MainWindowExists()) {
        m_session.LoginRequest();
        m_session.LoginFlow(m_shell.LoginPrompt());
    }
    if (m_shell.MainWindowExists())
        m_shell.AcceptDroppedFiles();

    CreateTrackLibrary();
}

void CClientCore::ShutDown()
{
    Exit(true);
}

void CClientCore::Exit(bool withShell)
{
    if (!m_started || m_shutDown)
        return;
    m_shutDown = true;

    if (m_session.IsLoggedIn())
        m_session.Logout();

    // Listeners go before their owners.
    m_session.RemoveSessionListener(m_playlistStore.get());
    m_session.RemoveSessionListener(m_favoritesModel.get());
    m_playlistStore.reset();
    m_favoritesModel.reset();
    m_searchController.reset();
    *m_previewTarget = nullptr;
    m_performancePreview.reset();
    m_playlistPreview.reset();

    m_upgradeRequest->RemoveListener(this);
    m_upgradeRequest.reset();

    m_session.StopKeepAlive();

    m_lookupTables.reset();
    m_session.ReleaseLoginRequest();

    if (withShell)
        m_shell.DestroyExitWindows();

    CPreferences().SetNumber(Pref::PreviouslyRun, 1);

    ReleaseTrackLibrary();
    if (m_comInitialised)
        CoUninitialize();
    m_comInitialised = false;
}

void CClientCore::LoadPreferences()
{
    m_session.LoadServerSettings();
    m_previouslyRun = CPreferences().GetNumber(Pref::PreviouslyRun, 0);
}

void CClientCore::CreateModels()
{
    m_playlistStore = std::make_unique<CPlaylistStore>(this, this);
    m_session.AddSessionListener(m_playlistStore.get());
    m_favoritesModel = std::make_unique<CFavoritesModel>([this] { return m_session.Token(); });
    m_session.AddSessionListener(m_favoritesModel.get());
    m_searchController = std::make_unique<CSearchController>();

    m_performancePreview = std::make_unique<CFulfillPerformanceRequest>();
    m_performancePreview->SetNavigator(
        [target = std::weak_ptr<IClientShell*>(m_previewTarget)](const std::string& url) {
            const auto shell = target.lock();
            if (shell && *shell)
                (*shell)->NavigatePreview(url);
        });
    m_playlistPreview = std::make_unique<CFulfillPlaylistRequest>();
}

void CClientCore::StartLookupTables()
{
    // The defaults are in place from construction until the server's tables arrive.
    m_lookupTables = std::make_unique<CLookupTablesModel>();
    m_lookupTables->Fetch();
}

void CClientCore::StartUpgradeCheck()
{
    m_upgradeRequest = std::make_unique<CCheckForUpgradeRequest>();
    m_upgradeRequest->AddListener(this);
    m_upgradeRequest->Check(m_versionText);
}

void CClientCore::CreateTrackLibrary()
{
    m_trackLibrary.Reset();
    CComPtr<IUnknown> unknown;
    if (Failed(CoCreateInstance(CLSID_CoralindObject, nullptr, kTrackLibraryContext, IID_IUnknown, unknown.Out())) ||
        !unknown)
        return;
    if (Failed(OleRun(unknown.Get())))
        return;
    CComPtr<ICoralindObject> library;
    if (Failed(unknown->QueryInterface(IID_ICoralindObject, library.Out())) || !library)
        return;
    // A library file that cannot be read or made leaves the component without a
    // library; the program then runs without one, as without the component.
    const CScopedBstr name(kTrackLibraryFile);
    if (library->LoadLibrary(name.Get()) != S_OK)
        return;
    m_trackLibrary = std::move(library);
}

void CClientCore::ReleaseTrackLibrary()
{
    m_trackLibrary.Reset();
}

std::string CClientCore::GetServerBaseUrl(bool secure) const
{
    return m_session.ServerSettings().GetServerBaseUrl(secure);
}

void CClientCore::ApplyServerOptions(const std::string& host, bool defaultPorts)
{
    CServerSettings& settings = m_session.ServerSettings();
    settings.SetServerHost(host);
    settings.SetDefaultPorts(defaultPorts ? 1 : 0);
    CPreferences preferences;
    preferences.SetString(Pref::AppServer, host);
    preferences.SetNumber(Pref::DefaultPorts, defaultPorts ? 1 : 0);
}

void CClientCore::LogIn()
{
    if (!CanLogIn())
        return;
    m_session.LoginFlow(m_shell.LoginPrompt());
}

void CClientCore::LogOut()
{
    if (!CanLogOut())
        return;
    m_session.Logout();
}

const CLookupTables* CClientCore::LookupTables() const
{
    return m_lookupTables ? &m_lookupTables->Tables() : nullptr;
}

void CClientCore::AddTablesListener(ITablesListener* listener)
{
    if (m_lookupTables)
        m_lookupTables->AddTablesListener(listener);
}

void CClientCore::RemoveTablesListener(ITablesListener* listener)
{
    if (m_lookupTables)
        m_lookupTables->RemoveTablesListener(listener);
}

void CClientCore::PreviewPerformance(std::int32_t performanceID)
{
    if (m_performancePreview)
        m_performancePreview->Fulfill(m_session.Token(), performanceID);
}

void CClientCore::PreviewPlaylist(std::int32_t playlistID)
{
    if (m_playlistPreview)
        m_playlistPreview->Fulfill(m_session.Token(), playlistID);
}

void CClientCore::CheckForUpgrade()
{
    if (m_upgradeRequest && m_upgradeRequest->CheckOnDemand(m_versionText))
        m_shell.ShowUpgradeStatus(*m_upgradeRequest);
}

std::string CClientCore::HelpUrl() const
{
    return GetServerBaseUrl(false) + PagePaths::kHelp;
}

void CClientCore::OnRequestCompleted(CServerRequest* request, std::int32_t, std::int32_t)
{
    if (m_upgradeRequest && request == m_upgradeRequest.get() && m_upgradeRequest->ShowStatusOnCompletion())
        m_shell.ShowUpgradeStatus(*m_upgradeRequest);
}

void CClientCore::RecordLocalFile(std::int32_t performanceID, const std::string& path)
{
    if (!m_trackLibrary)
        return;
    // The component refuses an empty path itself. A failure records nothing;
    // the caller has no use for it.
    const CScopedBstr text(path);
    m_trackLibrary->Add(performanceID, text.Get());
}

std::string CClientCore::GetLocalFile(std::int32_t performanceID) const
{
    if (!m_trackLibrary)
        return {};
    CScopedBstr path;
    if (m_trackLibrary->GetPath(performanceID, path.Out()) != S_OK)
        return {};
    return BstrToUtf8(path.Get());
}
