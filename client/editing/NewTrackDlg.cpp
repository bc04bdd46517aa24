#include "client/editing/NewTrackDlg.h"

#include "client/catalogue/ItemRef.h"
#include "client/editing/DialogTemplate.h"
#include "client/editing/TrackResolution.h"
#include "client/editing/UpdatePerformanceRequest.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/search/SearchForPerformancesRequest.h"
#include "client/ui/grid/ItemListGridCtrl.h"

#include <QLabel>

namespace {

const CNewCatalogueItemDlg::Template kTemplate = {
    IDD_NEW_TRACK,
    "New Track",
    IDC_NEW_TRACK_NAME,
    IDC_SUGGEST_SELECT_TRACK,
    "Select a track from the Corvanta database:",
    IDC_SUGGEST_ADD_TRACK,
    "Add new track to Corvanta:",
    IDC_NEW_TRACK_LIST,
    IDS_LOOKING_FOR_TRACKS,
    IDS_CREATING_TRACK,
    IDS_COULD_NOT_CREATE_TRACK,
    22,
};

// The search's slot of the results (value 1 of its answer).
constexpr std::int32_t kResultSlot = 1;
// Title anywhere in the track's title; the artist's name as a whole.
constexpr std::int32_t kTitleContains = 0;
constexpr std::int32_t kArtistExactly = 1;

}  // namespace

CNewTrackDlg::CNewTrackDlg(const PaneServices& services, QWidget* parent)
    : CNewCatalogueItemDlg(services, kTemplate, parent), m_artist(new QLabel(this)),
      m_search(std::make_unique<CSearchForPerformancesRequest>()),
      m_create(std::make_unique<CUpdatePerformanceRequest>())
{
    PlaceControl(new QLabel(QStringLiteral("Artist:"), this), 0, QRect(7, 7, 30, 10));
    PlaceControl(m_artist, IDC_NEW_TRACK_ARTIST, QRect(40, 7, 173, 10));
    m_search->AddListener(this);
    m_create->AddListener(this);
}

CNewTrackDlg::~CNewTrackDlg()
{
    m_create->RemoveListener(this);
    m_search->RemoveListener(this);
    List()->RemoveAll();
}

void CNewTrackDlg::SetArtistName(const std::string& name)
{
    m_artistName = name;
    m_artist->setText(QString::fromStdString(name));
}

void CNewTrackDlg::SetTrackName(const std::string& name)
{
    m_trackName = name;
    SetTypedName(name);
}

void CNewTrackDlg::StartLookup()
{
    PerformanceSearch search;
    search.performanceTitle = {m_trackName, kTitleContains};
    search.primaryArtistName = {m_artistName, kArtistExactly};
    m_key = m_search->Search(search, kResultSlot);
}

bool CNewTrackDlg::TakeSelected(const CItemRef& item)
{
    const PerformanceSummary* track = item.AsPerformance();
    if (!track)
        return false;
    m_result = *track;
    return true;
}

bool CNewTrackDlg::SendNewItem(const std::string& name)
{
    m_sent = NewTrackRecord(m_artistName, m_artistID, name);
    return Succeeded(m_create->CreatePerformance(Token(), m_sent));
}

void CNewTrackDlg::OnRequestCompleted(CServerRequest* request, std::int32_t, std::int32_t value2)
{
    if (request == m_search.get() && value2 == m_key) {
        ClearRows();
        m_tracks.clear();
        for (std::int32_t i = 0; i < m_search->Count(m_key); ++i) {
            m_tracks.push_back(std::make_unique<PerformanceSummary>(*m_search->Summary(m_key, i)));
            List()->AddPerformance(*m_tracks.back());
        }
        m_search->ReleaseResult(m_key);
        ShowRows();
    } else if (request == m_create.get()) {
        // An answer without a number made no track.
        const std::optional<PerformanceSummary> created = TrackCreated(*m_create, m_sent);
        if (created)
            m_result = *created;
        FinishCreating(created.has_value());
    }
}

void CNewTrackDlg::OnRequestFailed(CServerRequest* request, HRESULT, std::int32_t, std::int32_t)
{
    if (request == m_create.get())
        FinishCreating(false);
}
