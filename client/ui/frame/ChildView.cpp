#include "client/ui/frame/ChildView.h"

#include "client/resources/ResourceIds.h"
#include "client/ui/frame/BookmarkView.h"
#include "client/ui/frame/HomeView.h"
#include "client/ui/frame/PlaylistEditorView.h"
#include "client/ui/frame/SearchView.h"
#include "client/ui/shell/ColorTabCtrl.h"
#include "client/ui/shell/LookAndFeelEvent.h"
#include "client/ui/shell/LookAndFeelPalette.h"

#include <QResizeEvent>

CChildView::CChildView(CSession& session, const PaneServices& services, QWidget* parent)
    : QWidget(parent), m_tabStrip(new CColorTabCtrl)
{
    m_tabStrip->Create(QRect(0, 0, width(), 20), this, IDC_TABSTRIP);
    m_tabStrip->AddListener(this);
    m_tabStrip->SetPaletteColors();

    const std::pair<CTabView*, int> views[] = {
        {new CHomeView(session), IDC_HOME_VIEW},
        {new CPlaylistEditorView(services), IDC_PLAYLIST_EDITOR_VIEW},
        {new CSearchView(services), IDC_SEARCH_VIEW},
        {new CBookmarkView(services), IDC_BOOKMARK_VIEW},
    };
    for (const auto& [view, id] : views) {
        view->Create(this, id);
        m_tabViews.push_back(view);
    }
    for (int i = 0; i < GetPaneCount(); ++i)
        m_tabStrip->AddTab(i, GetPaneTitle(i));
    SelectTab(0);
    // Files dropped on a pane reach the widget under the cursor directly.
    setAcceptDrops(false);
}

QString CChildView::GetPaneTitle(int index) const
{
    const CTabView* view = TabView(index);
    return view ? view->GetTitle() : QString();
}

CTabView* CChildView::TabView(int index) const
{
    return index >= 0 && index < GetPaneCount() ? m_tabViews[static_cast<std::size_t>(index)] : nullptr;
}

CHomeView* CChildView::HomeView() const
{
    return static_cast<CHomeView*>(TabView(0));
}

CSearchView* CChildView::SearchView() const
{
    return static_cast<CSearchView*>(TabView(2));
}

CPlaylistEditorView* CChildView::PlaylistEditorView() const
{
    return static_cast<CPlaylistEditorView*>(TabView(1));
}

CBookmarkView* CChildView::BookmarkView() const
{
    return static_cast<CBookmarkView*>(TabView(3));
}

void CChildView::SelectTab(int index)
{
    m_current = index;
    CTabView* chosen = TabView(index);
    if (chosen)
        chosen->show();
    for (CTabView* view : m_tabViews) {
        if (view != chosen)
            view->hide();
    }
    m_currentView = chosen;
}

void CChildView::OnTabClicked(int controlId, int index)
{
    if (controlId == IDC_TABSTRIP)
        SelectTab(index);
}

bool CChildView::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    if (m_currentView && m_currentView->OnCmdMsg(id, update))
        return true;

    if (id >= ID_VIEW_TAB_FIRST && id < ID_VIEW_TAB_FIRST + static_cast<unsigned>(GetPaneCount())) {
        const int index = static_cast<int>(id - ID_VIEW_TAB_FIRST);
        if (update) {
            update->SetCheck(index == m_current);
        } else {
            SelectTab(index);
            m_tabStrip->SetCurSel(index);
        }
        return true;
    }
    if (id == ID_LOOK_AND_FEEL_SCHEME0 || id == ID_LOOK_AND_FEEL_SCHEME2) {
        if (!update) {
            ApplyLookAndFeelScheme(id == ID_LOOK_AND_FEEL_SCHEME0 ? 0 : 2);
            BroadcastLookAndFeel(this);
        }
        return true;
    }
    return false;
}

void CChildView::resizeEvent(QResizeEvent* event)
{
    // The strip covers the client area; the views take the part below its band.
    m_tabStrip->setGeometry(0, 0, event->size().width(), event->size().height());
    const QRect area = CColorTabCtrl::AdjustRect(false, m_tabStrip->rect());
    for (CTabView* view : m_tabViews)
        view->setGeometry(area);
    QWidget::resizeEvent(event);
}
