#include "client/favorites/FavoritesModel.h"

#include "client/resources/StringTable.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

std::int32_t CatalogueID(const PerformanceSummary& r)
{
    return r.performanceID;
}
std::int32_t CatalogueID(const PlaylistSummary& r)
{
    return r.playlistID;
}
std::int32_t CatalogueID(const ArtistSummary& r)
{
    return r.artistID;
}
std::int32_t CatalogueID(const UserSummary& r)
{
    return r.userID;
}

template <class Record>
struct Kind;
template <>
struct Kind<PerformanceSummary> {
    static constexpr std::int32_t type = kBookmarkTrack;
    template <class L>
    static auto& List(L& lists)
    {
        return lists.tracks;
    }
};
template <>
struct Kind<PlaylistSummary> {
    static constexpr std::int32_t type = kBookmarkPlaylist;
    template <class L>
    static auto& List(L& lists)
    {
        return lists.playlists;
    }
};
template <>
struct Kind<ArtistSummary> {
    static constexpr std::int32_t type = kBookmarkArtist;
    template <class L>
    static auto& List(L& lists)
    {
        return lists.artists;
    }
};
template <>
struct Kind<UserSummary> {
    static constexpr std::int32_t type = kBookmarkPlaymaker;
    template <class L>
    static auto& List(L& lists)
    {
        return lists.playmakers;
    }
};

std::int32_t TypeOfItem(const CItemRef& item)
{
    switch (item.Kind()) {
    case kItemArtist: return kBookmarkArtist;
    case kItemPlaylist: return kBookmarkPlaylist;
    case kItemPerformance: return kBookmarkTrack;
    case kItemUser: return kBookmarkPlaymaker;
    default: return 0;
    }
}

std::string ItemNames(const CBookmarkOperation& operation)
{
    std::string names;
    for (const auto& item : operation.items)
        names += '\n' + item->Name();
    return names;
}

}  // namespace

CFavoritesModel::CFavoritesModel(TokenSource tokenSource) : m_tokenSource(std::move(tokenSource))
{
    MakeFetchRequest();
    m_add.AddListener(this);
    m_delete.AddListener(this);
    m_move.AddListener(this);
}

CFavoritesModel::~CFavoritesModel() = default;

void CFavoritesModel::MakeFetchRequest()
{
    // Ending the old request drops its answer, also one already on its way to
    // this thread.
    m_fetch = std::make_unique<CGetUserBookmarksRequest>();
    m_fetch->AddListener(this);
}

void CFavoritesModel::AddListener(IFavoritesListener* listener)
{
    m_listeners.Add(listener);
    if (m_loaded)
        listener->OnFavoritesLoaded();
}

void CFavoritesModel::RemoveListener(IFavoritesListener* listener)
{
    m_listeners.Remove(listener);
}

std::int32_t CFavoritesModel::Count(std::int32_t type) const
{
    switch (type) {
    case kBookmarkArtist: return ArtistCount();
    case kBookmarkPlaylist: return PlaylistCount();
    case kBookmarkTrack: return TrackCount();
    case kBookmarkPlaymaker: return PlaymakerCount();
    default: return 0;
    }
}

const CBookmarkOperation* CFavoritesModel::PendingOperation(std::size_t index) const
{
    return index < m_pending.size() ? m_pending[index].operation.get() : nullptr;
}

std::string CFavoritesModel::Token() const
{
    return m_tokenSource ? m_tokenSource() : m_sessionToken;
}

template <class Record>
void CFavoritesModel::AddRecords(const std::vector<const Record*>& summaries)
{
    constexpr std::int32_t type = Kind<Record>::type;
    auto& list = Kind<Record>::List(m_lists);

    std::unordered_set<std::int32_t> present;
    for (const auto& record : list)
        present.insert(CatalogueID(*record));
    std::vector<const Record*> entries;
    std::unordered_set<std::int32_t> seen;
    for (const Record* summary : summaries) {
        if (!summary || present.count(CatalogueID(*summary)) != 0)
            continue;
        if (seen.insert(CatalogueID(*summary)).second)
            entries.push_back(summary);
    }

    for (std::size_t first = 0; first < entries.size(); first += kItemsPerAdd) {
        const std::uint32_t n = ++m_operationCounter;
        auto operation = std::make_unique<CBookmarkOperation>();
        operation->identifier = n;
        operation->type = type;
        operation->kind = kBookmarkAdd;
        operation->state = kOperationSent;
        const std::size_t last = std::min(entries.size(), first + kItemsPerAdd);
        for (std::size_t i = first; i < last; ++i) {
            auto copy = std::make_unique<Record>(*entries[i]);
            copy->BookmarkID = -static_cast<std::int32_t>(n);
            operation->items.push_back(std::make_unique<CItemRef>(copy.get()));
            list.push_back(std::move(copy));
            const auto index = static_cast<std::int32_t>(list.size() - 1);
            m_listeners.ForEach([&](IFavoritesListener* l) { l->OnFavoriteAdded(type, index); });
        }
        CBookmarkOperation& sent = *operation;
        m_pending.push_back(Pending{std::move(operation), nullptr});
        m_add.Send(sent, Token());
    }
}

void CFavoritesModel::AddFavorites(const std::vector<const ArtistSummary*>& summaries)
{
    AddRecords(summaries);
}
void CFavoritesModel::AddFavorites(const std::vector<const PlaylistSummary*>& summaries)
{
    AddRecords(summaries);
}
void CFavoritesModel::AddFavorites(const std::vector<const PerformanceSummary*>& summaries)
{
    AddRecords(summaries);
}
void CFavoritesModel::AddFavorites(const std::vector<const UserSummary*>& summaries)
{
    AddRecords(summaries);
}

void CFavoritesModel::AddFavorite(std::int32_t type, std::int32_t id, const std::string& name,
                                  const std::string& secondName, const std::string& thirdName)
{
    if (Token().empty())
        return;
    switch (type) {
    case kBookmarkArtist: {
        ArtistSummary artist;
        artist.artistID = id;
        artist.Name = name;
        AddFavorites(std::vector<const ArtistSummary*>{&artist});
        break;
    }
    case kBookmarkPlaylist: {
        PlaylistSummary playlist;
        playlist.playlistID = id;
        playlist.Name = name;
        playlist.Playmaker.Handle = secondName;
        AddFavorites(std::vector<const PlaylistSummary*>{&playlist});
        break;
    }
    case kBookmarkTrack: {
        PerformanceSummary track;
        track.performanceID = id;
        track.SongName = name;
        track.ArtistName = secondName;
        track.Version = thirdName;
        AddFavorites(std::vector<const PerformanceSummary*>{&track});
        break;
    }
    case kBookmarkPlaymaker: {
        UserSummary playmaker;
        playmaker.userID = id;
        playmaker.Handle = name;
        AddFavorites(std::vector<const UserSummary*>{&playmaker});
        break;
    }
    default: break;
    }
}

void CFavoritesModel::RemoveFavorites(std::vector<std::unique_ptr<CItemRef>> items, std::int32_t type)
{
    Pending pending;
    pending.operation = std::make_unique<CBookmarkOperation>();
    CBookmarkOperation& operation = *pending.operation;
    operation.identifier = ++m_operationCounter;
    operation.kind = kBookmarkDelete;
    operation.type = type;
    operation.items = std::move(items);
    operation.state = kOperationSent;
    // A removal waits for the moves asked for before it: one of them may name
    // a favorite it removes, and the server refuses a move of what is gone.
    const bool send = PassesUnconfirmedCheck(pending) && m_pendingMoves == 0;
    if (!send)
        operation.state = kOperationWaiting;
    m_pending.push_back(std::move(pending));
    if (send)
        m_delete.Send(operation, Token());
}

void CFavoritesModel::MoveFavorite(const CItemRef& item, const CItemRef* predecessor)
{
    const std::int32_t type = TypeOfItem(item);
    if (type == 0)
        return;
    Pending pending;
    pending.operation = std::make_unique<CBookmarkOperation>();
    CBookmarkOperation& operation = *pending.operation;
    operation.identifier = ++m_operationCounter;
    operation.kind = kBookmarkMove;
    operation.type = type;
    operation.bookmarkID = item.BookmarkID();
    operation.newPreviousBookmarkID = predecessor ? predecessor->BookmarkID() : 0;
    operation.state = kOperationSent;
    operation.items.push_back(std::make_unique<CItemRef>(item));
    // Sending a temporary number would put the favorite nowhere: the move
    // waits for the predecessor's confirmed number.
    if (predecessor && operation.newPreviousBookmarkID < 0)
        pending.predecessor = std::make_unique<CItemRef>(*predecessor);
    // Moves go one at a time, in the member's order: two on their way at once
    // could reach the server the other way round and leave another order there.
    const bool send = PassesUnconfirmedCheck(pending) && m_pendingMoves == 0;
    if (!send)
        operation.state = kOperationWaiting;
    m_pending.push_back(std::move(pending));
    ++m_pendingMoves;
    if (send)
        SendMove(m_pending.back(), operation.bookmarkID);
}

bool CFavoritesModel::PassesUnconfirmedCheck(Pending& pending)
{
    auto& items = pending.operation->items;
    bool passes = true;
    for (auto it = items.begin(); it != items.end();) {
        const std::int32_t bookmarkID = (*it)->BookmarkID();
        if (bookmarkID == 0) {
            it = items.erase(it);
            continue;
        }
        if (bookmarkID < 0)
            passes = false;
        ++it;
    }
    if (pending.predecessor && pending.predecessor->BookmarkID() < 0)
        passes = false;
    return passes;
}

void CFavoritesModel::SendMove(Pending& pending, std::int32_t bookmarkID)
{
    CBookmarkOperation& operation = *pending.operation;
    operation.bookmarkID = bookmarkID;
    if (pending.predecessor)
        operation.newPreviousBookmarkID = std::max(0, pending.predecessor->BookmarkID());
    m_move.Send(operation, Token());
}

void CFavoritesModel::SendWaiting(Pending& pending)
{
    CBookmarkOperation& operation = *pending.operation;
    operation.state = kOperationSent;
    if (operation.kind == kBookmarkDelete)
        m_delete.Send(operation, Token());
    else if (operation.kind == kBookmarkMove)
        SendMove(pending, operation.items.front()->BookmarkID());
}

void CFavoritesModel::ProcessPending()
{
    if (m_pending.empty()) {
        // What failed adds left behind, and records only operations still held.
        const auto leftover = [](const auto& record) { return record.BookmarkID == 0 && CatalogueID(record) == 0; };
        DiscardRecords<ArtistSummary>(m_lists.artists, leftover);
        DiscardRecords<PlaylistSummary>(m_lists.playlists, leftover);
        DiscardRecords<PerformanceSummary>(m_lists.tracks, leftover);
        DiscardRecords<UserSummary>(m_lists.playmakers, leftover);
        if (m_finishing.empty())
            m_detached = Lists();
        return;
    }
    bool earlierMove = false;
    for (std::size_t i = 0; i < m_pending.size();) {
        Pending& pending = m_pending[i];
        const bool passes = PassesUnconfirmedCheck(pending);
        const bool move = pending.operation->kind == kBookmarkMove;
        // A move or removal whose favorites never reached the server (their
        // add failed) has nothing left to send.
        if (pending.operation->kind != kBookmarkAdd && pending.operation->items.empty() &&
            pending.operation->state == kOperationWaiting) {
            TakePending(m_pending.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        // Moves and removals wait for the moves before them.
        if (passes && pending.operation->state == kOperationWaiting && !earlierMove)
            SendWaiting(pending);
        earlierMove = earlierMove || move;
        ++i;
    }
    if (m_pending.empty())
        ProcessPending();
}

bool CFavoritesModel::IsReferenced(const void* record) const
{
    const auto refers = [record](const Pending& pending) {
        if (pending.predecessor && pending.predecessor->Record() == record)
            return true;
        return std::any_of(pending.operation->items.begin(), pending.operation->items.end(),
                           [record](const auto& item) { return item->Record() == record; });
    };
    return std::any_of(m_pending.begin(), m_pending.end(), refers) ||
           std::any_of(m_finishing.begin(), m_finishing.end(), [&](const Pending* p) { return refers(*p); });
}

template <class Record>
void CFavoritesModel::DiscardRecords(std::vector<std::unique_ptr<Record>>& list,
                                     const std::function<bool(const Record&)>& which)
{
    auto& detached = Kind<Record>::List(m_detached);
    std::vector<std::unique_ptr<Record>> kept;
    for (auto& record : list) {
        if (!which(*record))
            kept.push_back(std::move(record));
        else if (IsReferenced(record.get()))
            detached.push_back(std::move(record));
    }
    list = std::move(kept);
}

void CFavoritesModel::ClearLists()
{
    const auto all = [](const auto&) { return true; };
    DiscardRecords<ArtistSummary>(m_lists.artists, all);
    DiscardRecords<PlaylistSummary>(m_lists.playlists, all);
    DiscardRecords<PerformanceSummary>(m_lists.tracks, all);
    DiscardRecords<UserSummary>(m_lists.playmakers, all);
}

void CFavoritesModel::OnSessionChanged(const std::string&, const std::string& token)
{
    m_sessionToken = token;
    ClearLists();
    MakeFetchRequest();
    if (!token.empty()) {
        m_listeners.ForEach([](IFavoritesListener* l) { l->OnFavoritesReset(); });
        m_fetch->Fetch(token);
    } else {
        m_listeners.ForEach([](IFavoritesListener* l) { l->OnFavoritesCleared(); });
    }
}

void CFavoritesModel::TakeFavorites()
{
    if (Token().empty())
        return;
    const auto append = [](auto& list, auto&& taken) {
        for (auto& record : taken)
            list.push_back(std::move(record));
    };
    append(m_lists.playlists, m_fetch->TakePlaylists());
    append(m_lists.artists, m_fetch->TakeArtists());
    append(m_lists.playmakers, m_fetch->TakePlaymakers());
    append(m_lists.tracks, m_fetch->TakeTracks());
    m_loaded = true;
    m_listeners.ForEach([](IFavoritesListener* l) { l->OnFavoritesLoaded(); });
}

void CFavoritesModel::OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t)
{
    if (request == m_fetch.get()) {
        TakeFavorites();
        return;
    }
    const auto identifier = static_cast<std::uint32_t>(value1);
    const auto found = std::find_if(m_pending.begin(), m_pending.end(),
                                    [&](const Pending& p) { return p.operation->identifier == identifier; });
    if (found == m_pending.end())
        return;
    const bool failed = !found->operation->success;
    FinishOperation(TakePending(found), failed);
}

CFavoritesModel::Pending CFavoritesModel::TakePending(std::vector<Pending>::iterator at)
{
    Pending taken = std::move(*at);
    m_pending.erase(at);
    if (taken.operation->kind == kBookmarkMove)
        --m_pendingMoves;
    return taken;
}

void CFavoritesModel::OnRequestFailed(CServerRequest* request, HRESULT, std::int32_t value1, std::int32_t)
{
    // A failed fetch leaves the lists empty.
    if (request == m_fetch.get())
        return;
    const auto identifier = static_cast<std::uint32_t>(value1);
    const auto found = std::find_if(m_pending.begin(), m_pending.end(),
                                    [&](const Pending& p) { return p.operation->identifier == identifier; });
    if (found == m_pending.end())
        return;
    Pending finished = TakePending(found);
    finished.operation->success = false;
    FinishOperation(std::move(finished), true);
}

// The operation is already out of the pending list, so what a listener or a
// message box does meanwhile cannot touch it; while it is finishing, its records
// are not freed either. Every write to its records comes before any message box.
void CFavoritesModel::FinishOperation(Pending finished, bool failed)
{
    m_finishing.push_back(&finished);
    CBookmarkOperation* operation = finished.operation.get();
    operation->state = kOperationAnswered;
    const std::string typeName = BookmarkTypeName(operation->type);
    switch (operation->kind) {
    case kBookmarkAdd:
        if (!failed) {
            // Items the answer gave no number are not on the server: they fail.
            auto& items = operation->items;
            items.erase(
                std::remove_if(items.begin(), items.end(), [](const auto& item) { return item->BookmarkID() > 0; }),
                items.end());
            failed = !items.empty();
        }
        if (failed)
            FailAdd(*operation);
        break;
    case kBookmarkDelete:
        m_listeners.ForEach([&](IFavoritesListener* l) { l->OnOperationFinished(operation); });
        if (failed) {
            ShowMessageBox(FormatResourceString(IDS_FAVORITES_NOT_REMOVED_FMT, {typeName, ItemNames(*operation)}), {},
                           kMbOk);
        } else {
            std::unordered_set<const void*> removed;
            for (const auto& item : operation->items)
                removed.insert(item->Record());
            const auto gone = [&](const auto& record) { return removed.count(&record) != 0; };
            switch (operation->type) {
            case kBookmarkArtist: DiscardRecords<ArtistSummary>(m_lists.artists, gone); break;
            case kBookmarkPlaylist: DiscardRecords<PlaylistSummary>(m_lists.playlists, gone); break;
            case kBookmarkTrack: DiscardRecords<PerformanceSummary>(m_lists.tracks, gone); break;
            case kBookmarkPlaymaker: DiscardRecords<UserSummary>(m_lists.playmakers, gone); break;
            default: break;
            }
        }
        break;
    case kBookmarkMove:
        if (failed)
            ShowMessageBox(FormatResourceString(IDS_FAVORITE_NOT_MOVED_FMT, {typeName, ItemNames(*operation)}), {},
                           kMbOk);
        break;
    default: break;
    }
    m_finishing.erase(std::find(m_finishing.begin(), m_finishing.end(), &finished));
    finished = Pending();
    ProcessPending();
}

// The pane drops the rows, the copies become leftovers for the next purge, and
// then the member is told.
void CFavoritesModel::FailAdd(CBookmarkOperation& operation)
{
    operation.success = true;
    m_listeners.ForEach([&](IFavoritesListener* l) { l->OnOperationFinished(&operation); });
    const std::string text =
        FormatResourceString(IDS_FAVORITES_NOT_ADDED_FMT, {BookmarkTypeName(operation.type), ItemNames(operation)});
    for (const auto& item : operation.items) {
        item->SetBookmarkID(0);
        item->SetIdentifier(0);
    }
    ShowMessageBox(text, {}, kMbOk);
}
