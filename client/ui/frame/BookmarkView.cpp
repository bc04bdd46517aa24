#include "client/ui/frame/BookmarkView.h"

#include "client/favorites/BookmarkPane.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"

CBookmarkView::CBookmarkView(const PaneServices& services, QWidget* parent)
    : CTabView(QStringLiteral("bookmarkview"), parent), m_pane(new CBookmarkPane(services))
{
    m_pane->Create(this, IDC_TAB_PANE);
    SetPane(m_pane);
}

QString CBookmarkView::GetTitle() const
{
    return QString::fromUtf8(LoadResourceString(IDS_TAB_FAVORITES));
}
