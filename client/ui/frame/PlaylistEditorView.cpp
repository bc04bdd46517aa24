#include "client/ui/frame/PlaylistEditorView.h"

#include "client/resources/StringTable.h"

CPlaylistEditorView::CPlaylistEditorView(QWidget* parent) : CTabView(QStringLiteral("playlisteditorview"), parent) {}

QString CPlaylistEditorView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_CREATE));
}
