#pragma once
// The member's favorites while the client runs: four lists loaded at login and
// the changes the member makes to them, shown at once and sent to the server
// as numbered operations. Everything runs on the user-interface thread.
#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"
#include "client/favorites/AddBookmarkRequest.h"
#include "client/favorites/BookmarkOperation.h"
#include "client/favorites/BookmarkType.h"
#include "client/favorites/DeleteBookmarkRequest.h"
#include "client/favorites/FavoritesListener.h"
#include "client/favorites/GetUserBookmarksRequest.h"
#include "client/favorites/MoveBookmarkRequest.h"
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/SessionListener.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFavoritesModel : public IRequestListener, public ISessionListener {
public:
    /// Where the session token is read whenever a body is built; without one
    /// the model uses the token of the last session change it was told of.
    using TokenSource = std::function<std::string()>;

    /// At most this many items go into one add.
    static constexpr std::size_t kItemsPerAdd = 50;

    explicit CFavoritesModel(TokenSource tokenSource = {});
    virtual ~CFavoritesModel();
    CFavoritesModel(const CFavoritesModel&) = delete;
    CFavoritesModel& operator=(const CFavoritesModel&) = delete;

    /// A listener added once the favorites are loaded is told so at once.
    void AddListener(IFavoritesListener* listener);
    void RemoveListener(IFavoritesListener* listener);

    bool Loaded() const { return m_loaded; }
    std::int32_t TrackCount() const { return Size(m_lists.tracks); }
    std::int32_t PlaylistCount() const { return Size(m_lists.playlists); }
    std::int32_t ArtistCount() const { return Size(m_lists.artists); }
    std::int32_t PlaymakerCount() const { return Size(m_lists.playmakers); }
    /// The count of the list of that BookmarkType; 0 for any other number.
    std::int32_t Count(std::int32_t type) const;
    /// Owned by the model; nullptr when out of range.
    PerformanceSummary* Track(std::int32_t index) const { return At(m_lists.tracks, index); }
    PlaylistSummary* Playlist(std::int32_t index) const { return At(m_lists.playlists, index); }
    ArtistSummary* Artist(std::int32_t index) const { return At(m_lists.artists, index); }
    UserSummary* Playmaker(std::int32_t index) const { return At(m_lists.playmakers, index); }

    /// Copies the records that are not favorites yet (each once) into the
    /// lists and sends them in operations of at most kItemsPerAdd.
    void AddFavorites(const std::vector<const ArtistSummary*>& summaries);
    void AddFavorites(const std::vector<const PlaylistSummary*>& summaries);
    void AddFavorites(const std::vector<const PerformanceSummary*>& summaries);
    void AddFavorites(const std::vector<const UserSummary*>& summaries);
    /// One item known by kind, identifier and names; nothing while logged out
    /// or for a type outside 1 to 4.
    void AddFavorite(std::int32_t type, std::int32_t id, const std::string& name, const std::string& secondName,
                     const std::string& thirdName);
    /// items all refer to favorites of that BookmarkType; the records stay in
    /// the lists until the server confirms the removal. Sent once the moves
    /// asked for before it are answered.
    void RemoveFavorites(std::vector<std::unique_ptr<CItemRef>> items, std::int32_t type);
    /// Puts item right after predecessor (first of its list when null); the
    /// two refer to records of the model and are not taken. The lists keep
    /// their order. A predecessor still being added is waited for, as the
    /// records of one add share their temporary number; so is every move asked
    /// for earlier, so that the server applies them in the member's order.
    void MoveFavorite(const CItemRef& item, const CItemRef* predecessor);

    /// Operations not finished yet, in creation order.
    std::size_t PendingCount() const { return m_pending.size(); }
    const CBookmarkOperation* PendingOperation(std::size_t index) const;

    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;
    void OnSessionChanged(const std::string& handle, const std::string& token) override;

private:
    struct Lists {
        std::vector<std::unique_ptr<PerformanceSummary>> tracks;
        std::vector<std::unique_ptr<PlaylistSummary>> playlists;
        std::vector<std::unique_ptr<ArtistSummary>> artists;
        std::vector<std::unique_ptr<UserSummary>> playmakers;
    };

    struct Pending {
        std::unique_ptr<CBookmarkOperation> operation;
        // A move whose new predecessor was still being added waits for it too.
        std::unique_ptr<CItemRef> predecessor;
    };

    template <class Record>
    static std::int32_t Size(const std::vector<std::unique_ptr<Record>>& list)
    {
        return static_cast<std::int32_t>(list.size());
    }
    template <class Record>
    static Record* At(const std::vector<std::unique_ptr<Record>>& list, std::int32_t index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= list.size())
            return nullptr;
        return list[static_cast<std::size_t>(index)].get();
    }

    template <class Record>
    void AddRecords(const std::vector<const Record*>& summaries);
    template <class Record>
    void DiscardRecords(std::vector<std::unique_ptr<Record>>& list, const std::function<bool(const Record&)>& which);

    std::string Token() const;
    void ClearLists();
    bool IsReferenced(const void* record) const;
    /// Drops items that were never on the server; false while one still waits
    /// for its add.
    static bool PassesUnconfirmedCheck(Pending& pending);
    void SendWaiting(Pending& pending);
    /// Takes an operation out of the pending list.
    Pending TakePending(std::vector<Pending>::iterator at);
    void SendMove(Pending& pending, std::int32_t bookmarkID);
    void ProcessPending();
    void FinishOperation(Pending finished, bool failed);
    void FailAdd(CBookmarkOperation& operation);
    void MakeFetchRequest();
    void TakeFavorites();

    TokenSource m_tokenSource;
    std::string m_sessionToken;
    std::uint32_t m_operationCounter = 0;
    bool m_loaded = false;
    Lists m_lists;
    // Records gone from the lists that a pending or finishing operation still
    // points at; freed once nothing is pending or finishing.
    Lists m_detached;
    std::vector<Pending> m_pending;
    // Moves among them; a move or removal is sent only when no move precedes it.
    std::size_t m_pendingMoves = 0;
    // Operations out of the pending list whose outcome is being handled; a
    // message box or listener may run a nested loop meanwhile.
    std::vector<const Pending*> m_finishing;
    CGuardedList<IFavoritesListener*> m_listeners;
    // Declared last so they go first: no answer arrives once the records go.
    // A fresh fetch per session, so an earlier session's answer is dropped.
    std::unique_ptr<CGetUserBookmarksRequest> m_fetch;
    CAddBookmarkRequest m_add;
    CDeleteBookmarkRequest m_delete;
    CMoveBookmarkRequest m_move;
};
