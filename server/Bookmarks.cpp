#include "server/Bookmarks.h"

#include "server/Catalogue.h"
#include "server/Database.h"
#include "server/XmlWriter.h"

#include <algorithm>

namespace corvanta::server {

namespace {

SummaryKind SummaryKindOf(int64_t kind)
{
    switch (kind) {
    case 1: return SummaryKind::Artist;
    case 2: return SummaryKind::Playlist;
    case 3: return SummaryKind::Performance;
    default: return SummaryKind::User;
    }
}

struct Entry {
    int64_t id, item;
};

std::vector<Entry> ListOf(CConnection& db, int64_t userId, int64_t kind)
{
    std::vector<Entry> list;
    CQuery q = db.Prepare("SELECT id, item_id FROM bookmarks WHERE user_id = ?1 AND kind = ?2 ORDER BY position, id");
    q.Bind(1, userId).Bind(2, kind);
    while (q.Step())
        list.push_back({q.Int(0), q.Int(1)});
    return list;
}

void Renumber(CConnection& db, const std::vector<Entry>& list)
{
    for (size_t i = 0; i < list.size(); ++i)
        db.Prepare("UPDATE bookmarks SET position = ?1 WHERE id = ?2")
            .Bind(1, static_cast<int64_t>(i + 1))
            .Bind(2, list[i].id)
            .Run();
}

}  // namespace

bool CBookmarks::Add(int64_t userId, int64_t kind, const std::vector<int64_t>& items, std::vector<int64_t>& bookmarkIds,
                     std::string& error)
{
    bookmarkIds.clear();
    if (!ValidKind(kind)) {
        error = "Unknown favorite type";
        return false;
    }
    if (items.empty()) {
        error = "No item to add";
        return false;
    }
    auto db = m_db.Acquire();
    CTransaction transaction(*db);
    for (int64_t item : items) {
        bool known = kind == 2 ? CCatalogue::CanSeePlaylist(*db, item, userId)
                               : CCatalogue::Exists(*db, SummaryKindOf(kind), item);
        if (!known) {
            error = "Unknown item " + std::to_string(item);
            bookmarkIds.clear();
            return false;
        }
        {
            CQuery existing = db->Prepare("SELECT id FROM bookmarks WHERE user_id = ?1 AND kind = ?2 AND item_id = ?3");
            existing.Bind(1, userId).Bind(2, kind).Bind(3, item);
            if (existing.Step()) {
                bookmarkIds.push_back(existing.Int(0));
                continue;
            }
        }
        db->Prepare("INSERT INTO bookmarks(user_id, kind, item_id, position) VALUES (?1, ?2, ?3, "
                    "(SELECT ifnull(max(position), 0) + 1 FROM bookmarks WHERE user_id = ?1 AND kind = ?2))")
            .Bind(1, userId)
            .Bind(2, kind)
            .Bind(3, item)
            .Run();
        bookmarkIds.push_back(db->LastInsertId());
    }
    transaction.Commit();
    return true;
}

bool CBookmarks::Remove(int64_t userId, int64_t kind, const std::vector<int64_t>& bookmarkIds, std::string& error)
{
    if (!ValidKind(kind)) {
        error = "Unknown favorite type";
        return false;
    }
    if (bookmarkIds.empty()) {
        error = "No favorite to remove";
        return false;
    }
    auto db = m_db.Acquire();
    CTransaction transaction(*db);
    for (int64_t id : bookmarkIds) {
        {
            CQuery owner = db->Prepare("SELECT user_id, kind FROM bookmarks WHERE id = ?1");
            owner.Bind(1, id);
            if (!owner.Step() || owner.Int(0) != userId || owner.Int(1) != kind) {
                error = "Favorite " + std::to_string(id) + " is not in your list";
                return false;
            }
        }
        db->Prepare("DELETE FROM bookmarks WHERE id = ?1").Bind(1, id).Run();
    }
    transaction.Commit();
    return true;
}

bool CBookmarks::Move(int64_t userId, int64_t kind, int64_t bookmarkId, int64_t newPrevious, std::string& error)
{
    if (!ValidKind(kind)) {
        error = "Unknown favorite type";
        return false;
    }
    if (bookmarkId == newPrevious) {
        error = "A favorite cannot follow itself";
        return false;
    }
    auto db = m_db.Acquire();
    CTransaction transaction(*db);
    std::vector<Entry> list = ListOf(*db, userId, kind);
    auto moved = std::find_if(list.begin(), list.end(), [&](const Entry& e) { return e.id == bookmarkId; });
    if (moved == list.end()) {
        error = "Favorite " + std::to_string(bookmarkId) + " is not in your list";
        return false;
    }
    Entry entry = *moved;
    list.erase(moved);
    auto at = list.begin();
    if (newPrevious != 0) {
        auto previous = std::find_if(list.begin(), list.end(), [&](const Entry& e) { return e.id == newPrevious; });
        if (previous == list.end()) {
            error = "Favorite " + std::to_string(newPrevious) + " is not in your list";
            return false;
        }
        at = previous + 1;
    }
    list.insert(at, entry);
    Renumber(*db, list);
    transaction.Commit();
    return true;
}

void CBookmarks::WriteAll(CXmlWriter& xml, int64_t userId)
{
    auto db = m_db.Acquire();
    for (int64_t kind : {2, 1, 4, 3}) {
        std::vector<Entry> list = ListOf(*db, userId, kind);
        std::vector<int64_t> items;
        std::vector<BookmarkMark> marks;
        int64_t previous = 0;
        for (const Entry& e : list) {
            // A favorite playlist its owner has since made private drops out of the chain.
            if (kind == 2 && !CCatalogue::CanSeePlaylist(*db, e.item, userId))
                continue;
            items.push_back(e.item);
            marks.push_back({e.id, previous});
            previous = e.id;
        }
        CCatalogue::WriteSummaries(xml, *db, SummaryKindOf(kind), items, &marks, nullptr, userId);
    }
}

}  // namespace corvanta::server
