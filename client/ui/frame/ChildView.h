#pragma once
// The left column of the main window: the tab strip (control 77) over the
// four tab views (Home, Create, Search, Favorites), one visible at a time.
// Commands go to the current tab view first, then to the child view, which
// handles the View menu's tab items and the look-and-feel commands.
#include "client/ui/shell/TabStripListener.h"
#include "client/ui/shell/CommandTarget.h"

#include <QWidget>

#include <vector>

struct PaneServices;
class CBookmarkView;
class CColorTabCtrl;
class CHomeView;
class CSearchView;
class CPlaylistEditorView;
class CSession;
class CTabView;

class CChildView : public QWidget, public ITabStripListener, public ICommandTarget {
public:
    /// session reaches the home pane, services the other tabs' panes; what
    /// they name outlives the view.
    CChildView(CSession& session, const PaneServices& services, QWidget* parent = nullptr);

    int GetPaneCount() const { return static_cast<int>(m_tabViews.size()); }
    QString GetPaneTitle(int index) const;
    /// Makes tab view index current and visible; the strip's selection stays.
    void SelectTab(int index);
    int CurrentIndex() const { return m_current; }
    CTabView* CurrentTabView() const { return m_currentView; }
    CTabView* TabView(int index) const;
    CHomeView* HomeView() const;
    CSearchView* SearchView() const;
    CPlaylistEditorView* PlaylistEditorView() const;
    CBookmarkView* BookmarkView() const;
    CColorTabCtrl* TabStrip() const { return m_tabStrip; }

    void OnTabClicked(int controlId, int index) override;
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_current = 0;
    CTabView* m_currentView = nullptr;
    std::vector<CTabView*> m_tabViews;  // children of this view, in tab order
    CColorTabCtrl* m_tabStrip;
};
