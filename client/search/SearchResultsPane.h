#pragma once
// The lower pane of the Search tab: every search as a group row with its
// results under it ("Searching..." until its answer), at most ten top-level
// groups (the searches of one form search share one). A search with more
// matches than results ends in a row that fetches the next page when clicked;
// the page's results follow under a row that names their range. Menus on the
// results show details, previews, mail pages, copy a track and add the
// selected results to the favorites.
#include "client/search/SearchListener.h"
#include "client/ui/grid/GridListener.h"
#include "client/ui/grid/GridRowItem.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

class CColorButton;
class CItemListGridCtrl;
class CItemRef;

class CSearchResultsPane : public CBaseDlgPane, public ISearchListener, public IGridListener {
public:
    /// Top-level groups shown at most; a new one removes the oldest.
    static constexpr std::size_t kMaxGroups = 10;

    /// The services' search controller, favorites model, session, detail
    /// pages, previews and clipboard are used when present; they outlive the pane.
    explicit CSearchResultsPane(const PaneServices& services, QWidget* parent = nullptr);
    ~CSearchResultsPane() override;

    CItemListGridCtrl* Grid() const { return m_grid; }
    /// Top-level groups shown now.
    std::size_t GroupCount() const { return m_groups.size(); }
    /// Clear Results: every row goes and the groups are forgotten.
    void ClearResults();
    /// Close All: every group collapses to the top level.
    void CloseAll();

    /// The context menus' commands, on the row the last menu was opened on
    /// while that row lives; Add to Favorites on every selected result, and
    /// only while a member is logged in.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    // ISearchListener
    void OnSearchAdded(std::int32_t index) override;
    void OnSearchAnswered(std::int32_t index) override;
    void OnResultsAppended(std::int32_t index, std::int32_t firstNew) override;
    void OnSearchBusy(std::int32_t) override {}
    void OnSearchGroupStarted(const std::string& title) override;
    void OnSearchGroupEnded() override;
    void OnPageFailed(std::int32_t index) override;

    // IGridListener
    void OnItemClicked(CGridRowItem* item) override;
    void OnContextRequest(CGridRowItem* item, int x, int y) override;
    void OnCellClicked(int, int) override {}

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The data of a more-results row: which search it fetches for.
    struct MoreResults {
        std::int32_t index;
    };
    // The rows of a search that the pane shows.
    struct ShownSearch {
        CGridRowId group;
        CGridRowId top;      // its top-level group: the group row, or the group it stands in
        CGridRowId waiting;  // "Searching..." or "Retrieving next results..."
        CGridRowId moreRow;
        std::unique_ptr<MoreResults> more;  // freed with its row
    };

    /// The search's rows while its group row is shown; nullptr otherwise.
    ShownSearch* Shown(std::int32_t index);
    /// Makes room for one more top-level group.
    void MakeRoomForGroup();
    /// Removes a top-level group, its rows and what the pane kept of them
    /// (top by value: it may be an element of the groups it leaves).
    void RemoveGroup(CGridRowId top);
    /// Adds result rows from first on under the search's group row.
    void AddResults(std::int32_t index, CGridRowItem* group, std::int32_t first);
    /// Ends the group with a more-results row, or makes row one.
    void AddMoreRow(std::int32_t index, ShownSearch& shown, CGridRowItem* group);
    void MakeMoreRow(std::int32_t index, ShownSearch& shown, int row);
    void DropMoreRow(ShownSearch& shown);
    void ShowGroupRow(int groupIndex);

    CItemRef* ContextItem() const;
    bool CommandEnabled(unsigned id, const CItemRef& item) const;
    void AddSelectedToFavorites();

    PaneServices m_services;
    CItemListGridCtrl* m_grid = nullptr;
    CColorButton* m_clear = nullptr;
    CColorButton* m_closeAll = nullptr;
    std::string m_moreText;
    std::deque<CGridRowId> m_groups;  // top-level rows, oldest first
    CGridRowId m_currentGroup;        // while a group is announced
    std::unordered_map<std::int32_t, ShownSearch> m_searches;
    // The more-results rows' data, to tell them from other rows' data.
    std::unordered_map<const void*, std::int32_t> m_moreRows;
    CGridRowId m_contextRow;
    bool m_listening = false;
};
