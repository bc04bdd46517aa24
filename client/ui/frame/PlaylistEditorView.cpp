#include "client/ui/frame/PlaylistEditorView.h"

#include "client/resources/StringTable.h"

CPlaylistEditorView::CPlaylistEditorView(const PaneServices& services, QWidget* parent)
    : CTabView(QStringLiteral("playlisteditorview"), parent), m_services(services)
{
}

QString CPlaylistEditorView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_CREATE));
}
