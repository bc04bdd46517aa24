#include "client/editing/PlaylistEditorModel.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/catalogue/SummaryReaders.h"
#include "client/editing/EditingServices.h"
#include "client/editing/PlaylistStore.h"
#include "client/localmedia/DroppedFiles.h"
#include "client/resources/StringTable.h"
#include "client/xml/XmlDocumentWrapper.h"
#include "platform/MessageBox.h"

CPlaylistEditorModel::CPlaylistEditorModel(CPlaylistStore& store, IEditingSession* session, ILocalTrackLibrary* library)
    : m_store(store), m_session(session), m_rows(library)
{
    m_store.AddListener(this);
}

CPlaylistEditorModel::~CPlaylistEditorModel()
{
    m_store.RemoveListener(this);
}

void CPlaylistEditorModel::OnPlaylistRemoved(PlaylistDetail* playlist)
{
    if (playlist == m_playlist)
        PlaylistGone();
}

void CPlaylistEditorModel::PlaylistGone()
{
    if (!m_playlist)
        return;
    m_playlist = nullptr;
    if (m_listener)
        m_listener->OnEditedPlaylistGone();
}

std::string CPlaylistEditorModel::CurrentHandle() const
{
    return m_session ? m_session->CurrentHandle() : std::string();
}

void CPlaylistEditorModel::LoadPlaylist(PlaylistDetail& detail)
{
    m_playlist = &detail;
    title = detail.Summary.Name;
    description = detail.Summary.PlaylistDescription;
    mood = detail.Summary.PrimaryMoodID;
    genre = detail.Summary.PrimaryGenreID;
    theme = detail.Summary.Theme;
    playmaker = CurrentHandle();
    m_rows.ResetRows();
    for (const auto& track : detail.Tracks)
        m_rows.AddMatchedRow(*track);
}

PublishOutcome CPlaylistEditorModel::Publish(IPublishProgress* progress)
{
    // A record the store let go is not published: made anew, it would be
    // created on the server a second time.
    if (!m_playlist || !m_store.Holds(m_playlist))
        return PublishOutcome::Closed;
    if (!m_playlist->tracksLoaded) {
        ShowMessageBox(LoadResourceString(IDS_PLAYLIST_TRACKS_NOT_LOADED));
        return PublishOutcome::Refused;
    }
    // A row whose lookup failed names no catalogue track yet (or an old one),
    // so it holds the publish back like an unresolved one; Retry Matching
    // clears it.
    if (m_rows.CountUnresolved() + m_rows.CountErrors() > 0) {
        ShowMessageBox(LoadResourceString(IDS_UNRESOLVED_PERFORMANCES));
        return PublishOutcome::Refused;
    }
    PlaylistDetail& playlist = *m_playlist;
    playlist.Summary.Name = title;
    playlist.Summary.PlaylistDescription = description;
    playlist.Summary.NumberOfPerformances = m_rows.GetTrackCount();
    playlist.Summary.Theme = theme;
    playlist.Summary.PrimaryGenreID = genre;
    playlist.Summary.PrimaryMoodID = mood;
    playlist.Tracks.clear();
    for (int row = 0; row < m_rows.GetTrackCount(); ++row)
        playlist.Tracks.push_back(std::make_unique<PerformanceSummary>(m_rows.GetTrackRecord(row)));

    if (progress)
        progress->Show();
    const HRESULT result = m_store.PublishPlaylist(playlist);
    if (progress)
        progress->Hide();
    if (Failed(result)) {
        ShowMessageBox(LoadResourceString(IDS_PUBLISH_FAILED));
        return PublishOutcome::Failed;
    }
    return PublishOutcome::Published;
}

void CPlaylistEditorModel::DropFilesOnPane(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (DropActionFor(DropTarget::EditorPane, path) != DropAction::AddXmlDocument)
            continue;
        const XmlDocumentPtr document = LoadXmlFromFile(path);
        if (!document)
            continue;
        for (const CXmlNode* detail : ElementsNamed(*document, u"PlaylistDetail")) {
            for (const CXmlNode* child = detail->firstChild(); child; child = child->nextSibling()) {
                // Saved answers name the summary "PlaylistSummary".
                if (child->nodeName() != u"Summary" && child->nodeName() != u"PlaylistSummary")
                    continue;
                const std::unique_ptr<PlaylistSummary> summary = ReadPlaylistSummary(*child);
                title = summary->Name;
                description = summary->PlaylistDescription;
                mood = summary->PrimaryMoodID;
                genre = summary->PrimaryGenreID;
                theme = summary->Theme;
                playmaker = CurrentHandle();
            }
        }
        for (const CXmlNode* element : ElementsNamed(*document, u"PerformanceSummary")) {
            const std::unique_ptr<PerformanceSummary> track = ReadPerformanceSummary(*element);
            m_rows.AddTrackRow(track->SongName, track->ArtistName, track->Comment, std::string());
        }
    }
}
