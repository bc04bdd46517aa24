#include "client/ui/frame/PlaylistEditorView.h"

#include "client/editing/AllPlaylistsPane.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"

CPlaylistEditorView::CPlaylistEditorView(const PaneServices& services, QWidget* parent)
    : CTabView(QStringLiteral("playlisteditorview"), parent), m_pane(new CAllPlaylistsPane(services))
{
    m_pane->Create(this, IDC_TAB_PANE);
    SetPane(m_pane);
}

QString CPlaylistEditorView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_CREATE));
}
