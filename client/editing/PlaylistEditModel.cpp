#include "client/editing/PlaylistEditModel.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"
#include "client/editing/EditingServices.h"
#include "client/editing/ResolvePerformancesRequest.h"
#include "client/localmedia/DroppedFiles.h"
#include "client/localmedia/PerformanceClip.h"
#include "client/localmedia/PlaylistTransfer.h"
#include "client/resources/StringTable.h"
#include "client/xml/XmlDocumentWrapper.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cctype>

namespace {

char LowerAscii(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

/// The input row's placeholder of the artist or title column.
std::string Prompt(int column)
{
    return LoadResourceString(column == kArtistColumn ? IDS_TYPE_ARTIST_NAME : IDS_TYPE_TRACK_NAME);
}

}  // namespace

CPlaylistEditModel::CPlaylistEditModel(ILocalTrackLibrary* library)
    : m_library(library), m_resolver(new CResolvePerformancesRequest())
{
    m_resolver->AddListener(this);
    AppendBlankRow();
}

CPlaylistEditModel::~CPlaylistEditModel()
{
    m_resolver->RemoveListener(this);
    m_resolver->Shutdown();
}

std::string CPlaylistEditModel::MatchText(MatchState state)
{
    switch (state) {
    case MatchState::Match: return LoadResourceString(IDS_STATE_MATCH);
    case MatchState::Working: return LoadResourceString(IDS_STATE_WORKING);
    case MatchState::ClickHere: return LoadResourceString(IDS_STATE_CLICK_HERE);
    case MatchState::Error: return LoadResourceString(IDS_STATE_ERROR);
    case MatchState::Blank: break;
    }
    return LoadResourceString(IDS_STATE_BLANK);
}

std::uint32_t CPlaylistEditModel::MatchColour(MatchState state)
{
    switch (state) {
    case MatchState::Match: return 0x008000;
    case MatchState::Working: return 0xFFFFFF;
    case MatchState::ClickHere: return 0x80FFFF;
    case MatchState::Error: return 0x000080;
    case MatchState::Blank: break;
    }
    return 0x000000;
}

std::string CPlaylistEditModel::CellText(int row, int column) const
{
    const CPlaylistEditRow& item = Row(row);
    switch (column) {
    case kArtistColumn:
    case kTitleColumn:
    case kCommentColumn: return item.cells[static_cast<std::size_t>(column)];
    case kMatchColumn: return MatchText(item.state);
    case kLocalColumn:
        return item.performance.localFilePath.empty() ? std::string() : LoadResourceString(IDS_LOCAL_YES);
    default: return {};
    }
}

void CPlaylistEditModel::ResetRows()
{
    // Nobody will read the lookups of the rows that go.
    m_resolver->DropQueuedPosts();
    m_rows.clear();
    m_rows.push_back(MakeBlankRow());
    if (m_view)
        m_view->OnRowsReset();
    // The count follows the rows, so a new playlist does not inherit the old one's files.
    AdjustLocalCount(-m_localFileCount);
}

std::unique_ptr<CPlaylistEditRow> CPlaylistEditModel::MakeBlankRow()
{
    auto row = std::make_unique<CPlaylistEditRow>(m_nextRowId++);
    row->cells = {Prompt(kArtistColumn), Prompt(kTitleColumn), std::string()};
    return row;
}

void CPlaylistEditModel::AppendBlankRow()
{
    m_rows.push_back(MakeBlankRow());
    if (m_view)
        m_view->OnRowInserted(BlankRow());
}

int CPlaylistEditModel::InsertRow(std::unique_ptr<CPlaylistEditRow> row)
{
    const int index = BlankRow();
    m_rows.insert(m_rows.begin() + index, std::move(row));
    if (m_view)
        m_view->OnRowInserted(index);
    return index;
}

int CPlaylistEditModel::AddTrackRow(const std::string& title, const std::string& artist,
                                    const std::optional<std::string>& comment, const std::string& filePath)
{
    auto row = std::make_unique<CPlaylistEditRow>(m_nextRowId++);
    row->cells = {artist, title, comment.value_or(std::string())};
    row->performance.SongName = title;
    row->performance.ArtistName = artist;
    row->performance.Comment = comment.value_or(std::string());
    row->performance.localFilePath = filePath;
    row->sourceFile = filePath;
    const int index = InsertRow(std::move(row));
    if (!filePath.empty())
        AdjustLocalCount(1);
    StartMatching(index);
    return index;
}

void CPlaylistEditModel::AddTrackRow(const std::string& title, const std::string& artist, const std::string& filePath)
{
    AddTrackRow(title, artist, std::nullopt, filePath);
}

int CPlaylistEditModel::AddMatchedRow(const PerformanceSummary& summary)
{
    auto row = std::make_unique<CPlaylistEditRow>(m_nextRowId++);
    row->performance = summary;
    row->cells = {summary.ArtistName, summary.SongName, summary.Comment};
    row->state = MatchState::Match;
    const int index = InsertRow(std::move(row));
    if (!summary.localFilePath.empty())
        AdjustLocalCount(1);
    return index;
}

void CPlaylistEditModel::StartMatching(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    CPlaylistEditRow& item = *m_rows[static_cast<std::size_t>(row)];
    // Only the answer of the newest lookup counts: an earlier one was asked
    // for a title or artist the row no longer has.
    item.pendingKey = m_resolver->Resolve(item.performance.SongName, item.performance.ArtistName, item.Id());
    item.state = MatchState::Working;
    RowChanged(row);
}

int CPlaylistEditModel::CountUnresolved() const
{
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end() - 1, [](const auto& row) {
        return row->state == MatchState::Working || row->state == MatchState::ClickHere;
    }));
}

int CPlaylistEditModel::CountErrors() const
{
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end() - 1,
                                          [](const auto& row) { return row->state == MatchState::Error; }));
}

void CPlaylistEditModel::EditCell(int row, int column, const std::string& text)
{
    if (row < 0 || row >= RowCount() || column < kArtistColumn || column > kCommentColumn)
        return;
    CPlaylistEditRow& item = *m_rows[static_cast<std::size_t>(row)];
    item.cells[static_cast<std::size_t>(column)] = text;
    // An emptied cell of the input row shows its prompt again, so the input
    // row never turns into a track row that names nothing.
    if (row == BlankRow() && text.empty() && column != kCommentColumn)
        item.cells[static_cast<std::size_t>(column)] = Prompt(column);
    if (column == kCommentColumn) {
        item.performance.Comment = text;
        RowChanged(row);
        return;
    }
    const std::string& title = item.cells[kTitleColumn];
    const std::string& artist = item.cells[kArtistColumn];
    if (title == Prompt(kTitleColumn) || artist == Prompt(kArtistColumn)) {
        RowChanged(row);
        return;
    }
    if (title != item.performance.SongName || artist != item.performance.ArtistName) {
        item.performance.SongName = title;
        item.performance.ArtistName = artist;
        StartMatching(row);
    } else {
        RowChanged(row);
    }
    if (row == BlankRow())
        AppendBlankRow();
}

EditClick CPlaylistEditModel::Click(int row, int column)
{
    if (row < 0 || row >= RowCount())
        return EditClick::None;
    const CPlaylistEditRow& item = *m_rows[static_cast<std::size_t>(row)];
    if (item.state == MatchState::Match) {
        if (column == kTitleColumn) {
            const PerformanceSummary record = item.performance;
            m_listeners.ForEach([&](IPlaylistEditListener* listener) { listener->OnPerformanceClicked(record); });
        } else if (column == kArtistColumn) {
            const std::int32_t artist = item.performance.primaryArtistID;
            m_listeners.ForEach([&](IPlaylistEditListener* listener) { listener->OnArtistClicked(artist); });
        }
        return EditClick::None;
    }
    if (item.state == MatchState::ClickHere && column == kMatchColumn)
        return EditClick::ShowSuggestions;
    return EditClick::None;
}

int CPlaylistEditModel::ContextMenu(int row) const
{
    switch (Row(row).state) {
    case MatchState::Match: return kMenuMatchRow;
    case MatchState::ClickHere: return kMenuClickHereRow;
    case MatchState::Working: return kMenuWorkingRow;
    case MatchState::Error: return kMenuErrorRow;
    case MatchState::Blank: break;
    }
    return kMenuBlankRow;
}

bool CPlaylistEditModel::CanDragRow(int row) const
{
    return RowCount() >= 2 && IsTrackRow(row);
}

int CPlaylistEditModel::MoveRow(int from, int to)
{
    if (!CanDragRow(from))
        return -1;
    to = std::clamp(to, 0, BlankRow() - 1);
    if (to == from)
        return -1;
    std::unique_ptr<CPlaylistEditRow> moving = std::move(m_rows[static_cast<std::size_t>(from)]);
    m_rows.erase(m_rows.begin() + from);
    m_rows.insert(m_rows.begin() + to, std::move(moving));
    if (m_view)
        m_view->OnRowMoved(from, to);
    return to;
}

bool CPlaylistEditModel::DeleteRow(int row)
{
    if (!IsTrackRow(row))
        return false;
    const bool hadFile = !m_rows[static_cast<std::size_t>(row)]->performance.localFilePath.empty();
    m_rows.erase(m_rows.begin() + row);
    if (m_view)
        m_view->OnRowRemoved(row);
    if (hadFile)
        AdjustLocalCount(-1);
    return true;
}

void CPlaylistEditModel::RetryMatching(int row)
{
    if (IsTrackRow(row))
        StartMatching(row);
}

bool CPlaylistEditModel::Paste(const IClipboardStore& clipboard)
{
    const std::optional<PerformanceSummary> pasted = ReadPerformanceFromClipboard(clipboard);
    if (!pasted)
        return false;
    AddMatchedRow(*pasted);
    return true;
}

std::vector<PerformanceSummary> CPlaylistEditModel::Suggestions(int row) const
{
    return Row(row).CopyCandidates();
}

void CPlaylistEditModel::ChooseSuggestion(int row, const PerformanceSummary& chosen)
{
    if (!IsTrackRow(row))
        return;
    CPlaylistEditRow& item = *m_rows[static_cast<std::size_t>(row)];
    TakeCatalogueFields(item, chosen);
    item.state = MatchState::Match;
    item.pendingKey = -1;
    if (m_library)
        m_library->RecordLocalFile(item.performance.performanceID, item.performance.localFilePath);
    RowChanged(row);
}

void CPlaylistEditModel::DropFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        switch (DropActionFor(DropTarget::EditorTrackGrid, path)) {
        case DropAction::AddMp3File: {
            FileError error;
            if (!AddMp3FileRow(*this, path, &error)) {
                ShowMessageBox(error.text);
                return;
            }
            break;
        }
        case DropAction::AddXmlDocument:
            if (const XmlDocumentPtr document = LoadXmlFromFile(path))
                for (const CXmlNode* element : ElementsNamed(*document, u"PerformanceSummary")) {
                    const std::unique_ptr<PerformanceSummary> track = ReadPerformanceSummary(*element);
                    AddTrackRow(track->SongName, track->ArtistName, std::nullopt, std::string());
                }
            break;
        case DropAction::Ignore:
            // A dropped M3U file is among these; Import reads them.
            break;
        }
    }
}

std::string CPlaylistEditModel::GetLibraryPath(int row) const
{
    return m_library ? m_library->GetLocalFile(Row(row).performance.performanceID) : std::string();
}

int CPlaylistEditModel::AnsweredRow(std::int32_t key, std::int32_t context)
{
    const int index = IndexOfRowId(context);
    if (index < 0)
        return -1;
    CPlaylistEditRow& row = *m_rows[static_cast<std::size_t>(index)];
    if (row.pendingKey != key)
        return -1;  // an answer to an earlier lookup of an edited row
    row.pendingKey = -1;
    row.ClearCandidates();
    return index;
}

void CPlaylistEditModel::OnRequestCompleted(CServerRequest* request, std::int32_t key, std::int32_t context)
{
    if (request != m_resolver)
        return;
    CPlaylistEditRow::Candidates candidates = m_resolver->TakeCandidates(key);
    const int index = AnsweredRow(key, context);
    if (index < 0)
        return;
    CPlaylistEditRow& row = *m_rows[static_cast<std::size_t>(index)];
    const PerformanceSummary* first = candidates.empty() ? nullptr : candidates.front().get();
    if (first && EqualIgnoringCase(first->SongName, row.performance.SongName) &&
        EqualIgnoringCase(first->ArtistName, row.performance.ArtistName)) {
        TakeCatalogueFields(row, *first);
        row.state = MatchState::Match;
        const std::int32_t id = row.performance.performanceID;
        if (m_library) {
            if (row.performance.localFilePath.empty())
                SetLocalFilePath(row, m_library->GetLocalFile(id));
            else
                m_library->RecordLocalFile(id, row.performance.localFilePath);
        }
    } else {
        row.state = MatchState::ClickHere;
        row.SetCandidates(std::move(candidates));
    }
    RowChanged(index);
}

void CPlaylistEditModel::OnRequestFailed(CServerRequest* request, HRESULT, std::int32_t key, std::int32_t context)
{
    if (request != m_resolver)
        return;
    m_resolver->TakeCandidates(key);
    const int index = AnsweredRow(key, context);
    if (index < 0)
        return;
    m_rows[static_cast<std::size_t>(index)]->state = MatchState::Error;
    RowChanged(index);
}

int CPlaylistEditModel::IndexOfRowId(std::int32_t id) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i]->Id() == id)
            return static_cast<int>(i);
    return -1;
}

void CPlaylistEditModel::SetLocalFilePath(CPlaylistEditRow& row, const std::string& path)
{
    const bool had = !row.performance.localFilePath.empty();
    row.performance.localFilePath = path;
    const bool has = !path.empty();
    if (had != has)
        AdjustLocalCount(has ? 1 : -1);
}

void CPlaylistEditModel::AdjustLocalCount(int delta)
{
    if (delta == 0)
        return;
    m_localFileCount += delta;
    const int count = m_localFileCount;
    m_listeners.ForEach([&](IPlaylistEditListener* listener) { listener->OnLocalCountChanged(count); });
}

void CPlaylistEditModel::TakeCatalogueFields(CPlaylistEditRow& row, const PerformanceSummary& source)
{
    PerformanceSummary& record = row.performance;
    record.performanceID = source.performanceID;
    record.primaryArtistID = source.primaryArtistID;
    record.ArtistName = source.ArtistName;
    record.SongName = source.SongName;
    record.Version = source.Version;
    record.Length = source.Length;
    record.PrimaryGenreID = source.PrimaryGenreID;
    record.NumberTimesBookmarked = source.NumberTimesBookmarked;
    record.NumberTimesUsedInPlaylists = source.NumberTimesUsedInPlaylists;
    record.Ranking = source.Ranking;
    record.PerformanceSourceID = source.PerformanceSourceID;
    record.previewAvailable = source.previewAvailable;
    record.playAvailable = source.playAvailable;
    row.cells[kArtistColumn] = source.ArtistName;
    row.cells[kTitleColumn] = source.SongName;
}

void CPlaylistEditModel::RowChanged(int row)
{
    if (m_view)
        m_view->OnRowChanged(row);
}
