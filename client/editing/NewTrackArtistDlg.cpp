#include "client/editing/NewTrackArtistDlg.h"

#include "client/catalogue/ItemRef.h"
#include "client/editing/ResolveArtistsRequest.h"
#include "client/editing/TrackResolution.h"
#include "client/editing/UpdateArtistRequest.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/grid/ItemListGridCtrl.h"

namespace {

const CNewCatalogueItemDlg::Template kTemplate = {
    IDD_NEW_TRACK_ARTIST,
    "New Track - Artist",
    IDC_NEW_ARTIST_NAME,
    IDC_SUGGEST_SELECT_ARTIST,
    "Select an artist from the Corvanta database:",
    IDC_SUGGEST_ADD_ARTIST,
    "Add new artist to Corvanta:",
    IDC_NEW_ARTIST_LIST,
    IDS_LOOKING_FOR_ARTISTS,
    IDS_CREATING_ARTIST,
    IDS_COULD_NOT_CREATE_ARTIST,
    7,
};

}  // namespace

CNewTrackArtistDlg::CNewTrackArtistDlg(const PaneServices& services, QWidget* parent)
    : CNewCatalogueItemDlg(services, kTemplate, parent), m_lookup(std::make_unique<CResolveArtistsRequest>()),
      m_create(std::make_unique<CUpdateArtistRequest>())
{
    m_lookup->AddListener(this);
    m_create->AddListener(this);
}

CNewTrackArtistDlg::~CNewTrackArtistDlg()
{
    m_create->RemoveListener(this);
    m_lookup->RemoveListener(this);
    // The rows refer to the artists, which go with the dialog.
    List()->RemoveAll();
}

void CNewTrackArtistDlg::SetArtistName(const std::string& name)
{
    m_artistName = name;
    SetTypedName(name);
}

void CNewTrackArtistDlg::StartLookup()
{
    m_key = m_lookup->Resolve(m_artistName, 0);
}

bool CNewTrackArtistDlg::TakeSelected(const CItemRef& item)
{
    const ArtistSummary* artist = item.AsArtist();
    if (!artist)
        return false;
    m_resultID = artist->artistID;
    m_resultName = artist->Name;
    return true;
}

bool CNewTrackArtistDlg::SendNewItem(const std::string& name)
{
    m_newName = name;
    return Succeeded(m_create->CreateArtist(Token(), NewArtistRecord(name)));
}

void CNewTrackArtistDlg::OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t)
{
    if (request == m_lookup.get() && value1 == m_key) {
        ClearRows();
        m_artists = m_lookup->TakeCandidates(value1);
        for (const auto& artist : m_artists)
            List()->AddArtist(*artist);
        ShowRows();
    } else if (request == m_create.get()) {
        // An answer without a number made no artist.
        const std::optional<CreatedArtist> created = ArtistCreated(*m_create, m_newName);
        if (created) {
            m_resultID = created->artistID;
            m_resultName = created->name;
        }
        FinishCreating(created.has_value());
    }
}

void CNewTrackArtistDlg::OnRequestFailed(CServerRequest* request, HRESULT, std::int32_t, std::int32_t)
{
    // A failed lookup leaves its row; the member can still add a new artist.
    if (request == m_create.get())
        FinishCreating(false);
}
